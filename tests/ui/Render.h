#pragma once

#include <QDir>
#include <QWidget>

// Saves a picture of a window under the build folder's renders/, to see the
// window without a screen; true when written.
[[nodiscard]] inline bool renderToFile(QWidget &window, const QString &name)
{
    const QString folder = QStringLiteral(VELMORA_RENDER_DIR);
    return QDir().mkpath(folder) && window.grab().save(folder + u'/' + name + QStringLiteral(".png"));
}
