#include "desktop/LocalConnect.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <ctime>
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
    void connectsAndCarriesBytes()
    {
        QLocalServer server;
        QVERIFY(server.listen(serverName()));
        QLocalSocket client;
        QVERIFY(connectLocalSocket(client, serverName(), QDeadlineTimer(5000)));
        QCOMPARE(client.state(), QLocalSocket::ConnectedState);
        QVERIFY(server.waitForNewConnection(5000));
        QLocalSocket *accepted = server.nextPendingConnection();
        QVERIFY(accepted);
        client.write("state 0 0\n");
        QVERIFY(client.waitForBytesWritten(5000));
        while (!accepted->canReadLine())
            QVERIFY(accepted->waitForReadyRead(5000));
        QCOMPARE(accepted->readLine(), "state 0 0\n");
    }

    void failsAtOnceWhereNobodyListens_data()
    {
        QTest::addColumn<bool>("plainFile");
        QTest::newRow("nothing at the name") << false;
#ifdef Q_OS_UNIX
        QTest::newRow("a file that is no socket") << true;
#endif
    }

    void failsAtOnceWhereNobodyListens()
    {
        QFETCH(bool, plainFile);
        if (plainFile) {
            QFile file(serverName());
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QLocalSocket client;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!connectLocalSocket(client, serverName(), QDeadlineTimer(30000)));
        QVERIFY2(clock.elapsed() < 10000, "waited for a server that is not there");
        QCOMPARE(client.state(), QLocalSocket::UnconnectedState);
        QFile::remove(serverName());
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
        // room gives up at its deadline, not before, asleep meanwhile (a retry
        // loop would spend the wait on the processor, competing with the server).
        constexpr int ShortMs = 500;
        std::vector<std::unique_ptr<QLocalSocket>> queued;
        bool timedOut = false;
        while (!timedOut && queued.size() < 16) {
            auto client = std::make_unique<QLocalSocket>();
            QElapsedTimer clock;
            clock.start();
            const std::clock_t processorBefore = std::clock();
            if (connectLocalSocket(*client, serverName(), QDeadlineTimer(ShortMs))) {
                queued.push_back(std::move(client));
                continue;
            }
            timedOut = true;
            QVERIFY2(clock.elapsed() >= ShortMs - 10, "gave up before its deadline");
            const double processorMs = double(std::clock() - processorBefore) * 1000 / CLOCKS_PER_SEC;
            QVERIFY2(processorMs < ShortMs / 10, qPrintable(QStringLiteral("busy for %1 ms").arg(processorMs)));
            QCOMPARE(client->state(), QLocalSocket::UnconnectedState);
        }
        QVERIFY2(timedOut, "the backlog never filled");
        QVERIFY(!queued.empty());

        // One waiting with a long deadline connects once the server accepts.
        bool connected = false;
        qint64 waitedMs = -1;
        std::unique_ptr<QThread> waiter(QThread::create([&] {
            QLocalSocket client;
            QElapsedTimer clock;
            clock.start();
            connected = connectLocalSocket(client, serverName(), QDeadlineTimer(60000));
            waitedMs = clock.elapsed();
        }));
        waiter->start();
        QVERIFY(server.waitForNewConnection(5000));
        QVERIFY(waiter->wait(30000));
        QVERIFY(connected);
        QVERIFY2(waitedMs < 30000, "connected only near its deadline");
    }
};

QTEST_GUILESS_MAIN(TestLocalConnect)
#include "tst_localconnect.moc"
