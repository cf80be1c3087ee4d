#include "ui/about/frmAbout.h"

#include "base/PanelLimits.h"
#include "base/Version.h"
#include "desktop/AppFolder.h"
#include "desktop/Help.h"
#include "desktop/Shell.h"
#include "desktop/qt/DialogFont.h"
#include "desktop/qt/Twips.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

using desktop::twipsRect;

namespace {

const QString HomePage = QStringLiteral("www.velmora.example");
const QString SupportMail = QStringLiteral("support@velmora.example");
const QString ContactLines = QStringLiteral("Velmora Control Systems\n"
                                            "14 Quarry Road, Harwick HK3 9TE\n"
                                            "Telephone +44 1632 960415\n"
                                            "Fax +44 1632 960416");

const QColor TitleShadow(64, 64, 64);
const QColor TitleFace(204, 166, 255);
const QColor LinkGreen(0, 64, 0);

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

bool isClick(const QEvent *event)
{
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
}

} // namespace

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFont(desktop::dialogFont(8));
    setFixedSize(desktop::twips(4215), desktop::twips(3195));

    const QFont titleFont = desktop::dialogFont(15.75, true);
    m_Label1 = addLabel(QStringLiteral("Label1"), limits::ProgramName, twipsRect(10, 200, 4215, 615));
    m_Label1->setFont(titleFont);
    m_Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(m_Label1, TitleShadow);
    m_Label2 = addLabel(QStringLiteral("Label2"), limits::ProgramName, twipsRect(0, 180, 4215, 615));
    m_Label2->setFont(titleFont);
    m_Label2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setTextColour(m_Label2, TitleFace);

    m_lblVersion = addLabel(QStringLiteral("lblVersion"), VersionText(), twipsRect(120, 720, 1365, 315));
    m_Label3 = addLabel(QStringLiteral("Label3"), ContactLines, twipsRect(0, 1320, 4275, 1095));
    m_Label3->setFont(desktop::dialogFont(9.75));
    m_Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    m_lblHome = addLink(QStringLiteral("lblHome"), HomePage, 2460);
    m_lblMail = addLink(QStringLiteral("lblMail"), SupportMail, 2760);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setGeometry(twipsRect(3720, 2820, 435, 315));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmAbout::accept);

    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [] { showHelp(); });
}

QLabel *frmAbout::addLabel(const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    label->installEventFilter(this);
    return label;
}

QLabel *frmAbout::addLink(const QString &name, const QString &text, int top)
{
    QLabel *link = addLabel(name, text, twipsRect(0, top, 4275, 250));
    QFont underlined = font();
    underlined.setUnderline(true);
    link->setFont(underlined);
    link->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    link->setCursor(Qt::PointingHandCursor);
    setTextColour(link, LinkGreen);
    return link;
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress;
    if (!press && !isClick(event))
        return QDialog::eventFilter(watched, event);
    // Presses are taken here so that a label's click never reaches the box behind it.
    if (press)
        return true;
    if (watched == m_lblHome)
        lblHome_Click();
    else if (watched == m_lblMail)
        lblMail_Click();
    else if (watched != m_Label2)
        accept();
    return true;
}

void frmAbout::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        accept();
}

void frmAbout::lblHome_Click()
{
    // The shell's answer is not examined: a link that cannot open shows nothing.
    (void)desktop::shell().ShellOpen(m_lblHome->text());
}

void frmAbout::lblMail_Click()
{
    (void)desktop::shell().ShellOpen(QStringLiteral("mailto:") + m_lblMail->text());
}

void frmAbout::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
