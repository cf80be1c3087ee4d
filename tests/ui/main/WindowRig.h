#pragma once

#include "RouterSim.h"
#include "TestRouters.h"
#include "app/GlobalState.h"
#include "support/ScriptedDialogs.h"
#include "support/ScriptedShell.h"
#include "ui/OperatorInput.h"
#include "ui/main/PictureBox.h"
#include "ui/main/frmMainMatrix.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A frame as the simulator logs it, "router=0 input=2 output=4", with its
// verdict ("ack", "refused:21") when given.
inline QString route(int router, int input, int output, const QString &verdict = {})
{
    const QString ports = QStringLiteral("router=%1 input=%2 output=%3").arg(router).arg(input).arg(output);
    return verdict.isEmpty() ? ports : ports + u' ' + verdict;
}

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

    // The set-up the dialog leaves: the routers `add` puts in, on COM1 with a
    // 2 s timeout unless `add` sets another.
    void useRouters(const std::function<void(Configuration &)> &add)
    {
        setup = [add] {
            Configuration &config = Globals();
            config.CommPortName = QStringLiteral("COM1");
            config.RouterTimeout = 2.0f;
            config.ConfigLoaded = true;
            add(config);
        };
    }

    // One router (inputs, outputs as highest index) at frame address 0.
    void useRouter(int inputCount = 15, int outputCount = 15, bool split = true)
    {
        useRouters([=](Configuration &config) { addRouter(config, 0, inputCount, outputCount).canSplit = split; });
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
    [[nodiscard]] bool showActive() const { return ::showActive(*window); }

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

    void trigger(const char *menuItem) const { control<QAction>(QLatin1String(menuItem))->trigger(); }

    [[nodiscard]] static QString cell(int r, int c) { return QStringLiteral("imgMatrix_%1").arg(r * 16 + c); }
    // "2.4": cell (2, 4).
    [[nodiscard]] static QString cell(const QString &at)
    {
        return cell(at.section(u'.', 0, 0).toInt(), at.section(u'.', 1).toInt());
    }

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

    [[nodiscard]] bool visible(const QString &name) const { return control(name)->isVisibleTo(window.get()); }

    // Whether the picture control shows this picture.
    [[nodiscard]] bool shows(const QString &name, const QPixmap &picture) const
    {
        return control<PictureBox>(name)->picture().cacheKey() == picture.cacheKey();
    }

    void click(const QString &name) const
    {
        QWidget *target = control(name);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
    }

    void clicks(const QStringList &names) const
    {
        for (const QString &name : names)
            click(name);
    }

    // The disc cell (r, c) shows: 0 grey, 1 red, 2 yellow, 3 blue; -1 other.
    [[nodiscard]] int disc(int r, int c) const { return disc(cell(r, c)); }
    [[nodiscard]] int disc(const QString &cellName) const
    {
        const auto &discs = window->pictures().imgCPSource;
        for (std::size_t i = 0; i < discs.size(); ++i) {
            if (shows(cellName, discs[i]))
                return int(i);
        }
        return -1;
    }

    [[nodiscard]] static clsRouteState &stateOf(int frameAddress, int phyOut)
    {
        return Globals().Routers[std::size_t(frameAddress)]->RouteState(phyOut);
    }

    // "router=0 input=2 output=4" of every frame the simulator received,
    // with its verdict ("ack", "refused:21") when asked.
    [[nodiscard]] QStringList routes(bool verdicts = false) const
    {
        QStringList result;
        for (const QString &frame : sim.frames())
            result.append(frame.section(QLatin1Char(' '), 8, verdicts ? 11 : 10));
        return result;
    }
};
