// Saved games and set-ups: writing one ("*.asg", "*.set", "*.est" alike),
// its archive both ways, and opening one, which reads the scenario it names
// again for the map, the database, the operations order and the missions
// and puts the saved state back in place of the scenario's.
//
// A saved game is written to a new file beside the old one and put in its
// place only when complete, so a failed save never loses the game saved
// before. A saved game that cannot be read leaves a new, empty document
// and says which file failed.
#include "app/KDRDoc.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDROpord.h"
#include "battlefield/FireMissionArray.h"
#include "battlefield/KDREnvironment.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/SmokeArray.h"
#include "database/KDRDatabase.h"
#include "hierarchy/TaskOrg.h"
#include "orders/FormationTemplateArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"
#include "units/KDRUnits.h"

#include <memory>

namespace
{
constexpr UINT SAVED_GAME_BUFFER = 4096;
// The new file is written under this suffix and renamed when complete.
const char* const SAVE_PART_SUFFIX = ".part";

WORD LowWord(int n) { return static_cast<WORD>(n & 0xFFFF); }

void ReportSaveFailure(const CString& strReason)
{
    GetUiService().MessageBox(AfxGetMainWnd(), "The game could not be saved.\n" + strReason, "Error",
                              MB_OK | MB_ICONSTOP);
}

// n words, sign-extended, into a new zeroed block of two integers per type.
int* ReadCountBlock(CArchive& ar, int n)
{
    auto pBlock = std::make_unique<int[]>(static_cast<size_t>(n) * 2);
    for (int i = 0; i < n; ++i)
    {
        short w = 0;
        ar >> w;
        pBlock[static_cast<size_t>(i)] = w;
    }
    return pBlock.release();
}

void WriteCountBlock(CArchive& ar, const int* pBlock, int n)
{
    for (int i = 0; i < n; ++i)
        ar << LowWord(pBlock != nullptr ? pBlock[i] : 0);
}
}  // namespace

// ---------------------------------------------------------------------------
// The archive

void CKDRDoc::SerializeSavedGame(CArchive& ar)
{
    if (m_pSmoke == nullptr)
        m_pSmoke = new CSmokeArray;
    if (m_pFireMissions == nullptr)
    {
        m_pFireMissions = new CFireMissionArray;
        m_bFireMissions = 1;
    }
    m_pSmoke->Serialize(ar);
    m_pFireMissions->Serialize(ar);

    CString* const apVariants[] = {&m_strVariantUnits1, &m_strVariantUnits2,     &m_strVariantHoles1,
                                   &m_strVariantHoles2, &m_strVariantObstacles1, &m_strVariantObstacles2};
    int* const apTotals[] = {&m_nOwnTotalA,   &m_nOwnTotalB,      &m_nThirdTotalA,
                             &m_nThirdTotalB, &m_nOpposingTotalA, &m_nOpposingTotalB};
    if (ar.IsStoring())
    {
        CString strBase, strExt;
        SplitPath(GetPathName(), nullptr, &strBase, &strExt);
        ar << strBase + strExt;
        for (int nComponent : {KDR_UNITS, KDR_OBSTACLES, KDR_HOLES, KDR_ENVIRONMENT})
            ar << static_cast<WORD>(IsPresent(nComponent) ? 1 : 0);
        for (CString* pVariant : apVariants)
            ar << *pVariant;
        for (int* pTotal : apTotals)
            ar << LowWord(*pTotal);
        ar << static_cast<DWORD>(m_tsElapsed.GetTotalSeconds());
        const int nTypes = m_nVehicleTypeCount;
        const BOOL abCounts[] = {m_bOwnCounts && m_pOwnCounts != nullptr,
                                 m_bOpposingCounts && m_pOpposingCounts != nullptr,
                                 m_bThirdCounts && m_pThirdCounts != nullptr};
        for (BOOL bCounts : abCounts)
            ar << static_cast<WORD>(bCounts ? 1 : 0);
        ar << LowWord(nTypes);
        if (abCounts[0])
            WriteCountBlock(ar, m_pOwnCounts, nTypes);
        if (abCounts[1])
            WriteCountBlock(ar, m_pOpposingCounts, nTypes);
        if (abCounts[2])
            WriteCountBlock(ar, m_pThirdCounts, nTypes);
    }
    else
    {
        CString strScenario;
        ar >> strScenario;
        // A bare name is the data directory's; one with a directory stands.
        if (strScenario.FindOneOf("/\\:") < 0)
            strScenario = m_strDataDir + "\\" + strScenario;
        WORD awPresent[4] = {};
        for (WORD& w : awPresent)
            ar >> w;
        for (CString* pVariant : apVariants)
            ar >> *pVariant;
        short anTotals[6] = {};
        for (short& n : anTotals)
            ar >> n;
        DWORD dwElapsed = 0;
        ar >> dwElapsed;
        WORD awCounts[3] = {};
        for (WORD& w : awCounts)
            ar >> w;
        short nTypes = 0;
        ar >> nTypes;
        const int nBlocks = (awCounts[0] != 0) + (awCounts[1] != 0) + (awCounts[2] != 0);
        if (nTypes < 0)
            ar.ThrowArchiveException(CArchiveException::generic, "the saved game holds a negative vehicle type count");
        ar.EnsureBytesLeft(static_cast<ULONGLONG>(nTypes) * 2 * static_cast<ULONGLONG>(nBlocks));

        SetPathName(strScenario, TRUE);
        const int anComponents[] = {KDR_UNITS, KDR_OBSTACLES, KDR_HOLES, KDR_ENVIRONMENT};
        for (int i = 0; i < 4; ++i)
        {
            if (awPresent[i] == 0)
                continue;
            switch (anComponents[i])
            {
            case KDR_UNITS: SetUnits(new CKDRUnits); break;
            case KDR_OBSTACLES: SetObstacles(new CKDRObstacles); break;
            case KDR_HOLES: SetHoles(new CKDRHoles); break;
            default: SetEnvironment(new CKDREnvironment); break;
            }
        }
        for (int i = 0; i < 6; ++i)
            *apTotals[i] = anTotals[i];
        m_tsElapsed = CTimeSpan(static_cast<LONG>(dwElapsed));
        FreeCountBlocks();
        m_nVehicleTypeCount = nTypes;
        if (awCounts[0] != 0)
        {
            m_pOwnCounts = ReadCountBlock(ar, nTypes);
            m_bOwnCounts = 1;
        }
        if (awCounts[1] != 0)
        {
            m_pOpposingCounts = ReadCountBlock(ar, nTypes);
            m_bOpposingCounts = 1;
        }
        if (awCounts[2] != 0)
        {
            m_pThirdCounts = ReadCountBlock(ar, nTypes);
            m_bThirdCounts = 1;
        }
    }

    if (CKDRUnits* pUnits = GetUnits())
    {
        CopyTaskOrgGroupsToUnits();
        pUnits->SerializeState(ar);
    }
    if (CKDRObstacles* pObstacles = GetObstacles())
        pObstacles->SerializeState(ar);
    if (CKDRHoles* pHoles = GetHoles())
        pHoles->SerializeState(ar);
    if (CKDREnvironment* pEnvironment = GetEnvironment())
        pEnvironment->Serialize(ar);
}

// ---------------------------------------------------------------------------
// Saving

BOOL CKDRDoc::OnSaveDocument(const char* path)
{
    if (!m_strSavegameDir.IsEmpty())
        SetCurrentDir(m_strSavegameDir);
    const CString strTarget = path;
    const CString strPart = strTarget + SAVE_PART_SUFFIX;
    CKDRApp* pApp = GetKDRApp();
    if (pApp != nullptr && pApp->GetGameClock() != nullptr)
        m_tsElapsed = pApp->GetGameClock()->m_tsElapsed;

    BOOL bWritten = FALSE;
    {
        CFile file;
        CFileException error;
        if (!file.Open(strPart, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary, &error))
        {
            ReportSaveFailure(error.GetErrorText());
        }
        else
        {
            try
            {
                CArchive ar(&file, CArchive::store, SAVED_GAME_BUFFER);
                SerializeSavedGame(ar);
                ar.Close();
                file.Close();
                bWritten = TRUE;
            }
            catch (const CException& e)
            {
                file.Abort();
                ReportSaveFailure(e.GetErrorText());
            }
        }
    }
    if (bWritten && !ReplaceFile(strPart, strTarget))
    {
        ReportSaveFailure("The file " + strTarget + " could not be replaced.");
        bWritten = FALSE;
    }
    if (!bWritten)
        DeleteFile(strPart);
    else
        SetModifiedFlag(FALSE);
    if (!m_strDataDir.IsEmpty())
        SetCurrentDir(m_strDataDir);
    return bWritten;
}

BOOL CKDRDoc::DoSave(const char* /*path*/, BOOL /*replace*/)
{
    CKDRApp* pApp = GetKDRApp();
    CString strName;
    if (pApp == nullptr || !pApp->ChooseSavedGame(strName, 0))
        return FALSE;
    return OnSaveDocument(strName);
}

// ---------------------------------------------------------------------------
// Opening

BOOL CKDRDoc::OpenSavedGame(const char* path)
{
    if (!m_strSavegameDir.IsEmpty())
        SetCurrentDir(m_strSavegameDir);
    const CString strName = path;
    CFile file;
    if (!file.Open(strName, CFile::modeRead | CFile::typeBinary))
    {
        if (!m_strDataDir.IsEmpty())
            SetCurrentDir(m_strDataDir);
        return FALSE;
    }

    DeleteContents();
    OnNewDocument();
    try
    {
        CArchive ar(&file, CArchive::load, SAVED_GAME_BUFFER);
        SerializeSavedGame(ar);
        ar.Close();
        file.Close();
    }
    catch (const CException& e)
    {
        file.Abort();
        DeleteContents();
        OnNewDocument();
        if (!m_strDataDir.IsEmpty())
            SetCurrentDir(m_strDataDir);
        GetUiService().MessageBox(AfxGetMainWnd(),
                                  "The saved game, " + strName + ", could not be read.\n" + e.GetErrorText(),
                                  "Error", MB_OK | MB_ICONSTOP);
        return FALSE;
    }

    if (CKDRUnits* pUnits = GetUnits())
        LoadUnitOrderFiles(pUnits);

    const CString strScenario = GetPathName();
    const CTimeSpan tsElapsed = m_tsElapsed;
    if (!m_strDataDir.IsEmpty())
        SetCurrentDir(m_strDataDir);

    if (!ResetForSavedGame())
    {
        DeleteContents();
        OnNewDocument();
        return FALSE;
    }
    m_bOpenedFromSavedGame = 1;
    SetPathName(strScenario, TRUE);

    CKDRApp* pApp = GetKDRApp();
    if (pApp != nullptr && pApp->GetGameClock() != nullptr)
    {
        pApp->GetGameClock()->m_tStart = m_tMissionStart;
        pApp->GetGameClock()->m_tsElapsed = tsElapsed;
    }
    if (tsElapsed.GetTotalSeconds() == 0)
        CountForces(1);

    CKDRDatabase* pDatabase = GetDatabase();
    CKDRGameMap* pMap = GetGameMap();
    if (CKDRUnits* pUnits = GetUnits())
    {
        if (pDatabase != nullptr && pMap != nullptr)
        {
            pUnits->CheckUnitsAgainstDatabase(pDatabase, pMap);
            pUnits->PrepareUnits(0, pMap, pDatabase);
        }
        if (CKDRHoles* pHoles = GetHoles(); pHoles != nullptr && pDatabase != nullptr)
            pHoles->AssignOccupants(pUnits, pMap);
        if (pDatabase != nullptr && pMap != nullptr && pApp != nullptr && !pApp->IsDeploymentPhase())
        {
            if (pMap->GetElevationMap() != nullptr && GetEnvironment() != nullptr)
                pUnits->DetectAll(pMap, pDatabase, GetSmoke(), GetEnvironment()->GetLightFactor());
            pApp->ShowPendingSpotReport();
        }
    }
    if (CKDRHoles* pHoles = GetHoles(); pHoles != nullptr && pMap != nullptr)
        pHoles->PrepareAll(pMap);
    if (CKDRObstacles* pObstacles = GetObstacles(); pObstacles != nullptr && pMap != nullptr)
        pObstacles->DrawAllOnMapSurface(pMap);
    if (GetEnvironment() != nullptr)
        UpdateLightCondition();
    if (m_pSmoke != nullptr && pMap != nullptr)
        m_pSmoke->PrepareAll(pMap);

    // The views show the mission as it stood: its clock, zoom and settings,
    // and in the deployment phase the operations order.
    UpdateAllViews(nullptr, KDR_HINT_MISSION_OPENED);
    SetModifiedFlag(FALSE);
    SetTitle(GetMissionTitle());
    return TRUE;
}

void CKDRDoc::LoadUnitOrderFiles(CKDRUnits* pUnits)
{
    // A file that cannot be read keeps its name and leaves its slot empty.
    if (!pUnits->m_strFormationFile.IsEmpty())
    {
        auto pTemplates = std::make_unique<CFormationTemplateArray>();
        if (pTemplates->LoadFile(pUnits->m_strFormationFile, m_strDataDir))
        {
            pUnits->m_strFormationFile = pTemplates->m_strFileName;
            delete pUnits->m_pFormations;
            pUnits->m_pFormations = pTemplates.release();
            pUnits->m_bFormations = TRUE;
        }
    }
    if (!pUnits->m_strSOPFile.IsEmpty())
    {
        auto pOrders = std::make_unique<CUnitOrderArray>();
        if (pOrders->LoadSOP(pUnits->m_strSOPFile, m_strDataDir))
        {
            delete pUnits->m_pSOP;
            pUnits->m_pSOP = pOrders.release();
            pUnits->m_bSOP = TRUE;
        }
    }
    if (!m_strSavegameDir.IsEmpty())
        SetCurrentDir(m_strSavegameDir);
}

BOOL CKDRDoc::ResetForSavedGame()
{
    // What the saved game loaded is put aside while the scenario is read.
    std::unique_ptr<CSmokeArray> pSmoke(m_pSmoke);
    std::unique_ptr<CFireMissionArray> pFireMissions(m_pFireMissions);
    m_pSmoke = new CSmokeArray;
    m_pFireMissions = new CFireMissionArray;
    m_bFireMissions = 1;
    std::unique_ptr<CKDRUnits> pUnits(GetUnits());
    std::unique_ptr<CKDRHoles> pHoles(GetHoles());
    std::unique_ptr<CKDRObstacles> pObstacles(GetObstacles());
    std::unique_ptr<CKDREnvironment> pEnvironment(GetEnvironment());
    m_pUnits = nullptr;
    m_bUnits = 0;
    m_pHoles = nullptr;
    m_bHoles = 0;
    m_pObstacles = nullptr;
    m_bObstacles = 0;
    m_pEnvironment = nullptr;
    m_bEnvironment = 0;
    std::unique_ptr<int[]> pOwnCounts(m_pOwnCounts);
    std::unique_ptr<int[]> pOpposingCounts(m_pOpposingCounts);
    std::unique_ptr<int[]> pThirdCounts(m_pThirdCounts);
    const int bOwnCounts = m_bOwnCounts;
    const int bOpposingCounts = m_bOpposingCounts;
    const int bThirdCounts = m_bThirdCounts;
    const int nTypes = m_nVehicleTypeCount;
    m_pOwnCounts = m_pOpposingCounts = m_pThirdCounts = nullptr;
    FreeCountBlocks();

    m_bFreshOpen = 0;
    const CString strScenario = GetPathName();
    if (!OnOpenDocument(strScenario))
    {
        // Everything kept goes with the failed open, smoke and fire
        // missions too.
        DeleteContents();
        OnNewDocument();
        return FALSE;
    }

    SetUnits(nullptr);
    SetHoles(nullptr);
    SetObstacles(nullptr);
    SetEnvironment(nullptr);
    m_bUnits = m_bHoles = m_bObstacles = m_bEnvironment = 0;
    delete m_pSmoke;
    m_pSmoke = pSmoke.release();
    delete m_pFireMissions;
    m_pFireMissions = pFireMissions.release();
    m_bFireMissions = 1;
    if (pUnits != nullptr)
        SetUnits(pUnits.release());
    if (pHoles != nullptr)
        SetHoles(pHoles.release());
    if (pObstacles != nullptr)
        SetObstacles(pObstacles.release());
    if (pEnvironment != nullptr)
        SetEnvironment(pEnvironment.release());
    if (m_pTaskOrgGroups == nullptr)
        m_pTaskOrgGroups = new CTaskOrgArrayArray;
    if (GetUnits() != nullptr)
        CopyTaskOrgGroupsFromUnits();
    FreeCountBlocks();
    m_pOwnCounts = pOwnCounts.release();
    m_pOpposingCounts = pOpposingCounts.release();
    m_pThirdCounts = pThirdCounts.release();
    m_bOwnCounts = bOwnCounts;
    m_bOpposingCounts = bOpposingCounts;
    m_bThirdCounts = bThirdCounts;
    m_nVehicleTypeCount = nTypes;
    if (CKDRDatabase* pDatabase = GetDatabase())
        pDatabase->WriteIndexPage();
    return TRUE;
}
