#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace desktop {

// One panel per data folder: two would write one set-up, one port link and
// one log over each other. The claim holds the lock file velmora.lock in the
// data folder (AppFolder()) for its lifetime; the lock goes stale only when
// its holder's process is gone, never by age, since a panel runs for days.
// Take it before anything reads or writes in the folder.
class DataFolderClaim
{
public:
    // Claims the folder. Refused when another live panel holds it: the
    // operator is told "Velmora is already running with the set-up in
    // <folder>". Without a data folder, or where the lock cannot be written,
    // nothing is claimed and nothing refused: the start-up tells what is
    // wrong with the folder.
    DataFolderClaim();
    ~DataFolderClaim();
    DataFolderClaim(const DataFolderClaim &) = delete;
    DataFolderClaim &operator=(const DataFolderClaim &) = delete;

    [[nodiscard]] bool refused() const { return m_refused; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_refused = false;
};

} // namespace desktop
