#pragma once

#include "base/PanelLimits.h"
#include "model/clsRouteState.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// One physical router on the serial bus: type, frame address, port counts
// (stored as the highest index, -1 for none), port names, matrix offsets and
// the last known route of each output. Every setter checks its value and
// tells the operator at once ("Data Error") when it refuses one.
class clsRouter
{
public:
    // Highest accepted port index and matrix number: 127 ports at most.
    static constexpr int MatrixSize = limits::MatrixSize;
    static constexpr int MaxPortIndex = MatrixSize - 1;

    clsRouter();
    ~clsRouter();
    clsRouter(const clsRouter &) = delete;
    clsRouter &operator=(const clsRouter &) = delete;

    // Audio and video switch separately ("A/V Split").
    bool canSplit = false;

    // The last StringVal assignment went through without a refusal or failure.
    [[nodiscard]] bool isValid() const { return m_valid; }
    // A numeric assignment was refused, or StringVal failed, since the last
    // read. Reading clears it.
    [[nodiscard]] bool wasError();

    [[nodiscard]] QString StringVal() const;
    void setStringVal(const QString &txt);

    [[nodiscard]] int RouterType() const { return m_routerType; }
    void setRouterType(int rt);
    [[nodiscard]] int FrameAddress() const { return m_frameAddress; }
    void setFrameAddress(int FA);
    [[nodiscard]] int InputCount() const { return m_inputCount; }
    void setInputCount(int Value);
    [[nodiscard]] int OutputCount() const { return m_outputCount; }
    void setOutputCount(int Value);

    // A name with ";" is refused ("Data Error"); any other is stored as
    // desktop::storedName() cleans it.
    [[nodiscard]] QString RouterInName(int Index) const;
    void setRouterInName(int Index, const QString &nm);
    [[nodiscard]] QString RouterOutName(int Index) const;
    void setRouterOutName(int Index, const QString &nm);

    [[nodiscard]] static QString DefaultInName(int Value);
    [[nodiscard]] static QString DefaultOutName(int Value);

    [[nodiscard]] int InIDFromName(const QString &nm) const;
    [[nodiscard]] int OutIDFromName(const QString &nm) const;

    // The state of output Index, created on first use. An Index outside
    // 0..OutputCount throws the "Subscript out of range" fault.
    [[nodiscard]] clsRouteState &RouteState(int Index);
    // The same state, shared: a holder keeps it alive after the router drops
    // it (a smaller output count) or goes away.
    [[nodiscard]] std::shared_ptr<clsRouteState> sharedRouteState(int index);

    [[nodiscard]] int mapIn() const { return m_mapIn; }
    void setMapIn(int mi);
    [[nodiscard]] int mapOut() const { return m_mapOut; }
    void setMapOut(int mo);

    // Physical to matrix number, -1 for a port the router does not have.
    [[nodiscard]] int MapInput(int Value) const;
    [[nodiscard]] int MapOutput(int Value) const;
    // Matrix to physical number, -1 when no port of this router sits there.
    [[nodiscard]] int phyIn(int Value) const;
    [[nodiscard]] int phyOut(int Value) const;

private:
    // Shows the "Data Error" box for a refused number and raises the error flag.
    void refuse(const QString &message);
    void readStringVal(const QString &txt);
    static void setName(QStringList &names, int index, const QString &nm, const QString &refusal);

    int m_routerType = -1;
    int m_frameAddress = 0;
    int m_inputCount = -1;
    int m_outputCount = -1;
    int m_mapIn = 0;
    int m_mapOut = 0;
    QStringList m_inNames;
    QStringList m_outNames;
    std::vector<std::shared_ptr<clsRouteState>> m_routeStates;
    bool m_valid = false;
    bool m_error = false;
};
