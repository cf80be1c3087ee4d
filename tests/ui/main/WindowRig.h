#pragma once

#include "RouterSim.h"
#include "TestRouters.h"
#include "app/GlobalState.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"
#include "ui/main/PictureBox.h"
#include "ui/main/frmMainMatrix.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// The real main window on a private data folder, its COM1 linked to
// velmora-routersim. The configuration dialog is the `setup` step, the
// clock is `now`, boxes and key states come from the scripts.
struct WindowRig
{
    QTemporaryDir data;
    desktop::ScriptedDialogs dialogs;
    desktop::ScriptedShell shell;
    RouterSim sim;
    qint64 now = 0;
    std::function<void()> setup;
    std::unique_ptr<frmMainMatrix> window;

    WindowRig()
    {
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        ResetGlobals();
        QDir().mkpath(appFolder() + QStringLiteral("ports"));
    }

    ~WindowRig()
    {
        window.reset();
        ResetGlobals();
    }

    [[nodiscard]] QString appFolder() const { return data.path() + QStringLiteral("/Velmora/1.1/"); }
    [[nodiscard]] QString defaultFile() const { return appFolder() + QStringLiteral("default.rcf"); }
    [[nodiscard]] bool startSim(const QStringList &args = {QStringLiteral("--no-pacing")})
    {
        return sim.start(appFolder() + QStringLiteral("ports/COM1"), args);
    }

    // The set-up the dialog leaves: one router (inputs, outputs as highest
    // index) at frame address 0 on COM1, able to split.
    void useRouter(int inputCount = 15, int outputCount = 15)
    {
        setup = [inputCount, outputCount] {
            Configuration &config = Globals();
            addRouter(config, 0, inputCount, outputCount).canSplit = true;
            config.CommPortName = QStringLiteral("COM1");
            config.RouterTimeout = 2.0f;
            config.ConfigLoaded = true;
        };
    }

    frmMainMatrix &open()
    {
        frmMainMatrix::Services services;
        services.showSetup = [this](QWidget *) {
            if (setup)
                setup();
        };
        services.clock = [this] { return now; };
        window = std::make_unique<frmMainMatrix>(std::move(services));
        window->Form_Load();
        return *window;
    }

    // The window shown and active, so that its fields take the keyboard focus.
    [[nodiscard]] bool showActive() const
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    // Focuses a name field and types text into it; false when it got no focus.
    [[nodiscard]] bool typeInto(const QString &field, const QString &text) const
    {
        auto *edit = control<QLineEdit>(field);
        edit->setFocus();
        if (!QTest::qWaitFor([edit] { return edit->hasFocus(); }))
            return false;
        edit->setText(text);
        return true;
    }

    [[nodiscard]] static QString cell(int r, int c) { return QStringLiteral("imgMatrix_%1").arg(r * 16 + c); }

    // The bytes of a file, none when it cannot be read.
    [[nodiscard]] static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template <typename Control = QWidget> Control *control(const QString &name) const
    {
        auto *found = window->findChild<Control *>(name);
        if (!found)
            qWarning("no control %s", qPrintable(name));
        return found;
    }

    void click(const QString &name) const
    {
        QWidget *target = control(name);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }

    // The disc cell (r, c) shows: 0 grey, 1 red, 2 yellow, 3 blue; -1 other.
    [[nodiscard]] int disc(int r, int c) const
    {
        const qint64 key = control<PictureBox>(QStringLiteral("imgMatrix_%1").arg(r * 16 + c))->picture().cacheKey();
        const auto &discs = window->pictures().imgCPSource;
        for (std::size_t i = 0; i < discs.size(); ++i) {
            if (discs[i].cacheKey() == key)
                return int(i);
        }
        return -1;
    }

    // "router=0 input=2 output=4" of every frame the simulator received.
    [[nodiscard]] QStringList routes() const
    {
        QStringList result;
        for (const QString &frame : sim.frames())
            result.append(frame.section(QLatin1Char(' '), 8, 10));
        return result;
    }
};
