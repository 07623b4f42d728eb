#include "units/Unit.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/Damage.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "orders/NodeArray.h"
#include "orders/RecordIO.h"
#include "orders/UnitOrderArray.h"
#include "platform/ui/Display.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"
#include "units/UnitRefArray.h"
#include "units/UnitWeapon.h"

#include <cmath>
#include <numbers>

IMPLEMENT_SERIAL(CUnit, CObject, 1)

CUnit::CUnit()
    : m_pWeapons(new CUnitWeaponArray),
      m_pCapabilities(new CUnitCapArray),
      m_pDamage(new CDamageArray),
      m_pOrders(new CUnitOrderArray),
      m_pOrders2(new CUnitOrderArray),
      m_pPath(new CNodeArray),
      m_pContacts(new CUnitRefArray),
      m_pSprite(new CSprite)
{
}

CUnit::~CUnit()
{
    delete m_pSprite;
    delete m_pSprite2;
    delete m_pSprite3;
    delete m_pSprite4;
    delete m_pOrderIcon;
    delete m_pWeapons;
    delete m_pCapabilities;
    delete m_pDamage;
    delete m_pPath;
    delete m_pOrders;
    delete m_pOrders2;
    delete m_pContacts;
}

void CUnit::Serialize(CArchive& ar)
{
    m_pWeapons->Serialize(ar);
    m_pCapabilities->Serialize(ar);
    m_pDamage->Serialize(ar);
    m_pPath->Serialize(ar);
    m_pOrders->Serialize(ar);
    m_pOrders2->Serialize(ar);

    using record::SerializeFlag;
    using record::SerializeValue;
    using record::SerializeWord;
    SerializeValue(ar, m_fSpeed);
    SerializeFlag(ar, m_bSprint);
    SerializeFlag(ar, m_bStoredFlag1);
    SerializeValue(ar, m_nStoredValue1);
    SerializeValue(ar, m_strName);
    SerializeWord(ar, m_nMoveDelay);
    SerializeFlag(ar, m_bDefilade);
    SerializeWord(ar, m_nStoredValue2);
    SerializeWord(ar, m_nStoredValue3);
    SerializeWord(ar, m_nDefiladeTime);
    SerializeFlag(ar, m_bStoredFlag2);
    SerializeWord(ar, m_nSuppression);
    SerializeFlag(ar, m_bFieldOfFire);
    SerializeWord(ar, m_nFieldOfFireTo);
    SerializeWord(ar, m_nFieldOfFireFrom);
    SerializeFlag(ar, m_bMarchSpeed);
    SerializeWord(ar, m_nMaxRange);
    SerializeFlag(ar, m_bMaxRange);
    SerializeFlag(ar, m_bHideOnContact);
    SerializeValue(ar, m_fMarchSpeed);
    SerializeFlag(ar, m_bBypassObstacles);
    SerializeFlag(ar, m_bEngageOnContact);
    SerializeFlag(ar, m_bDugIn);
    SerializeWord(ar, m_nDugPosition);
    SerializeFlag(ar, m_bDestroyed);
    SerializeWord(ar, m_nSide);
    SerializeWord(ar, m_nVehicle);
    SerializeValue(ar, m_fX);
    SerializeValue(ar, m_fY);
    SerializeFlag(ar, m_bHoldFire);
    SerializeFlag(ar, m_bStopped);
    SerializeValue(ar, m_fHeading);
    SerializeValue(ar, m_fStoredValue);
    SerializeWord(ar, m_nSuppressUnit);
    SerializeWord(ar, m_nSuppressArray);
    SerializeWord(ar, m_nSuppressKind);
    SerializeFlag(ar, m_bSuppressUnit);
    SerializeValue(ar, m_fSuppressY);
    SerializeValue(ar, m_fSuppressX);
    SerializeValue(ar, m_fSuppressRadius);
    SerializeFlag(ar, m_bSuppressArea);
    SerializeWord(ar, m_nStoredValue4);
    SerializeFlag(ar, m_bMOPP4);
    SerializeValue(ar, m_timeMOPP);
    SerializeValue(ar, m_fMOPPDegradation);
}

BOOL CUnit::AttachVehicle(CKDRDatabase* pDatabase, float fScale)
{
    delete m_pSprite;
    m_pSprite = nullptr;
    m_bAttached = FALSE;
    if (pDatabase == nullptr || !pDatabase->HasVehicleList() || !pDatabase->HasWeaponList() ||
        pDatabase->GetPieceArray() == nullptr || m_nVehicle == kUnset)
        return FALSE;
    CPiece* pPiece = pDatabase->GetVehiclePiece(m_nVehicle);
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return FALSE;

    m_pSprite = new CSprite(pSheet);
    m_pSprite->SetScale(fScale);
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    m_nWork1 = 0;
    m_bCarrierOpenShown = m_bEmplacedShown = m_bEngineerShown = m_bUnidentifiedShown = FALSE;
    m_nPieceValue = pPiece->GetFlag();

    CVehicle* pVehicle = pDatabase->GetVehicle(m_nVehicle);
    if (pVehicle == nullptr)
    {
        delete m_pSprite;
        m_pSprite = nullptr;
        return FALSE;
    }
    m_bAttached = TRUE;
    return m_pCapabilities->AttachToVehicle(pVehicle, pDatabase, FALSE);
}

CUnitCapability* CUnit::FindCapability(DWORD dwType) const { return m_pCapabilities->FindCapability(dwType); }

DWORD CUnit::GetCapabilityMask() const { return m_pCapabilities->GetTypeMask(); }

BOOL CUnit::AssignPath(float x, float y, CKDRDatabase* pDatabase, CKDRGameMap* pMap, BOOL bPositionOnly, int nPassOn)
{
    float fWidth = 0.0f;
    float fHeight = 0.0f;
    const BOOL bSized = CNodeArray::GetMapSize(pMap, fWidth, fHeight);
    // Written so that a point that is not a number lands at 0 as well.
    x = x >= 0.0f ? x : 0.0f;
    y = y >= 0.0f ? y : 0.0f;
    if (bSized)
    {
        x = x > fWidth ? fWidth : x;
        y = y > fHeight ? fHeight : y;
    }
    m_fX = m_fPrevX = x;
    m_fY = m_fPrevY = y;
    if (bPositionOnly)
        return TRUE;

    if (m_pPath->GetSize() > 0)
    {
        const CNodeArray oldPath(*m_pPath);
        m_pPath->CopyWithStart(oldPath, x, y, pMap);
    }
    else
    {
        m_pPath->ResetToPoint(x, y, m_nSide != 0);
    }
    m_nSuppression = 0;
    UpdateHeading(pDatabase);
    return m_pCapabilities->OnPathAssigned(x, y, pDatabase, pMap, nPassOn);
}

void CUnit::SetSide(int nSide)
{
    m_nSide = nSide;
    m_pPath->EnableStartTimes(nSide != 0);
    m_pCapabilities->OnSideChanged(nSide);
}

BOOL CUnit::HitTestDrawn(int x, int y)
{
    if (m_pSprite == nullptr || !m_bAttached)
        return FALSE;
    if (m_pSprite->HitTest(x, y))
        return TRUE;
    // In symbol style the frame around the symbol is drawn with it.
    if (m_bSprite2 && m_pSprite2 != nullptr && m_pSprite2->HitTest(x, y))
        return TRUE;
    return m_pCapabilities->HitTest(x, y);
}

BOOL CUnit::HitTest(int x, int y)
{
    if (HitTestDrawn(x, y))
        return TRUE;
    // A symbol is read as the box it is drawn in: its middle shows the map
    // through, and at the smallest scales its strokes are a pixel wide.
    if (!m_bSprite2 || m_pSprite == nullptr || !m_bAttached)
        return FALSE;
    const CRect box(m_pSprite->GetX(), m_pSprite->GetY(), m_pSprite->GetX() + m_pSprite->GetWidth(),
                    m_pSprite->GetY() + m_pSprite->GetHeight());
    return box.PtInRect(CPoint(x, y));
}

int CUnit::FrameForHeading(double dHeading, int nFrames)
{
    constexpr double kCircle = 2.0 * std::numbers::pi;
    double h = std::fmod(dHeading + kFrameHeadingOffset, kCircle);
    if (h < 0.0)
        h += kCircle;
    if (!(h >= 0.0 && h < kCircle))  // a heading that is not a number
        h = 0.0;
    const int nSteps = nFrames > 1 ? nFrames - 1 : 0;
    return static_cast<int>(h / kCircle * nSteps + 0.5);
}

void CUnit::PlaceSprite(CKDRGameMap* pMap)
{
    if (pMap == nullptr)
        return;
    int px = static_cast<int>(m_fX);
    int py = static_cast<int>(m_fY);
    if (CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(m_fX, m_fY, &px, &py);
    for (CSprite* pSprite : {m_pSprite, m_pSprite2, m_pSprite3, m_pSprite4})
    {
        if (pSprite == nullptr)
            continue;
        // SetMapPosition turns the point into the sprite's corner in place.
        int sx = px;
        int sy = py;
        pSprite->SetMapPosition(sx, sy, pMap->GetMapPicture());
    }
    if (m_pSprite != nullptr && !m_bSprite2)
    {
        const CFrameSurface* pSheet = m_pSprite->GetSheet();
        m_pSprite->SetFrame(FrameForHeading(m_fHeading, pSheet != nullptr ? pSheet->GetFrameCount() : 0));
    }
}

void CUnit::ClaimDugPosition(int nPosition)
{
    m_bDugIn = TRUE;
    m_nDugPosition = nPosition;
    m_bStoredFlag2 = TRUE;
    m_nStoredValue3 = 0;
}

BOOL CUnit::IsStoppedByOrder() const
{
    const CNode* pFirst = m_pPath != nullptr ? m_pPath->GetAt(0) : nullptr;
    return m_bStopped && pFirst != nullptr && pFirst->HasStop();
}

void CUnit::InsertFormationNode(const CNode*, CKDRDatabase*) {}

void CUnit::DrawCarrierLinks(CKDRUnits*, CKDRGameMap*) {}

int CUnit::DeleteFireControl()
{
    m_bFieldOfFire = FALSE;
    m_bMaxRange = FALSE;
    return 1;
}

int CUnit::PasteFireControl(CKDRDatabase*) { return 0; }
int CUnit::SetSuppressAreaAt(float, float, CKDRDatabase*) { return 0; }
