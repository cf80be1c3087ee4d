#include "panel/PortNames.h"

#include "base/PanelLimits.h"
#include "desktop/Fault.h"
#include "model/MatrixView.h"

namespace {

constexpr int VisiblePositions = limits::VisibleRows;

// The row-or-column half of the rules: how a position finds its router port
// and how that router's names are read, searched and written.
struct PortKind
{
    QString operation;
    void (MatrixView::*resolve)(int, int &, clsRouter *&) const;
    QString (clsRouter::*name)(int) const;
    int (clsRouter::*idFromName)(const QString &) const;
    void (clsRouter::*setName)(int, const QString &);
};

const PortKind &inputs()
{
    static const PortKind kind{QStringLiteral("txtIn_LostFocus"), &MatrixView::cvMatInToPhy1, &clsRouter::RouterInName,
                               &clsRouter::InIDFromName, &clsRouter::setRouterInName};
    return kind;
}

const PortKind &outputs()
{
    static const PortKind kind{QStringLiteral("txtOut_LostFocus"), &MatrixView::cvMatOutToPhy,
                               &clsRouter::RouterOutName, &clsRouter::OutIDFromName, &clsRouter::setRouterOutName};
    return kind;
}

QString shownName(const MatrixView &view, const PortKind &kind, int position)
{
    clsRouter *router = nullptr;
    int port = -1;
    (view.*kind.resolve)(position, port, router);
    return port < 0 ? PortNames::NoPortName : (router->*kind.name)(port);
}

QString commit(const MatrixView &view, const PortKind &kind, int position, const QString &text)
{
    desktop::runTrapped(kind.operation, [&] {
        if (position < 0 || position >= VisiblePositions)
            throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
        clsRouter *router = nullptr;
        int port = -1;
        (view.*kind.resolve)(position, port, router);
        if (port < 0)
            return;
        QString name = text;
        if (!name.isEmpty()) {
            for (int holder = (router->*kind.idFromName)(name); holder >= 0 && holder != port;
                 holder = (router->*kind.idFromName)(name))
                name.prepend(u'!');
        }
        (router->*kind.setName)(port, name);
    });
    // Read back, so that the field and the caption show what the router kept:
    // the name with its "!", the previous name after a refusal, "-" for a row
    // or column that no router serves.
    return shownName(view, kind, position);
}

} // namespace

PortNames::PortNames(const MatrixView &view) : m_view(view)
{}

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
    return commit(m_view, inputs(), r, text);
}

QString PortNames::txtOut_LostFocus(int c, const QString &text)
{
    return commit(m_view, outputs(), c, text);
}
