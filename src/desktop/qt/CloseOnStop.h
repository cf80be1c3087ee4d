#pragma once

#include <QObject>

class QWidget;

namespace desktop {

// Ends the program as its main window's Exit command does when asked to
// stop (StopSignals): the open modal dialogs and popups are dismissed first,
// and any that opens from then on (a box of the exit itself), so that nothing
// waits for an operator; then the window is closed, once the dismissed
// dialogs' loops have returned. A stop before the window is shown (the
// start-up dialog) leaves the closing to whoever shows it: see stopping().
class CloseOnStop final : public QObject
{
    Q_OBJECT

public:
    explicit CloseOnStop(QWidget &window, QObject *parent = nullptr);

    void stop();
    // A stop was asked for: the window is not to be shown, but closed.
    [[nodiscard]] bool stopping() const { return m_stopping; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    bool m_stopping = false;
};

} // namespace desktop
