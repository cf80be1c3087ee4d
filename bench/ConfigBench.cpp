// Load and save of the largest set-up: 16 routers of 127 inputs and 127
// outputs, every port named, and 12 macros of N routes each, N = 1,000 (the
// largest set-up), 4,000 and 16,000 to show that the time per route and per
// byte stays flat as the file grows. Items are routes: items_per_second
// is routes per second.

#include "config/ConfigFile.h"
#include "config/ConfigText.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Ports = 127;

void buildLargestSetup(Configuration &config, MacroBank &macros, int routesPerMacro)
{
    config.CommPortName = QStringLiteral("COM1");
    for (int address = 0; address < RouterSlotCount; ++address) {
        auto router = std::make_unique<clsRouter>();
        router->setRouterType(address % 2);
        router->setFrameAddress(address);
        router->setInputCount(Ports - 1);
        router->setOutputCount(Ports - 1);
        for (int port = 0; port < Ports; ++port) {
            router->setRouterInName(port, QStringLiteral("Studio %1 camera %2").arg(address).arg(port + 1));
            router->setRouterOutName(port, QStringLiteral("Monitor wall %1 feed %2").arg(address).arg(port + 1));
        }
        config.Routers[address] = std::move(router);
    }
    for (int slot = 0; slot < MacroBank::SlotCount; ++slot) {
        QList<RouteRecord> routes;
        for (int i = 0; i < routesPerMacro; ++i)
            routes.append(RouteRecord::pack(i % RouterSlotCount, i % Ports, (i * 7) % Ports, 1 + i % 3));
        macros.MacroNames[slot] = QStringLiteral("Scene %1").arg(slot + 1);
        macros.Macros[slot] = routes;
    }
}

struct Fixture
{
    desktop::ScriptedDialogs boxes;
    desktop::ScriptedShell shell;
    Configuration config;
    MacroBank macros;
    QByteArray text;

    explicit Fixture(int routesPerMacro)
    {
        buildLargestSetup(config, macros, routesPerMacro);
        text = configText(config, macros);
    }

    void count(benchmark::State &state, int routesPerMacro) const
    {
        const auto routes = int64_t(routesPerMacro) * MacroBank::SlotCount;
        state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
        state.SetItemsProcessed(int64_t(state.iterations()) * routes);
        state.counters["file_KiB"] = double(text.size()) / 1024.0;
        state.counters["routes"] = double(routes);
    }
};

void BM_Load(benchmark::State &state)
{
    const int routesPerMacro = int(state.range(0));
    Fixture fixture(routesPerMacro);
    for (auto _ : state) {
        Configuration config;
        MacroBank macros;
        QBuffer buffer(&fixture.text);
        buffer.open(QIODevice::ReadOnly);
        configLoadFrom(buffer, QStringLiteral("bench.rcf"), config, macros);
        if (!config.ConfigLoaded || !fixture.boxes.shown.isEmpty())
            state.SkipWithError("the load did not complete cleanly");
        benchmark::DoNotOptimize(macros);
    }
    fixture.count(state, routesPerMacro);
}

void BM_LoadFile(benchmark::State &state)
{
    const int routesPerMacro = int(state.range(0));
    Fixture fixture(routesPerMacro);
    QTemporaryDir dir;
    QString name = dir.filePath(QStringLiteral("bench.rcf"));
    ConfigSave(fixture.config, fixture.macros, name);
    for (auto _ : state) {
        Configuration config;
        MacroBank macros;
        QString path = name;
        ConfigLoad(config, macros, path, false);
        if (!config.ConfigLoaded)
            state.SkipWithError("the load did not complete");
    }
    fixture.count(state, routesPerMacro);
}

void BM_Save(benchmark::State &state)
{
    const int routesPerMacro = int(state.range(0));
    Fixture fixture(routesPerMacro);
    QTemporaryDir dir;
    for (auto _ : state) {
        QString name = dir.filePath(QStringLiteral("bench.rcf"));
        ConfigSave(fixture.config, fixture.macros, name);
        if (!fixture.boxes.shown.isEmpty())
            state.SkipWithError("the save failed");
    }
    fixture.count(state, routesPerMacro);
}

void BM_ConfigText(benchmark::State &state)
{
    const int routesPerMacro = int(state.range(0));
    Fixture fixture(routesPerMacro);
    for (auto _ : state)
        benchmark::DoNotOptimize(configText(fixture.config, fixture.macros));
    fixture.count(state, routesPerMacro);
}

} // namespace

BENCHMARK(BM_Load)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFile)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ConfigText)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
