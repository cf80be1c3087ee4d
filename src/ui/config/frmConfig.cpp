#include "ui/config/frmConfig.h"

#include "config/ComPort.h"
#include "desktop/Help.h"
#include "desktop/qt/DialogFont.h"
#include "desktop/qt/FocusMove.h"
#include "desktop/qt/FocusTakingScrollBar.h"
#include "desktop/qt/Twips.h"
#include "ui/config/ChoiceList.h"
#include "ui/config/WrappingButton.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

using desktop::twipsRect;
using RowField = ConfigRules::RowField;

namespace {

constexpr int RowPitch = 360;
constexpr int GridLeft = 240;
constexpr int GridTop = 1320;
const QStringList RouterTypes = {QStringLiteral("Norvane-X"), QStringLiteral("Norvane-V")};
const QColor GridGrey(192, 192, 192);

const char *const FieldNames[] = {"txtInputs", "txtOutputs", "txtMInput", "txtMOutput"};
constexpr int FieldLefts[] = {3180, 3840, 4560, 5640};

QLabel *plainLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A caption at a position, as wide as its text.
QLabel *caption(QWidget *parent, const QString &name, const QString &text, int left, int top)
{
    QLabel *label = plainLabel(parent, name, text);
    label->adjustSize();
    label->move(desktop::twips(left), desktop::twips(top));
    return label;
}

ChoiceList *dropDown(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *box = new ChoiceList(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

} // namespace

frmConfig::frmConfig(Configuration &setup, QWidget *parent) : QDialog(parent), m_rules(setup)
{
    setObjectName(QStringLiteral("frmConfig"));
    setWindowTitle(QStringLiteral("Configure Router"));
    setFont(desktop::dialogFont(8));
    setFixedSize(desktop::twips(7245), desktop::twips(4095));

    createTopStrip();
    createGrid();
    createBottomStrip();
    setTabOrder();
    connectRules();
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelp(); });

    m_rules.Form_Load();
    m_cboCom->setCurrentIndex(m_rules.comIndex());
    m_txtTimeout->setText(m_rules.initialTimeoutText());
    m_cboRouterCount->setCurrentIndex(m_rules.LastRouter() + 1);
    btnAdvanced_Click(false);
}

frmConfig::~frmConfig() = default;

void frmConfig::createTopStrip()
{
    caption(this, QStringLiteral("lblRouterCount"), QStringLiteral("Router Count"), 240, 240);
    m_cboRouterCount = dropDown(this, QStringLiteral("cboRouterCount"), twipsRect(240, 480, 975, 315));
    for (int count = 0; count <= ConfigRules::MaxRouterCount; ++count)
        m_cboRouterCount->addItem(QString::number(count));

    m_btnAdvanced = new QCheckBox(QStringLiteral("Advanced Configuration"), this);
    m_btnAdvanced->setObjectName(QStringLiteral("btnAdvanced"));
    m_btnAdvanced->setGeometry(twipsRect(1980, 540, 2295, 255));

    // The button is narrower than its caption, which wraps onto two lines.
    m_btnResetMapping = new WrappingButton(QStringLiteral("Reset Advanced Configuration"), this);
    m_btnResetMapping->setObjectName(QStringLiteral("btnResetMapping"));
    m_btnResetMapping->setGeometry(twipsRect(4560, 300, 1995, 495));

    m_lblMapHelp =
        plainLabel(this, QStringLiteral("lblMapHelp"), QStringLiteral("Map Physical In/Out to Matrix In/Out:"));
    m_lblMapHelp->setWordWrap(true);
    m_lblMapHelp->setGeometry(twipsRect(4680, 360, 1755, 435));

    caption(this, QStringLiteral("lblRouterType"), QStringLiteral("Router Type"), 600, 1080);
    caption(this, QStringLiteral("lblAVSplit"), QStringLiteral("A/V Split"), 2340, 1080);
    caption(this, QStringLiteral("lblInputs"), QStringLiteral("Inputs"), 3180, 1080);
    caption(this, QStringLiteral("lblOutputs"), QStringLiteral("Outputs"), 3840, 1080);
    m_lblMapIn = plainLabel(this, QStringLiteral("lblMapIn"), QStringLiteral("Maps to Matrix Inputs"));
    m_lblMapIn->setWordWrap(true);
    m_lblMapIn->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_lblMapIn->setGeometry(twipsRect(4560, 900, 1035, 435));
    m_lblMapOut = plainLabel(this, QStringLiteral("lblMapOut"), QStringLiteral("Maps to\nMatrix Outputs"));
    m_lblMapOut->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    m_lblMapOut->setGeometry(twipsRect(5640, 900, 1155, 435));
}

void frmConfig::createGrid()
{
    for (int k = 0; k < ConfigRules::VisibleRows; ++k) {
        RowControls &row = m_rows[std::size_t(k)];
        const int top = 1380 + RowPitch * k;
        const QString index = u'_' + QString::number(k);

        row.lblFA = plainLabel(this, QStringLiteral("lblFA") + index, QString());
        row.lblFA->setGeometry(twipsRect(360, 1440 + RowPitch * k, 195, 255));

        row.cboRouter = dropDown(this, QStringLiteral("cboRouter") + index, twipsRect(600, top, 2115, 315));
        for (int type = 0; type < RouterTypes.size(); ++type)
            row.cboRouter->addItem(RouterTypes[type], type);

        row.ckAVSplit = new QCheckBox(this);
        row.ckAVSplit->setObjectName(QStringLiteral("ckAVSplit") + index);
        row.ckAVSplit->setGeometry(twipsRect(2820, top, 255, 315));

        for (std::size_t f = 0; f < row.fields.size(); ++f) {
            auto *edit = new QLineEdit(this);
            edit->setObjectName(QLatin1String(FieldNames[f]) + index);
            edit->setGeometry(twipsRect(FieldLefts[f], top, 555, 315));
            edit->installEventFilter(this);
            row.fields[f] = edit;
        }
        row.lblMInEnd = plainLabel(this, QStringLiteral("lblMInEnd") + index, QString());
        row.lblMInEnd->setGeometry(twipsRect(5100, 1425 + RowPitch * k, 435, 255));
        row.lblMOutEnd = plainLabel(this, QStringLiteral("lblMOutEnd") + index, QString());
        row.lblMOutEnd->setGeometry(twipsRect(6180, 1425 + RowPitch * k, 435, 255));

        connect(row.cboRouter, &ChoiceList::chosen, this,
                [this, k](int position) { m_rules.cboRouter_Click(k, position); });
        connect(row.ckAVSplit, &QCheckBox::clicked, this,
                [this, k](bool ticked) { m_rules.ckAVSplit_Click(k, ticked); });
    }
    m_VScroll = new desktop::FocusTakingScrollBar(this);
    m_VScroll->setOrientation(Qt::Vertical);
    m_VScroll->setObjectName(QStringLiteral("VScroll"));
    m_VScroll->setGeometry(twipsRect(6675, GridTop, 255, 1575));
    m_VScroll->setPageStep(ConfigRules::VisibleRows);
}

void frmConfig::createBottomStrip()
{
    caption(this, QStringLiteral("lblComPort"), QStringLiteral("Com Port"), 240, 3060);
    m_cboCom = dropDown(this, QStringLiteral("cboCom"), twipsRect(240, 3300, 1275, 315));
    for (int port = 1; port <= ComPortCount; ++port)
        m_cboCom->addItem(comPortName(port));

    caption(this, QStringLiteral("lblTimeout"), QStringLiteral("Router Timeout"), 1920, 3060);
    m_txtTimeout = new QLineEdit(this);
    m_txtTimeout->setObjectName(QStringLiteral("txtTimeout"));
    m_txtTimeout->setGeometry(twipsRect(1920, 3300, 615, 315));
    caption(this, QStringLiteral("lblSeconds"), QStringLiteral("seconds"), 2580, 3360);

    m_btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    m_btnCancel->setGeometry(twipsRect(4080, 3240, 1155, 435));
    m_btnOK = new QPushButton(QStringLiteral("&OK"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setGeometry(twipsRect(5400, 3240, 1155, 435));
    m_btnOK->setDefault(true);
}

void frmConfig::setTabOrder()
{
    QList<QWidget *> order = {m_cboRouterCount, m_cboCom, m_btnAdvanced};
    for (const RowControls &row : m_rows) {
        order.append(row.cboRouter);
        for (QLineEdit *edit : row.fields)
            order.append(edit);
    }
    order << m_btnCancel << m_btnOK << m_btnResetMapping;
    for (const RowControls &row : m_rows)
        order.append(row.ckAVSplit);
    order.append(m_txtTimeout);
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void frmConfig::connectRules()
{
    connect(m_cboRouterCount, &ChoiceList::chosen, &m_rules, &ConfigRules::cboRouterCount_Click);
    connect(m_cboCom, &ChoiceList::chosen, &m_rules, &ConfigRules::cboCom_Click);
    connect(m_cboCom, &ChoiceList::typed, &m_rules, &ConfigRules::cboCom_Change);
    connect(m_VScroll, &QScrollBar::valueChanged, &m_rules, &ConfigRules::VScroll_Change);
    connect(m_btnAdvanced, &QCheckBox::clicked, this, &frmConfig::btnAdvanced_Click);
    connect(m_btnResetMapping, &QPushButton::clicked, &m_rules, &ConfigRules::btnResetMapping_Click);
    connect(m_btnOK, &QPushButton::clicked, this, &frmConfig::btnOK_Click);
    connect(m_btnCancel, &QPushButton::clicked, this, &frmConfig::reject);

    connect(&m_rules, &ConfigRules::rowsRefilled, this, &frmConfig::showRows);
    connect(&m_rules, &ConfigRules::endLabelsChanged, this, &frmConfig::showEndLabels);
    connect(&m_rules, &ConfigRules::scrollChanged, this, &frmConfig::showScroll);
    connect(&m_rules, &ConfigRules::fieldRestored, this,
            [this](int row, RowField which) { field(row, which)->setText(m_rules.fieldText(which, row)); });
    connect(&m_rules, &ConfigRules::typeRestored, this,
            [this](int row) { m_rows[std::size_t(row)].cboRouter->setCurrentIndex(m_rules.row(row).routerType); });
}

void frmConfig::btnAdvanced_Click(bool ticked)
{
    m_lblMapHelp->setVisible(ticked);
    m_lblMapIn->setVisible(ticked);
    m_lblMapOut->setVisible(ticked);
    m_btnResetMapping->setVisible(!ticked);
    m_rules.btnAdvanced_Click(ticked);
}

void frmConfig::btnOK_Click()
{
    if (m_rules.btnOK_Click(m_txtTimeout->text()))
        accept();
}

void frmConfig::reject()
{
    m_rules.btnCancel_Click();
    QDialog::reject();
}

QLineEdit *frmConfig::field(int row, RowField which) const
{
    return m_rows[std::size_t(row)].fields[std::size_t(which)];
}

void frmConfig::showRows()
{
    const bool advanced = m_rules.AdvancedMode();
    for (int k = 0; k < ConfigRules::VisibleRows; ++k) {
        const ConfigRules::Row shown = m_rules.row(k);
        RowControls &row = m_rows[std::size_t(k)];
        row.lblFA->setText(shown.frameAddress);
        row.cboRouter->setVisible(shown.filled);
        row.ckAVSplit->setVisible(shown.filled);
        field(k, RowField::Inputs)->setVisible(shown.filled);
        field(k, RowField::Outputs)->setVisible(shown.filled);
        field(k, RowField::MInput)->setVisible(shown.filled && advanced);
        field(k, RowField::MOutput)->setVisible(shown.filled && advanced);
        if (shown.filled) {
            row.cboRouter->setCurrentIndex(shown.routerType);
            row.ckAVSplit->setChecked(shown.split);
            field(k, RowField::Inputs)->setText(shown.inputs);
            field(k, RowField::Outputs)->setText(shown.outputs);
            field(k, RowField::MInput)->setText(shown.mInput);
            field(k, RowField::MOutput)->setText(shown.mOutput);
        }
        showEndLabels(k);
    }
}

void frmConfig::showEndLabels(int row)
{
    const ConfigRules::Row shown = m_rules.row(row);
    m_rows[std::size_t(row)].lblMInEnd->setText(shown.mInEnd);
    m_rows[std::size_t(row)].lblMOutEnd->setText(shown.mOutEnd);
}

void frmConfig::showScroll()
{
    const QSignalBlocker blocker(m_VScroll);
    m_VScroll->setRange(0, m_rules.scrollMaximum());
    m_VScroll->setValue(m_rules.TopRow());
}

bool frmConfig::eventFilter(QObject *watched, QEvent *event)
{
    if (desktop::isFocusMove(event)) {
        for (int k = 0; k < ConfigRules::VisibleRows; ++k) {
            for (std::size_t f = 0; f < m_rows[std::size_t(k)].fields.size(); ++f) {
                QLineEdit *edit = m_rows[std::size_t(k)].fields[f];
                if (edit != watched)
                    continue;
                if (event->type() == QEvent::FocusIn)
                    m_rules.rowFieldGotFocus();
                else
                    m_rules.rowFieldLostFocus(RowField(f), k, edit->text());
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmConfig::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(GridGrey);
    painter.drawRect(twipsRect(GridLeft, GridTop, 6435, 1575).adjusted(0, 0, -1, -1));
    for (const int y : {1710, 2070, 2430})
        painter.drawLine(desktop::twips(255), desktop::twips(y), desktop::twips(6240), desktop::twips(y));
}
