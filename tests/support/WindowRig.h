#pragma once

#include "support/OperatorInput.h"
#include "support/PanelRig.h"
#include "ui/main/PictureBox.h"
#include "ui/main/frmMainMatrix.h"

#include <QLineEdit>
#include <QTest>
#include <memory>

// The real main window over a PanelRig's panel.
struct WindowRig : PanelRig
{
    std::unique_ptr<frmMainMatrix> window;

    frmMainMatrix &open()
    {
        window.reset();
        frmMainMatrix::Services services;
        services.showSetup = [this](QWidget *) { runSetup(); };
        window = std::make_unique<frmMainMatrix>(build(), std::move(services));
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
        edit->setModified(true);
        return true;
    }

    [[nodiscard]] static QString cell(int r, int c) { return QStringLiteral("imgMatrix_%1").arg(r * 16 + c); }
    // "2.4": cell (2, 4).
    [[nodiscard]] static QString cell(const QString &at)
    {
        return cell(at.section(u'.', 0, 0).toInt(), at.section(u'.', 1).toInt());
    }

    template <typename Control = QWidget> Control *control(const QString &name) const
    {
        return ::control<Control>(*window, name);
    }

    [[nodiscard]] bool visible(const QString &name) const { return control(name)->isVisibleTo(window.get()); }

    // Whether the picture control shows this picture.
    [[nodiscard]] bool shows(const QString &name, const QPixmap &picture) const
    {
        return control<PictureBox>(name)->picture().cacheKey() == picture.cacheKey();
    }

    void click(const QString &name) const { QTest::mouseClick(control(name), Qt::LeftButton); }

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
};
