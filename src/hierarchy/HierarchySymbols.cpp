// The map symbols of platoons and companies (slots 42 to 54 of the shared
// table). A symbol stands at its leader's position: the type picture, the
// echelon frame that tells side and level, in the echelon style also the
// icon of one toggle order, the hull arrow and the function picture. The
// sprites are made on the first drawing and kept until the style or the
// toggle bit changes. A platoon without a live, uncarried leader has no
// symbol: nothing is drawn and nothing is hit until a new leader is picked.

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "hierarchy/HierarchyArray.h"
#include "hierarchy/HierarchySupport.h"
#include "orders/FormationOrder.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Unset.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <memory>

using namespace hierarchy;

namespace
{
// The frames by level, in the order own (not swapped), enemy (not swapped),
// neutral (not swapped), neutral (swapped). The enemy frames are one
// echelon up: an enemy platoon wears the company frame.
struct FrameNames
{
    int nLevel;
    const char* pszFriendly;
    const char* pszEnemy;
    const char* pszNeutral;
    const char* pszNeutralSwapped;
};
constexpr FrameNames FRAME_NAMES[] = {
    {HIERARCHY_ELEMENT, "Friendly Vehicle", "Enemy Vehicle", "Friendly Neutral Vehicle", "Enemy Neutral Vehicle"},
    {HIERARCHY_PLATOON, "Friendly Platoon", "Enemy Company", "Friendly Neutral Platoon", "Enemy Neutral Company"},
    {HIERARCHY_COMPANY, "Friendly Company", "Enemy Battalion", "Friendly Neutral Company", "Enemy Neutral Battalion"},
};

const char* const PLATOON_TASKORG_MARKER = "NATO TaskOrg Marker Yellow";
const char* const COMPANY_TASKORG_MARKER = "NATO TaskOrg Marker Blue";

// The task-organisation marker's scale: the type picture's frame width
// times this times its scale; outside the limits it falls back to the
// smallest (above the upper limit too).
constexpr float TASKORG_MARKER_WIDTH_FACTOR = 0.02f;
constexpr float MARKER_SCALE_MIN = 0.25f;
constexpr float MARKER_SCALE_MAX = 1.25f;

// The alternative style is drawn at twice the view's symbol scale.
constexpr float ALT_STYLE_SCALE_FACTOR = 2.0f;

BOOL IsLevelWanted(int nLevel, BOOL bPlatoons, BOOL bCompanies)
{
    return (nLevel == HIERARCHY_PLATOON && bPlatoons) || (nLevel == HIERARCHY_COMPANY && bCompanies);
}

// A sprite of the named piece of a catalogue: a list member (its position
// the frame) or a single piece (frame 0), keyed on magenta; null when the
// catalogue lacks it or its sheet is not loaded.
CSprite* MakePieceSprite(CPieceArray* pPieces, const CString& strName)
{
    if (pPieces == nullptr || strName.IsEmpty())
        return nullptr;
    int nFrame = 0;
    CPiece* pPiece = pPieces->FindNamedPicture(strName, &nFrame);
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return nullptr;
    auto* pSprite = new CSprite(pSheet);
    pSprite->SetFrame(nFrame);
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    return pSprite;
}

// The view's visible rectangle: the back surface.
CRect VisibleRect(CKDRGameMap* pMap)
{
    CDisplay* pDisplay = pMap != nullptr ? pMap->GetDisplay() : nullptr;
    CSurface* pBack = pDisplay != nullptr ? pDisplay->GetBackSurface() : nullptr;
    return pBack != nullptr ? CRect(0, 0, pBack->GetWidth(), pBack->GetHeight()) : CRect(0, 0, 0, 0);
}

CSurface* BackSurface(CKDRGameMap* pMap)
{
    CDisplay* pDisplay = pMap != nullptr ? pMap->GetDisplay() : nullptr;
    return pDisplay != nullptr ? pDisplay->GetBackSurface() : nullptr;
}

CRect SpriteRect(const CSprite* pSprite)
{
    return CRect(pSprite->GetX(), pSprite->GetY(), pSprite->GetX() + pSprite->GetWidth(),
                 pSprite->GetY() + pSprite->GetHeight());
}

// A structure-only copy of a platoon or company for a list of hits.
CHierarchyPlatoon* CopyForList(const CHierarchyPlatoon* pContainer)
{
    if (const auto* pCompany = dynamic_cast<const CHierarchyCompany*>(pContainer))
        return new CHierarchyCompany(*pCompany, TRUE);
    return new CHierarchyPlatoon(*pContainer, TRUE);
}
}  // namespace

// ---------------------------------------------------------------------------
// Names and the leader

CString CHierarchyPlatoon::GetSymbolName(int nSide, int nLevel)
{
    const CDrawService* pDraw = GetDrawService();
    const BOOL bSwapped = pDraw != nullptr && pDraw->IsSideSwapDisplay();
    for (const FrameNames& names : FRAME_NAMES)
    {
        if (names.nLevel != nLevel)
            continue;
        switch (nSide)
        {
        case 0: return bSwapped ? names.pszEnemy : names.pszFriendly;
        case 1: return bSwapped ? names.pszFriendly : names.pszEnemy;
        case 2: return bSwapped ? names.pszNeutralSwapped : names.pszNeutral;
        default: return CString();
        }
    }
    return CString();
}

CUnit* CHierarchyPlatoon::GetLiveLeaderUnit(CKDRUnits* pUnits)
{
    if (pUnits == nullptr)
        return nullptr;
    const CHierarchyElement* pLeader = GetLeaderElement();
    CUnit* pUnit = pLeader != nullptr ? pLeader->GetUnit(pUnits, m_nSide) : nullptr;
    return IsLiveUncarried(pUnit) ? pUnit : nullptr;
}

// ---------------------------------------------------------------------------
// Sprites

int CHierarchyPlatoon::LoadSymbolSprites(CPieceArray* pPieces, int nSide, DWORD)
{
    for (int nSlot : {FRAME_SPRITE, TYPE_SPRITE})
    {
        delete m_apSprites[nSlot];
        m_apSprites[nSlot] = nullptr;
        m_abSprites[nSlot] = FALSE;
    }
    m_bEchelonStyleLoaded = FALSE;
    m_bAltStyleLoaded = FALSE;
    const int nLevel = GetLevel();
    if ((nLevel != HIERARCHY_PLATOON && nLevel != HIERARCHY_COMPANY) || nSide < 0 || nSide > 2)
        return 0;
    m_apSprites[TYPE_SPRITE] = MakePieceSprite(pPieces, m_strSymbolType);
    if (m_apSprites[TYPE_SPRITE] == nullptr)
        return 0;
    m_abSprites[TYPE_SPRITE] = TRUE;
    const CDrawService* pDraw = GetDrawService();
    m_apSprites[FRAME_SPRITE] =
        MakePieceSprite(pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr, GetSymbolName(nSide, nLevel));
    m_abSprites[FRAME_SPRITE] = m_apSprites[FRAME_SPRITE] != nullptr;
    m_bEchelonStyleLoaded = TRUE;
    return 1;
}

int CHierarchyPlatoon::LoadAltSymbolSprites(CPieceArray* pPieces)
{
    for (int nSlot : {FRAME_SPRITE, TYPE_SPRITE})
    {
        delete m_apSprites[nSlot];
        m_apSprites[nSlot] = nullptr;
        m_abSprites[nSlot] = FALSE;
    }
    m_bEchelonStyleLoaded = FALSE;
    m_bAltStyleLoaded = FALSE;
    const int nLevel = GetLevel();
    if (nLevel != HIERARCHY_PLATOON && nLevel != HIERARCHY_COMPANY)
        return 0;
    m_apSprites[TYPE_SPRITE] = MakePieceSprite(pPieces, m_strText2);
    if (m_apSprites[TYPE_SPRITE] == nullptr)
        return 0;
    m_abSprites[TYPE_SPRITE] = TRUE;
    m_apSprites[FRAME_SPRITE] = MakePieceSprite(pPieces, m_strText5);
    m_abSprites[FRAME_SPRITE] = m_apSprites[FRAME_SPRITE] != nullptr;
    m_bAltStyleLoaded = TRUE;
    return 1;
}

int CHierarchyPlatoon::LoadToggleIcon(DWORD dwToggle)
{
    delete m_apSprites[TOGGLE_SPRITE];
    m_apSprites[TOGGLE_SPRITE] = nullptr;
    m_abSprites[TOGGLE_SPRITE] = FALSE;
    m_dwToggleIcon = dwToggle;
    const CDrawService* pDraw = GetDrawService();
    CPieceArray* pCatalogue = pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
    if (pCatalogue == nullptr)
        return 0;
    int nFrame = 0;
    const int nList = CUnit::GetOrderIconIndex(dwToggle, nFrame);
    CPiece* pPiece = nList >= 0 ? pCatalogue->GetPiece(nList) : nullptr;
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return 0;
    m_apSprites[TOGGLE_SPRITE] = new CSprite(pSheet);
    m_apSprites[TOGGLE_SPRITE]->SetFrame(nFrame);
    pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    m_abSprites[TOGGLE_SPRITE] = TRUE;
    return 1;
}

void CHierarchyPlatoon::DeleteSymbolSprites()
{
    for (int i = 0; i < 4; ++i)
    {
        delete m_apSprites[i];
        m_apSprites[i] = nullptr;
        m_abSprites[i] = FALSE;
    }
    m_bEchelonStyleLoaded = FALSE;
    m_bAltStyleLoaded = FALSE;
    m_dwToggleIcon = 0;
}

BOOL CHierarchyPlatoon::GetSymbolRect(CRect& rect) const
{
    if (!m_abSprites[TYPE_SPRITE] || m_apSprites[TYPE_SPRITE] == nullptr)
    {
        rect = CRect(0, 0, 0, 0);
        return FALSE;
    }
    rect = SpriteRect(m_apSprites[TYPE_SPRITE]);
    return TRUE;
}

int CHierarchyPlatoon::PlaceSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, float fScale)
{
    CElevationMap* pElevation = pMap != nullptr ? pMap->GetElevationMap() : nullptr;
    float fX = 0.0f;
    float fY = 0.0f;
    if (pElevation == nullptr || !GetLeaderPosition(fX, fY, pUnits))
        return 0;
    int px = 0;
    int py = 0;
    pElevation->MapToPixel(fX, fY, &px, &py);
    for (int i = 0; i < 4; ++i)
    {
        if (!m_abSprites[i] || m_apSprites[i] == nullptr)
            continue;
        int sx = px;
        int sy = py;
        m_apSprites[i]->SetScale(fScale);
        m_apSprites[i]->SetMapPosition(sx, sy, pMap->GetMapPicture());
    }
    return 1;
}

// ---------------------------------------------------------------------------
// Drawing

void CHierarchyPlatoon::DrawSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nStyle,
                                   float fScale, BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle, DWORD dwFlags)
{
    CPieceArray* pPieces = pDatabase != nullptr ? pDatabase->GetPieceArray() : nullptr;
    if (pMap == nullptr || !pMap->HasElevationMap() || pPieces == nullptr || pUnits == nullptr ||
        !IsLevelWanted(GetLevel(), bPlatoons, bCompanies))
        return;
    const BOOL bEchelon = nStyle == 0;
    if (bEchelon && !m_bEchelonStyleLoaded && !LoadSymbolSprites(pPieces, m_nSide, dwToggle))
        return;
    if (!bEchelon && !m_bAltStyleLoaded && !LoadAltSymbolSprites(pPieces))
        return;
    if (dwToggle != 0 && (dwToggle != m_dwToggleIcon || !m_abSprites[TOGGLE_SPRITE]))
        LoadToggleIcon(dwToggle);
    if (bEchelon)
        LoadSymbolSprite(pUnits);
    if (!PlaceSymbol(pMap, pUnits, bEchelon ? fScale : fScale * ALT_STYLE_SCALE_FACTOR))
        return;
    CRect rcSymbol;
    CRect rcShown;
    if (!GetSymbolRect(rcSymbol) || !rcShown.IntersectRect(rcSymbol, VisibleRect(pMap)))
        return;
    CSurface* pBack = BackSurface(pMap);
    if (pBack == nullptr)
        return;
    m_apSprites[TYPE_SPRITE]->Draw(pBack);
    if (m_abSprites[FRAME_SPRITE])
        m_apSprites[FRAME_SPRITE]->Draw(pBack);
    if (bEchelon)
    {
        if (m_abSprites[TOGGLE_SPRITE] && m_dwToggleIcon != 0 && HasOrderOfType(m_dwToggleIcon))
            m_apSprites[TOGGLE_SPRITE]->Draw(pBack);
        if ((dwFlags & UNIT_DRAW_HULL_ARROW) != 0)
            DrawSymbolHullArrow(pMap, pUnits);
        if (m_abSprites[FUNCTION_SPRITE])
            m_apSprites[FUNCTION_SPRITE]->Draw(pBack);
    }
    if (m_pOrders != nullptr)
        m_pOrders->DrawOrders(this, pUnits, pDatabase, pMap, nullptr, dwToggle, static_cast<int>(dwFlags), bPlatoons,
                              bCompanies);
}

void CHierarchyPlatoon::DrawSymbolHullArrow(CKDRGameMap* pMap, CKDRUnits* pUnits)
{
    CUnit* pLeader = GetLiveLeaderUnit(pUnits);
    float fX = 0.0f;
    float fY = 0.0f;
    if (pLeader != nullptr && GetLeaderPosition(fX, fY, pUnits))
        pLeader->DrawHullArrowFrom(pMap, fX, fY);
}

void CHierarchyPlatoon::DrawTaskOrgMarker(CKDRGameMap* pMap, CKDRUnits* pUnits, BOOL bPlatoons, BOOL bCompanies)
{
    const int nLevel = GetLevel();
    const CUnit* pLeader = GetLiveLeaderUnit(pUnits);
    if (pMap == nullptr || !m_abSprites[TYPE_SPRITE] || !IsLevelWanted(nLevel, bPlatoons, bCompanies) ||
        pLeader == nullptr)
        return;
    std::unique_ptr<CSprite> pMarker(
        LoadCatalogueSprite(nLevel == HIERARCHY_PLATOON ? PLATOON_TASKORG_MARKER : COMPANY_TASKORG_MARKER));
    const CSprite* pType = m_apSprites[TYPE_SPRITE];
    const CFrameSurface* pSheet = pType->GetSheet();
    if (pMarker == nullptr || pSheet == nullptr)
        return;
    float fScale = static_cast<float>(pSheet->GetFrameWidth()) * TASKORG_MARKER_WIDTH_FACTOR * pType->GetScale();
    if (fScale < MARKER_SCALE_MIN || fScale > MARKER_SCALE_MAX)
        fScale = MARKER_SCALE_MIN;
    pMarker->SetScale(fScale);
    float fX = pLeader->m_fX;
    float fY = pLeader->m_fY;
    if (const CUOrdPlatoonFormation* pFormation = m_pOrders != nullptr ? m_pOrders->GetFormationOrder() : nullptr)
    {
        float fOffsetX = 0.0f;
        float fOffsetY = 0.0f;
        pFormation->GetOffset(fOffsetX, fOffsetY);
        fX += fOffsetX;
        fY += fOffsetY;
    }
    CElevationMap* pElevation = pMap->GetElevationMap();
    CSurface* pBack = BackSurface(pMap);
    if (pElevation == nullptr || pBack == nullptr)
        return;
    int px = 0;
    int py = 0;
    pElevation->MapToPixel(fX, fY, &px, &py);
    pMarker->SetMapPosition(px, py, pMap->GetMapPicture());
    CRect rcShown;
    if (rcShown.IntersectRect(SpriteRect(pMarker.get()), VisibleRect(pMap)))
        pMarker->Draw(pBack);
}

// ---------------------------------------------------------------------------
// Hit tests

CHierarchyPlatoon* CHierarchyPlatoon::HitTestSymbol(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, int,
                                                    CKDRUnits* pUnits)
{
    if (!IsLevelWanted(GetLevel(), bPlatoons, bCompanies) || !m_abSprites[TYPE_SPRITE] ||
        GetLiveLeaderUnit(pUnits) == nullptr)
        return nullptr;
    return m_apSprites[TYPE_SPRITE]->HitTest(nX, nY) ? this : nullptr;
}

int CHierarchyPlatoon::CollectHitSymbols(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, CHierarchyArray* pHits,
                                         CKDRUnits* pUnits)
{
    // Only this container's own symbol: its children collect themselves.
    if (pHits == nullptr || CHierarchyPlatoon::HitTestSymbol(nX, nY, bPlatoons, bCompanies, m_nSide, pUnits) == nullptr)
        return 0;
    pHits->Add(CopyForList(this));
    return 1;
}

// ---------------------------------------------------------------------------
// The company: its platoons, then itself (on top)

void CHierarchyCompany::DrawSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nStyle,
                                   float fScale, BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle, DWORD dwFlags)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->DrawSymbol(pMap, pUnits, pDatabase, nStyle, fScale, bPlatoons, bCompanies, dwToggle, dwFlags);
    }
    CHierarchyPlatoon::DrawSymbol(pMap, pUnits, pDatabase, nStyle, fScale, bPlatoons, bCompanies, dwToggle, dwFlags);
}

void CHierarchyCompany::DrawTaskOrgMarker(CKDRGameMap* pMap, CKDRUnits* pUnits, BOOL bPlatoons, BOOL bCompanies)
{
    if (bPlatoons)
    {
        for (int i = 0; i < GetSize(); ++i)
        {
            if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
                pPlatoon->DrawTaskOrgMarker(pMap, pUnits, bPlatoons, bCompanies);
        }
    }
    if (bCompanies)
        CHierarchyPlatoon::DrawTaskOrgMarker(pMap, pUnits, bPlatoons, bCompanies);
}

CHierarchyPlatoon* CHierarchyCompany::HitTestSymbol(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, int nSide,
                                                    CKDRUnits* pUnits)
{
    if (CHierarchyPlatoon* pHit = CHierarchyPlatoon::HitTestSymbol(nX, nY, bPlatoons, bCompanies, nSide, pUnits))
        return pHit;
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        CHierarchyPlatoon* pHit =
            pPlatoon != nullptr ? pPlatoon->HitTestSymbol(nX, nY, bPlatoons, bCompanies, nSide, pUnits) : nullptr;
        if (pHit != nullptr)
            return pHit;
    }
    return nullptr;
}

int CHierarchyCompany::CollectHitSymbols(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, CHierarchyArray* pHits,
                                         CKDRUnits* pUnits)
{
    int nFound = 0;
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nFound += pPlatoon->CollectHitSymbols(nX, nY, bPlatoons, bCompanies, pHits, pUnits);
    }
    return nFound + CHierarchyPlatoon::CollectHitSymbols(nX, nY, bPlatoons, bCompanies, pHits, pUnits);
}

// ---------------------------------------------------------------------------
// The battalion: its platoons, then its companies; no symbol of its own

void CHierarchyArray::DrawSymbol(CKDRGameMap* pMap, CKDRUnits* pUnits, CKDRDatabase* pDatabase, int nStyle,
                                 float fScale, BOOL bPlatoons, BOOL bCompanies, DWORD dwToggle, DWORD dwFlags)
{
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->DrawSymbol(pMap, pUnits, pDatabase, nStyle, fScale, bPlatoons, bCompanies, dwToggle, dwFlags);
    }
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            pCompany->DrawSymbol(pMap, pUnits, pDatabase, nStyle, fScale, bPlatoons, bCompanies, dwToggle, dwFlags);
    }
}

void CHierarchyArray::DrawTaskOrgMarker(CKDRGameMap* pMap, CKDRUnits* pUnits, BOOL bPlatoons, BOOL bCompanies)
{
    if (!bPlatoons)
        return;
    for (int i = 0; i < GetSize(); ++i)
    {
        if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            pPlatoon->DrawTaskOrgMarker(pMap, pUnits, bPlatoons, bCompanies);
    }
}

CHierarchyPlatoon* CHierarchyArray::HitTestSymbol(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, int nSide,
                                                  CKDRUnits* pUnits)
{
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        CHierarchyCompany* pCompany = GetCompany(i);
        CHierarchyPlatoon* pHit =
            pCompany != nullptr ? pCompany->HitTestSymbol(nX, nY, bPlatoons, bCompanies, nSide, pUnits) : nullptr;
        if (pHit != nullptr)
            return pHit;
    }
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        CHierarchyPlatoon* pPlatoon = GetPlatoon(i);
        CHierarchyPlatoon* pHit =
            pPlatoon != nullptr ? pPlatoon->HitTestSymbol(nX, nY, bPlatoons, bCompanies, nSide, pUnits) : nullptr;
        if (pHit != nullptr)
            return pHit;
    }
    return nullptr;
}

int CHierarchyArray::CollectHitSymbols(int nX, int nY, BOOL bPlatoons, BOOL bCompanies, CHierarchyArray* pHits,
                                       CKDRUnits* pUnits)
{
    int nFound = 0;
    for (int i = GetSize() - 1; i >= 0; --i)
    {
        if (CHierarchyCompany* pCompany = GetCompany(i))
            nFound += pCompany->CollectHitSymbols(nX, nY, bPlatoons, bCompanies, pHits, pUnits);
        else if (CHierarchyPlatoon* pPlatoon = GetPlatoon(i))
            nFound += pPlatoon->CollectHitSymbols(nX, nY, bPlatoons, bCompanies, pHits, pUnits);
    }
    return nFound;
}
