#include "database/Weapon.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/WeaponCapability.h"
#include "platform/core/File.h"
#include "platform/ui/DC.h"
#include "shell/DrawService.h"
#include "shell/SoundService.h"

IMPLEMENT_SERIAL(CWeapon, CObject, 1)
IMPLEMENT_SERIAL(CWeaponArray, CObArray, 1)

namespace
{
const char* const UNDEFINED_SOUNDS_HEADER = "UNDEFINED SOUNDS FOUND IN WEAPON ARRAY!\r\n\r\n";
const char* const UNDEFINED_PIECES_HEADER = "UNDEFINED PIECES FOUND IN WEAPON ARRAY!\r\n\r\n";

// The range circle's pens: the game map's numbered pens 1 (wide, dark) and
// 2 (thin, light) drawn over it.
constexpr int RANGE_PEN_OUTER = 1;
constexpr int RANGE_PEN_INNER = 2;

// Stored ranges are in tens of metres.
constexpr int METRES_PER_RANGE_UNIT = 10;
}  // namespace

// ---------------------------------------------------------------------------
// CWeapon

CWeapon::CWeapon() : m_pAttributes(new CWeaponCapArray) {}

CWeapon::~CWeapon() { delete m_pAttributes; }

void CWeapon::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, m_nRange);
        StoreWord(ar, m_nPenetration);
        StoreWord(ar, m_nTimeToFire);
        StoreWord(ar, m_nRoundsPerFire);
        ar << m_strName;
        StoreWord(ar, m_nMagnification);
        StoreWord(ar, m_nTimeToReload);
        StoreWord(ar, m_nRoundsToReload);
        ar << m_strWeaponSound;
        ar << m_strSecondText;
    }
    else
    {
        m_nRange = LoadWord(ar);
        m_nPenetration = LoadWord(ar);
        m_nTimeToFire = LoadWord(ar);
        m_nRoundsPerFire = LoadWord(ar);
        ar >> m_strName;
        m_nMagnification = LoadWord(ar);
        m_nTimeToReload = LoadWord(ar);
        m_nRoundsToReload = LoadWord(ar);
        ar >> m_strWeaponSound;
        ar >> m_strSecondText;
    }
    m_pAttributes->Serialize(ar);
}

CString CWeapon::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    MakeDataDirectoryCurrent(pDatabase);
    CHTMLPage page;
    if (!page.LoadTemplate("weapon.htm"))
        return CString();
    page.ReplaceTagInt("*penetration*", m_nPenetration);
    page.ReplaceTagInt("*magnification*", m_nMagnification);
    page.ReplaceTagInt("*range*", m_nRange * METRES_PER_RANGE_UNIT);
    page.ReplaceTagInt("*roundsPerFire*", m_nRoundsPerFire);
    page.ReplaceTagInt("*timeToFire*", m_nTimeToFire);
    page.ReplaceTagInt("*roundsToReload*", m_nRoundsToReload);
    page.ReplaceTagInt("*timeToReload*", m_nTimeToReload);
    page.ReplaceTag("*name*", m_strName);
    page.ReplaceTag("*attributeList*", m_pAttributes->WriteHTMLLinks(pDatabase));
    page.ReplaceTag("*attributes*", m_pAttributes->WriteHTMLPages(pDatabase));

    const CString strPageName = CHTMLPage::MakePageName(m_strName);
    MakeSavegameDirectoryCurrent(pDatabase);
    page.WritePage(strPageName);
    MakeDataDirectoryCurrent(pDatabase);
    return MakeLinkLine(strPageName, m_strName);
}

CString CWeapon::MakeRangeLabel(const CString& name)
{
    if (name.GetLength() > kLabelLength)
        return name.Left(kLabelKept) + "...";
    return name;
}

void CWeapon::DrawRangeArc(float x, float y, CKDRGameMap* pMap)
{
    CDrawService* pDraw = GetDrawService();
    if (pMap == nullptr || pDraw == nullptr || pMap->GetElevationMap() == nullptr)
        return;
    const CElevationMap* pElevation = pMap->GetElevationMap();
    const float radius = static_cast<float>(m_nRange * METRES_PER_RANGE_UNIT);
    CRect circle;
    int px = 0;
    int py = 0;
    pElevation->MapToPixel(x - radius, y + radius, &px, &py);
    pMap->PictureToView(px, py, &circle.left, &circle.top);
    pElevation->MapToPixel(x + radius, y - radius, &px, &py);
    pMap->PictureToView(px, py, &circle.right, &circle.bottom);
    circle.NormalizeRect();

    const CSize view = pMap->GetVisibleViewSize();
    if (circle.right < 0 || circle.left > view.cx || circle.bottom < 0 || circle.top > view.cy)
        return;

    CDC* pDC = pDraw->GetSurfaceDC();
    if (pDC == nullptr)
        return;
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    CPen* pOldPen = pDC->SelectObject(pMap->GetNumberedPen(RANGE_PEN_OUTER));
    pDC->Ellipse(&circle);
    pDC->SelectObject(pMap->GetNumberedPen(RANGE_PEN_INNER));
    pDC->Ellipse(&circle);

    // The label sits centred on the top of its circle, where circles of
    // different ranges around one point do not cover each other's.
    const CString strLabel = MakeRangeLabel(m_strName);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const CSize extent = pDC->GetTextExtent(strLabel);
    const int anchorX = (circle.left + circle.right) / 2;
    pDC->TextOut(anchorX - extent.cx / 2, circle.top - extent.cy / 2, strLabel);
    pDC->SetBkMode(oldMode);

    pDC->SelectObject(pOldPen);
    pDC->SelectObject(dynamic_cast<CBrush*>(pOldBrush));
    pDraw->ReleaseSurfaceDC();
}

// ---------------------------------------------------------------------------
// CWeaponArray

int CWeaponArray::ComputeMaxPenetration() const
{
    int nMax = 0;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CWeapon* pWeapon = GetAt(i); pWeapon != nullptr && pWeapon->m_nPenetration > nMax)
            nMax = pWeapon->m_nPenetration;
    }
    return nMax;
}

void CWeaponArray::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        m_nMaxPenetration = ComputeMaxPenetration();
        TypedObArray<CWeapon>::Serialize(ar);
        ar << m_strFileName;
        StoreWord(ar, m_nMaxPenetration);
        return;
    }
    // Read aside first, so that a bad file leaves the list as it was.
    CWeaponArray loaded;
    loaded.TypedObArray<CWeapon>::Serialize(ar);
    CString strFileName;
    ar >> strFileName;
    const int nMaxPenetration = LoadWord(ar);
    // The old weapons go with the local list.
    Swap(loaded);
    m_strFileName = strFileName;
    m_nMaxPenetration = nMaxPenetration;
}

BOOL CWeaponArray::LoadFromFile(const CString& name, const CString& strDataDir)
{
    CString strName = name;
    CFile file;
    if (!OpenListFile(file, strName, "wep", strDataDir))
        return FALSE;
    try
    {
        CArchive ar(&file, CArchive::load, 4096);
        Serialize(ar);
        ar.Close();
    }
    catch (...)
    {
        file.Abort();
        throw;
    }
    file.Close();
    m_strFileName = strName;
    return TRUE;
}

CString CWeaponArray::WritePages(CKDRDatabase* pDatabase)
{
    CString strLinks;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CWeapon* pWeapon = GetAt(i))
            strLinks += pWeapon->WriteHTMLPage(pDatabase);
    }
    return strLinks;
}

void CWeaponArray::DeletePages()
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (const CWeapon* pWeapon = GetAt(i))
            DeleteFile(CHTMLPage::MakePageName(pWeapon->m_strName));
    }
}

BOOL CWeaponArray::CheckSounds(CString& report)
{
    report = UNDEFINED_SOUNDS_HEADER;
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        const CWeapon* pWeapon = GetAt(i);
        if (pWeapon == nullptr || pWeapon->m_strWeaponSound.IsEmpty())
            continue;
        if (!IsSoundDefined(SOUND_KIND_WEAPON, pWeapon->m_strWeaponSound))
        {
            report += MakeUndefinedLine("Weapon Sound for the weapon", pWeapon->m_strName);
            bFound = TRUE;
        }
    }
    report += "\r\n";
    if (!bFound)
        report.Empty();
    return bFound;
}

BOOL CWeaponArray::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    report = UNDEFINED_PIECES_HEADER;
    BOOL bFound = FALSE;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CWeapon* pWeapon = GetAt(i); pWeapon != nullptr && pWeapon->GetAttributes()->CheckGraphics(report, pPieces))
            bFound = TRUE;
    }
    report += "\r\n";
    if (!bFound)
        report.Empty();
    return bFound;
}
