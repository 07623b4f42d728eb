#include "database/VCapIndirectFire.h"

#include "database/DatabaseSupport.h"
#include "database/HTMLPage.h"
#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "database/VehicleArray.h"
#include "database/Weapon.h"
#include "platform/core/Archive.h"
#include "platform/core/File.h"
#include "shell/SoundService.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CVCapIndirectFire, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapDFAmmoCarrier, CVehicleCapability, 1)
IMPLEMENT_SERIAL(CVCapIFAmmoCarrier, CVCapDFAmmoCarrier, 1)

namespace
{
// Radians to mils, as the fire missions convert bearings.
constexpr double MILS_PER_RADIAN = 1018.5916;
// Each ammunition entry takes two words in the file.
constexpr ULONGLONG BYTES_PER_ENTRY = 4;

CString LimitText(int limit)
{
    if (limit == kUnset)
        return "none";
    CString text;
    text.Format("%d", limit);
    return text;
}

// The munitions' rows of the vehicle list held; entries naming nothing
// are left out.
CString MunitionRows(CKDRDatabase* pDatabase, const CAmmoEntryList& entries)
{
    CString strRows;
    for (const CAmmoEntry& entry : entries)
    {
        if (const CIFAmmo* pAmmo = pDatabase->GetIFAmmo(entry.m_nIndex))
            strRows += MakeAmmoRow(pAmmo->GetDisplayName(), entry.m_nNumber);
    }
    return strRows;
}
}  // namespace

void SerializeAmmoEntries(CArchive& ar, CAmmoEntryList& entries)
{
    if (ar.IsStoring())
    {
        StoreWord(ar, static_cast<int>(entries.size()));
        for (const CAmmoEntry& entry : entries)
        {
            StoreWord(ar, entry.m_nIndex);
            StoreWord(ar, entry.m_nNumber);
        }
        return;
    }
    const int nCount = LoadWord(ar);
    if (nCount < 0)
        ThrowBadFormat(ar);
    ar.EnsureBytesLeft(static_cast<ULONGLONG>(nCount) * BYTES_PER_ENTRY);
    CAmmoEntryList loaded(static_cast<size_t>(nCount));
    for (CAmmoEntry& entry : loaded)
    {
        entry.m_nIndex = LoadWord(ar);
        entry.m_nNumber = LoadWord(ar);
    }
    entries.swap(loaded);
}

CString MakeAmmoRow(const CString& name, int number)
{
    CString strNumber;
    strNumber.Format("%d", number);
    return CString("<TR>\r\n<TD WIDTH=\"70%\" VALIGN=CENTER>\r\n<P ALIGN=CENTER>\r\n") + DB_LINK_OPEN +
           CHTMLPage::MakePageName(name) + "\">" + name +
           "</A></FONT></FONT></TD><TD WIDTH=\"30%\" VALIGN=CENTER>\r\n"
           "<P ALIGN=CENTER>\r\n<FONT FACE=\"Arial,Helvetica,Monaco\"><FONT SIZE=\"2\">" +
           strNumber + "</FONT></FONT></TD>\r\n</TR>\r\n";
}

// ---------------------------------------------------------------------------
// Indirect fire

void CVCapIndirectFire::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        for (int value : {m_nLeftLimit, m_nRightLimit, m_nTraverseTime, m_nComputeTime, m_nShotTime, m_nTimeOfFlight})
            StoreWord(ar, value);
        ar << m_strMuzzleFlash[0] << m_strMuzzleFlash[1] << m_strMuzzleFlash[2] << m_strShotSound;
        StoreWord(ar, m_nSmokeRadius);
        StoreWord(ar, m_nSmokeDuration);
        ar << m_fAccuracy;
        StoreWord(ar, m_nSpare);
        StoreFlag(ar, m_bHighAngle);
        StoreWord(ar, m_nMinRange);
        StoreFlag(ar, m_bAllRound);
    }
    else
    {
        for (int* pValue :
             {&m_nLeftLimit, &m_nRightLimit, &m_nTraverseTime, &m_nComputeTime, &m_nShotTime, &m_nTimeOfFlight})
            *pValue = LoadWord(ar);
        ar >> m_strMuzzleFlash[0] >> m_strMuzzleFlash[1] >> m_strMuzzleFlash[2] >> m_strShotSound;
        m_nSmokeRadius = LoadWord(ar);
        m_nSmokeDuration = LoadWord(ar);
        ar >> m_fAccuracy;
        m_nSpare = LoadWord(ar);
        m_bHighAngle = LoadWord(ar) != 0;
        m_nMinRange = LoadWord(ar);
        m_bAllRound = LoadWord(ar) != 0;
    }
    SerializeAmmoEntries(ar, m_ammo);
}

CString CVCapIndirectFire::WriteHTMLLink(CKDRDatabase*) { return MakeAnchorLink("indirectFire", "Indirect Fire"); }

CString CVCapIndirectFire::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr || pDatabase->GetVehicleArray() == nullptr)
        return CString();
    CHTMLPage page;
    if (!LoadSection(page, "indirectFire.htm", pDatabase))
        return CString();
    page.ReplaceTagFloat("*accuracy*", m_fAccuracy * 100.0f);
    page.ReplaceTag("*leftLimit*", LimitText(m_nLeftLimit));
    page.ReplaceTag("*rightLimit*", LimitText(m_nRightLimit));
    page.ReplaceTagInt("*computeTime*", m_nComputeTime);
    page.ReplaceTagInt("*traverseTime*", m_nTraverseTime);
    page.ReplaceTagInt("*shotTime*", m_nShotTime);
    page.ReplaceTagInt("*timeOfFlight*", m_nTimeOfFlight);
    page.ReplaceTagInt("*smokeRadius*", m_nSmokeRadius);
    page.ReplaceTagInt("*smokeDuration*", m_nSmokeDuration);
    page.ReplaceTag("*haYesNo*", m_bHighAngle ? "Yes" : "No");
    if (m_nMinRange <= 0)
        page.ReplaceTag("*minRange*", "none");
    else
        page.ReplaceTagInt("*minRange*", m_nMinRange);
    page.ReplaceTag("*ifAmmo*", MunitionRows(pDatabase, m_ammo));
    return page.GetText();
}

BOOL CVCapIndirectFire::CheckGraphics(CString& report, CPieceArray* pPieces)
{
    BOOL bFound = FALSE;
    bFound |= CheckPiece(report, pPieces, "Indirect Fire Muzzle Flash Graphic 1", m_strMuzzleFlash[0]);
    bFound |= CheckPiece(report, pPieces, "Indirect Fire Muzzle Flash Graphic 2", m_strMuzzleFlash[1]);
    bFound |= CheckPiece(report, pPieces, "Indirect Fire Muzzle Flash Graphic 3", m_strMuzzleFlash[2]);
    return bFound;
}

BOOL CVCapIndirectFire::CheckSounds(CString& report)
{
    return CheckSound(report, SOUND_KIND_ARTILLERY, "Indirect Fire Shot Sound", m_strShotSound);
}

BOOL CVCapIndirectFire::GetArcEdges(float heading, long long& left, long long& right) const
{
    if (m_nLeftLimit == kUnset || m_nRightLimit == kUnset || m_bAllRound || !std::isfinite(heading))
        return FALSE;

    // The heading folded into 0..6400 mils: a whole circle above stays 6400
    // rather than 0, as repeated subtraction leaves it.
    const double dMils = heading * MILS_PER_RADIAN;
    double dFolded = std::fmod(dMils, static_cast<double>(kMilsPerCircle));
    if (dFolded < 0.0)
        dFolded += kMilsPerCircle;
    else if (dFolded == 0.0 && dMils > 0.0)
        dFolded = kMilsPerCircle;
    const long long nHeading = static_cast<long long>(dFolded + 0.5);

    // Each edge into 0..6400: above the circle into 1..6400, below 0 into
    // 0..6399.
    auto fold = [](long long value)
    {
        if (value > kMilsPerCircle)
            return (value - 1) % kMilsPerCircle + 1;
        if (value < 0)
        {
            const long long rest = value % kMilsPerCircle;
            return rest < 0 ? rest + kMilsPerCircle : rest;
        }
        return value;
    };
    right = fold(m_nRightLimit + nHeading);
    left = fold(m_nLeftLimit + nHeading);
    return TRUE;
}

int CVCapIndirectFire::GetShiftCount(float heading, int azimuth) const
{
    long long nLeft = 0, nRight = 0;
    if (!GetArcEdges(heading, nLeft, nRight))
        return 0;
    const long long nAzimuth = azimuth;
    const bool bAcrossNorth = nLeft > nRight;
    const bool bInside = bAcrossNorth ? (nAzimuth >= nLeft || nAzimuth <= nRight)
                                      : (nAzimuth >= nLeft && nAzimuth <= nRight);
    if (bInside)
        return 0;
    // From each edge the shorter way round the circle; the nearer one counts.
    auto around = [](long long from, long long to)
    {
        const long long d = ((to - from) % kMilsPerCircle + kMilsPerCircle) % kMilsPerCircle;
        return std::min(d, kMilsPerCircle - d);
    };
    const long long nGap = std::min(around(nAzimuth, nLeft), around(nAzimuth, nRight));
    return static_cast<int>(nGap / kMilsPerShift + 1);
}

int CVCapIndirectFire::GetTraverseSteps(float heading, int direction) const
{
    long long nLeft = 0, nRight = 0;
    if (!GetArcEdges(heading, nLeft, nRight))
        return 0;
    const long long nDirection = direction;

    if (nLeft > nRight)
    {
        // The arc runs across north: from the left edge up to the circle,
        // then from 0 to the right edge.
        if (nDirection >= nLeft || nDirection <= nRight)
            return 0;
        const long long nGap = std::min(nLeft - nDirection, nDirection - nRight);
        return static_cast<int>(nGap / kMilsPerTraverseStep + 1);
    }
    if (nDirection < nLeft)
        return static_cast<int>((nLeft - nDirection) / kMilsPerTraverseStep + 1);
    if (nDirection <= nRight)
        return 0;
    return static_cast<int>((nDirection - nRight) / kMilsPerTraverseStep + 1);
}

// ---------------------------------------------------------------------------
// Ammunition carriers

void CVCapDFAmmoCarrier::Serialize(CArchive& ar) { SerializeAmmoEntries(ar, m_ammo); }

CString CVCapDFAmmoCarrier::WriteHTMLLink(CKDRDatabase*)
{
    return MakeAnchorLink("dfAmmo", "Direct Fire Ammo Carrier");
}

CString CVCapDFAmmoCarrier::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr || pDatabase->GetWeaponArray() == nullptr)
        return CString();
    CHTMLPage page;
    if (!LoadSection(page, "dfAmmo.htm", pDatabase))
        return CString();
    CString strRows;
    for (const CAmmoEntry& entry : m_ammo)
    {
        if (const CWeapon* pWeapon = pDatabase->GetWeapon(entry.m_nIndex))
            strRows += MakeAmmoRow(pWeapon->m_strName, entry.m_nNumber);
    }
    page.ReplaceTag("*dfAmmo*", strRows);
    return page.GetText();
}

CString CVCapIFAmmoCarrier::WriteHTMLLink(CKDRDatabase*)
{
    return MakeAnchorLink("ifAmmo", "Indirect Fire Ammo Carrier");
}

CString CVCapIFAmmoCarrier::WriteHTMLPage(CKDRDatabase* pDatabase)
{
    if (pDatabase == nullptr || !pDatabase->IsIFAmmoLoaded())
        return CString();
    CHTMLPage page;
    if (!LoadSection(page, "ifAmmoCarry.htm", pDatabase))
        return CString();
    page.ReplaceTag("*ifAmmo*", MunitionRows(pDatabase, m_ammo));
    return page.GetText();
}
