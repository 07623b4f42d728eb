#include "units/UCapTurret.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/Damage.h"
#include "database/DatabaseSupport.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/VCapTurret.h"
#include "database/Vehicle.h"
#include "database/VehicleWeapon.h"
#include "orders/RecordIO.h"
#include "platform/ui/Display.h"
#include "orders/NodeOrder.h"
#include "units/UCapIndirectFire.h"
#include "units/Unit.h"
#include "units/UnitAngles.h"
#include "units/UnitWeapon.h"

IMPLEMENT_SERIAL(CUCapTurret, CUnitCapability, 1)

using record::SerializeValue;
using record::SerializeWord;

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
}  // namespace

CUCapTurret::CUCapTurret()
    : m_pWeapons(new CUnitWeaponArray), m_pSubCaps(new CUnitCapArray), m_pDamage(new CDamageArray)
{
}

CUCapTurret::CUCapTurret(CVCapTurret* pVehicleCap, CKDRDatabase* pDatabase)
    : m_pWeapons(
          new CUnitWeaponArray(pVehicleCap->GetMounts(), pDatabase != nullptr ? pDatabase->GetWeaponArray() : nullptr)),
      m_pSubCaps(new CUnitCapArray(pVehicleCap->GetCapabilities(), pDatabase)),
      m_pDamage(new CDamageArray)
{
}

CUCapTurret::~CUCapTurret()
{
    delete m_pArrow;
    delete m_pSprite;
    delete m_pDamage;
    delete m_pSubCaps;
    delete m_pWeapons;
}

void CUCapTurret::Serialize(CArchive& ar)
{
    CNestingGuard guard;
    if (ar.IsLoading() && t_nLoadDepth > MAX_NESTING)
        ThrowBadFormat(ar);
    m_pWeapons->Serialize(ar);
    m_pSubCaps->Serialize(ar);
    m_pDamage->Serialize(ar);
    SerializeValue(ar, m_fDirection);
    SerializeWord(ar, m_nTargetUnit);
    SerializeWord(ar, m_nTargetArray);
    SerializeWord(ar, m_nTargetKind);
    SerializeWord(ar, m_nStoredValue);
    SerializeValue(ar, m_fOffset);
}

// The icon of a turret that carries nothing with an icon of its own is no
// icon at all, so that the unit's later capabilities still have their say.
CString CUCapTurret::GetUnidentifiedName() const { return m_pSubCaps->FindUnidentifiedName(); }

CString CUCapTurret::GetUnidentifiedBitmap() const { return m_pSubCaps->FindUnidentifiedBitmap(); }

CUnitCapability* CUCapTurret::FindCapability(DWORD dwType) { return m_pSubCaps->FindCapability(dwType); }

DWORD CUCapTurret::GetFlagMask() const { return m_pSubCaps->GetTypeMask(); }

// ---------------------------------------------------------------------------
// Operations passed on to the mounted capabilities

namespace
{
const char* const TURRET_ARROW = "Turret Direction Arrow Green";
constexpr int NO_ARC = kUnset;
}  // namespace

void CUCapTurret::AddMenuItems(CMenu* pMenu) { m_pSubCaps->AddMenuItems(pMenu); }
void CUCapTurret::OnMove(CKDRDatabase* pDatabase, int nVehicle) { m_pSubCaps->OnMove(pDatabase, nVehicle); }
void CUCapTurret::OnStop(CKDRDatabase* pDatabase, int nVehicle) { m_pSubCaps->OnStop(pDatabase, nVehicle); }

void CUCapTurret::OnDestroyed(CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nCause1, int nCause2, int nCause3)
{
    m_pSubCaps->OnDestroyed(pUnits, pDatabase, nCause1, nCause2, nCause3);
}

int CUCapTurret::OnSideChanged(int nSide)
{
    m_pSubCaps->OnSideChanged(nSide);
    return 1;
}

CObject* CUCapTurret::GetBreachTarget(CKDRObstacles* pObstacles)
{
    for (int i = 0; i < m_pSubCaps->GetSize(); ++i)
    {
        CUnitCapability* pCap = m_pSubCaps->GetAt(i);
        if (CObject* pTarget = pCap != nullptr ? pCap->GetBreachTarget(pObstacles) : nullptr)
            return pTarget;
    }
    return nullptr;
}

void CUCapTurret::OnObstacleDeleted(int nSide, int nIndex) { m_pSubCaps->OnObstacleDeleted(nSide, nIndex); }

BOOL CUCapTurret::OnPathAssigned(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, int nPassOn)
{
    m_nTargetUnit = kUnset;
    return m_pSubCaps->OnPathAssigned(x, y, pDatabase, pMap, nPassOn);
}

void CUCapTurret::OnFormationNode(int nValue)
{
    m_fOffset = NO_OFFSET;
    m_pSubCaps->OnFormationNode(nValue);
}

void CUCapTurret::ApplyViewSetting(float fScale)
{
    if (m_pSprite != nullptr)
        m_pSprite->SetScale(fScale);
    m_pSubCaps->ApplyViewSetting(fScale);
}

BOOL CUCapTurret::HitTest(int x, int y)
{
    if (m_bSpriteLoaded && m_pSprite != nullptr && m_pSprite->HitTest(x, y))
        return TRUE;
    return m_pSubCaps->HitTest(x, y);
}

void CUCapTurret::GetWeaponLines(CStringList& lines, CVehicle* pVehicle, CKDRDatabase* pDatabase)
{
    m_pSubCaps->GetWeaponLines(lines, pVehicle, pDatabase);
    m_pWeapons->ListWeapons(lines, pVehicle, pDatabase, TRUE);
}

void CUCapTurret::AddWeaponsToList(int nVehicle, CUnitWeaponArray* pList, CKDRDatabase* pDatabase, int nDepth)
{
    m_pSubCaps->AddWeaponsToList(nVehicle, pList, pDatabase, nDepth);
    m_pWeapons->AddInEngagementOrder(nVehicle, pList, pDatabase, nDepth != 0);
}

void CUCapTurret::ResetForDeployment(int nValue, CKDRDatabase* pDatabase, CUnit* pUnit)
{
    if (pUnit != nullptr)
        m_pWeapons->BuildFromVehicle(pUnit->m_nVehicle, pDatabase, TRUE);
    m_pSubCaps->ResetForDeployment(nValue, pDatabase, pUnit);
}

void CUCapTurret::Reset(float fHeading, int nValue1, int nValue2)
{
    m_fDirection = fHeading;
    m_nTargetUnit = kUnset;
    m_nTargetArray = kUnset;
    m_nTargetKind = kUnset;
    m_nStoredValue = 0;
    m_fOffset = NO_OFFSET;
    delete m_pDamage;
    m_pDamage = new CDamageArray;
    m_pWeapons->ResetTimers();
    m_pSubCaps->Reset(fHeading, nValue1, nValue2);
}

BOOL CUCapTurret::ReceiveAmmunition(CUnitCapability* pCarrier, CVehicle* pVehicle, CKDRDatabase* pDatabase)
{
    BOOL bTook = FALSE;
    if (pCarrier != nullptr && pCarrier->GetType() == VCAP_DF_AMMO_CARRIER)
    {
        const CVCapTurret* pTurret = pVehicle != nullptr ? CUnitWeaponArray::FindVehicleTurret(pVehicle) : nullptr;
        if (pTurret != nullptr)
            bTook = m_pWeapons->ResupplyFrom(pCarrier, pTurret->GetMounts(), pDatabase);
    }
    const BOOL bSubTook = m_pSubCaps->ReceiveAmmunition(pCarrier, pVehicle, pDatabase);
    return bTook || bSubTook;
}

BOOL CUCapTurret::AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                                          CVehicle* pVehicle)
{
    // A new picture keeps the size the view gave the old one (1 at first),
    // as a rotor's does: a unit re-binds its capabilities whenever its
    // picture changes during play (a contact identified, a ramp closed),
    // and a turret at full size would dwarf its hull until the next zoom.
    const float fScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
    delete m_pSprite;
    m_pSprite = nullptr;
    m_bSpriteLoaded = FALSE;
    auto* pTurret = dynamic_cast<CVCapTurret*>(pVehicleCap);
    CPieceArray* pPieces = pDatabase != nullptr ? pDatabase->GetPieceArray() : nullptr;
    if (pTurret != nullptr && pPieces != nullptr)
    {
        const int nPiece = pPieces->FindPiece(pTurret->m_strPiece);
        CPiece* pPiece = nPiece >= 0 ? pPieces->GetPiece(nPiece) : nullptr;
        if (CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr)
        {
            pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
            m_pSprite = new CSprite(pSheet);
            m_pSprite->SetScale(fScale);
            m_bSpriteLoaded = TRUE;
        }
    }
    m_pSubCaps->AttachToVehicle(pVehicle, pDatabase, TRUE);
    // A turret that names no piece has no picture to miss.
    return m_bSpriteLoaded || (pTurret != nullptr && pTurret->m_strPiece.IsEmpty());
}

BOOL CUCapTurret::Validate(CVehicle* pVehicle, CVehicleCapability* pVehicleCap, CKDRDatabase* pDatabase,
                           CString& report)
{
    auto* pTurret = dynamic_cast<CVCapTurret*>(pVehicleCap);
    if (pTurret == nullptr)
        return FALSE;
    if (m_pSubCaps->CheckAlignment(pVehicle, pTurret->GetCapabilities(), pDatabase, report))
        return TRUE;
    if (m_pWeapons->GetSize() != pTurret->GetMounts()->GetSize())
        RebuildWeapons(pVehicle, pDatabase);
    return FALSE;
}

void CUCapTurret::RebuildWeapons(CVehicle* pVehicle, CKDRDatabase* pDatabase)
{
    const CVCapTurret* pTurret = pVehicle != nullptr ? CUnitWeaponArray::FindVehicleTurret(pVehicle) : nullptr;
    if (pTurret == nullptr || pDatabase == nullptr)
        return;
    auto* pWeapons = new CUnitWeaponArray(pTurret->GetMounts(), pDatabase->GetWeaponArray());
    delete m_pWeapons;
    m_pWeapons = pWeapons;
}

void CUCapTurret::OnUnitDeleted(int nOwnSide, int nKind, int nArray, int nUnit)
{
    if (m_nTargetUnit >= 0 && nKind == m_nTargetKind && (nKind == 0 || nArray == m_nTargetArray))
    {
        if (nUnit == kUnset || nUnit == m_nTargetUnit)
        {
            m_nTargetUnit = kUnset;
            m_nTargetArray = kUnset;
            m_nTargetKind = kUnset;
        }
        else if (nUnit >= 0 && nUnit < m_nTargetUnit)
        {
            --m_nTargetUnit;
        }
    }
    m_pSubCaps->OnUnitDeleted(nOwnSide, nKind, nArray, nUnit);
}

// ---------------------------------------------------------------------------
// Aiming

void CUCapTurret::AimAt(CVehicle* pVehicle, float fHullHeading, float fBearing, BOOL bReset)
{
    BOOL bPassReset = bReset;
    if (fBearing == fHullHeading)
    {
        bPassReset = TRUE;
        m_fOffset = NO_OFFSET;
        m_fDirection = fHullHeading;
    }
    else if (bReset)
    {
        m_fOffset = NO_OFFSET;
        m_fDirection = fHullHeading;
    }
    else if (const CVCapTurret* pTurret =
                 pVehicle != nullptr ? CUnitWeaponArray::FindVehicleTurret(pVehicle) : nullptr)
    {
        const double b = FoldAngle(fBearing);
        double d = FoldAngle(b - fHullHeading);
        double direction = b;
        if (d >= 0.0 && pTurret->m_nRightLimit >= 0)
        {
            const double right = pTurret->m_nRightLimit * RADIANS_PER_MIL;
            if (d > right)
            {
                direction = b - (d - right);
                d = right;
            }
        }
        else if (d < 0.0 && pTurret->m_nLeftLimit >= 0)
        {
            const double left = pTurret->m_nLeftLimit * RADIANS_PER_MIL;
            if (-d > left)
            {
                direction = -d - left + b;
                d = -left;
            }
        }
        m_fDirection = static_cast<float>(direction);
        m_fOffset = static_cast<float>(d);
    }
    m_pSubCaps->AimAt(pVehicle, m_fDirection, fBearing, bPassReset);
}

void CUCapTurret::OnHeadingChanged(CVehicle* pVehicle, float fHeading, CKDRDatabase* pDatabase, int nArcFrom,
                                   int nArcTo)
{
    if (m_nTargetUnit == kUnset)
    {
        double wanted = fHeading;
        if (m_fOffset != NO_OFFSET)
            wanted += m_fOffset;
        if (nArcFrom != NO_ARC && nArcTo != NO_ARC)
        {
            double middle = (nArcFrom + nArcTo) * 0.5;
            if (nArcFrom > nArcTo)
                middle += MILS_PER_TURN / 2;
            while (middle > MILS_PER_TURN / 2)
                middle -= MILS_PER_TURN;
            while (middle < -MILS_PER_TURN / 2)
                middle += MILS_PER_TURN;
            wanted = middle * RADIANS_PER_MIL;
        }
        AimAt(pVehicle, fHeading, static_cast<float>(wanted), FALSE);
    }
    m_pSubCaps->OnHeadingChanged(pVehicle, m_fDirection, pDatabase, nArcFrom, nArcTo);
}

DWORD CUCapTurret::Update(int nVehicle, int nElapsed, CTimeSpan timeNow, CKDRGameMap* pMap, CKDRDatabase* pDatabase,
                          int nPass1, int nPass2, CUnit* pUnit, int nPass3, int nPass4, int nPass5)
{
    CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(nVehicle) : nullptr;
    if (pUnit == nullptr || pVehicle == nullptr)
        return 0;
    m_pWeapons->CountDown(nElapsed);
    DWORD dwFlags =
        m_pSubCaps->Update(nVehicle, nElapsed, timeNow, pMap, pDatabase, nPass1, nPass2, pUnit, nPass3, nPass4, nPass5);
    if (dwFlags & FLAG_FIRING_BEARING)
    {
        if (const auto* pFire = dynamic_cast<const CUCapIndirectFire*>(m_pSubCaps->FindCapability(VCAP_INDIRECT_FIRE)))
        {
            m_nTargetUnit = FIRE_MISSION_TARGET;
            m_fDirection = pFire->m_fAzimuth;
        }
    }
    if (dwFlags & FLAG_RELEASE)
    {
        m_nTargetUnit = kUnset;
        OnHeadingChanged(pVehicle, pUnit->m_fHeading, pDatabase, NO_ARC, NO_ARC);
    }
    dwFlags &= ~(FLAG_FIRING_BEARING | FLAG_RELEASE);
    return dwFlags & 0xFFFF;
}

// ---------------------------------------------------------------------------
// Pictures

void CUCapTurret::UpdateSprite(int, CKDRDatabase*, CKDRGameMap* pMap, float x, float y, float, float)
{
    if (m_pSprite == nullptr || pMap == nullptr)
        return;
    int px = static_cast<int>(x);
    int py = static_cast<int>(y);
    if (CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    m_pSprite->SetMapPosition(px, py, pMap->GetMapPicture());
    const CFrameSurface* pSheet = m_pSprite->GetSheet();
    m_pSprite->SetFrame(CUnit::FrameForHeading(m_fDirection, pSheet != nullptr ? pSheet->GetFrameCount() : 0));
}

void CUCapTurret::Draw(int nVehicle, CKDRDatabase* pDatabase, CKDRGameMap* pMap, float x, float y, float fScale,
                       BOOL bVisible, BOOL bSecondPicture, float fHeading)
{
    if (!bSecondPicture && m_pSprite != nullptr && pMap != nullptr)
    {
        UpdateSprite(nVehicle, pDatabase, pMap, x, y, fHeading, fScale);
        CDisplay* pDisplay = pMap->GetDisplay();
        if (pDisplay != nullptr && pDisplay->GetBackSurface() != nullptr)
            m_pSprite->Draw(pDisplay->GetBackSurface());
    }
    m_pSubCaps->Draw(nVehicle, pDatabase, pMap, x, y, fScale, bVisible, bSecondPicture, m_fDirection);
}

void CUCapTurret::DrawMarker(CKDRGameMap* pMap, float x, float y)
{
    if (!m_bArrowLoaded)
    {
        m_pArrow = LoadCatalogueSprite(TURRET_ARROW);
        m_bArrowLoaded = TRUE;
    }
    if (m_pArrow == nullptr)
        return;
    const CFrameSurface* pSheet = m_pArrow->GetSheet();
    m_pArrow->SetFrame(CUnit::FrameForHeading(m_fDirection, pSheet != nullptr ? pSheet->GetFrameCount() : 0));
    DrawSpriteAtMapPoint(m_pArrow, x, y, pMap);
}
