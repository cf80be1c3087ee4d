#include "WindowView.h"

#include "WindowPanel.h"
#include "panel/MainPanel.h"
#include "support/OperatorInput.h"
#include "ui/main/PictureBox.h"
#include "ui/main/frmMainMatrix.h"

#include <QLabel>
#include <QLineEdit>

namespace {

constexpr int Visible = 16;

} // namespace

Facts WindowView::read()
{
    Facts facts;
    m_shown.clear();
    const frmMainMatrix *window = m_panel.window();
    if (!window)
        return facts;
    const MatrixView &view = m_panel.panel()->view();
    for (int i = 0; i < Visible; ++i) {
        for (const bool input : {true, false}) {
            const QString key = QStringLiteral("%1-name %2")
                                    .arg(input ? QStringLiteral("input") : QStringLiteral("output"))
                                    .arg((input ? view.InOffset : view.OutOffset) + i);
            const QString field =
                control<QLineEdit>(*window, QStringLiteral("%1_%2").arg(input ? "txtIn" : "txtOut").arg(i))->text();
            const QString caption =
                control<QLabel>(*window, QStringLiteral("%1_%2").arg(input ? "txtCPIn" : "txtCPOut").arg(i))->text();
            facts.insert(key,
                         field == caption ? field : QStringLiteral("field \"%1\", caption \"%2\"").arg(field, caption));
            m_shown.insert(key);
        }
    }
    const auto &discs = window->pictures().imgCPSource;
    for (int cell = 0; cell < Visible * Visible; ++cell) {
        const qint64 shown =
            control<PictureBox>(*window, QStringLiteral("imgMatrix_%1").arg(cell))->picture().cacheKey();
        qsizetype disc = 0;
        while (disc < qsizetype(discs.size()) && discs[std::size_t(disc)].cacheKey() != shown)
            ++disc;
        const QString key =
            QStringLiteral("cell %1 %2").arg(view.OutOffset + cell % Visible).arg(view.InOffset + cell / Visible);
        facts.insert(key, QString::number(disc));
        m_shown.insert(key);
    }
    return facts;
}

Facts WindowView::expected(const Facts &reference) const
{
    Facts facts;
    for (const QString &key : m_shown) {
        if (!key.startsWith(u"cell ")) {
            facts.insert(key, reference.value(key));
            continue;
        }
        // The marker of each level on its source's row: one of both levels when they agree.
        const QString output = key.section(u' ', 1, 1);
        const QString input = key.section(u' ', 2, 2);
        const QString video = reference.value(QStringLiteral("video ") + output);
        const QString audio = reference.value(QStringLiteral("audio ") + output);
        int disc = 0;
        if (input == video)
            disc = video == audio ? 3 : 1;
        else if (input == audio)
            disc = 2;
        facts.insert(key, QString::number(disc));
    }
    return facts;
}
