// The document facade over the game map, the smoke and illumination
// clouds, the rounds in flight, the operations order and the missions.

#include "app/KDRDocFacade.h"

#include "app/KDRMissions.h"
#include "app/KDROpord.h"
#include "battlefield/FireMission.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/MapPicture.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "net/NetUpdate.h"
#include "orders/Order.h"
#include "view/GraphicArray.h"

using namespace doc_facade;

// ---------------------------------------------------------------------------
// Game map, smoke, fire missions, light and others

BOOL CKDRDoc::GetMapPictureRect(CRect& rc)
{
    rc.SetRectEmpty();
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return FALSE;
    return pMap->GetPictureRect(&rc);
}

int CKDRDoc::PictureToView(int nPX, int nPY, int* pVX, int* pVY)
{
    CKDRGameMap* pMap = GetGameMap();
    if (pMap == nullptr)
        return 0;
    return pMap->PictureToView(nPX, nPY, pVX, pVY);
}

BOOL CKDRDoc::HasMapPicture()
{
    CKDRGameMap* pMap = GetGameMap();
    return pMap != nullptr && (!pMap->m_strColorTiles.IsEmpty() || !pMap->m_strContourTiles.IsEmpty());
}

BOOL CKDRDoc::DrawSmoke()
{
    if (m_pSmoke == nullptr || GetGameMap() == nullptr)
        return FALSE;
    m_pSmoke->DrawAll(GetGameMap());
    return TRUE;
}

BOOL CKDRDoc::PrepareSmoke()
{
    if (m_pSmoke == nullptr || GetGameMap() == nullptr)
        return FALSE;
    m_pSmoke->PrepareAll(GetGameMap());
    return TRUE;
}

int CKDRDoc::AddSmokeFromImpact(CFireMission* pImpact)
{
    CKDRDatabase* pDatabase = GetDatabase();
    if (m_pSmoke == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return 0;
    return m_pSmoke->AddSmokeFromImpact(pImpact, pDatabase, GetGameMap());
}

int CKDRDoc::AddIllumFromImpact(CFireMission* pImpact)
{
    CKDRDatabase* pDatabase = GetDatabase();
    if (m_pSmoke == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList())
        return 0;
    return m_pSmoke->AddIllumFromImpact(pImpact, pDatabase, GetGameMap());
}

int CKDRDoc::AddSmokeAndSend(float fX, float fY, float fRadius, int nDuration, int nStrength)
{
    if (m_pSmoke == nullptr || GetGameMap() == nullptr)
        return 0;
    const int nResult = m_pSmoke->AddSmoke(fX, fY, fRadius, nDuration, nStrength, GetGameMap());
    if (IsMultiplayerWithSession(GetKDRApp()))
    {
        CNetUpdateDocument record;
        record.Send();
    }
    return nResult;
}

BOOL CKDRDoc::DrawFireMissionImpacts()
{
    CFireMissionArray* pRounds = GetFireMissions();
    if (pRounds == nullptr || GetGameMap() == nullptr)
        return FALSE;
    pRounds->DrawImpacts(GetGameMap(), GetDatabase());
    return TRUE;
}

int CKDRDoc::ReceiveFireMission(const BYTE* pData, int nLength)
{
    CFireMissionArray* pRounds = GetFireMissions();
    if (pRounds == nullptr || GetDatabase() == nullptr)
        return 0;
    return pRounds->ApplyFireRecord(pData, nLength, GetDatabase());
}

BOOL CKDRDoc::ShowVehicleSpecs(int nVehicle)
{
    CKDRDatabase* pDatabase = GetDatabase();
    if (pDatabase == nullptr || !pDatabase->HasVehicleList())
        return FALSE;
    pDatabase->ShowVehiclePage(nVehicle);
    return TRUE;
}

BOOL CKDRDoc::DrawOpordGraphics(int nLayer)
{
    CKDROpord* pOpord = GetOpord();
    if (pOpord == nullptr || !HasMapPicture())
        return FALSE;
    CGraphicArray* pLayer = nullptr;
    if (nLayer == 0 && pOpord->m_bGraphics0)
        pLayer = pOpord->m_pGraphics0;
    else if (nLayer == 1 && pOpord->m_bGraphics1)
        pLayer = pOpord->m_pGraphics1;
    if (pLayer == nullptr)
        return FALSE;
    pLayer->DrawAll(GetGameMap());
    return TRUE;
}

CString CKDRDoc::GetMainMissionName()
{
    CKDRMissions* pMissions = GetMissions();
    return pMissions != nullptr ? pMissions->GetMainMissionName() : CString();
}

BOOL CKDRDoc::IsOrderWindowOpen()
{
    CKDROpord* pOpord = GetOpord();
    if (pOpord == nullptr || !pOpord->m_bOrder || pOpord->m_pOrder == nullptr)
        return FALSE;
    return pOpord->m_pOrder->IsWindowOpen();
}

int CKDRDoc::ShowAIOrderMessageBox(const CString& strTitle, const CString& strText, float fX, float fY)
{
    if (GetGameMap() == nullptr)
        return 0;
    return ShowMessageBoxDlg(strTitle, strText, fX, fY);
}
