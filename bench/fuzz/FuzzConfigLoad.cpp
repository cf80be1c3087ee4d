// Fuzz target for the configuration loader: any input must load or fail
// without harm. Checked on every input:
// - a load that does not complete leaves the set-up in memory as it was;
// - a load that completes saves a file that loads again without a box or a
//   rejected line and saves to the same bytes.

#include "config/ConfigFile.h"
#include "config/ConfigText.h"
#include "desktop/ConsoleLine.h"
#include "support/PreparedSetup.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition, const char *what)
{
    if (!condition) {
        desktop::writeConsoleLine(QStringLiteral("fuzz_config: ") + QLatin1String(what));
        std::abort();
    }
}

void load(const QByteArray &bytes, Configuration &config, MacroBank &macros)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    configLoadFrom(buffer, QStringLiteral("fuzz.rcf"), config, macros);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    desktop::ScriptedDialogs boxes;
    desktop::ScriptedShell shell;
    Configuration config;
    MacroBank macros;
    prepareSetup(config, macros);
    const QByteArray before = configText(config, macros);

    load(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), config, macros);
    if (!config.ConfigLoaded) {
        require(configText(config, macros) == before, "a load that did not complete changed the set-up");
        require(config.ConfigFilePath == QStringLiteral("before.rcf"), "a failed load changed ConfigFilePath");
        require(shell.shownTexts.isEmpty(), "a failed load showed its rejected lines");
        return 0;
    }

    const QByteArray saved = configText(config, macros);
    boxes.clear();
    const qsizetype displays = shell.shownTexts.size();
    Configuration again;
    MacroBank againMacros;
    load(saved, again, againMacros);
    require(again.ConfigLoaded, "a saved file did not load");
    require(boxes.shown.isEmpty(), "a saved file showed a box when loaded");
    require(shell.shownTexts.size() == displays, "a saved file had rejected lines");
    require(configText(again, againMacros) == saved, "a saved file did not save to the same bytes");
    return 0;
}
