// The soak run: the panel (as a service, or with its window in this
// process) on velmora-routersim with seeded trouble, driven through every
// door at once by seeded random clients for the given minutes, its views
// compared at quiet points and after every TERM restart. bench/soak.sh runs it.
//   velmora-soak --minutes M [--seed N] [--window] [--trouble PERCENT] [--keep]

#include "FrameTally.h"
#include "OperatorActor.h"
#include "ServicePanel.h"
#include "SoakDriver.h"
#include "SoakSetup.h"
#include "WindowPanel.h"
#include "WindowView.h"
#include "desktop/ConsoleLine.h"
#include "support/RouterSim.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

namespace {

quint16 freePort()
{
    QTcpServer server;
    (void)server.listen(QHostAddress::LocalHost);
    return server.serverPort();
}

} // namespace

int main(int argc, char *argv[])
{
    // The panel's folders are the run's own, set before anything asks for them.
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/velmora-soak-XXXXXX"));
    const QString data = work.path() + QStringLiteral("/data/Velmora/1.1");
    const QString runtime = work.path() + QStringLiteral("/run");
    QDir().mkpath(data + QStringLiteral("/ports"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_DATA_HOME", (work.path() + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());

    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption minutes(QStringLiteral("minutes"), QStringLiteral("How long."), QStringLiteral("M"),
                                     QStringLiteral("3"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("The run's seed."), QStringLiteral("N"),
                                  QStringLiteral("1"));
    const QCommandLineOption window(QStringLiteral("window"), QStringLiteral("The panel with its window, here."));
    const QCommandLineOption trouble(QStringLiteral("trouble"), QStringLiteral("Frames the routers spoil, %."),
                                     QStringLiteral("PERCENT"), QStringLiteral("3"));
    const QCommandLineOption restartEvery(QStringLiteral("restart-every"), QStringLiteral("Seconds between TERMs."),
                                          QStringLiteral("S"), QStringLiteral("180"));
    const QCommandLineOption keep(QStringLiteral("keep"), QStringLiteral("Keep the data folder and logs."));
    parser.addOptions({minutes, seed, window, trouble, restartEvery, keep});
    parser.addHelpOption();
    parser.process(app);

    const auto seedValue = parser.value(seed).toUInt();
    work.setAutoRemove(!parser.isSet(keep));
    desktop::writeConsoleLine(QStringLiteral("soak: working in %1").arg(work.path()));

    SoakRandom setupRandom(seedValue ^ 0x5eedu);
    if (!writeSoakSetup(data + QStringLiteral("/default.rcf"), setupRandom)) {
        desktop::writeConsoleLine(QStringLiteral("soak: cannot write the set-up"));
        return 1;
    }
    RouterSim sim;
    if (!sim.start(
            data + QStringLiteral("/ports/COM1"),
            {QStringLiteral("--trouble"), QStringLiteral("%1:%2:500").arg(seedValue).arg(parser.value(trouble))})) {
        desktop::writeConsoleLine(QStringLiteral("soak: the simulator did not start"));
        return 1;
    }
    SoakPorts ports{freePort(), freePort(), freePort()};
    SoakDriver::Timing timing;
    timing.runMs = qint64(parser.value(minutes).toDouble() * 60000);
    timing.restartEveryMs = parser.value(restartEvery).toLongLong() * 1000;
    timing.warmUpMs = std::min<qint64>(timing.warmUpMs, timing.runMs / 3);

    std::unique_ptr<SoakPanel> panel;
    if (parser.isSet(window)) {
        panel = std::make_unique<WindowPanel>(ports);
    } else {
        panel = std::make_unique<ServicePanel>(QStringLiteral(VELMORA_PANEL), ports,
                                               work.path() + QStringLiteral("/panel-stderr.log"));
    }
    FrameTally frames(sim);
    SoakDriver driver(seedValue, timing, *panel, frames, ports, data);
    if (auto *windowPanel = dynamic_cast<WindowPanel *>(panel.get())) {
        driver.addActor(std::make_unique<OperatorActor>(*windowPanel, driver.random(), driver.counts()));
        driver.addView(std::make_unique<WindowView>(*windowPanel));
    }
    const int status = driver.run();
    if (status != 0)
        work.setAutoRemove(false);
    return status;
}
