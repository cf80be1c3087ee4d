#include "link/MacroRecorder.h"

#include "desktop/Fault.h"
#include "model/MacroBank.h"

QString MacroRecorder::routeKey(int frameAddress, int phyOut, int phyIn)
{
    return QStringLiteral("%1:%2:%3").arg(frameAddress).arg(phyOut).arg(phyIn);
}

void MacroRecorder::NewRecording()
{
    RecordedRoutes.clear();
}

void MacroRecorder::RecordRoute(int FrameAddress, int phyOut, int phyIn, int Level)
{
    const RouteRecord record = RouteRecord::pack(FrameAddress, phyOut, phyIn, Level);
    const QString key = routeKey(FrameAddress, phyOut, phyIn);
    if (KeyExists(RecordedRoutes, key))
        RecordedRoutes.remove(key);
    RecordedRoutes.add(key, record);
}

void MacroRecorder::SaveMacro(MacroBank &bank, int Index) const
{
    if (Index < 0 || Index >= MacroBank::SlotCount)
        throw desktop::Fault(desktop::FaultText::SubscriptOutOfRange);
    bank.Macros[std::size_t(Index)] = RecordedRoutes.items();
}
