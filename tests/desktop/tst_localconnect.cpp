#include "desktop/net/LocalConnect.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>
#include <vector>

using namespace desktop;

// The connect velmora-ctl and the control bench use: it connects, gives up at
// its deadline while the server's backlog stays full, connects as soon as the
// server makes room, and fails at once where nobody listens.
class TestLocalConnect : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;

    [[nodiscard]] QString serverName() const
    {
#ifdef Q_OS_UNIX
        return m_folder.filePath(QStringLiteral("server"));
#else
        return QStringLiteral("velmora-localconnect-test");
#endif
    }

private slots:
    // Nothing at the name, or a file that is no socket.
    void failsAtOnceWhereNobodyListens()
    {
        QLocalSocket client;
        // Waiting for a server that is not there would never end.
        QVERIFY(!connectLocalSocket(client, serverName(), QDeadlineTimer(QDeadlineTimer::Forever)));
        QCOMPARE(client.state(), QLocalSocket::UnconnectedState);
#ifdef Q_OS_UNIX
        QFile file(serverName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(!connectLocalSocket(client, serverName(), QDeadlineTimer(QDeadlineTimer::Forever)));
        QCOMPARE(client.state(), QLocalSocket::UnconnectedState);
        QVERIFY(file.remove());
#endif
    }

    void waitsWhileTheBacklogIsFull()
    {
#ifndef Q_OS_UNIX
        QSKIP("A named pipe has no backlog to fill");
#endif
        QLocalServer server;
        server.setListenBacklogSize(1);
        QVERIFY(server.listen(serverName()));
        // Nothing accepts until the backlog is full: the connect that finds no
        // room gives up at its deadline, not before. (What the wait costs the
        // processor: bench/run.sh control.)
        std::vector<std::unique_ptr<QLocalSocket>> queued;
        QDeadlineTimer deadline;
        do {
            queued.push_back(std::make_unique<QLocalSocket>());
            deadline.setRemainingTime(500);
        } while (connectLocalSocket(*queued.back(), serverName(), deadline) && queued.size() < 16);
        QVERIFY2(queued.back()->state() == QLocalSocket::UnconnectedState, "the backlog never filled");
        QVERIFY2(deadline.hasExpired(), "gave up before its deadline");
        // At least one got in first.
        QCOMPARE_GT(queued.size(), 1u);

        // One waiting without a deadline connects once the server accepts.
        bool connected = false;
        std::unique_ptr<QThread> waiter(QThread::create([&] {
            QLocalSocket client;
            connected = connectLocalSocket(client, serverName(), QDeadlineTimer(QDeadlineTimer::Forever));
        }));
        waiter->start();
        QVERIFY(server.waitForNewConnection(5000));
        QVERIFY(waiter->wait(30000));
        QVERIFY(connected);
    }
};

QTEST_GUILESS_MAIN(TestLocalConnect)
#include "tst_localconnect.moc"
