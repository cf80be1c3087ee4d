#pragma once

#include <QString>

// The event texts of the activity log: words then key=value fields, names in
// double quotes as stored, the result last (it is free text), so that
// `grep 'output=5 '` or `grep -v 'result=ok$'` find what an operator looks for.
//
//   route output=5 "Monitor 1" input=3 "Camera 3" frame=2 router-output=4 router-input=1 level=both result=ok
//   label input=3 old="Camera 3" new="Cam 3"
//   lock output=5 "Monitor 1" action=force-unlock owner=192.0.2.7 result=ok
//
// Ports are numbered as the panel numbers them ("-" where unknown).

// One route attempt. Frame and router ports are -1 where no router serves
// the output, written as "-".
struct RouteActivity
{
    int output = 0;
    QString outputName;
    int input = 0;
    QString inputName;
    int frameAddress = -1;
    int routerOutput = -1;
    int routerInput = -1;
    QString level;  // "video", "audio" or "both"
    QString result; // "ok" or the status message shown
};

namespace ActivityEvents {

// A name between double quotes, with `"`, `\` and tab (the log's field
// separator) written as \", \\ and \t: a reader always finds where it ends,
// whatever it holds.
[[nodiscard]] QString quoted(const QString &name);

// The source of a macro's routes: `by` ("panel", "control"), then the slot
// as the set-up file numbers it and the macro's name: panel macro 00 "Show".
[[nodiscard]] QString macroSource(const QString &by, int slot, const QString &name);

[[nodiscard]] QString route(const RouteActivity &route);
// `side` is "input" or "output".
[[nodiscard]] QString label(const QString &side, int port, const QString &oldName, const QString &newName);
// `action` is "lock", "unlock", "force-unlock" or "panel-unlock"; `owner` the
// address that holds or held the lock.
[[nodiscard]] QString lock(const QString &action, int output, const QString &outputName, const QString &owner,
                           const QString &result);

} // namespace ActivityEvents
