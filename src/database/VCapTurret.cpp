#include "database/VCapTurret.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/KDRDatabase.h"
#include "database/KillPercentage.h"
#include "database/VehicleWeapon.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"

#include <algorithm>

IMPLEMENT_SERIAL(CVCapTurret, CVehicleCapability, 1)

namespace
{
// How deep the turret being read lies inside other turrets.
thread_local int t_nLoadDepth = 0;

struct CNestingGuard
{
    CNestingGuard() { ++t_nLoadDepth; }
    ~CNestingGuard() { --t_nLoadDepth; }
    CNestingGuard(const CNestingGuard&) = delete;
    CNestingGuard& operator=(const CNestingGuard&) = delete;
};

CString LimitText(int limit)
{
    if (limit == kUnset)
        return "none";
    CString text;
    text.Format("%d", limit);
    return text;
}
}  // namespace

CVCapTurret::CVCapTurret()
    : m_pMounts(new CVehicleWeaponArray),
      m_pKillPercentages(new CKillPercentageArray),
      m_pCapabilities(new CVehicleCapArray)
{
}

CVCapTurret::~CVCapTurret()
{
    delete m_pCapabilities;
    delete m_pKillPercentages;
    delete m_pMounts;
}

void CVCapTurret::Serialize(CArchive& ar)
{
    if (ar.IsLoading())
    {
        CNestingGuard guard;
        if (t_nLoadDepth > kMaxNesting)
            ThrowBadFormat(ar);
        m_pMounts->Serialize(ar);
        m_pKillPercentages->Serialize(ar);
        m_pCapabilities->Serialize(ar);
        m_nTurnSpeed = LoadWord(ar);
        m_nRightLimit = LoadWord(ar);
        m_nLeftLimit = LoadWord(ar);
        ar >> m_fHeight >> m_fWidth >> m_fLength;
        ar >> m_strPiece;
        m_bSpare = LoadWord(ar) != 0;
        return;
    }
    m_pMounts->Serialize(ar);
    m_pKillPercentages->Serialize(ar);
    m_pCapabilities->Serialize(ar);
    StoreWord(ar, m_nTurnSpeed);
    StoreWord(ar, m_nRightLimit);
    StoreWord(ar, m_nLeftLimit);
    ar << m_fHeight << m_fWidth << m_fLength;
    ar << m_strPiece;
    StoreFlag(ar, m_bSpare);
}

CString CVCapTurret::WriteHTMLLink(CKDRDatabase* pDatabase)
{
    CString strLinks = MakeAnchorLink("turret", "Turret");
    const CString strInside = m_pCapabilities->WriteHTMLLinks(pDatabase);
    if (strInside != DB_NONE_PARAGRAPH)
        strLinks += strInside;
    return strLinks;
}

CString CVCapTurret::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr || pDatabase->GetWeaponArray() == nullptr)
        return CString();
    CHTMLPage page;
    if (!LoadSection(page, "turret.htm", pDatabase))
        return CString();
    page.ReplaceTagInt("*turnSpeed*", m_nTurnSpeed);
    page.ReplaceTag("*leftLimit*", LimitText(m_nLeftLimit));
    page.ReplaceTag("*rightLimit*", LimitText(m_nRightLimit));
    page.ReplaceTagFloat("*height*", m_fHeight);
    page.ReplaceTagFloat("*length*", m_fLength);
    page.ReplaceTagFloat("*width*", m_fWidth);
    page.ReplaceTag("*percentKillArray*", m_pKillPercentages->WriteHTML(pDatabase));
    page.ReplaceTag("*turretWeapons*", m_pMounts->WriteWeaponTable(pDatabase));
    return page.GetText() + m_pCapabilities->WriteHTMLPages(pDatabase);
}

void CVCapTurret::AddWeapons(CVehicleWeaponArray* pList, CKDRDatabase* pDatabase)
{
    m_pMounts->AddToWeaponList(pList, pDatabase);
    m_pCapabilities->AddWeapons(pList, pDatabase);
}

void CVCapTurret::DrawRangeArcs(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap)
{
    m_pMounts->DrawRangeArcs(x, y, pDatabase, pMap);
    m_pCapabilities->DrawRangeArcs(x, y, pDatabase, pMap);
}

CVehicleCapability* CVCapTurret::FindCapability(int type) { return m_pCapabilities->FindByType(type); }

int CVCapTurret::GetTypeMask() { return m_pCapabilities->GetTypeMask() | VCAP_TURRET; }

int CVCapTurret::GetSightPercent(BOOL bInfrared)
{
    return std::max(
        {m_pCapabilities->GetMaxSightPercent(bInfrared), m_pMounts->GetMaxSightPercent(bInfrared != FALSE), 0});
}

BOOL CVCapTurret::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    BOOL bFound = CheckPiece(report, pPieces, "Turret Piece Graphic", m_strPiece);
    bFound |= m_pCapabilities->CheckGraphics(report, pPieces);
    return bFound;
}

BOOL CVCapTurret::CheckSounds(CString& report) { return m_pCapabilities->CheckSounds(report); }
