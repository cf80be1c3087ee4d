#pragma once

#include "SoakPieces.h"

#include <QString>
#include <functional>

class ControlLine;
class FrameTally;

// The reference: the control port's route state of every output ("video N",
// "audio N", matrix numbers from 0, known sources only) and its names (the
// set-up line of each router, "router FA", and "input-name N", "output-name N").
[[nodiscard]] Facts controlFacts(ControlLine &control, const SoakPorts &ports);

// The names of a router's set-up line ("0; 0; 126; 126; 0; 0; -1;Cam 1; ...")
// as "input-name N" and "output-name N", the router at matrix offsets 0.
void addNameFacts(const QString &routerLine, Facts &facts);

// What a new Videohub client's dump shows: labels and video routes.
class VideohubView final : public InvariantSource
{
public:
    explicit VideohubView(const SoakPorts &ports) : m_ports(ports) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("videohub dump"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const SoakPorts &m_ports;
};

// What a new SW-P-08 client reads: tally dumps of both levels, and the
// twelve-character source and destination names.
class Swp08View final : public InvariantSource
{
public:
    explicit Swp08View(const SoakPorts &ports) : m_ports(ports) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("swp08 tally and names"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const SoakPorts &m_ports;
};

// The activity log, followed as it grows (and rolls over): the last route
// acknowledged on each level of each output since the panel started, and,
// for the reference, "last N": the router input of the last one on any level.
class ActivityLogView final : public InvariantSource
{
public:
    explicit ActivityLogView(QString path) : m_path(std::move(path)) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("activity log"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;
    // Reads what was appended since; called often, so a roll-over never skips a file.
    void follow();
    // A new panel starts with no route known.
    void restart() { m_routes.clear(); }
    [[nodiscard]] Facts lastRoutes();

private:
    void take(const QByteArray &text);

    QString m_path;
    qint64 m_offset = 0;
    QByteArray m_partial;
    Facts m_routes;
};

// The simulator's log: the input of the last frame acknowledged for each
// output ("last N") since the panel started.
class SimulatorView final : public InvariantSource
{
public:
    explicit SimulatorView(const FrameTally &frames) : m_frames(frames) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("simulator's acknowledged frames"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const FrameTally &m_frames;
};

// default.rcf as the panel left it: its router lines, read right after a restart.
class SetupFileView final : public InvariantSource
{
public:
    explicit SetupFileView(QString path) : m_path(std::move(path)) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("default.rcf"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    QString m_path;
};

// What the panel says of itself: its clients (the two listeners once the actors rested),
// its UMD targets at work and its resident memory within a bound once warmed up.
class PanelHealthView final : public InvariantSource
{
public:
    PanelHealthView(ControlLine &control, const SoakPorts &ports, std::function<long()> residentKiB)
        : m_control(&control), m_ports(ports), m_residentKiB(std::move(residentKiB))
    {}
    // The line to a panel started again.
    void useControl(ControlLine &control) { m_control = &control; }
    [[nodiscard]] QString name() const override { return QStringLiteral("status and memory"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;
    // The bound from here on: what it uses now plus the room given.
    void warmedUp(long roomKiB);
    [[nodiscard]] long lastKiB() const { return m_lastKiB; }

private:
    ControlLine *m_control;
    const SoakPorts &m_ports;
    std::function<long()> m_residentKiB;
    long m_boundKiB = 0;
    long m_lastKiB = 0;
};
