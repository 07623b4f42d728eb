// Time/Start's preparation of the mission: the units' clocks start first
// (which, before the battle, takes every unit out of the position it held
// while deployed), and only then do the dug positions take their occupants,
// so that units start the battle dug in where they stand.
#include "GameLoopTestSupport.h"

#include <gtest/gtest.h>

namespace
{
class CPreparingUnits : public CRecordingUnits
{
public:
    using CRecordingUnits::CRecordingUnits;
    void PrepareUnits(DWORD dwTick, CKDRGameMap* pMap, CKDRDatabase* pDatabase) override
    {
        m_log.push_back("prepare");
        CRecordingUnits::PrepareUnits(dwTick, pMap, pDatabase);
    }
};
}  // namespace

TEST(PrepareRun, TheUnitsClocksStartBeforeThePositionsTakeTheirOccupants)
{
    CLoopShell shell;
    auto* pUnits = new CPreparingUnits(shell.m_log);
    shell.Doc().SetUnits(pUnits);
    shell.m_pUnits = pUnits;
    shell.TakeLog();

    shell.Doc().PrepareRun(1234);
    EXPECT_EQ(shell.TakeLog(), (StepLog{"prepare", "occupants"}));
    EXPECT_EQ(pUnits->m_dwPrepared, 1234u);

    // Started again once the battle has begun, the positions are not
    // handed out anew.
    shell.Clock().m_tsElapsed = CTimeSpan(60);
    shell.Doc().PrepareRun(5678);
    EXPECT_EQ(shell.TakeLog(), (StepLog{"prepare"}));
    EXPECT_EQ(pUnits->m_nPrepared, 2);
}
