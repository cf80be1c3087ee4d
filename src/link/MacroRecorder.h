#pragma once

#include "link/KeyedRouteList.h"

struct MacroBank;

// The routes being recorded into a macro and the recording switch. While
// recording is on, every route that reaches SendRoute is noted, acknowledged
// or not.
struct MacroRecorder
{
    // Keyed "frame address:output:input"; the level is not part of the key.
    KeyedRouteList RecordedRoutes;
    bool MacroRecording = false;

    [[nodiscard]] static QString routeKey(int frameAddress, int phyOut, int phyIn);

    // Empties the recording.
    void NewRecording();
    // Adds a route at the end. The same crosspoint taken again moves to the
    // end with its newest level, so the recording holds it once.
    void RecordRoute(int FrameAddress, int phyOut, int phyIn, int Level);
    // Slot Index (0 to 11) becomes a copy of the recording, replacing what it
    // held; an Index outside the slots throws "Subscript out of range".
    void SaveMacro(MacroBank &bank, int Index) const;
};
