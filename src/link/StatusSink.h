#pragma once

#include <QString>

// Where the link and route execution report port, reply and route problems:
// the panel's status line, standard error in the command-line tools.
class StatusSink
{
public:
    virtual ~StatusSink() = default;

    virtual void SetErrMsg(const QString &msg) = 0;
};
