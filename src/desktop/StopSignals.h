#pragma once

#include <QObject>

class QSocketNotifier;

namespace desktop {

// TERM, INT and HUP as one Qt signal, so that a program told to stop ends
// the way its own Exit command ends it instead of dying on the spot. The
// handler only writes one byte to a socket pair (all a signal handler may
// safely do); the byte wakes the event loop, which emits stopRequested().
// A signal ignored when the program started (nohup, a background job of a
// script) stays ignored. One instance at a time; its destruction puts the
// previous handlers back. On Windows it does nothing: the panel is a window
// there, ended through its window.
class StopSignals final : public QObject
{
    Q_OBJECT

public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void stopRequested();

private:
    void drain();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace desktop
