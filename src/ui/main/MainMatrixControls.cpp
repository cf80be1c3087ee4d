#include "ui/main/MainMatrixControls.h"

#include "base/PanelLimits.h"
#include "desktop/qt/FocusTakingScrollBar.h"
#include "ui/main/PictureBox.h"
#include "ui/main/Pictures.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The grid: 16 slots of 24 pixels from (158, 30); cells of 16 centred in them.
constexpr int Pitch = 24;
constexpr int GridLeft = 158;
constexpr int GridTop = 30;
constexpr int GridSpan = MainMatrixControls::Visible * Pitch;
constexpr int RowTop = 32;

QString indexed(const char *name, int index)
{
    return QLatin1String(name) + QLatin1Char('_') + QString::number(index);
}

template <typename Control> Control *place(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

QLabel *label(QWidget *parent, const QString &text, const QRect &geometry, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto *caption = new QLabel(text, parent);
    caption->setTextFormat(Qt::PlainText);
    caption->setAlignment(alignment | Qt::AlignVCenter);
    caption->setGeometry(geometry);
    return caption;
}

// A caption laid over a picture control: clicks go through to the picture.
QLabel *caption(PictureBox *picture, const QString &name, const QRect &geometry, Qt::Alignment alignment)
{
    QLabel *text = label(picture, QString(), geometry, alignment);
    text->setObjectName(name);
    text->setAttribute(Qt::WA_TransparentForMouseEvents);
    return text;
}

PictureBox *picture(QWidget *parent, const QString &name, const QRect &geometry, const QPixmap &shown)
{
    auto *box = place<PictureBox>(parent, name, geometry);
    box->setPicture(shown);
    return box;
}

QFrame *gridLine(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *line = place<QFrame>(parent, name, geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, Pictures::GridLineColour);
    line->setPalette(palette);
    return line;
}

QRect columnLine(int c, int width)
{
    const int centre = GridLeft + Pitch * c + Pitch / 2;
    return {centre - width / 2, GridTop, width, GridSpan};
}

} // namespace

void MainMatrixControls::build(QWidget *client, const Pictures &pictures)
{
    label(client, QStringLiteral("Input Names"), QRect(8, 8, 110, 20));
    label(client, QStringLiteral("Output Names"), QRect(566, 8, 140, 20));
    label(client, QStringLiteral("Macros"), QRect(712, 8, 80, 20));

    // Lines first, so the cells sit on top of them.
    for (int i = 0; i < Visible; ++i) {
        lineIn[std::size_t(i)] =
            gridLine(client, indexed("lineIn", i), QRect(GridLeft, GridTop + Pitch * i + Pitch / 2, GridSpan, 1));
        LineOut[std::size_t(i)] = gridLine(client, indexed("LineOut", i), columnLine(i, 1));
    }

    for (int i = 0; i < Visible; ++i) {
        const auto at = std::size_t(i);
        const int rowY = RowTop + Pitch * i;
        txtIn[at] = place<QLineEdit>(client, indexed("txtIn", i), QRect(8, rowY, 110, 20));
        imgMIn[at] = picture(client, indexed("imgMIn", i), QRect(QPoint(122, rowY), Pictures::SideButtonSize),
                             pictures.sideButtonUp);
        txtMIn[at] = caption(imgMIn[at], indexed("txtMIn", i), imgMIn[at]->rect(), Qt::AlignHCenter);

        imgMOut[at] =
            picture(client, indexed("imgMOut", i),
                    QRect(QPoint(GridLeft + 2 + Pitch * i, 6), Pictures::OutputButtonSize), pictures.imgMButtonUp);
        lblMOut[at] = caption(imgMOut[at], indexed("lblMOut", i), imgMOut[at]->rect(), Qt::AlignHCenter);
        // Over the button's top right corner, clear of the digits below it,
        // and out into the gap before the next button.
        const QPoint lockCorner = imgMOut[at]->geometry().topRight() + QPoint(-4, -6);
        imgMOutLock[at] =
            picture(client, indexed("imgMOutLock", i), QRect(lockCorner, Pictures::LockMarkSize), pictures.lockMark);
        imgMOutLock[at]->hide();

        imgSOut[at] = picture(client, indexed("imgSOut", i), QRect(QPoint(566, rowY), Pictures::SideButtonSize),
                              pictures.sideButtonUp);
        txtSOut[at] = caption(imgSOut[at], indexed("txtSOut", i), imgSOut[at]->rect(), Qt::AlignHCenter);
        txtOut[at] = place<QLineEdit>(client, indexed("txtOut", i), QRect(600, rowY, 104, 20));
    }

    for (int cell = 0; cell < Visible * Visible; ++cell) {
        const int r = cell / Visible;
        const int c = cell % Visible;
        imgMatrix[std::size_t(cell)] =
            picture(client, indexed("imgMatrix", cell),
                    QRect(QPoint(GridLeft + 4 + Pitch * c, GridTop + 4 + Pitch * r), Pictures::CellSize),
                    pictures.imgCPSource[0]);
    }

    using desktop::FocusTakingScrollBar;
    VScroll = place<FocusTakingScrollBar>(client, QStringLiteral("VScroll"), QRect(544, GridTop, 16, GridSpan));
    VScroll->setOrientation(Qt::Vertical);
    HScroll = place<FocusTakingScrollBar>(client, QStringLiteral("HScroll"), QRect(GridLeft, 416, GridSpan, 16));
    HScroll->setOrientation(Qt::Horizontal);

    static const std::array<QString, limits::LevelCount> levelTips{
        QStringLiteral("Set to route video level (Control-V)"), QStringLiteral("Set to route audio level (Control-A)"),
        QStringLiteral("Set to route all levels (Control-L)")};
    for (int i = 0; i < limits::LevelCount; ++i) {
        const auto at = std::size_t(i);
        // All levels is chosen at start.
        imgLayerSel[at] = picture(
            client, indexed("imgLayerSel", i), QRect(QPoint(566 + 48 * i, 418), Pictures::LevelButtonSize),
            i == int(limits::Level::Both) - 1 ? pictures.imgLayerDownSource[at] : pictures.imgLayerUpSource[at]);
        imgLayerSel[at]->setToolTip(levelTips[at]);
    }

    for (int i = 0; i < MacroCount; ++i) {
        btnMacro[std::size_t(i)] = place<QPushButton>(client, indexed("btnMacro", i), QRect(712, 30 + 26 * i, 80, 22));
        btnMacro[std::size_t(i)]->setToolTip(QStringLiteral("Control-click the button to rename"));
    }
    btnRecord = place<QPushButton>(client, QStringLiteral("btnRecord"), QRect(712, 350, 80, 24));
    btnRecord->setText(QStringLiteral("Record Macro"));
    btnRecord->setToolTip(QStringLiteral("Starts and stops recording"));
    // Enter on a focused command button clicks it, as Space does.
    for (QPushButton *button : btnMacro)
        button->setAutoDefault(true);
    btnRecord->setAutoDefault(true);
    lblRecord = label(client, QStringLiteral("Recording"), QRect(712, 378, 80, 14), Qt::AlignHCenter);
    lblRecord->setObjectName(QStringLiteral("lblRecord"));
    lblRecord->setStyleSheet(QStringLiteral("color: rgb(128, 0, 0)"));
    lblRecord->hide();

    txtErrMsg = label(client, QString(), QRect(8, 436, 534, 16));
    txtErrMsg->setObjectName(QStringLiteral("txtErrMsg"));
    txtErrMsg->setStyleSheet(QStringLiteral("color: rgb(192, 0, 0)"));

    label(client, QStringLiteral("Inputs"), QRect(8, 452, 80, 14));
    label(client, QStringLiteral("Outputs"), QRect(346, 452, 80, 14));
    label(client, QStringLiteral("Take"), QRect(700, 452, 80, 14));
    const QRect captionArea(12, 0, Pictures::PanelButtonSize.width() - 14, Pictures::PanelButtonSize.height());
    for (int i = 0; i < Visible; ++i) {
        const auto at = std::size_t(i);
        const QPoint slot(84 * (i % 4), 466 + 19 * (i / 4));
        btnBPIn[at] = picture(client, indexed("btnBPIn", i), QRect(slot + QPoint(8, 0), Pictures::PanelButtonSize),
                              pictures.imgBPUp);
        txtCPIn[at] = caption(btnBPIn[at], indexed("txtCPIn", i), captionArea, Qt::AlignLeft);
        btnBPOut[at] = picture(client, indexed("btnBPOut", i), QRect(slot + QPoint(346, 0), Pictures::PanelButtonSize),
                               pictures.imgBPUp);
        txtCPOut[at] = caption(btnBPOut[at], indexed("txtCPOut", i), captionArea, Qt::AlignLeft);
    }
    imgBPTake[2] =
        picture(client, indexed("imgBPTake", 2), QRect(QPoint(700, 466), Pictures::TakeAllSize), pictures.takeUp[2]);
    imgBPTake[0] =
        picture(client, indexed("imgBPTake", 0), QRect(QPoint(700, 506), Pictures::TakeLevelSize), pictures.takeUp[0]);
    imgBPTake[1] =
        picture(client, indexed("imgBPTake", 1), QRect(QPoint(748, 506), Pictures::TakeLevelSize), pictures.takeUp[1]);
}

void MainMatrixControls::setColumnLineWide(int c, bool wide)
{
    LineOut[std::size_t(c)]->setGeometry(columnLine(c, wide ? 4 : 1));
}
