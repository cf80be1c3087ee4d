#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

// Cuts what a client sends into command lines (LF or CR LF). A line is
// handed on whole, decoded; one that cannot be a command is handed on as its
// answer instead, in its place. Keeps at most one unfinished line, so a
// client sending without line ends costs a fixed amount.
class ControlLineCutter
{
public:
    struct Line
    {
        QString command;
        // Set instead of command: the answer to a line that is no command.
        QString refusal;
    };

    // Feeds the next bytes of the stream; every line they complete goes to take, in order.
    void feed(QByteArrayView bytes, const std::function<void(Line)> &take);

private:
    [[nodiscard]] Line cut(QByteArray bytes) const;

    QByteArray m_partial;
    // The rest of an over-long line, already answered, is skipped to its end.
    bool m_skipping = false;
};
