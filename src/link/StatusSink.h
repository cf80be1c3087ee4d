#pragma once

#include <QString>

// Where the link and route execution report port, reply and route problems:
// the panel's status line, standard error in the command-line tools.
class StatusSink
{
public:
    virtual ~StatusSink() = default;

    virtual void SetErrMsg(const QString &msg) = 0;
    // A message that something works as it should ("... listening"): shown
    // the same way, but where only one message can wait to be shown, it
    // never takes the place of a problem.
    virtual void setNote(const QString &msg) { SetErrMsg(msg); }
};
