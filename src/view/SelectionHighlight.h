#pragma once
// The highlight of what a pending interaction involves: the map view turns
// its pending state into up to three codes, and the document marks the
// units each code names. The first code marks the units (or platoons and
// companies) able to take part; the second the unit already chosen (range
// circles around a chosen carrier, ammunition source or mine layer); the
// third the firing units of a fire mission under way.

#include "platform/core/Types.h"

// First codes.
constexpr DWORD HIGHLIGHT_DISMOUNT = 1;
constexpr DWORD HIGHLIGHT_MOUNT_AWAIT_CARRIER = 2;
constexpr DWORD HIGHLIGHT_MOUNT = 4;
constexpr DWORD HIGHLIGHT_FIRE_MISSION = 8;
constexpr DWORD HIGHLIGHT_UPLOAD_AWAIT_SOURCE = 32;
constexpr DWORD HIGHLIGHT_SMOKE = 64;
constexpr DWORD HIGHLIGHT_DEPLOY_MINES_AWAIT_LAYER = 128;
// Second codes.
constexpr DWORD HIGHLIGHT_CHOSEN_CARRIER = 4;
constexpr DWORD HIGHLIGHT_CHOSEN_UPLOAD_SOURCE = 1536;
constexpr DWORD HIGHLIGHT_CHOSEN_MINE_LAYER = 16384;
// Third code.
constexpr DWORD HIGHLIGHT_FIRE_MISSION_STARTED = 16;

// The bit of the interaction mode that is the smoke order.
constexpr DWORD INTERACTION_SMOKE = 0x20;

struct PendingHighlight
{
    BOOL bDismount = FALSE;
    BOOL bMount = FALSE;
    BOOL bCarrierChosen = FALSE;
    BOOL bUpload = FALSE;
    BOOL bUploadSourceChosen = FALSE;
    BOOL bFireMission = FALSE;
    BOOL bFireMissionStarted = FALSE;
    DWORD dwInteractionMode = 0;
    BOOL bDeployMines = FALSE;
    BOOL bMineLayerChosen = FALSE;
};

struct HighlightCodes
{
    DWORD dwFirst = 0;
    DWORD dwSecond = 0;
    DWORD dwThird = 0;
};

HighlightCodes GetHighlightCodes(const PendingHighlight& pending);
