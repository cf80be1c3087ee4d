// The composition root: one running panel and its servers (PanelServers),
// with its window (WindowRun) or, with --no-window, as a service without
// any display (ServiceRun). TERM, INT and HUP end either as File > Exit does,
// with exit status 0.

#include "app/ServiceRun.h"
#include "app/StartOptions.h"
#include "app/WindowRun.h"
#include "desktop/ConsoleLine.h"
#include "desktop/DisplayCheck.h"
#include "desktop/RuntimeFolder.h"

int main(int argc, char *argv[])
{
    desktop::exportRuntimeFolder();
    const StartOptions options = parseStartOptions(argc, argv);
    if (options.exitNow)
        return *options.exitNow;
    if (!options.noWindow && !desktop::displayNamed()) {
        desktop::writeConsoleLine(QStringLiteral("velmora: No display (neither DISPLAY nor WAYLAND_DISPLAY is set). "
                                                 "Without a window: velmora --no-window, or as a service: "
                                                 "systemctl --user enable --now velmora."));
        return ExitNoDisplay;
    }
    return options.noWindow ? runService(argc, argv, options) : runWindow(argc, argv, options);
}
