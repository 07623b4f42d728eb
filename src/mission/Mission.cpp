#include "mission/Mission.h"

#include "mission/EventArray.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"

IMPLEMENT_SERIAL(CMission, CObject, 1)

namespace
{
// Archive buffer of a mission file read.
constexpr int MISSION_READ_BUFFER = 4096;
// Bytes of one stored pair: two 16-bit words.
constexpr ULONGLONG PAIR_BYTES = 4;
}  // namespace

CMission::CMission() : m_nDirection(0), m_pEvents(new CEventArray), m_abFlags{FALSE, FALSE, FALSE} {}

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

void CMission::PickRandomVariant(int, CString& strUnitFile, CString& strHoleFile, CString& strObstacleFile,
                                 CString& strHierarchyFile)
{
    strUnitFile.Empty();
    strHoleFile.Empty();
    strObstacleFile.Empty();
    strHierarchyFile.Empty();
}

int CMission::EvaluateEvents(CKDRUnits*, CTimeSpan, int& bWon)
{
    bWon = 0;
    return 0;
}

void CMission::WriteResultsPage(CKDRUnits*, CKDRDatabase*, const int*, const int**, CTimeSpan, CTime) {}
