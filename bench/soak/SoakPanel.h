#pragma once

#include <QString>

// The panel under soak: started on the data folder's default.rcf with both
// servers on the run's ports, stopped as TERM stops it.
class SoakPanel
{
public:
    virtual ~SoakPanel() = default;
    // Empty once the control port answers, else why not.
    [[nodiscard]] virtual QString start() = 0;
    // Empty once it ended as TERM ends it (exit status 0), else how it ended.
    [[nodiscard]] virtual QString stop() = 0;
    // Empty while it runs, else how it ended.
    [[nodiscard]] virtual QString ended() const = 0;
    [[nodiscard]] virtual long residentKiB() const = 0;
};

// The resident memory of a process from /proc, 0 where there is none.
[[nodiscard]] long residentKiBOf(qint64 pid);
