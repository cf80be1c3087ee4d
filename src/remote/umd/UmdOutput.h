#pragma once

#include "remote/umd/UmdOptions.h"
#include "remote/umd/UmdTargetOutput.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

class RemoteDoor;

// The UMD output of the running panel: beside the protocol servers on the
// panel's door, it follows every route acknowledged, lock, rename and load,
// whoever made it, and sends each target's displays that changed, on the
// next turn of the event loop (the changes of one turn go as one message per
// display). It only sends; nothing a display sends back is acted on.
class UmdOutput final : public QObject
{
    Q_OBJECT

public:
    UmdOutput(RemoteDoor &panel, const UmdOptions &options, QObject *parent = nullptr);

    // The output the options and the user's settings file ask for, started;
    // none when they name no target (file entries that cannot be read are
    // told on the status line).
    [[nodiscard]] static std::unique_ptr<UmdOutput> fromArguments(RemoteDoor &panel, const QStringList &arguments);

    // Reads the matrix and starts every target, telling the status line.
    void start();

    // One "umd TARGET STATE sent N" line per target.
    [[nodiscard]] QStringList statusLines() const;

private:
    void changed();

    RemoteDoor &m_panel;
    std::vector<std::unique_ptr<UmdTargetOutput>> m_targets;
    QStringList m_notes;
    QTimer m_update;
};
