// A unit on the map: the choice of its picture (plain, a state picture, the
// unidentified contact, or the framed symbol), its markers (wreck, shot
// target, suppression, dug-in ring, unit disk, suppress area, hull arrow,
// function and task-organisation marks) and its range circles. Pieces come
// from the database (vehicle pictures and symbols) and from the
// application's catalogue (frames and markers); a missing piece is simply
// not drawn. Drawing changes nothing of the simulation: only which picture
// the unit holds and where it stands on the screen.

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/VCapKinds.h"
#include "database/Vehicle.h"
#include "hierarchy/TaskOrg.h"
#include "platform/core/Unset.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitCapability.h"
#include "units/UnitMarkers.h"

#include <cmath>
#include <memory>

using namespace unit_markers;

namespace
{
const char* const SHOT_TARGET_MARKER = "Shot Target Red";
const char* const SUPPRESSION_MARKER = "Suppression Marker Yellow";
const char* const MOPP_MARKER = "MOPP Marker Purple";
const char* const UNIT_DISK_GREEN = "Graphic Unit Disk Green";
const char* const UNIT_DISK_ORANGE = "Graphic Unit Disk Orange";
const char* const HULL_ARROW = "Hull Direction Arrow Blue";
const char* const FUNCTION_CIRCLE = "Function Circle Blue";

// The wreck markers by side: the own side blue, the opposing side red, the
// neutral side green; swapped sides show blue and red the other way round
// and the neutral side orange.
struct WreckMarkers
{
    const char* pszPlain;
    const char* pszSwapped;
};
constexpr WreckMarkers WRECK_MARKERS[] = {{"Destroyed Unit Blue", "Destroyed Unit Red"},
                                          {"Destroyed Unit Red", "Destroyed Unit Blue"},
                                          {"Destroyed Unit Green", "Destroyed Unit Orange"}};

// The vehicle frames of the symbol style by side; the enemy-colour flag of
// the vehicle's piece takes the second.
constexpr WreckMarkers VEHICLE_FRAMES[] = {{"Friendly Vehicle", "Enemy Vehicle"},
                                           {"Friendly Vehicle", "Enemy Vehicle"},
                                           {"Friendly Neutral Vehicle", "Enemy Neutral Vehicle"}};

// The icons of the toggle orders, in the application's catalogue.
struct OrderIcon
{
    DWORD dwBit;
    const char* pszName;
};
constexpr OrderIcon ORDER_ICONS[] = {
    {0x1, "Stop Red"},
    {0x2, "Hold Fire Red"},
    {0x4, "Defilade Grey"},
    {0x8, "Sprint Purple"},
    {0x20, "Smoke Grey"},
    {0x80, "Max Range Blue"},
    {0x100, "Field Of Fire Blue"},
    {0x200, "March Speed Green"},
    {0x400, "Hide On Contact Grey"},
    {0x800, "Engage On Contact Black"},
    {0x1000, "Bypass Obastacles Green"},
    {0x2000, "Dismount On Contact Grey"},
    {0x4000, "Do Not Emplace Blue"},
    {0x10000, "Suppress Yellow"},
};

// The order whose area the suppress marker shows.
constexpr int SUPPRESS_ORDER = 0x10000;
// The flag of the range circles that asks for the mine layer's radii.
constexpr DWORD RANGE_CIRCLES_MINE_LAYER = 0x4000;
// The ability of a battery that marks itself.
constexpr DWORD ABILITY_INDIRECT_FIRE = 0x8;
// The hull arrow: pixels per metre a second of speed, and its least length.
constexpr double HULL_ARROW_PER_SPEED = 0.833333;
constexpr double HULL_ARROW_BASE = 10.0;
// The pens the map lends for arrows (outline, then the inner line), range
// circles and suppress areas.
constexpr int ARROW_OUTLINE_PEN = 7;
constexpr int ARROW_INNER_PEN = 8;
constexpr int CIRCLE_FIRST_PEN = 12;
constexpr int CIRCLE_SECOND_PEN = 14;
constexpr int SUPPRESS_AREA_PEN = 15;
constexpr int DUG_IN_PEN_WIDTH = 2;
constexpr int DUG_IN_RING_RADIUS = 14;
// A circle drawn as a Bezier path: four arcs of this many points.
constexpr int BEZIER_POINTS = 13;
constexpr double BEZIER_CIRCLE_K = 0.5522847498;

CPieceArray* Catalogue()
{
    const CDrawService* pDraw = GetDrawService();
    return pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
}

BOOL SidesSwapped()
{
    const CDrawService* pDraw = GetDrawService();
    return pDraw != nullptr && pDraw->IsSideSwapDisplay();
}

// The sheet and frame of a named piece of a catalogue: a list member (its
// position the frame) or a single piece (frame 0); null when missing or
// not loaded.
CFrameSurface* FindSheet(CPieceArray* pPieces, const CString& strName, int& nFrame)
{
    nFrame = 0;
    if (pPieces == nullptr || strName.IsEmpty())
        return nullptr;
    CPiece* pPiece = pPieces->FindNamedPicture(strName, &nFrame);
    return pPiece != nullptr ? pPiece->GetSurface() : nullptr;
}

// A new sprite of a named piece keyed on magenta; null when missing.
std::unique_ptr<CSprite> MakeSprite(CPieceArray* pPieces, const CString& strName, float fScale)
{
    int nFrame = 0;
    CFrameSurface* pSheet = FindSheet(pPieces, strName, nFrame);
    if (pSheet == nullptr)
        return nullptr;
    auto pSprite = std::make_unique<CSprite>(pSheet);
    pSprite->SetFrame(nFrame);
    pSprite->SetScale(fScale);
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    return pSprite;
}

CSurface* BackSurface(CKDRGameMap* pMap)
{
    CDisplay* pDisplay = pMap != nullptr ? pMap->GetDisplay() : nullptr;
    return pDisplay != nullptr ? pDisplay->GetBackSurface() : nullptr;
}

CRect ClientRect(CKDRGameMap* pMap)
{
    CSurface* pBack = BackSurface(pMap);
    return pBack != nullptr ? CRect(0, 0, pBack->GetWidth(), pBack->GetHeight()) : CRect(0, 0, 0, 0);
}

BOOL MeetsView(const CRect& rc, CKDRGameMap* pMap)
{
    CRect rcShown;
    return rcShown.IntersectRect(rc, ClientRect(pMap));
}

CRect SpriteRect(const CSprite& sprite)
{
    return CRect(sprite.GetX(), sprite.GetY(), sprite.GetX() + sprite.GetWidth(), sprite.GetY() + sprite.GetHeight());
}

// A map point (metres) as a screen point of the view; FALSE without an
// elevation map.
BOOL ToScreen(CKDRGameMap* pMap, float fX, float fY, int& sx, int& sy)
{
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pElevation == nullptr)
        return FALSE;
    int px = 0;
    int py = 0;
    pElevation->MapToPixel(fX, fY, &px, &py);
    pMap->PictureToView(px, py, &sx, &sy);
    return TRUE;
}

// Places a sprite centred on a map point and draws it when it meets the view.
void DrawSpriteAt(CSprite& sprite, CKDRGameMap* pMap, float fX, float fY)
{
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    CSurface* pBack = BackSurface(pMap);
    if (pElevation == nullptr || pBack == nullptr)
        return;
    int px = 0;
    int py = 0;
    pElevation->MapToPixel(fX, fY, &px, &py);
    sprite.SetMapPosition(px, py, pMap->GetMapPicture());
    if (MeetsView(SpriteRect(sprite), pMap))
        sprite.Draw(pBack);
}

// Draws an ellipse (bounding rectangle) twice, with two pens of the map;
// a failed ellipse becomes a Bezier path stroked with each pen.
void DrawCircleTwice(CDC* pDC, CKDRGameMap* pMap, const CRect& rc, int nFirstPen, int nSecondPen)
{
    for (int nPen : {nFirstPen, nSecondPen})
    {
        CPen* pPen = pMap->GetNumberedPen(nPen);
        if (pPen == nullptr)
            continue;
        pDC->SelectObject(pPen);
        if (pDC->Ellipse(&rc))
            continue;
        const double cx = (rc.left + rc.right) / 2.0;
        const double cy = (rc.top + rc.bottom) / 2.0;
        const double rx = rc.Width() / 2.0;
        const double ry = rc.Height() / 2.0;
        const double kx = rx * BEZIER_CIRCLE_K;
        const double ky = ry * BEZIER_CIRCLE_K;
        const double pts[BEZIER_POINTS][2] = {
            {cx + rx, cy},      {cx + rx, cy + ky}, {cx + kx, cy + ry}, {cx, cy + ry},      {cx - kx, cy + ry},
            {cx - rx, cy + ky}, {cx - rx, cy},      {cx - rx, cy - ky}, {cx - kx, cy - ry}, {cx, cy - ry},
            {cx + kx, cy - ry}, {cx + rx, cy - ky}, {cx + rx, cy}};
        CPoint points[BEZIER_POINTS];
        for (int i = 0; i < BEZIER_POINTS; ++i)
            points[i] = CPoint(static_cast<int>(std::lround(pts[i][0])), static_cast<int>(std::lround(pts[i][1])));
        pDC->PolyBezier(points, BEZIER_POINTS);
    }
}

// The graphic name of a state picture from the vehicle type's capability.
CString StateGraphic(CVehicle* pVehicle, DWORD dwCapability)
{
    CVehicleCapability* pCap = pVehicle != nullptr ? pVehicle->FindCapability(static_cast<int>(dwCapability)) : nullptr;
    if (pCap == nullptr)
        return CString();
    switch (dwCapability)
    {
    case VCAP_PERSONNEL_CARRIER: return static_cast<CVCapPersonnelCarrier*>(pCap)->m_strOpenGraphic;
    case VCAP_EMPLACE: return static_cast<CVCapEmplace*>(pCap)->m_strGraphic;
    case VCAP_ENGINEER: return static_cast<CVCapEngineer*>(pCap)->m_strNoBreachesGraphic;
    default: return CString();
    }
}

// The state a picture builder shows.
enum PictureState
{
    STATE_CARRIER_OPEN,
    STATE_EMPLACED,
    STATE_ENGINEER,
    STATE_UNIDENTIFIED
};
}  // namespace

// ---------------------------------------------------------------------------
// Scale rules

float unit_markers::MarkerScale(float fScale)
{
    return fScale < MARKER_SCALE_MIN || fScale > MARKER_SCALE_MAX ? MARKER_SCALE_MIN : fScale;
}

float unit_markers::DiskScale(float fScale)
{
    return fScale < MARKER_SCALE_MIN ? MARKER_SCALE_MIN : fScale > MARKER_SCALE_MAX ? MARKER_SCALE_MAX : fScale;
}

float unit_markers::FunctionCircleScale(float fScale)
{
    if (fScale < FUNCTION_SCALE_MIN)
        return FUNCTION_SCALE_MIN;
    return fScale > MARKER_SCALE_MAX ? MARKER_SCALE_MIN : fScale;
}

int unit_markers::LevelFrame(int nFrames, double dLevel)
{
    if (nFrames < 1)
        return 0;
    const double dCapped = dLevel > 1.0 ? 1.0 : dLevel;
    const int nFrame = static_cast<int>(std::lround(nFrames * dCapped)) - 1;
    return nFrame < 0 ? 0 : nFrame > nFrames - 1 ? nFrames - 1 : nFrame;
}

// ---------------------------------------------------------------------------
// Order icons

CString CUnit::GetOrderIconName(DWORD dwBit)
{
    for (const OrderIcon& icon : ORDER_ICONS)
    {
        if (icon.dwBit == dwBit)
            return icon.pszName;
    }
    return CString();
}

int CUnit::GetOrderIconIndex(DWORD dwBit, int& nPosition)
{
    nPosition = 0;
    const CString strName = GetOrderIconName(dwBit);
    CPieceArray* pCatalogue = Catalogue();
    if (strName.IsEmpty() || pCatalogue == nullptr)
        return -1;
    const int nList = pCatalogue->FindInLists(strName, &nPosition);
    return nList == kUnset ? -1 : nList;
}

// ---------------------------------------------------------------------------
// Pictures

void CUnit::SetStateFlags(BOOL bCarrierOpen, BOOL bEmplaced, BOOL bEngineer, BOOL bUnidentified)
{
    m_bCarrierOpenShown = bCarrierOpen;
    m_bEmplacedShown = bEmplaced;
    m_bEngineerShown = bEngineer;
    m_bUnidentifiedShown = bUnidentified;
}

void CUnit::UseStatePicture(CKDRDatabase* pDatabase, DWORD dwCapability, int nState)
{
    const float fScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
    delete m_pSprite;
    m_pSprite = nullptr;
    m_bAttached = FALSE;
    CPieceArray* pPieces = pDatabase != nullptr ? pDatabase->GetPieceArray() : nullptr;
    CVehicle* pVehicle = pDatabase != nullptr && pDatabase->HasVehicleList() && pDatabase->HasWeaponList()
                             ? pDatabase->GetVehicle(m_nVehicle)
                             : nullptr;
    std::unique_ptr<CSprite> pPicture =
        pVehicle != nullptr ? MakeSprite(pPieces, StateGraphic(pVehicle, dwCapability), fScale) : nullptr;
    if (pPicture == nullptr)
    {
        AttachVehicle(pDatabase, fScale);
        return;
    }
    m_pSprite = pPicture.release();
    SetStateFlags(nState == STATE_CARRIER_OPEN, nState == STATE_EMPLACED, nState == STATE_ENGINEER, FALSE);
    m_bAttached = TRUE;
    m_pCapabilities->AttachToVehicle(pVehicle, pDatabase, FALSE);
}

void CUnit::UseCarrierOpenPicture(CKDRDatabase* pDatabase)
{
    UseStatePicture(pDatabase, VCAP_PERSONNEL_CARRIER, STATE_CARRIER_OPEN);
}

void CUnit::UseEmplacedPicture(CKDRDatabase* pDatabase) { UseStatePicture(pDatabase, VCAP_EMPLACE, STATE_EMPLACED); }

void CUnit::UseEngineerPicture(CKDRDatabase* pDatabase) { UseStatePicture(pDatabase, VCAP_ENGINEER, STATE_ENGINEER); }

void CUnit::UseUnidentifiedPicture(CKDRDatabase* pDatabase)
{
    const float fScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
    delete m_pSprite;
    m_pSprite = nullptr;
    m_bAttached = FALSE;
    CVehicle* pVehicle = pDatabase != nullptr && pDatabase->HasVehicleList() && pDatabase->HasWeaponList()
                             ? pDatabase->GetVehicle(m_nVehicle)
                             : nullptr;
    // The symbol style shows the unidentified symbol, the picture style the
    // unknown shape turned to the heading.
    const CString strName =
        m_bSprite2 ? m_pCapabilities->GetUnidentifiedName() : m_pCapabilities->GetUnidentifiedBitmap();
    std::unique_ptr<CSprite> pPicture = pVehicle != nullptr ? MakeSprite(Catalogue(), strName, fScale) : nullptr;
    if (pPicture == nullptr)
    {
        AttachVehicle(pDatabase, fScale);
        return;
    }
    m_pSprite = pPicture.release();
    SetStateFlags(FALSE, FALSE, FALSE, TRUE);
    m_bAttached = TRUE;
    m_pCapabilities->AttachToVehicle(pVehicle, pDatabase, FALSE);
}

void CUnit::SetSymbolStyle(BOOL bSymbolStyle, CKDRDatabase* pDatabase, const CString& strName)
{
    if (pDatabase == nullptr || !pDatabase->HasVehicleList() || pDatabase->GetPieceArray() == nullptr)
        return;
    // A wreck keeps its side's marker in either style: rebuilt, it showed
    // the vehicle's outline without its side's colour.
    if (m_bDestroyed && m_bWreckShown)
        return;
    if (bSymbolStyle)
        BuildSymbolPictures(pDatabase, strName);
    else
        AttachVehicle(pDatabase, 1.0f);
    m_bSprite2 = bSymbolStyle;
}

void CUnit::BuildSymbolPictures(CKDRDatabase* pDatabase, const CString&)
{
    const float fScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
    delete m_pSprite;
    m_pSprite = nullptr;
    m_bAttached = FALSE;
    CPieceArray* pPieces = pDatabase != nullptr ? pDatabase->GetPieceArray() : nullptr;
    CVehicle* pVehicle = pDatabase != nullptr && pDatabase->HasVehicleList() && pDatabase->HasWeaponList()
                             ? pDatabase->GetVehicle(m_nVehicle)
                             : nullptr;
    std::unique_ptr<CSprite> pPicture =
        pVehicle != nullptr ? MakeSprite(pPieces, pVehicle->m_strNatoPiece, fScale) : nullptr;
    if (pPicture == nullptr)
        return;
    m_pSprite = pPicture.release();
    SetStateFlags(FALSE, FALSE, FALSE, FALSE);
    m_bAttached = TRUE;

    delete m_pSprite2;
    m_pSprite2 = nullptr;
    if (m_nSide >= 0 && m_nSide < UNIT_KIND_COUNT)
    {
        const WreckMarkers& frames = VEHICLE_FRAMES[m_nSide];
        const BOOL bEnemyColour = HasEnemyPiece(pDatabase);
        m_pSprite2 = MakeSprite(Catalogue(), bEnemyColour ? frames.pszSwapped : frames.pszPlain, fScale).release();
    }
    m_bSprite2 = TRUE;
    m_pCapabilities->AttachToVehicle(pVehicle, pDatabase, FALSE);
}

// ---------------------------------------------------------------------------
// The unit's drawing

void CUnit::Draw(CKDRGameMap* pMap, CKDRDatabase* pDatabase, int nOrder, int nFlags, const CString& strName,
                 BOOL bUnidentified)
{
    if (m_pSprite == nullptr || !m_bAttached || IsCarried() || m_bDestroyed)
        return;

    // 1. The picture for the unit's state.
    if (bUnidentified)
    {
        if (!m_bUnidentifiedShown)
            UseUnidentifiedPicture(pDatabase);
    }
    else if (m_bSprite2)
    {
        if (m_bUnidentifiedShown)
            BuildSymbolPictures(pDatabase, strName);
    }
    else
    {
        const DWORD dwMask = GetCapabilityMask();
        const auto* pCarrier = static_cast<const CUCapPersonnelCarrier*>(FindCapability(VCAP_PERSONNEL_CARRIER));
        const auto* pEmplace = static_cast<const CUCapEmplace*>(FindCapability(VCAP_EMPLACE));
        const auto* pEngineer = static_cast<const CUCapEngineer*>(FindCapability(VCAP_ENGINEER));
        if (pCarrier != nullptr && pCarrier->m_bOpen)
        {
            if (!m_bCarrierOpenShown)
                UseCarrierOpenPicture(pDatabase);
        }
        else if ((dwMask & VCAP_EMPLACE) != 0 && (pEmplace == nullptr || pEmplace->m_bEmplaced))
        {
            if (!m_bEmplacedShown)
                UseEmplacedPicture(pDatabase);
        }
        else if (pEngineer != nullptr && pEngineer->m_nBreachesLeft == 0 && (dwMask & VCAP_ENGINEER) != 0)
        {
            if (!m_bEngineerShown)
                UseEngineerPicture(pDatabase);
        }
        else if (m_bUnidentifiedShown || m_bCarrierOpenShown || m_bEmplacedShown || m_bEngineerShown)
        {
            // The ordinary picture comes back at the size the view gave the
            // picture it replaces: at full size a contact just identified,
            // or a carrier that closed its ramp, would stand out at four
            // times its neighbours' size until the next zoom.
            AttachVehicle(pDatabase, m_pSprite->GetScale());
        }
    }
    if (m_pSprite == nullptr)
        return;

    // 2. The icon of the pending order, on an own unit that holds it.
    BOOL bIconShown = FALSE;
    if (nOrder != 0 && m_nSide == UNIT_KIND_OWN && !bUnidentified)
        UpdateOrderIcon(static_cast<DWORD>(nOrder), bIconShown);

    // 3. Placed; visible while its picture meets the view.
    PlaceSprite(pMap);
    const BOOL bVisible = MeetsView(SpriteRect(*m_pSprite), pMap);
    CSurface* pBack = BackSurface(pMap);

    // 4. The pictures.
    if (bVisible && pBack != nullptr)
    {
        if (!bUnidentified && m_nSide == UNIT_KIND_NEUTRAL && !m_bSprite2)
            DrawUnitDisk(pMap, pDatabase);
        m_pSprite->Draw(pBack);
        if (m_bSprite2 && m_pSprite2 != nullptr && !bUnidentified)
            m_pSprite2->Draw(pBack);
    }
    // 5. The capabilities, visible or not, of an identified unit.
    if (!bUnidentified)
        m_pCapabilities->Draw(m_nVehicle, pDatabase, pMap, m_fX, m_fY, m_pSprite->GetScale(), bVisible, m_bSprite2,
                              m_fHeading);
    if (!bVisible)
        return;

    // 6. Markers.
    if (m_bDugIn)
        DrawDugInRing(pMap);
    if (m_nSuppression != 0)
        DrawSuppressionMarker(pMap, pDatabase);
    if (m_bMOPP4 && m_fMOPPDegradation != 0.0f)
        DrawMOPPMarker(pMap, pDatabase);
    if (bIconShown && m_pOrderIcon != nullptr && pBack != nullptr)
    {
        int px = 0;
        int py = 0;
        if (CElevationMap* pElevation = pMap->GetElevationMap())
        {
            pElevation->MapToPixel(m_fX, m_fY, &px, &py);
            m_pOrderIcon->SetMapPosition(px, py, pMap->GetMapPicture());
            m_pOrderIcon->Draw(pBack);
        }
        DrawSuppressArea(nOrder, pMap);
    }

    // 7. Arrows and the capabilities' markers, for what the player knows.
    if (!bUnidentified && !m_bDestroyed && !IsCarried())
    {
        if ((nFlags & UNIT_DRAW_HULL_ARROW) != 0)
            DrawHullArrow(pMap);
        m_pCapabilities->DrawMarker(pMap, nFlags, m_fX, m_fY);
    }
}

void CUnit::DrawShotLine(CKDRUnits* pUnits, CKDRGameMap* pMap)
{
    if (m_bDestroyed || IsCarried() || m_nShotUnit < 0 || pUnits == nullptr)
        return;
    const CUnit* pTarget = pUnits->GetUnit(m_nShotUnit, m_nShotArray, m_nShotKind);
    if (pTarget == nullptr)
        return;
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    if (!ToScreen(pMap, m_fX, m_fY, x1, y1) || !ToScreen(pMap, pTarget->m_fX, pTarget->m_fY, x2, y2))
        return;
    const CRect rcView = ClientRect(pMap);
    if ((x1 < 0 && x2 < 0) || (y1 < 0 && y2 < 0) || (x1 > rcView.right && x2 > rcView.right) ||
        (y1 > rcView.bottom && y2 > rcView.bottom))
        return;
    if (std::unique_ptr<CSprite> pMarker = MakeSprite(Catalogue(), SHOT_TARGET_MARKER, 1.0f))
        DrawSpriteAt(*pMarker, pMap, pTarget->m_fX, pTarget->m_fY);
}

void CUnit::DrawDestroyed(CKDRGameMap* pMap, CKDRDatabase*)
{
    if (!m_bDestroyed || IsCarried())
        return;
    if (!m_bWreckShown)
    {
        if (m_nSide < 0 || m_nSide >= UNIT_KIND_COUNT)
            return;
        const WreckMarkers& markers = WRECK_MARKERS[m_nSide];
        const float fScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
        std::unique_ptr<CSprite> pWreck =
            MakeSprite(Catalogue(), SidesSwapped() ? markers.pszSwapped : markers.pszPlain, fScale);
        if (pWreck == nullptr)
            return;
        delete m_pSprite;
        m_pSprite = pWreck.release();
        m_bSprite2 = FALSE;
        m_bWreckShown = TRUE;
    }
    if (m_pSprite != nullptr)
        DrawSpriteAt(*m_pSprite, pMap, m_fX, m_fY);
}

void CUnit::DrawTaskOrgMark(CKDRDatabase*, CKDRGameMap* pMap, CTaskOrg* pMarker)
{
    if (pMarker == nullptr || m_bDestroyed || !m_bAttached || m_pSprite == nullptr || IsCarried())
        return;
    float fScale = m_pSprite->GetScale();
    if (!m_bSprite2)
    {
        const CFrameSurface* pSheet = m_pSprite->GetSheet();
        const int nWidth = pSheet != nullptr ? pSheet->GetFrameWidth() : 0;
        fScale = DiskScale(fScale * static_cast<float>(nWidth) * PIECE_WIDTH_SCALE);
    }
    pMarker->Draw(m_fX, m_fY, pMap, m_bSprite2, fScale);
}

void CUnit::DrawFunctionMark(CKDRDatabase* pDatabase, CKDRGameMap* pMap, CSprite* pMarker)
{
    if (pMarker == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList() ||
        pDatabase->GetPieceArray() == nullptr)
        return;
    const CPiece* pPiece = pDatabase->GetVehiclePiece(m_nVehicle);
    const CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return;
    const float fPictureScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
    pMarker->SetScale(
        FunctionCircleScale(fPictureScale * static_cast<float>(pSheet->GetFrameWidth()) * PIECE_WIDTH_SCALE));
    DrawSpriteAt(*pMarker, pMap, m_fX, m_fY);
}

void CUnit::DrawRangeCircles(DWORD dwFlags, CKDRGameMap* pMap, CKDRDatabase* pDatabase, double dRadius)
{
    double radii[2] = {dRadius, 0.0};
    if ((dwFlags & RANGE_CIRCLES_MINE_LAYER) != 0)
    {
        CVehicle* pVehicle = pDatabase != nullptr ? pDatabase->GetVehicle(m_nVehicle) : nullptr;
        auto* pLayer = pVehicle != nullptr
                           ? static_cast<CVCapMineLayer*>(pVehicle->FindCapability(VCAP_MINE_LAYER))
                           : nullptr;
        radii[0] = pLayer != nullptr ? pLayer->m_nMaxRange * 10.0 : 0.0;
    }
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    if (pElevation == nullptr)
        return;
    BOOL bMet = FALSE;
    for (double r : radii)
    {
        if (!(r > 0.0))
            return;
        int left = 0, top = 0, right = 0, bottom = 0;
        // Map y grows north, the screen's south: the corners swap rows.
        if (!ToScreen(pMap, static_cast<float>(m_fX - r), static_cast<float>(m_fY + r), left, top) ||
            !ToScreen(pMap, static_cast<float>(m_fX + r), static_cast<float>(m_fY - r), right, bottom))
            return;
        const CRect rc(left, top, right, bottom);
        bMet = bMet || MeetsView(rc, pMap);
        if (!bMet)
            continue;
        CDC* pDC = pMap->LendDC();
        if (pDC == nullptr)
            return;
        const int nSaved = pDC->SaveDC();
        pDC->SelectStockObject(NULL_BRUSH);
        DrawCircleTwice(pDC, pMap, rc, CIRCLE_FIRST_PEN, CIRCLE_SECOND_PEN);
        pDC->RestoreDC(nSaved);
        pMap->ReturnDC();
    }
}

void CUnit::DrawFunctionCircle(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    // A battery ready to fire: stopped at its stop node, on the ground, with
    // rounds for the current fire order.
    if ((GetCapabilityMask() & ABILITY_INDIRECT_FIRE) == 0 || !IsStoppedByOrder() || IsCarried() || m_bDestroyed ||
        !CanFireMission(pDatabase))
        return;
    CPieceArray* pCatalogue = Catalogue();
    std::unique_ptr<CSprite> pCircle = MakeSprite(pCatalogue, FUNCTION_CIRCLE, 1.0f);
    const CFrameSurface* pSheet = pCircle != nullptr ? pCircle->GetSheet() : nullptr;
    if (pSheet == nullptr)
        return;
    const float fPictureScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
    pCircle->SetScale(
        FunctionCircleScale(static_cast<float>(pSheet->GetFrameWidth()) * PIECE_WIDTH_SCALE * fPictureScale));
    DrawSpriteAt(*pCircle, pMap, m_fX, m_fY);
}

void CUnit::DrawSuppressionMarker(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (m_bDestroyed || IsCarried() || m_nSuppression == 0 || m_pSprite == nullptr || pDatabase == nullptr ||
        !pDatabase->HasVehicleList() || pDatabase->GetPieceArray() == nullptr)
        return;
    float fScale = m_pSprite->GetScale();
    if (!m_bSprite2)
    {
        const CPiece* pPiece = pDatabase->GetVehiclePiece(m_nVehicle);
        const CFrameSurface* pVehicleSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
        const int nWidth = pVehicleSheet != nullptr ? pVehicleSheet->GetFrameWidth() : 0;
        fScale = MarkerScale(static_cast<float>(nWidth) * PIECE_WIDTH_SCALE * fScale);
    }
    std::unique_ptr<CSprite> pMarker = MakeSprite(Catalogue(), SUPPRESSION_MARKER, fScale);
    const CFrameSurface* pSheet = pMarker != nullptr ? pMarker->GetSheet() : nullptr;
    if (pSheet == nullptr)
        return;
    pMarker->SetFrame(LevelFrame(pSheet->GetFrameCount(), m_nSuppression * SUPPRESSION_LEVEL_PER_POINT));
    DrawSpriteAt(*pMarker, pMap, m_fX, m_fY);
}

void CUnit::DrawMOPPMarker(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (m_nSide != UNIT_KIND_OWN || m_bDestroyed || IsCarried() || !m_bMOPP4 || m_fMOPPDegradation == 0.0f ||
        m_pSprite == nullptr || pDatabase == nullptr || !pDatabase->HasVehicleList() ||
        pDatabase->GetPieceArray() == nullptr)
        return;
    float fScale = m_pSprite->GetScale();
    if (!m_bSprite2)
    {
        const CPiece* pPiece = pDatabase->GetVehiclePiece(m_nVehicle);
        const CFrameSurface* pVehicleSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
        const int nWidth = pVehicleSheet != nullptr ? pVehicleSheet->GetFrameWidth() : 0;
        fScale = MarkerScale(static_cast<float>(nWidth) * PIECE_WIDTH_SCALE * fScale);
    }
    std::unique_ptr<CSprite> pMarker = MakeSprite(Catalogue(), MOPP_MARKER, fScale);
    const CFrameSurface* pSheet = pMarker != nullptr ? pMarker->GetSheet() : nullptr;
    if (pSheet == nullptr)
        return;
    pMarker->SetFrame(LevelFrame(pSheet->GetFrameCount(), m_fMOPPDegradation));
    DrawSpriteAt(*pMarker, pMap, m_fX, m_fY);
}

void CUnit::DrawUnitDisk(CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (m_nSide != UNIT_KIND_NEUTRAL || m_bSprite2 || pDatabase == nullptr)
        return;
    const CPiece* pPiece = pDatabase->GetVehiclePiece(m_nVehicle);
    const CFrameSurface* pVehicleSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    const int nWidth = pVehicleSheet != nullptr ? pVehicleSheet->GetFrameWidth() : 0;
    const float fPictureScale = m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f;
    const float fScale = DiskScale(static_cast<float>(nWidth) * PIECE_WIDTH_SCALE * fPictureScale);
    std::unique_ptr<CSprite> pDisk =
        MakeSprite(Catalogue(), HasEnemyPiece(pDatabase) ? UNIT_DISK_ORANGE : UNIT_DISK_GREEN, fScale);
    if (pDisk != nullptr)
        DrawSpriteAt(*pDisk, pMap, m_fX, m_fY);
}

BOOL CUnit::DrawDugInRing(CKDRGameMap* pMap)
{
    if (!m_bDugIn || m_nDugPosition < 0)
        return FALSE;
    int sx = 0;
    int sy = 0;
    CDC* pDC = ToScreen(pMap, m_fX, m_fY, sx, sy) ? pMap->LendDC() : nullptr;
    if (pDC == nullptr)
        return TRUE;
    const int nSaved = pDC->SaveDC();
    pDC->SelectStockObject(NULL_BRUSH);
    pDC->SelectObject(pMap->GetPen(DUG_IN_PEN_WIDTH, m_nSide));
    pDC->Ellipse(sx - DUG_IN_RING_RADIUS, sy - DUG_IN_RING_RADIUS, sx + DUG_IN_RING_RADIUS, sy + DUG_IN_RING_RADIUS);
    pDC->RestoreDC(nSaved);
    pMap->ReturnDC();
    return TRUE;
}

void CUnit::DrawSuppressArea(int nOrder, CKDRGameMap* pMap)
{
    if (nOrder != SUPPRESS_ORDER || !m_bSuppressArea || m_fSuppressX < 0.0f || m_fSuppressY < 0.0f ||
        m_fSuppressRadius < 0.0f)
        return;
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!ToScreen(pMap, m_fSuppressX - m_fSuppressRadius, m_fSuppressY + m_fSuppressRadius, left, top) ||
        !ToScreen(pMap, m_fSuppressX + m_fSuppressRadius, m_fSuppressY - m_fSuppressRadius, right, bottom))
        return;
    const CRect rc(left, top, right, bottom);
    if (!MeetsView(rc, pMap))
        return;
    CDC* pDC = pMap->LendDC();
    if (pDC == nullptr)
        return;
    const int nSaved = pDC->SaveDC();
    pDC->SelectStockObject(NULL_BRUSH);
    if (CPen* pPen = pMap->GetNumberedPen(SUPPRESS_AREA_PEN))
        pDC->SelectObject(pPen);
    pDC->Ellipse(&rc);
    pDC->RestoreDC(nSaved);
    pMap->ReturnDC();
}

void CUnit::DrawHullArrow(CKDRGameMap* pMap)
{
    if (m_bDestroyed || IsCarried())
        return;
    DrawHullArrowFrom(pMap, m_fX, m_fY);
}

void CUnit::DrawHullArrowFrom(CKDRGameMap* pMap, float fX, float fY)
{
    int sx = 0;
    int sy = 0;
    if (!ToScreen(pMap, fX, fY, sx, sy))
        return;
    if (!m_bHullArrowLoaded || m_pSprite4 == nullptr)
    {
        delete m_pSprite4;
        m_pSprite4 = MakeSprite(Catalogue(), HULL_ARROW, 1.0f).release();
        m_bHullArrowLoaded = m_pSprite4 != nullptr;
    }
    const double dLength = m_fSpeed * HULL_ARROW_PER_SPEED + HULL_ARROW_BASE;
    const int ex = sx + static_cast<int>(std::lround(dLength * std::sin(m_fHeading)));
    const int ey = sy - static_cast<int>(std::lround(dLength * std::cos(m_fHeading)));
    if (CDC* pDC = pMap->LendDC())
    {
        const int nSaved = pDC->SaveDC();
        for (int nPen : {ARROW_OUTLINE_PEN, ARROW_INNER_PEN})
        {
            if (CPen* pPen = pMap->GetNumberedPen(nPen))
            {
                pDC->SelectObject(pPen);
                pDC->MoveTo(sx, sy);
                pDC->LineTo(ex, ey);
            }
        }
        pDC->RestoreDC(nSaved);
        pMap->ReturnDC();
    }
    CSurface* pBack = BackSurface(pMap);
    const CFrameSurface* pSheet = m_pSprite4 != nullptr ? m_pSprite4->GetSheet() : nullptr;
    if (pBack == nullptr || pSheet == nullptr)
        return;
    m_pSprite4->SetScale(m_pSprite != nullptr ? m_pSprite->GetScale() : 1.0f);
    m_pSprite4->SetFrame(FrameForHeading(m_fHeading, pSheet->GetFrameCount()));
    m_pSprite4->SetPosition(ex - m_pSprite4->GetWidth() / 2, ey - m_pSprite4->GetHeight() / 2);
    m_pSprite4->Draw(pBack);
}
