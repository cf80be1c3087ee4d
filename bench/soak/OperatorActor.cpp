#include "OperatorActor.h"

#include "WindowPanel.h"
#include "support/OperatorInput.h"
#include "ui/main/frmMainMatrix.h"

#include <QLineEdit>

void OperatorActor::clickCell()
{
    QTest::mouseClick(control(*m_panel.window(), QStringLiteral("imgMatrix_%1").arg(m_random.below(256))),
                      Qt::LeftButton);
}

void OperatorActor::act()
{
    frmMainMatrix *window = m_panel.window();
    if (!window)
        return;
    const int roll = m_random.below(100);
    if (roll < 50) {
        clickCell();
        m_counts.operation(QStringLiteral("window cell click"));
    } else if (roll < 70) {
        const char *bar = m_random.chance(50) ? "HScroll" : "VScroll";
        auto *scroll = control<QScrollBar>(*window, QLatin1String(bar));
        scroll->setValue(m_random.below(scroll->maximum() + 1));
        m_counts.operation(QStringLiteral("window scroll"));
    } else {
        const QString field = QStringLiteral("%1_%2")
                                  .arg(m_random.chance(50) ? QStringLiteral("txtIn") : QStringLiteral("txtOut"))
                                  .arg(m_random.below(16));
        if (!showActive(*window))
            return;
        auto *edit = control<QLineEdit>(*window, field);
        edit->setFocus();
        if (!QTest::qWaitFor([edit] { return edit->hasFocus(); }, 5000))
            return;
        edit->setText(m_random.name());
        edit->setModified(true);
        clickCell();
        m_counts.operation(QStringLiteral("window rename"));
    }
}
