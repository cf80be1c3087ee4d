#pragma once

#include "BenchWindow.h"
#include "desktop/ConsoleLine.h"
#include "door/RemoteDoor.h"

#include <QApplication>
#include <QEventLoop>
#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

// What the servers' benchmarks share: a batch of 127 routes from one client
// over a line paced at 9600 baud, timed against the wire floor, and the time
// from the panel announcing each route to the message read at every client.

inline constexpr int BenchPorts = 127;
inline constexpr double WireFloorMs = 9.375;

inline qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

inline double percentile(std::vector<double> ms, double p)
{
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, std::size_t(p * double(ms.size())))];
}

// When the panel announced each output's route (the router's acknowledgement), in nanoseconds.
inline std::array<std::atomic<qint64>, BenchPorts> announcedAt{};

// Connect before the server's own slot, so it runs first.
inline void timeAnnouncements(RemoteDoor &panel)
{
    QObject::connect(&panel, &RemoteDoor::routed, [](int output) { announcedAt[std::size_t(output)] = nowNs(); });
}

struct RunFigures
{
    // From sending the batch to the last of its messages at the sender.
    double batchMs = -1;
    // Per message at every client, from the panel's announcement.
    std::vector<double> messageMs;
};

// What a client read, handed over with the time it came and the run's start.
using BenchRead = std::function<void(std::size_t client, qint64 now, qint64 start, RunFigures &figures)>;

// One run on the calling thread: `send` writes the batch as the clock
// starts; then an event loop woken by the clients' sockets alone (so no
// polling interval adds to the figures) hands what each client read to
// `read`, until `expected` messages were timed or a minute passed.
inline RunFigures timeRun(const std::vector<QTcpSocket *> &sockets, std::size_t expected, const BenchRead &read,
                          const std::function<void()> &send)
{
    RunFigures figures;
    QEventLoop loop;
    qint64 start = 0;
    std::vector<QMetaObject::Connection> timing;
    for (std::size_t index = 0; index < sockets.size(); ++index) {
        // Runs after the client's own slot has read and cut the messages.
        timing.push_back(QObject::connect(sockets[index], &QTcpSocket::readyRead, &loop, [&, index] {
            read(index, nowNs(), start, figures);
            if (figures.messageMs.size() >= expected)
                loop.quit();
        }));
    }
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    start = nowNs();
    send();
    loop.exec();
    for (const auto &connection : timing)
        QObject::disconnect(connection);
    return figures;
}

class BenchSummary
{
public:
    // batch, messages: what the lines call them ("salvo", "CONNECTED").
    BenchSummary(const char *batch, const char *messages, std::size_t expected)
        : m_batch(batch), m_messages(messages), m_expected(expected)
    {}

    // Prints the run's line; false when a message is missing.
    bool add(int number, const RunFigures &figures)
    {
        const bool complete = figures.batchMs > 0 && figures.messageMs.size() == m_expected;
        const double ratio = figures.batchMs / (BenchPorts * WireFloorMs);
        m_ratios.push_back(ratio);
        m_ms.insert(m_ms.end(), figures.messageMs.begin(), figures.messageMs.end());
        desktop::writeConsoleOutput(QString::asprintf(
            "  run %d: %s %8.1f ms, ratio %.3f; %s %zu, p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", number, m_batch,
            figures.batchMs, ratio, m_messages, figures.messageMs.size(), percentile(figures.messageMs, 0.5),
            percentile(figures.messageMs, 0.99), percentile(figures.messageMs, 1.0)));
        return complete;
    }

    void print(int clients) const
    {
        std::vector<double> ratios = m_ratios;
        std::sort(ratios.begin(), ratios.end());
        desktop::writeConsoleOutput(
            QString::asprintf("  median ratio to the wire floor: %.3f\n", ratios[ratios.size() / 2]));
        desktop::writeConsoleOutput(QString::asprintf(
            "  acknowledgement to %s at each of %d clients, %zu messages: p50 %.2f ms, p99 %.2f ms, max %.2f "
            "ms\n",
            m_messages, clients, m_ms.size(), percentile(m_ms, 0.5), percentile(m_ms, 0.99), percentile(m_ms, 1.0)));
    }

private:
    const char *m_batch;
    const char *m_messages;
    std::size_t m_expected;
    std::vector<double> m_ratios;
    std::vector<double> m_ms;
};

// Runs `measure` over the panel of the largest router, offscreen, with its
// announcements timed; the program's exit status.
inline int benchPanel(int argc, char *argv[], const std::function<int(BenchWindow &bench)> &measure)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchWindow bench;
    if (!bench.openWithLargestRouter())
        return 1;
    timeAnnouncements(*bench.door);
    return measure(bench);
}

// Runs `measure` on a server of type Server listening on a free port of this
// machine, over the panel of benchPanel().
template <class Server, class Options>
int benchServer(int argc, char *argv[], const std::function<int(Server &server)> &measure)
{
    return benchPanel(argc, argv, [&measure](BenchWindow &bench) {
        Options options;
        options.port = 0;
        Server server(*bench.door, options);
        if (!server.listen())
            return 1;
        return measure(server);
    });
}
