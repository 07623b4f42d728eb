#include "view/SelectionHighlight.h"

HighlightCodes GetHighlightCodes(const PendingHighlight& pending)
{
    HighlightCodes codes;
    if (pending.bDismount)
        codes.dwFirst = HIGHLIGHT_DISMOUNT;
    if (pending.bMount)
    {
        if (pending.bCarrierChosen)
        {
            codes.dwFirst = HIGHLIGHT_MOUNT;
            codes.dwSecond = HIGHLIGHT_CHOSEN_CARRIER;
        }
        else
        {
            codes.dwFirst = HIGHLIGHT_MOUNT_AWAIT_CARRIER;
        }
    }
    if (pending.bUpload)
    {
        if (pending.bUploadSourceChosen)
            codes.dwSecond = HIGHLIGHT_CHOSEN_UPLOAD_SOURCE;
        else
            codes.dwFirst = HIGHLIGHT_UPLOAD_AWAIT_SOURCE;
    }
    if (pending.bFireMission)
    {
        if (pending.bFireMissionStarted)
            codes.dwThird = HIGHLIGHT_FIRE_MISSION_STARTED;
        else
            codes.dwFirst = HIGHLIGHT_FIRE_MISSION;
    }
    if ((pending.dwInteractionMode & INTERACTION_SMOKE) != 0)
        codes.dwFirst = HIGHLIGHT_SMOKE;
    if (pending.bDeployMines)
    {
        if (pending.bMineLayerChosen)
            codes.dwSecond = HIGHLIGHT_CHOSEN_MINE_LAYER;
        else
            codes.dwFirst = HIGHLIGHT_DEPLOY_MINES_AWAIT_LAYER;
    }
    return codes;
}
