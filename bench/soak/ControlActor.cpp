#include "ControlActor.h"

#include "remote/control/ControlSocketName.h"

#include <QFile>
#include <algorithm>

namespace {

constexpr int MostWaiting = 8;
constexpr int Outputs = 127;
constexpr int Snapshots = 3;
constexpr int MostNamesImported = 12;

// What a script meets among other clients and a router that now and then fails.
bool expectedRefusal(const QByteArray &answer)
{
    static const QList<QByteArray> known = {"Router returned", "No reply",         "is locked",
                                            "failed",          "is still running", "no snapshot recall is running",
                                            "exists"};
    return std::any_of(known.begin(), known.end(), [&answer](const QByteArray &why) { return answer.contains(why); });
}

// A CSV field, always quoted: names may hold blanks and tabs at their ends.
QByteArray csvField(const QString &text)
{
    return '"' + text.toUtf8().replace('"', "\"\"") + '"';
}

} // namespace

ControlActor::ControlActor(int macros, QString namesFile, SoakRandom &random, SoakCounts &counts)
    : m_macros(macros), m_namesFile(std::move(namesFile)), m_random(random), m_counts(counts)
{
    QObject::connect(&m_socket, &QLocalSocket::readyRead, [this] { readAnswers(); });
}

void ControlActor::readAnswers()
{
    while (m_socket.canReadLine()) {
        const QByteArray line = m_socket.readLine();
        // A recall tells its progress before its answer.
        if (line.startsWith("progress ") || m_waiting.empty())
            continue;
        const auto [command, expect] = m_waiting.front();
        m_waiting.pop_front();
        if (!expect.isEmpty() && !line.startsWith(expect.toUtf8())) {
            m_counts.surprises << QStringLiteral("control port: \"%1\" answered \"%2\", not \"%3...\"")
                                      .arg(command, QString::fromUtf8(line.trimmed()), expect);
        } else if (expect.isEmpty() && line.startsWith("error") && !expectedRefusal(line)) {
            m_counts.operation(QStringLiteral("control answer ") + QString::fromUtf8(line.trimmed()));
        }
    }
}

void ControlActor::send(const QString &command, const QString &kind, const QString &expect)
{
    if (m_socket.state() != QLocalSocket::ConnectedState) {
        m_socket.abort();
        m_socket.connectToServer(controlSocketName());
        if (!m_socket.waitForConnected(5000))
            return;
        m_waiting.clear();
    }
    m_socket.write(command.toUtf8() + '\n');
    m_waiting.emplace_back(command, expect);
    m_counts.operation(QStringLiteral("control ") + kind);
}

void ControlActor::act()
{
    if (m_waiting.size() >= MostWaiting)
        return;
    const int roll = m_random.below(100);
    if (roll < 50) {
        send(QStringLiteral("route 0 %1 %2 %3")
                 .arg(m_random.below(Outputs))
                 .arg(m_random.below(Outputs))
                 .arg(1 + m_random.below(3)),
             QStringLiteral("route"));
    } else if (roll < 65) {
        send(QStringLiteral("macro %1").arg(m_random.below(m_macros)), QStringLiteral("macro"));
    } else if (roll < 75) {
        snapshot();
    } else if (roll < 80) {
        importNames();
    } else if (roll < 90) {
        send(QStringLiteral("state 0 %1").arg(m_random.below(Outputs)), QStringLiteral("state"));
    } else if (roll < 95) {
        if (m_socket.state() != QLocalSocket::ConnectedState)
            return;
        m_socket.write("route 0 1");
        (void)m_socket.waitForBytesWritten(5000);
        m_socket.abort();
        m_waiting.clear();
        m_counts.fault(QStringLiteral("control leaves mid-line"));
    } else {
        m_socket.abort();
        m_waiting.clear();
        m_counts.fault(QStringLiteral("reconnect"));
    }
}

bool ControlActor::settled() const
{
    return m_waiting.empty() || m_socket.state() != QLocalSocket::ConnectedState;
}

QString ControlActor::unanswered() const
{
    QStringList commands;
    for (const auto &waiting : m_waiting)
        commands << waiting.first;
    return commands.join(QStringLiteral(", "));
}

void ControlActor::rest()
{
    m_socket.abort();
    m_waiting.clear();
}

void ControlActor::snapshot()
{
    const QString name = QStringLiteral("soak-%1").arg(m_random.below(Snapshots));
    const int roll = m_random.below(100);
    if (roll < 40 || !m_saved.contains(name)) {
        const bool replace = m_saved.contains(name) || m_random.chance(50);
        // Without replace an existing one stays: a file another script or an earlier run saved.
        send(QStringLiteral("snapshot save %1%2").arg(name, replace ? QStringLiteral(" replace") : QString()),
             QStringLiteral("snapshot save"), replace ? QStringLiteral("ok ") : QString());
        m_saved.insert(name);
    } else if (roll < 85) {
        const bool all = m_random.chance(30);
        send(QStringLiteral("snapshot recall %1%2").arg(name, all ? QStringLiteral(" all") : QString()),
             QStringLiteral("snapshot recall"));
    } else {
        // Stops whichever recall runs, another script's as well.
        send(QStringLiteral("snapshot stop"), QStringLiteral("snapshot stop"));
    }
}

void ControlActor::importNames()
{
    // The file is read when the command's turn comes: not rewritten before.
    if (!m_waiting.empty())
        return;
    QByteArray text = "kind,number,name\r\n";
    QSet<QString> ports;
    const int rows = 1 + m_random.below(MostNamesImported);
    for (int row = 0; row < rows; ++row) {
        const bool input = m_random.chance(50);
        const int number = 1 + m_random.below(Outputs);
        const QString port = (input ? QStringLiteral("input ") : QStringLiteral("output ")) + QString::number(number);
        if (ports.contains(port))
            continue;
        ports.insert(port);
        text += (input ? "input," : "output,") + QByteArray::number(number) + ',' + csvField(m_random.name()) + "\r\n";
    }
    // Now and then a row the set-up file cannot hold: then no name of the list may change.
    const bool refused = m_random.chance(15);
    if (refused)
        text += "output,1," + csvField(QStringLiteral("Mon;A")) + "\r\n";
    QFile file(m_namesFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return;
    file.close();
    send(QStringLiteral("names import ") + m_namesFile,
         refused ? QStringLiteral("names refused") : QStringLiteral("names import"),
         refused ? QStringLiteral("error ") : QStringLiteral("ok "));
}
