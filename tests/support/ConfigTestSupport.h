#pragma once

#include "config/ConfigFile.h"
#include "config/ConfigText.h"
#include "support/PreparedSetup.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

inline const QByteArray Header = "VL ConfigFile 1.2\r\n";

// Writes the bytes to a file in the folder and returns its path.
inline QString writeTestFile(const QTemporaryDir &dir, const QByteArray &bytes,
                             const QString &name = QStringLiteral("test.rcf"))
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QByteArray readTestFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a configuration test starts from: the scripted desktop, a folder of
// its own and the prepared set-up.
struct ConfigFixture
{
    desktop::ScriptedDialogs boxes;
    desktop::ScriptedShell shell;
    QTemporaryDir dir;
    Configuration config;
    MacroBank macros;
    LoadReport report;

    ConfigFixture() { prepareSetup(config, macros); }

    // Loads the bytes from a file as the panel does; returns the file's path.
    QString load(const QByteArray &bytes)
    {
        QString name = writeTestFile(dir, bytes);
        report = ConfigLoad(config, macros, name, false);
        return name;
    }
};
