#include "app/AppFireSupportHost.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "battlefield/FireSupportHost.h"
#include "view/Sound.h"

namespace
{
class CAppFireSupportHost : public CFireSupportHost
{
public:
    void AdvanceClock(CTimeSpan& tsElapsed, int& nGameMs, int& nRemainder, DWORD& dwStamp,
                      int& nWholeSeconds) override
    {
        CKDRApp* pApp = GetKDRApp();
        if (pApp == nullptr || pApp->GetGameClock() == nullptr)
        {
            tsElapsed = CTimeSpan(0);
            nGameMs = 0;
            nWholeSeconds = 0;
            return;
        }
        pApp->AdvanceClock(tsElapsed, nGameMs, nRemainder, dwStamp, nWholeSeconds);
    }

    CTime GetGameTime() override
    {
        CKDRApp* pApp = GetKDRApp();
        const CGameClock* pClock = pApp != nullptr ? pApp->GetGameClock() : nullptr;
        return pClock != nullptr ? pClock->m_tStart + pClock->m_tsElapsed : CTime(0);
    }

    void PlayArtillerySound(const CString& strName) override
    {
        CKDRApp* pApp = GetKDRApp();
        if (pApp != nullptr && pApp->m_pSoundManager != nullptr && !strName.IsEmpty())
            pApp->m_pSoundManager->PlayArtillerySound(strName);
    }

    BOOL IsLinkUp() override
    {
        CKDRApp* pApp = GetKDRApp();
        return pApp != nullptr && pApp->IsNetworkGame() && pApp->IsSessionStarted();
    }

    CFireMissionArray* GetRoundsInFlight() override
    {
        CKDRDoc* pDoc = Doc();
        return pDoc != nullptr ? pDoc->GetFireMissions() : nullptr;
    }

    int AddSmokeFromImpact(CFireMission* pRound) override
    {
        CKDRDoc* pDoc = Doc();
        return pDoc != nullptr ? pDoc->AddSmokeFromImpact(pRound) : 0;
    }

    int AddIllumFromImpact(CFireMission* pRound) override
    {
        CKDRDoc* pDoc = Doc();
        return pDoc != nullptr ? pDoc->AddIllumFromImpact(pRound) : 0;
    }

    int ApplyFASCAMImpact(CFireMission* pRound) override
    {
        CKDRDoc* pDoc = Doc();
        return pDoc != nullptr ? pDoc->ApplyFASCAMImpact(pRound) : 0;
    }

    int ApplyChemicalImpact(CFireMission* pRound) override
    {
        CKDRDoc* pDoc = Doc();
        return pDoc != nullptr ? pDoc->ApplyChemicalImpact(pRound) : 0;
    }

private:
    static CKDRDoc* Doc()
    {
        CKDRApp* pApp = GetKDRApp();
        return pApp != nullptr ? pApp->GetActiveDocument() : nullptr;
    }
};

CAppFireSupportHost g_appHost;
}  // namespace

CFireSupportHost* GetAppFireSupportHost() { return &g_appHost; }
