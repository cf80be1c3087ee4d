#include "CommandLoad.h"
#include "Commands.h"
#include "StandardStreams.h"
#include "Usage.h"
#include "config/ComPort.h"
#include "config/ConfigFile.h"
#include "config/ConfigText.h"
#include "desktop/AppFolder.h"
#include "desktop/Fault.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace {

// scripts/demo/default.rcf, compiled in: the same file wherever velmora-ctl runs.
const QString DemonstrationSetUp = QStringLiteral(":/velmora-ctl/demo.rcf");

struct InitOptions
{
    bool demo = false;
    std::optional<int> comPort;
};

std::optional<InitOptions> parseInitOptions(const QStringList &arguments)
{
    InitOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments.at(i) == u"--demo" && !options.demo) {
            options.demo = true;
        } else if (arguments.at(i) == u"--com-port" && !options.comPort && i + 1 < arguments.size()) {
            const QString name = arguments.at(++i).toUpper();
            const int number = comPortNumber(name);
            if (number < 1 || number > ComPortCount || name != comPortName(number))
                return std::nullopt;
            options.comPort = number;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// One 16 x 16 router at frame address 0 on COM1, its ports named as the
// configuration dialog names new ones: a start for the operator to edit.
void addFirstRouter(Configuration &config)
{
    auto router = std::make_unique<clsRouter>();
    router->setRouterType(0);
    router->setFrameAddress(0);
    router->setInputCount(15);
    router->setOutputCount(15);
    config.Routers[0] = std::move(router);
    config.CommPortName = comPortName(1);
}

// Writes bytes to path only when no file is there yet, not even one made
// since the question was asked.
bool writeNewFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        writeErrorLine(desktop::FileExists(path)
                           ? QStringLiteral("velmora-ctl: %1 already exists; init never replaces a set-up "
                                            "(velmora-ctl check verifies it; remove it to start again)")
                                 .arg(path)
                           : QStringLiteral("velmora-ctl: cannot write %1: %2").arg(path, file.errorString()));
        return false;
    }
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    writeErrorLine(QStringLiteral("velmora-ctl: cannot write %1: %2").arg(path, file.errorString()));
    file.remove();
    return false;
}

// What was written where, and the next steps: the panel, the service, and
// the simulator where COMn is a link of the data folder.
void tellWritten(bool demo, const Configuration &config, const QString &path)
{
    const auto routers =
        std::count_if(config.Routers.begin(), config.Routers.end(), [](const auto &router) { return bool(router); });
    const QString &port = config.CommPortName;
    QString text =
        demo ? QStringLiteral("Wrote the demonstration set-up, %1 routers on %2, to %3.\n").arg(routers).arg(port, path)
             : QStringLiteral("Wrote a set-up of one 16 x 16 router at frame address 0 on %1 to %2: "
                              "set it to your routers in the window's configuration dialog or by "
                              "hand (velmora-ctl check verifies it).\n")
                   .arg(port, path);
    text += QStringLiteral("Start the panel with velmora, or without a window with systemctl --user enable --now "
                           "velmora.\n");
#ifndef Q_OS_WIN
    text += QStringLiteral("No router on %1 yet? velmora-routersim --link %2/ports/%1 answers for them.\n")
                .arg(port, QFileInfo(path).path());
#endif
    writeStandardOutput(text.toUtf8());
}

} // namespace

int runInit(const QStringList &arguments)
{
    const std::optional<InitOptions> options = parseInitOptions(arguments);
    if (!options)
        return refuseUsage(QStringLiteral("init"));
    CommandSetup setup;
    if (options->demo && !loadForCommand(DemonstrationSetUp, setup))
        return ExitFailed;
    if (!options->demo)
        addFirstRouter(setup.config);
    if (options->comPort)
        setup.config.CommPortName = comPortName(*options->comPort);

    QString path;
    if (!desktop::runTrapped(QStringLiteral("init"), [&] { path = DefaultConfigPath(); }) ||
        !writeNewFile(path, configText(setup.config, setup.macros)))
        return ExitFailed;

    tellWritten(options->demo, setup.config, path);
    return ExitOk;
}
