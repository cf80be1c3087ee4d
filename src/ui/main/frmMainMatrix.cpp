#include "ui/main/frmMainMatrix.h"

#include "base/PanelLimits.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "desktop/Shell.h"
#include "desktop/qt/DialogFont.h"
#include "desktop/qt/FocusMove.h"
#include "desktop/qt/Twips.h"
#include "ui/main/PictureBox.h"
#include "ui/main/ShowFileMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>

namespace {

constexpr int Visible = MainMatrixControls::Visible;
constexpr int ClientWidth = 800;
constexpr int ClientHeight = 543;
constexpr int ScrollPage = 8;
const QColor Background(204, 166, 255);
constexpr qreal WindowPointSize = 8.25;

} // namespace

frmMainMatrix::frmMainMatrix(MainPanel &panel, Services services, QWidget *parent)
    : QMainWindow(parent), m_panel(panel), m_services(std::move(services)), m_pictures(qApp->devicePixelRatio()),
      m_lockMarks(panel.view(), panel.locks())
{
    setObjectName(QStringLiteral("frmMainMatrix"));
    setWindowTitle(limits::ProgramName);
    setFont(desktop::dialogFont(WindowPointSize));

    auto *client = new QWidget(this);
    client->setFixedSize(ClientWidth, ClientHeight);
    client->setAutoFillBackground(true);
    QPalette palette = client->palette();
    palette.setColor(QPalette::Window, Background);
    client->setPalette(palette);
    setCentralWidget(client);
    m_controls.build(client, m_pictures);
    buildMenus();
    connectControls();
    connectButtonPanel();
    connectPanel();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    qApp->installEventFilter(this);
}

frmMainMatrix::~frmMainMatrix()
{
    qApp->removeEventFilter(this);
}

void frmMainMatrix::buildMenus()
{
    const auto item = [this](QMenu *menu, const char *name, const QString &caption, auto slot) {
        QAction *action = menu->addAction(caption, this, slot);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    item(file, "mnuLoadConfig", QStringLiteral("&Load Configuration..."), &frmMainMatrix::mnuLoadConfig_Click);
    item(file, "mnuSaveConfig", QStringLiteral("&Save Configuration..."), &frmMainMatrix::mnuSaveConfig_Click);
    item(file, "mnuSetup", QStringLiteral("Setup &Current Configuration..."), &frmMainMatrix::mnuSetup_Click);
    file->addSeparator();
    item(file, "mnuLoadMacros", QStringLiteral("Load &Macros..."), &frmMainMatrix::mnuLoadMacros_Click);
    file->addSeparator();
    (new ShowFileMenu(m_panel, *this))->addTo(*file);
    item(file, "mnuExit", QStringLiteral("&Exit"), [this] { close(); });

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelpMenu"));
    const auto openHelp = [this] {
        if (m_services.showHelp)
            m_services.showHelp();
    };
    QAction *helpItem = help->addAction(QStringLiteral("&Velmora Help"), this, openHelp);
    helpItem->setObjectName(QStringLiteral("mnuHelp"));
    helpItem->setEnabled(bool(m_services.showHelp));
    QAction *about = help->addAction(QStringLiteral("&About"), this, [this] { m_services.showAbout(this); });
    about->setObjectName(QStringLiteral("mnuAbout"));
    about->setEnabled(bool(m_services.showAbout));
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, openHelp);
}

void frmMainMatrix::connectControls()
{
    for (int i = 0; i < Visible; ++i) {
        const auto at = std::size_t(i);
        for (PictureBox *output : {m_controls.imgMOut[at], m_controls.imgMOutLock[at], m_controls.imgSOut[at]})
            connect(output, &PictureBox::clicked, this, [this, i] { outputClick(i); });
        connect(m_controls.imgMIn[at], &PictureBox::clicked, this, [this, i] { inputClick(i); });
        for (PictureBox *number : {m_controls.imgMOut[at], m_controls.imgMOutLock[at]}) {
            number->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(number, &QWidget::customContextMenuRequested, this,
                    [this, i, number](QPoint position) { lockMenu(i, number->mapToGlobal(position)); });
        }
    }
    for (int cell = 0; cell < Visible * Visible; ++cell)
        connect(m_controls.imgMatrix[std::size_t(cell)], &PictureBox::clicked, this, [this, cell] { cellClick(cell); });
    for (int i = 0; i < limits::LevelCount; ++i)
        connect(m_controls.imgLayerSel[std::size_t(i)], &PictureBox::clicked, this,
                [this, i] { imgLayerSel_Click(i); });

    // The view follows a dragged thumb when it is released.
    m_controls.VScroll->setTracking(false);
    m_controls.HScroll->setTracking(false);
    connect(m_controls.VScroll, &QScrollBar::valueChanged, &m_panel, &MainPanel::setInOffset);
    connect(m_controls.HScroll, &QScrollBar::valueChanged, &m_panel, &MainPanel::setOutOffset);

    for (int i = 0; i < MainMatrixControls::MacroCount; ++i)
        connect(m_controls.btnMacro[std::size_t(i)], &QPushButton::clicked, this,
                [this, i] { m_panel.macros().btnMacro_Click(i); });
    connect(m_controls.btnRecord, &QPushButton::clicked, this, [this] { m_panel.macros().btnRecord_Click(); });
}

void frmMainMatrix::connectPanel()
{
    connect(&m_panel, &MainPanel::cellChanged, this, &frmMainMatrix::showCell);
    connect(&m_panel, &MainPanel::outputSelectionChanged, this, &frmMainMatrix::DisplayOutSel);
    connect(&m_panel, &MainPanel::namesChanged, this, &frmMainMatrix::UpdateDisplayNames);
    connect(&m_panel, &MainPanel::portNamesChanged, this, &frmMainMatrix::showRenamedPorts);
    connect(&m_panel, &MainPanel::setupChanged, this, &frmMainMatrix::showSetup);
    connect(&m_panel, &MainPanel::viewReset, this, &frmMainMatrix::resetControls);
    connect(&m_panel, &MainPanel::locksChanged, this, &frmMainMatrix::showLockMarks);
    connect(&m_panel.macros(), &MacroButtons::changed, this, &frmMainMatrix::showMacroButtons);
    StatusLine &status = m_panel.statusLine();
    connect(&status, &StatusLine::textChanged, m_controls.txtErrMsg, &QLabel::setText);
    connect(&status, &StatusLine::blink, this,
            [this] { m_controls.lblRecord->setHidden(!m_controls.lblRecord->isHidden()); });
}

void frmMainMatrix::connectButtonPanel()
{
    using Side = ButtonPanel::Side;
    ButtonPanel &panel = m_panel.buttonPanel();
    connect(&panel, &ButtonPanel::changed, this, &frmMainMatrix::showPanel);
    for (const Side side : {Side::Inputs, Side::Outputs}) {
        const auto &buttons = side == Side::Inputs ? m_controls.btnBPIn : m_controls.btnBPOut;
        for (int i = 0; i < Visible; ++i) {
            PictureBox *button = buttons[std::size_t(i)];
            connect(button, &PictureBox::pressed, this, [&panel, side, i] { panel.press(side, i); });
            connect(button, &PictureBox::released, this,
                    [&panel, side, i](QPoint position) { panel.release(side, i, position * desktop::TwipsPerPixel); });
        }
    }
    for (int i = 0; i < ButtonPanel::TakeCount; ++i) {
        PictureBox *take = m_controls.imgBPTake[std::size_t(i)];
        connect(take, &PictureBox::pressed, this, [&panel, i] { panel.imgBPTake_MouseDown(i); });
        connect(take, &PictureBox::released, this, [&panel, i] { panel.imgBPTake_MouseUp(i); });
        connect(take, &PictureBox::clicked, this, [&panel, i] { panel.imgBPTake_Click(i); });
    }
}

void frmMainMatrix::showPanel()
{
    using Side = ButtonPanel::Side;
    const ButtonPanel &panel = m_panel.buttonPanel();
    const auto face = [this](ButtonPanel::Picture picture) -> const QPixmap & {
        switch (picture) {
        case ButtonPanel::Picture::Down:
            return m_pictures.imgBPDown;
        case ButtonPanel::Picture::Sel:
            return m_pictures.imgBPSel;
        case ButtonPanel::Picture::Up:
            break;
        }
        return m_pictures.imgBPUp;
    };
    for (int i = 0; i < Visible; ++i) {
        m_controls.btnBPIn[std::size_t(i)]->setPicture(face(panel.picture(Side::Inputs, i)));
        m_controls.btnBPOut[std::size_t(i)]->setPicture(face(panel.picture(Side::Outputs, i)));
    }
    for (int i = 0; i < ButtonPanel::TakeCount; ++i) {
        const auto at = std::size_t(i);
        m_controls.imgBPTake[at]->setPicture(panel.takeDown(i) ? m_pictures.takeDown[at] : m_pictures.takeUp[at]);
    }
}

void frmMainMatrix::Form_Load()
{
    m_panel.Form_Load([this] { showSetupDialog(); });
}

void frmMainMatrix::resetControls()
{
    for (int i = 0; i < Visible; ++i) {
        DisplayOutSel(i, false);
        m_controls.imgMIn[std::size_t(i)]->setPicture(m_pictures.sideButtonUp);
    }
}

void frmMainMatrix::showSetup()
{
    const MatrixTables &tables = m_panel.tables();
    // Lowering a range moves a bar's value into it, and the bar's change
    // brings the view along, so no offset is ever left beyond the range.
    setScrollRange(m_controls.VScroll, tables.MatrixInputs);
    setScrollRange(m_controls.HScroll, tables.MatrixOutputs);
    UpdateDisplayNames(true, true);
    for (int i = 0; i < limits::LevelCount; ++i) {
        m_controls.imgLayerSel[std::size_t(i)]->setVisible(tables.AnyRouterSplit);
        m_controls.imgBPTake[std::size_t(i)]->setVisible(ButtonPanel::isTakeShown(i, tables.AnyRouterSplit));
    }
}

void frmMainMatrix::setScrollRange(QScrollBar *bar, int highestInUse)
{
    const int hiddenRows = highestInUse - (Visible - 1);
    bar->setVisible(hiddenRows > 0);
    bar->setRange(0, std::max(hiddenRows, 0));
    bar->setSingleStep(1);
    bar->setPageStep(ScrollPage);
}

void frmMainMatrix::UpdateDisplayNames(bool doInputs, bool doOutputs)
{
    const MatrixView &view = m_panel.view();
    desktop::runTrapped(QStringLiteral("UpdateDisplayNames"), [&] {
        for (int i = 0; i < Visible; ++i) {
            const auto at = std::size_t(i);
            if (doInputs) {
                const QString name = m_panel.names().inputName(i);
                m_controls.txtMIn[at]->setText(QString::number(view.InOffset + i + 1));
                m_controls.txtIn[at]->setText(name);
                m_controls.txtCPIn[at]->setText(name);
            }
            if (doOutputs) {
                const QString name = m_panel.names().outputName(i);
                const QString number = QString::number(view.OutOffset + i + 1);
                m_controls.lblMOut[at]->setText(number);
                m_controls.txtSOut[at]->setText(number);
                m_controls.txtOut[at]->setText(name);
                m_controls.txtCPOut[at]->setText(name);
            }
        }
    });
    if (doOutputs)
        showLockMarks();
}

void frmMainMatrix::showLockMarks()
{
    for (int c = 0; c < Visible; ++c) {
        const auto at = std::size_t(c);
        const QString tip = m_lockMarks.tip(c);
        m_controls.imgMOut[at]->setToolTip(tip);
        m_controls.imgMOutLock[at]->setToolTip(tip);
        m_controls.imgMOutLock[at]->setVisible(!tip.isEmpty());
    }
}

void frmMainMatrix::lockMenu(int c, QPoint globalPosition)
{
    if (m_lockMarks.tip(c).isEmpty())
        return;
    // Fixed before the menu opens: the view may scroll while it is open.
    const int matOut = m_lockMarks.output(c);
    if (desktop::dialogs().popupMenu({QStringLiteral("Unlock")}, globalPosition) == 0)
        m_panel.unlockOutput(matOut);
}

void frmMainMatrix::UpdateDisplayMatrix()
{
    m_panel.display().UpdateDisplayMatrix();
}

void frmMainMatrix::showCell(int cell, MatrixDisplay::Mark mark)
{
    m_controls.imgMatrix[std::size_t(cell)]->setPicture(m_pictures.imgCPSource[std::size_t(mark)]);
}

void frmMainMatrix::DisplayOutSel(int Index, bool isSel)
{
    if (Index < 0)
        return;
    const auto at = std::size_t(Index);
    m_controls.imgMOut[at]->setPicture(isSel ? m_pictures.imgMButtonDown : m_pictures.imgMButtonUp);
    m_controls.imgSOut[at]->setPicture(isSel ? m_pictures.sideButtonDown : m_pictures.sideButtonUp);
    m_controls.setColumnLineWide(Index, isSel);
}

void frmMainMatrix::imgLayerSel_Click(int Index)
{
    const int level = Index + 1;
    MatrixTakes &takes = m_panel.takes();
    const int current = takes.CurrentLevel;
    if (level == current || Index < 0 || Index >= limits::LevelCount)
        return;
    m_controls.imgLayerSel[std::size_t(current - 1)]->setPicture(m_pictures.imgLayerUpSource[std::size_t(current - 1)]);
    takes.CurrentLevel = level;
    m_controls.imgLayerSel[std::size_t(Index)]->setPicture(m_pictures.imgLayerDownSource[std::size_t(Index)]);
}

void frmMainMatrix::outputClick(int c)
{
    desktop::runTrapped(QStringLiteral("imgMOut_Click"), [&] {
        desktop::Shell &shell = desktop::shell();
        m_panel.selection().outputClick(c, shell.CtrlKeyDown(), shell.ShiftKeyDown());
    });
}

void frmMainMatrix::inputClick(int r)
{
    desktop::runTrapped(QStringLiteral("imgMIn_Click"), [&] {
        desktop::Shell &shell = desktop::shell();
        m_panel.takes().inputClick(r, shell.CtrlKeyDown(), shell.ShiftKeyDown());
    });
}

void frmMainMatrix::cellClick(int index)
{
    desktop::runTrapped(QStringLiteral("imgMatrix_Click"), [&] { m_panel.takes().cellClick(index); });
}

void frmMainMatrix::showMacroButtons()
{
    const MacroButtons &macros = m_panel.macros();
    for (int i = 0; i < MainMatrixControls::MacroCount; ++i) {
        QString caption = macros.caption(i);
        m_controls.btnMacro[std::size_t(i)]->setText(caption.replace(QLatin1Char('&'), QLatin1String("&&")));
    }
    QString record = macros.recordCaption();
    m_controls.btnRecord->setText(record.replace(QLatin1Char('&'), QLatin1String("&&")));
    m_controls.lblRecord->setText(macros.recordLabelText());
    m_controls.lblRecord->setVisible(macros.recordLabelVisible());
}

void frmMainMatrix::mnuLoadConfig_Click()
{
    // The fields are filled afresh afterwards: a name being typed is kept first.
    commitFieldBeingEdited();
    m_panel.loadConfiguration(false);
}

void frmMainMatrix::commitFieldBeingEdited()
{
    commitNameField(focusWidget());
}

void frmMainMatrix::mnuSaveConfig_Click()
{
    commitFieldBeingEdited();
    m_panel.saveConfiguration();
}

void frmMainMatrix::mnuSetup_Click()
{
    showSetupDialog();
    m_panel.ReturnFromConfig();
}

void frmMainMatrix::showSetupDialog()
{
    commitFieldBeingEdited();
    if (m_services.showSetup)
        m_services.showSetup(this);
}

void frmMainMatrix::mnuLoadMacros_Click()
{
    commitFieldBeingEdited();
    m_panel.loadConfiguration(true);
}

void frmMainMatrix::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    m_panel.statusLine().release();
}

void frmMainMatrix::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmMainMatrix::Form_Unload()
{
    if (m_panel.unloaded())
        return;
    // No take starts while the name being typed is kept, then the panel saves.
    m_panel.takes().stop();
    // Closing while typing a name must not lose it.
    commitFieldBeingEdited();
    m_panel.Form_Unload();
}

void frmMainMatrix::nameFieldLeft(QLineEdit *field, QLabel *caption, const QString &shown)
{
    // Unchanged text is left alone, so the field keeps its cursor and undo.
    if (field->text() != shown)
        field->setText(shown);
    field->setModified(false);
    caption->setText(shown);
}

void frmMainMatrix::showRenamedPorts(bool inputs, const QList<int> &matrixPorts)
{
    const int offset = inputs ? m_panel.view().InOffset : m_panel.view().OutOffset;
    for (const int port : matrixPorts) {
        const int i = port - offset;
        if (i < 0 || i >= Visible)
            continue;
        const auto at = std::size_t(i);
        const QString name = inputs ? m_panel.names().inputName(i) : m_panel.names().outputName(i);
        (inputs ? m_controls.txtCPIn : m_controls.txtCPOut)[at]->setText(name);
        QLineEdit *field = (inputs ? m_controls.txtIn : m_controls.txtOut)[at];
        if (!field->isModified())
            field->setText(name);
    }
}

bool frmMainMatrix::levelKey(const QEvent *event) const
{
    const auto *key = static_cast<const QKeyEvent *>(event);
    if (!(key->modifiers() & Qt::ControlModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_V:
    case Qt::Key_A:
    case Qt::Key_L:
        return true;
    default:
        return false;
    }
}

bool frmMainMatrix::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == this && levelKey(event)) {
        // Seen before the focused control, which still gets the key.
        const int key = static_cast<const QKeyEvent *>(event)->key();
        imgLayerSel_Click(key == Qt::Key_V ? 0 : key == Qt::Key_A ? 1 : 2);
    } else if (event->type() == QEvent::FocusOut && desktop::isFocusMove(event)) {
        commitNameField(watched);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMainMatrix::commitNameField(const QObject *field)
{
    for (int i = 0; i < Visible; ++i) {
        const auto at = std::size_t(i);
        QLineEdit *input = m_controls.txtIn[at];
        QLineEdit *output = m_controls.txtOut[at];
        if (field == input)
            nameFieldLeft(input, m_controls.txtCPIn[at], m_panel.names().txtIn_LostFocus(i, input->text()));
        else if (field == output)
            nameFieldLeft(output, m_controls.txtCPOut[at], m_panel.names().txtOut_LostFocus(i, output->text()));
    }
}
