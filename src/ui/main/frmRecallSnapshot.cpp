#include "ui/main/frmRecallSnapshot.h"

#include "desktop/qt/DialogFont.h"
#include "desktop/qt/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using desktop::twipsRect;

namespace {

QLabel *plainLabel(QWidget *parent, const char *name, const QRect &place)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    // Snapshot and port names come from files: never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(place);
    return label;
}

} // namespace

frmRecallSnapshot::frmRecallSnapshot(const ShowFiles &shows, QWidget *parent)
    : QDialog(parent), m_choices(shows), m_lstSnapshots(new QListWidget(this)),
      m_lblChanges(plainLabel(this, "lblChanges", twipsRect(120, 2640, 5760, 300))),
      m_lblLocked(plainLabel(this, "lblLocked", twipsRect(120, 2970, 5760, 600))),
      m_chkAll(new QCheckBox(QStringLiteral("Send &every route, also those in place"), this)),
      m_cmdOK(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("Recall Snapshot"));
    setFont(desktop::dialogFont(8));
    setFixedSize(desktop::twips(6000), desktop::twips(4500));
    m_lstSnapshots->setObjectName(QStringLiteral("lstSnapshots"));
    m_lstSnapshots->setGeometry(twipsRect(120, 120, 5760, 2400));
    m_lstSnapshots->addItems(m_choices.rows());
    m_chkAll->setObjectName(QStringLiteral("chkAll"));
    m_chkAll->setGeometry(twipsRect(120, 3600, 4200, 300));
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(twipsRect(3600, 4020, 1080, 360));
    m_cmdOK->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setGeometry(twipsRect(4800, 4020, 1080, 360));
    connect(m_lstSnapshots, &QListWidget::currentRowChanged, this, &frmRecallSnapshot::chosen);
    connect(m_lstSnapshots, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_cmdOK->isEnabled())
            accept();
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_cmdOK->setEnabled(false);
    if (m_choices.rows().isEmpty())
        m_lblChanges->setText(QStringLiteral("No snapshot saved yet."));
    else
        m_lstSnapshots->setCurrentRow(0);
}

bool frmRecallSnapshot::allRoutes() const
{
    return m_chkAll->isChecked();
}

void frmRecallSnapshot::chosen(int row)
{
    m_choices.choose(row);
    m_lblChanges->setText(m_choices.changes());
    m_lblLocked->setText(m_choices.locked());
    m_cmdOK->setEnabled(m_choices.canRecall());
}
