#include "desktop/DataFolderClaim.h"

#include "base/PanelLimits.h"
#include "desktop/AppFolder.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"

#include <QDir>
#include <QLockFile>

namespace desktop {

DataFolderClaim::DataFolderClaim()
{
    QString folder;
    try {
        folder = AppFolder();
    } catch (const Fault &) {
        return;
    }
    m_lock = std::make_unique<QLockFile>(folder + QStringLiteral("velmora.lock"));
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0) || m_lock->error() != QLockFile::LockFailedError)
        return;
    m_refused = true;
    showMessage(limits::ProgramName,
                QStringLiteral("Velmora is already running with the set-up in ") +
                    QDir::toNativeSeparators(QDir::cleanPath(folder)),
                Icon::Critical);
}

// Out of line: QLockFile is complete here.
DataFolderClaim::~DataFolderClaim() = default;

} // namespace desktop
