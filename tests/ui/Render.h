#pragma once

#include <QDir>
#include <QWidget>

// Saves a picture of a window under the build folder's renders/, for a
// reviewer to look at; true when written.
[[nodiscard]] inline bool renderToFile(QWidget &window, const QString &name)
{
    const QString folder = QStringLiteral(VELMORA_RENDER_DIR);
    return QDir().mkpath(folder) && window.grab().save(folder + u'/' + name + QStringLiteral(".png"));
}
