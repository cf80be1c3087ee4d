#pragma once

#include <QStringList>

class MainPanel;

// What a running panel says about itself when the control port is asked for
// its status, one "NAME VALUE" line each:
//   data-folder FOLDER
//   set-up FILE            (the file last loaded or saved; "none" before one)
//   com-port COMn open DEVICE | com-port COMn closed DEVICE | com-port none
//   last-message TIME TEXT (local time, ISO 8601; "none" before the first)
[[nodiscard]] QStringList panelStatusLines(MainPanel &panel);
