#include "model/clsRouter.h"

#include "base/PanelLimits.h"
#include "desktop/Dialogs.h"
#include "desktop/Fault.h"
#include "desktop/NumberReader.h"
#include "desktop/TextTokens.h"

namespace {

const QString FieldSeparator = QStringLiteral("; ");

QString defaultName(const QString &prefix, int index)
{
    return prefix + QStringLiteral("%1").arg(index + 1, 2, 10, QLatin1Char('0'));
}

// Resizes a name list to count + 1 entries, keeping the names that fit and
// giving new entries their default names.
void resizeNames(QStringList &names, int newCount, QString (*defaultFor)(int))
{
    const int oldSize = int(names.size());
    names.resize(newCount + 1);
    for (int i = oldSize; i <= newCount; ++i)
        names[i] = defaultFor(i);
}

int indexOfName(const QStringList &names, const QString &nm)
{
    return int(names.indexOf(nm));
}

} // namespace

clsRouter::clsRouter() = default;
clsRouter::~clsRouter() = default;

bool clsRouter::wasError()
{
    const bool was = m_error;
    m_error = false;
    return was;
}

void clsRouter::refuse(const QString &message)
{
    m_error = true;
    desktop::showMessage(QStringLiteral("Data Error"), message, desktop::Icon::Warning);
}

void clsRouter::setRouterType(int rt)
{
    if (rt < -1 || rt > 1)
        return refuse(QStringLiteral("Router Type out of range"));
    m_routerType = rt;
}

void clsRouter::setFrameAddress(int FA)
{
    if (FA < 0 || FA >= limits::FrameAddresses)
        return refuse(QStringLiteral("Frame Address out of range"));
    m_frameAddress = FA;
}

void clsRouter::setInputCount(int Value)
{
    if (Value < 0 || Value > MaxPortIndex)
        return refuse(QStringLiteral("Input count out of range"));
    m_inputCount = Value;
    resizeNames(m_inNames, Value, &clsRouter::DefaultInName);
}

void clsRouter::setOutputCount(int Value)
{
    if (Value < 0 || Value > MaxPortIndex)
        return refuse(QStringLiteral("Output count out of range"));
    m_outputCount = Value;
    resizeNames(m_outNames, Value, &clsRouter::DefaultOutName);
    m_routeStates.resize(std::size_t(Value) + 1);
}

QString clsRouter::RouterInName(int Index) const
{
    return Index >= 0 && Index <= m_inputCount ? m_inNames[Index] : QString();
}

void clsRouter::setRouterInName(int Index, const QString &nm)
{
    setName(m_inNames, Index, nm, QStringLiteral("Invalid input name: cannot have semicolons (;)"));
}

QString clsRouter::RouterOutName(int Index) const
{
    return Index >= 0 && Index <= m_outputCount ? m_outNames[Index] : QString();
}

void clsRouter::setRouterOutName(int Index, const QString &nm)
{
    setName(m_outNames, Index, nm, QStringLiteral("Invalid Output name: cannot have semicolons (;)"));
}

void clsRouter::setName(QStringList &names, int index, const QString &nm, const QString &refusal)
{
    if (index < 0 || index >= names.size())
        return;
    // A semicolon would split the record's line; refusing a name is not an
    // error of the record, so the error flag stays as it is.
    if (nm.contains(u';')) {
        desktop::showMessage(QStringLiteral("Data Error"), refusal, desktop::Icon::Information);
        return;
    }
    // Whatever path a name came by (a field, a remote client), the record
    // never holds one that could break a line of the set-up file or that
    // the file would read back otherwise.
    names[index] = desktop::storedName(nm);
}

QString clsRouter::DefaultInName(int Value)
{
    return defaultName(QStringLiteral("In "), Value);
}

QString clsRouter::DefaultOutName(int Value)
{
    return defaultName(QStringLiteral("Out "), Value);
}

int clsRouter::InIDFromName(const QString &nm) const
{
    return indexOfName(m_inNames, nm);
}

int clsRouter::OutIDFromName(const QString &nm) const
{
    return indexOfName(m_outNames, nm);
}

clsRouteState &clsRouter::RouteState(int Index)
{
    return *sharedRouteState(Index);
}

std::shared_ptr<clsRouteState> clsRouter::sharedRouteState(int index)
{
    if (index < 0 || index > m_outputCount)
        throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
    auto &slot = m_routeStates[std::size_t(index)];
    if (!slot) {
        slot = std::make_shared<clsRouteState>();
        slot->canSplit = canSplit;
    }
    return slot;
}

void clsRouter::setMapIn(int mi)
{
    if (mi < 0 || mi >= MatrixSize - m_inputCount)
        return refuse(QStringLiteral("MatIn out of range"));
    m_mapIn = mi;
}

void clsRouter::setMapOut(int mo)
{
    if (mo < 0 || mo >= MatrixSize - m_outputCount)
        return refuse(QStringLiteral("MatOut out of range"));
    m_mapOut = mo;
}

int clsRouter::MapInput(int Value) const
{
    return Value >= 0 && Value <= m_inputCount ? m_mapIn + Value : -1;
}

int clsRouter::MapOutput(int Value) const
{
    return Value >= 0 && Value <= m_outputCount ? m_mapOut + Value : -1;
}

int clsRouter::phyIn(int Value) const
{
    const int p = Value - m_mapIn;
    return p >= 0 && p <= m_inputCount ? p : -1;
}

int clsRouter::phyOut(int Value) const
{
    const int p = Value - m_mapOut;
    return p >= 0 && p <= m_outputCount ? p : -1;
}

QString clsRouter::StringVal() const
{
    QString line;
    for (int field : {m_routerType, m_frameAddress, m_inputCount, m_outputCount, m_mapIn, m_mapOut})
        line += QString::number(field) + FieldSeparator;
    line += canSplit ? QStringLiteral("-1;") : QStringLiteral("0;");
    for (const QString &name : m_inNames)
        line += name + FieldSeparator;
    for (const QString &name : m_outNames)
        line += name + FieldSeparator;
    return line;
}

void clsRouter::setStringVal(const QString &txt)
{
    m_error = false;
    m_valid = false;
    try {
        readStringVal(txt);
    } catch (const desktop::Fault &fault) {
        m_error = true;
        desktop::reportFault(QStringLiteral("StringVal"), fault.description());
    }
    m_valid = !wasError();
}

void clsRouter::readStringVal(const QString &txt)
{
    const QString separator = QStringLiteral(";");
    qint32 position = 1;
    auto nextNumber = [&] { return int(desktop::readInteger(desktop::NextToken(txt, position, separator))); };

    setRouterType(nextNumber());
    setFrameAddress(nextNumber());
    setInputCount(nextNumber());
    setOutputCount(nextNumber());
    setMapIn(nextNumber());
    setMapOut(nextNumber());
    canSplit = nextNumber() != 0;
    // Names read from the line cannot hold the separator, so they skip the
    // semicolon check of the name setters, but are stored as the setters
    // store them.
    const auto nextName = [&] { return desktop::storedName(desktop::NextToken(txt, position, separator)); };
    for (QString &name : m_inNames)
        name = nextName();
    for (QString &name : m_outNames)
        name = nextName();
}
