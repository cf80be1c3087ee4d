// The composition root: one running panel and its servers (PanelServers),
// with its window (WindowRun) or, with --no-window, as a service without
// any display (ServiceRun). TERM, INT and HUP end either as File > Exit does,
// with exit status 0.

#include "ServiceRun.h"
#include "StartOptions.h"
#include "WindowRun.h"
#include "desktop/RuntimeFolder.h"

int main(int argc, char *argv[])
{
    desktop::ExportRuntimeFolder();
    const StartOptions options = parseStartOptions(argc, argv);
    if (options.exitNow)
        return *options.exitNow;
    return options.noWindow ? runService(argc, argv, options) : runWindow(argc, argv, options);
}
