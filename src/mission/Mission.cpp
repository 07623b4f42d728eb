#include "mission/Mission.h"

#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "mission/EventArray.h"
#include "net/MultiplayerSession.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/core/Random.h"
#include "platform/ui/UiService.h"
#include "shell/PlayService.h"
#include "shell/ReportService.h"
#include "units/KDRUnits.h"

IMPLEMENT_SERIAL(CMission, CObject, 1)

namespace
{
// Archive buffer of a mission file read.
constexpr int MISSION_READ_BUFFER = 4096;
// Bytes of one stored pair: two 16-bit words.
constexpr ULONGLONG PAIR_BYTES = 4;
// The first of a side's four variant lists; the lists of sides 1 and 2
// alternate, kind by kind: unit, dug-position, obstacle, hierarchy files.
constexpr int VARIANT_KINDS = 4;
constexpr int VARIANT_SIDES = 2;

const char* const RESULTS_PAGE = "results.htm";
const char* const LOGO_PICTURE = "kdr_logo.jpg";

struct Completion
{
    const char* pszStatus;
    const char* pszMessage;
};
const Completion OPPONENT_SURRENDERED = {"<FONT COLOR=\"BLUE\">Opponent Surrendered!</FONT>",
                                         "Opponent surrendered prior to all mission objectives being completed."};
const Completion PLAYER_SURRENDERED = {"<FONT COLOR=\"RED\">You Surrendered!</FONT>",
                                       "You surrendered to your opponent prior to mission completion."};
const Completion MISSION_COMPLETE = {"<FONT COLOR=\"BLUE\">MISSION COMPLETE</FONT>",
                                     "All mission objectives completed."};
const Completion MISSION_FAILED = {"<FONT COLOR=\"RED\">MISSION FAILED</FONT>",
                                   "All mission objectives were not completed."};
const Completion MISSION_NOT_COMPLETE = {"<FONT COLOR=\"GREEN\">MISSION NOT COMPLETE</FONT>",
                                         "Mission ended prior to mission completion."};

// A new mission's events: an empty victory event, then an empty loss event.
CEventArray* NewEvents()
{
    auto* pEvents = new CEventArray;
    pEvents->Add(new CEventPlayerVictory);
    pEvents->Add(new CEventPlayerLoss);
    return pEvents;
}
}  // namespace

CMission::CMission() : m_nDirection(0), m_pEvents(NewEvents()), m_abFlags{FALSE, FALSE, FALSE} {}

CMission::~CMission() { delete m_pEvents; }

int CMission::LoadFile(const CString& strFile, const CString& strDataDir)
{
    CString strName = strFile;
    SetCurrentDir(strDataDir);
    CFile file;
    while (!file.Open(strName, CFile::modeRead | CFile::typeBinary))
    {
        // Cancelling gives up, whether or not a file was chosen before.
        CFileDialog dialog(TRUE, "msn", "*.msn", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
        dialog.SetMissingFile(strName);
        if (dialog.DoModal() != IDOK)
            return 0;
        strName = dialog.GetFileName();
    }
    CArchive ar(&file, CArchive::load, MISSION_READ_BUFFER);
    Serialize(ar);
    ar.Close();
    file.Close();
    m_strFileName = strName;
    return 1;
}

void CMission::Serialize(CArchive& ar)
{
    for (CStringList& list : m_astrVariantFiles)
        list.Serialize(ar);
    if (m_pEvents == nullptr)
        m_pEvents = new CEventArray;
    m_pEvents->Serialize(ar);
    if (ar.IsStoring())
    {
        ar << m_strFileName << m_strName << m_strDescription << m_strVictoryText << m_strLossText;
        for (BOOL bFlag : m_abFlags)
            ar << static_cast<WORD>(bFlag ? 1 : 0);
        ar << static_cast<WORD>(m_nDirection);
        for (const auto& pairs : m_aPairs)
        {
            ar << static_cast<WORD>(pairs.size());
            for (const auto& pair : pairs)
                ar << static_cast<WORD>(pair.first) << static_cast<WORD>(pair.second);
        }
    }
    else
    {
        ar >> m_strFileName >> m_strName >> m_strDescription >> m_strVictoryText >> m_strLossText;
        for (BOOL& bFlag : m_abFlags)
        {
            WORD w = 0;
            ar >> w;
            if (w != 0)
                bFlag = TRUE;
        }
        short nValue = 0;
        ar >> nValue;
        m_nDirection = nValue;
        for (auto& pairs : m_aPairs)
        {
            pairs.clear();
            short nCount = 0;
            ar >> nCount;
            if (nCount <= 0)
                continue;
            ar.EnsureBytesLeft(static_cast<ULONGLONG>(nCount) * PAIR_BYTES);
            for (int i = 0; i < nCount; ++i)
            {
                short x = 0, y = 0;
                ar >> x >> y;
                pairs.emplace_back(x, y);
            }
        }
    }
}

void CMission::PickRandomVariant(int nSide, CString& strUnitFile, CString& strHoleFile, CString& strObstacleFile,
                                 CString& strHierarchyFile)
{
    strUnitFile.Empty();
    strHoleFile.Empty();
    strObstacleFile.Empty();
    // The hierarchy too: a name left from before would load a hierarchy
    // that does not belong to the units drawn.
    strHierarchyFile.Empty();
    if (nSide < 1 || nSide > VARIANT_SIDES)
        return;
    const CStringList* apLists[VARIANT_KINDS];
    for (int nKind = 0; nKind < VARIANT_KINDS; ++nKind)
        apLists[nKind] = &m_astrVariantFiles[nKind * VARIANT_SIDES + nSide - 1];
    const int n = apLists[0]->GetCount();
    if (n == 0)
        return;
    const float fStep = 100.0f / static_cast<float>(n + 1);
    int i = static_cast<int>(static_cast<double>(Rand()) * (1.0 / 32767.0) * 100.0 / fStep);
    if (i > n)
        i = n;
    if (i == 0)
        return;
    CString* apOut[VARIANT_KINDS] = {&strUnitFile, &strHoleFile, &strObstacleFile, &strHierarchyFile};
    for (int nKind = 0; nKind < VARIANT_KINDS; ++nKind)
    {
        if (i - 1 < apLists[nKind]->GetCount())
            *apOut[nKind] = apLists[nKind]->GetAt(i - 1);
    }
}

int CMission::EvaluateEvents(int& bVictory, CKDRUnits* pUnits, const int anDocValues[6], CTimeSpan tsElapsed)
{
    if (m_pEvents == nullptr)
        return 0;
    return m_pEvents->Evaluate(bVictory, pUnits, anDocValues, tsElapsed);
}

void CMission::WriteResultsPage(CKDRUnits* pUnits, CKDRDatabase* pDatabase, const int anDocValues[6],
                                const int* apCounts[3], CTimeSpan tsElapsed, CTime tStart)
{
    const CPlayService* pPlay = GetPlayService();
    CString strDataDir;
    CString strSavegameDir;
    if (pPlay != nullptr)
    {
        strDataDir = pPlay->GetDataDir();
        strSavegameDir = pPlay->GetSavegameDir();
    }
    else if (pDatabase != nullptr)
    {
        strDataDir = pDatabase->GetDataDir();
        strSavegameDir = pDatabase->GetSavegameDir();
    }

    int bVictory = 0;
    const BOOL bEnded = EvaluateEvents(bVictory, pUnits, anDocValues, tsElapsed) != 0;
    CMultiplayerSession* pSession = pPlay != nullptr && pPlay->IsMultiplayer() ? pPlay->GetSession() : nullptr;
    if (pPlay != nullptr && pPlay->IsMultiplayer())
        bVictory = pPlay->IsMultiplayerWon() ? 1 : 0;

    CHTMLPage page;
    SetCurrentDir(strDataDir);
    if (!page.LoadTemplate(RESULTS_PAGE))
        return;
    page.ReplaceTag("*picture*", JoinPath(strDataDir, LOGO_PICTURE));
    page.ReplaceTag("*name*", m_strName);

    const Completion* pCompletion = &MISSION_NOT_COMPLETE;
    CString strDebriefing;
    if (pSession != nullptr && pSession->HasOpponentSurrendered())
    {
        pCompletion = &OPPONENT_SURRENDERED;
        strDebriefing = m_strVictoryText;
    }
    else if (pSession != nullptr && pSession->m_bSurrendered)
    {
        pCompletion = &PLAYER_SURRENDERED;
        strDebriefing = m_strVictoryText;
    }
    else if (bEnded && bVictory)
    {
        pCompletion = &MISSION_COMPLETE;
        strDebriefing = m_strVictoryText;
    }
    else if (bEnded)
    {
        pCompletion = &MISSION_FAILED;
        strDebriefing = m_strLossText;
    }
    page.ReplaceTag("*completeStatus*", pCompletion->pszStatus);
    page.ReplaceTag("*completeMessage*", pCompletion->pszMessage);
    page.ReplaceTag("*victoryLoss*", strDebriefing);

    if (m_pEvents != nullptr)
    {
        CString strObjectives;
        m_pEvents->GetObjectiveText(strObjectives, tStart);
        page.ReplaceTag("*objectives*", strObjectives);
        CString strResults;
        m_pEvents->GetResultsText(strResults, pUnits, anDocValues, tStart, tsElapsed);
        page.ReplaceTag("*results*", strResults);
    }

    CString strCounts;
    if (pUnits != nullptr)
    {
        strCounts = pUnits->WriteCountsPage(pDatabase, apCounts[0], apCounts[1], apCounts[2]);
        SetCurrentDir(strDataDir);
    }
    page.ReplaceTag("*counts*", strCounts);

    SetCurrentDir(strSavegameDir);
    if (page.WritePage(RESULTS_PAGE))
    {
        if (CReportService* pReports = GetReportService())
            pReports->ShowMissionResults(strSavegameDir, strDataDir);
        SetCurrentDir(strSavegameDir);
        DeleteFile(RESULTS_PAGE);
    }
    SetCurrentDir(strDataDir);
}
