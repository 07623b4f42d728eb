// The highlight codes of each pending mode, before and after its unit is
// chosen, and the smoke order taking the first code over.
#include "view/SelectionHighlight.h"

#include <gtest/gtest.h>

TEST(SelectionHighlight, EachPendingModeGivesItsCodes)
{
    const auto make = [](auto set)
    {
        PendingHighlight pending;
        set(pending);
        return pending;
    };
    const struct
    {
        const char* name;
        PendingHighlight pending;
        DWORD first, second, third;
    } cases[] = {
        {"nothing pending", PendingHighlight{}, 0, 0, 0},
        {"dismount", make([](PendingHighlight& p) { p.bDismount = TRUE; }), 1, 0, 0},
        {"mount, carrier awaited", make([](PendingHighlight& p) { p.bMount = TRUE; }), 2, 0, 0},
        {"mount, carrier chosen", make([](PendingHighlight& p) { p.bMount = p.bCarrierChosen = TRUE; }), 4, 4, 0},
        {"upload, source awaited", make([](PendingHighlight& p) { p.bUpload = TRUE; }), 32, 0, 0},
        {"upload, source chosen", make([](PendingHighlight& p) { p.bUpload = p.bUploadSourceChosen = TRUE; }), 0,
         1536, 0},
        {"fire mission, not started", make([](PendingHighlight& p) { p.bFireMission = TRUE; }), 8, 0, 0},
        {"fire mission, started", make([](PendingHighlight& p) { p.bFireMission = p.bFireMissionStarted = TRUE; }),
         0, 0, 16},
        {"smoke", make([](PendingHighlight& p) { p.dwInteractionMode = 0x20; }), 64, 0, 0},
        {"smoke over dismount", make([](PendingHighlight& p) { p.bDismount = TRUE, p.dwInteractionMode = 0x20; }), 64,
         0, 0},
        {"another order is no smoke", make([](PendingHighlight& p) { p.dwInteractionMode = 0x10000; }), 0, 0, 0},
        {"deploy mines, layer awaited", make([](PendingHighlight& p) { p.bDeployMines = TRUE; }), 128, 0, 0},
        {"deploy mines, layer chosen", make([](PendingHighlight& p) { p.bDeployMines = p.bMineLayerChosen = TRUE; }),
         0, 16384, 0},
    };
    for (const auto& c : cases)
    {
        const HighlightCodes codes = GetHighlightCodes(c.pending);
        EXPECT_EQ(codes.dwFirst, c.first) << c.name;
        EXPECT_EQ(codes.dwSecond, c.second) << c.name;
        EXPECT_EQ(codes.dwThird, c.third) << c.name;
    }
}
