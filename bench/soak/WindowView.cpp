#include "WindowView.h"

#include "WindowPanel.h"
#include "panel/MainPanel.h"
#include "support/OperatorInput.h"
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
    return facts;
}

Facts WindowView::expected(const Facts &reference) const
{
    Facts facts;
    for (const QString &key : m_shown)
        facts.insert(key, reference.value(key));
    return facts;
}
