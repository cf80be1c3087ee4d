#pragma once

#include <QString>
#include <optional>

// velmora-ctl's side of the running panel's control port.

// Sends one command line to the running panel and waits for its one-line
// answer ("ok", "error ...", "video N audio N"). None when no panel answers on
// this user's control socket; an error answer when the panel went away before
// answering.
[[nodiscard]] std::optional<QString> askPanel(const QString &command);

// The exit status of an "ok" or "error <message>" answer; the message goes
// to standard error.
[[nodiscard]] int panelVerdict(const QString &answer);

// Takes a leading "--direct" off arguments; true when it was there.
[[nodiscard]] bool takeDirectOption(QStringList &arguments);
