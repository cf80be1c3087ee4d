#pragma once

#include <QString>

namespace desktop {

// Where the operation under way is in a file, for messages written as lines
// (the service's standard error, velmora-ctl): a box shows its exact text,
// a line adds " (FILE, line N)". The line is read when a message is written,
// so the place follows a reader through the file; 0 or less names the file
// alone. Places nest; the innermost counts.
class MessagePlace
{
public:
    explicit MessagePlace(QString file, const int *line = nullptr);
    ~MessagePlace();
    MessagePlace(const MessagePlace &) = delete;
    MessagePlace &operator=(const MessagePlace &) = delete;

    // " (FILE, line N)", " (FILE)", or "" outside any place.
    [[nodiscard]] static QString suffix();

private:
    QString m_file;
    const int *m_line;
    MessagePlace *m_outer;
};

} // namespace desktop
