#include "panel/PortNames.h"

#include "base/PanelLimits.h"
#include "desktop/Fault.h"
#include "desktop/TextTokens.h"
#include "model/MatrixView.h"

namespace {

constexpr int VisiblePositions = limits::VisibleRows;

} // namespace

// The row-or-column half of the rules: how a position finds its router port
// and how that router's names are read, searched and written.
struct PortNames::Kind
{
    bool input;
    QString operation;
    int MatrixView::*offset;
    void (MatrixView::*resolve)(int, int &, clsRouter *&) const;
    QString (clsRouter::*name)(int) const;
    int (clsRouter::*idFromName)(const QString &) const;
    void (clsRouter::*setName)(int, const QString &);
};

namespace {

using Kind = PortNames::Kind;

const Kind &inputs()
{
    static const Kind kind{true,
                           QStringLiteral("txtIn_LostFocus"),
                           &MatrixView::InOffset,
                           &MatrixView::cvMatInToPhy1,
                           &clsRouter::RouterInName,
                           &clsRouter::InIDFromName,
                           &clsRouter::setRouterInName};
    return kind;
}

const Kind &outputs()
{
    static const Kind kind{false,
                           QStringLiteral("txtOut_LostFocus"),
                           &MatrixView::OutOffset,
                           &MatrixView::cvMatOutToPhy,
                           &clsRouter::RouterOutName,
                           &clsRouter::OutIDFromName,
                           &clsRouter::setRouterOutName};
    return kind;
}

QString shownName(const MatrixView &view, const Kind &kind, int position)
{
    clsRouter *router = nullptr;
    int port = -1;
    (view.*kind.resolve)(position, port, router);
    return port < 0 ? PortNames::NoPortName : (router->*kind.name)(port);
}

// A position of the grid (scrolled out of view when outside 0 to 15) for a matrix number.
int positionOf(const MatrixView &view, const Kind &kind, int matrixPort)
{
    return matrixPort - view.*kind.offset;
}

} // namespace

PortNames::PortNames(const MatrixView &view, Renamed renamed) : m_view(view), m_renamed(std::move(renamed))
{}

QString PortNames::commit(const Kind &kind, int position, const QString &text) const
{
    clsRouter *router = nullptr;
    int port = -1;
    (m_view.*kind.resolve)(position, port, router);
    if (port < 0)
        return NoPortName;
    const QString old = (router->*kind.name)(port);
    // Cleaned before the search for a duplicate, so the "!" rule sees the name as stored.
    QString name = desktop::storedName(text);
    if (!name.isEmpty()) {
        for (int holder = (router->*kind.idFromName)(name); holder >= 0 && holder != port;
             holder = (router->*kind.idFromName)(name))
            name.prepend(u'!');
    }
    (router->*kind.setName)(port, name);
    // Read back: the name with its "!", the previous name after a refusal.
    const QString stored = (router->*kind.name)(port);
    if (stored != old && m_renamed)
        m_renamed(kind.input, position + m_view.*kind.offset, old, stored);
    return stored;
}

QString PortNames::inputName(int r) const
{
    return shownName(m_view, inputs(), r);
}

QString PortNames::outputName(int c) const
{
    return shownName(m_view, outputs(), c);
}

QString PortNames::txtIn_LostFocus(int r, const QString &text)
{
    return lostFocus(inputs(), r, text);
}

QString PortNames::txtOut_LostFocus(int c, const QString &text)
{
    return lostFocus(outputs(), c, text);
}

QString PortNames::lostFocus(const Kind &kind, int position, const QString &text) const
{
    desktop::runTrapped(kind.operation, [&] {
        if (position < 0 || position >= VisiblePositions)
            throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
        (void)commit(kind, position, text);
    });
    // Read back, so that the field and the caption show what the router kept,
    // "-" for a row or column that no router serves.
    return shownName(m_view, kind, position);
}

QString PortNames::renameInput(int matrixPort, const QString &text)
{
    return commit(inputs(), positionOf(m_view, inputs(), matrixPort), text);
}

QString PortNames::renameOutput(int matrixPort, const QString &text)
{
    return commit(outputs(), positionOf(m_view, outputs(), matrixPort), text);
}

QString PortNames::matrixInputName(int matrixPort) const
{
    return shownName(m_view, inputs(), positionOf(m_view, inputs(), matrixPort));
}

QString PortNames::matrixOutputName(int matrixPort) const
{
    return shownName(m_view, outputs(), positionOf(m_view, outputs(), matrixPort));
}
