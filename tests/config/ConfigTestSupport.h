#pragma once

#include "config/ConfigFile.h"
#include "config/ConfigText.h"
#include "config/MacroSection.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A set-up that differs from the start-up state everywhere a load can
// touch, so a test sees what a load changed and what it left alone.
inline void prepareSetup(Configuration &config, MacroBank &macros)
{
    config.CommPortName = QStringLiteral("COM2");
    config.RouterTimeout = 7.5f;
    config.ConfigLoaded = false;
    config.ConfigFilePath = QStringLiteral("before.rcf");
    config.Routers[9] = std::make_unique<clsRouter>();
    config.Routers[9]->setStringVal(QStringLiteral("1; 9; 1; 0; 4; 2; -1;A; B; C; "));
    macros.MacroNames[3] = QStringLiteral("Kept");
    macros.Macros[3] = QList<RouteRecord>{RouteRecord::pack(9, 0, 1, 3)};
}

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
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The lines of a file as the program writes them.
inline QByteArray crlfLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

inline QString testDataPath(const QString &name)
{
    return QStringLiteral(VELMORA_TEST_DATA "/") + name;
}
