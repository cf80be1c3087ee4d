#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <cstdint>
#include <map>
#include <random>

// What one view of the panel shows at a quiet point, as "key" -> "value"
// facts: "video 5" -> "3" (matrix output 5 fed by matrix input 3), "input-name 2"
// -> "Cam 2", "router 0" -> its set-up line. A key a view leaves out is a fact
// it does not know.
using Facts = QMap<QString, QString>;

// The run's one source of chance: every choice of every actor is drawn here,
// so a seed names a run.
class SoakRandom
{
public:
    explicit SoakRandom(std::uint32_t seed) : m_engine(seed) {}

    [[nodiscard]] int below(int bound) { return int(m_engine() % std::uint32_t(bound)); }
    [[nodiscard]] bool chance(int percent) { return below(100) < percent; }
    // A port name as operators type them; now and then one that another port
    // already carries (the panel marks it), a long one or one with a letter
    // outside ASCII.
    [[nodiscard]] QString name();

private:
    std::mt19937 m_engine;
};

// The macro slots the soak's set-up fills.
inline constexpr int SoakMacros = 4;

// Where the running panel's servers listen, and its matrix.
struct SoakPorts
{
    quint16 videohub = 0;
    quint16 swp08 = 0;
    // Two display receivers share the number: TSL 3.1 on UDP, TSL 5.0 on TCP.
    quint16 umd = 0;
    int inputs = 127;
    int outputs = 127;
};

// The panel's UMD targets: output displays following the video routes
// (TSL 3.1, UDP) and showing the outputs' own names (TSL 5.0, TCP).
[[nodiscard]] QStringList umdTargets(const SoakPorts &ports);
// The panel's options for its servers and UMD targets on loopback.
[[nodiscard]] QStringList panelArguments(const SoakPorts &ports);

// Counts for the closing report, by kind ("videohub route", "fault half-close").
struct SoakCounts
{
    std::map<QString, long> operations;
    long faults = 0;
    long restarts = 0;
    long checks = 0;
    long peakKiB = 0;
    // Answers a client did not expect; the next check fails on them.
    QStringList surprises;

    void operation(const QString &kind) { ++operations[kind]; }
    void fault(const QString &kind)
    {
        ++faults;
        ++operations[QStringLiteral("fault ") + kind];
    }
};

// One kind of client of the running panel, acting at random.
class SoakActor
{
public:
    virtual ~SoakActor() = default;
    // One random action, sent without waiting for its answer.
    virtual void act() = 0;
    // Whether every request sent has been answered as far as the client can tell.
    [[nodiscard]] virtual bool settled() const = 0;
    // The requests still unanswered, for the report of a client never settled.
    [[nodiscard]] virtual QString unanswered() const { return {}; }
    // Lets go of every connection (a quiet point, a restart coming).
    virtual void rest() = 0;
};

// One view of the panel an invariant compares: it reads what it shows and
// then says what it should show, given the reference (the control port's route
// state and names, and the activity log's last route per output).
class InvariantSource
{
public:
    virtual ~InvariantSource() = default;
    [[nodiscard]] virtual QString name() const = 0;
    [[nodiscard]] virtual Facts read() = 0;
    [[nodiscard]] virtual Facts expected(const Facts &reference) const = 0;
};

// The reference's facts whose key starts with one of the prefixes.
[[nodiscard]] Facts factsStartingWith(const Facts &facts, const QStringList &prefixes);
