#pragma once

#include <QString>

// The usage of every subcommand, in one place: --help prints them all, a
// wrong call the one of its subcommand.

// "check|macro|route|state": the subcommand names.
[[nodiscard]] QString commandNames();
// The usage lines of every subcommand.
[[nodiscard]] QString fullUsage();
// Writes command's usage on standard error; returns ExitUsage.
int refuseUsage(const QString &command);
