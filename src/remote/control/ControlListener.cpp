#include "remote/control/ControlListener.h"

#include "desktop/RuntimeFolder.h"
#include "link/StatusSink.h"
#include "remote/control/ControlSocketName.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>

ControlListener::ControlListener(StatusSink &status, QObject *parent) : QObject(parent), m_status(status)
{
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &ControlListener::acceptClients);
    m_watch.setInterval(RetryMs);
    connect(&m_watch, &QTimer::timeout, this, &ControlListener::check);
}

// Out of line: QLockFile is complete here.
ControlListener::~ControlListener() = default;

bool ControlListener::listen()
{
    m_watch.start();
    check();
    return isListening();
}

void ControlListener::check()
{
    if (m_server.isListening())
        return;
    // Qt reports no stop; the first tick that finds the port closed says so,
    // and the next one listens again: a stop is never hidden by a quick return.
    if (m_said == Said::Listening) {
        say(Said::Stopped, QStringLiteral("Control port stopped; listening again as soon as possible"));
        return;
    }
    if (!m_lock)
        m_lock = controlPortLock();
    if (!m_lock) {
        say(Said::Unavailable, QStringLiteral("Control port unavailable: no private runtime folder (%1 is not one "
                                              "only you may enter); set XDG_RUNTIME_DIR to such a folder")
                                   .arg(QDir::toNativeSeparators(desktop::ownRuntimeFolder())));
        return;
    }
    // Whoever holds the lock owns the port, socket or not: the check and the
    // claim are one step. With the lock held, a socket left at the name is
    // nobody's; Qt's user-only listen puts its own in place over it.
    if (!m_lock->isLocked() && !m_lock->tryLock(0)) {
        if (m_lock->error() == QLockFile::LockFailedError)
            say(Said::InUse, QStringLiteral("Control port in use by another Velmora panel"));
        else
            say(Said::Unavailable, QStringLiteral("Control port unavailable: cannot lock ") + m_lock->fileName());
        return;
    }
    if (m_server.listen(controlSocketName()))
        say(Said::Listening, m_said == Said::Nothing ? QString() : QStringLiteral("Control port listening"));
    else if (m_said != Said::Stopped) // A stop was told already; the retries go on quietly.
        say(Said::Unavailable, QStringLiteral("Control port unavailable: ") + m_server.errorString());
}

void ControlListener::say(Said what, const QString &message)
{
    if (m_said != what && !message.isEmpty()) {
        if (what == Said::Listening)
            m_status.setNote(message);
        else
            m_status.SetErrMsg(message);
    }
    m_said = what;
}

void ControlListener::acceptClients()
{
    // The server takes one connection a turn of the event loop, from a
    // backlog of its default size; both are kept on purpose. Under a flood of
    // connects a larger backlog puts a fresh client behind every flooder
    // queued before it, and taking all waiting connections a turn fills each
    // turn with flooders' work: measured, both make a fresh client wait longer.
    while (QLocalSocket *socket = m_server.nextPendingConnection())
        emit clientArrived(socket);
}
