#include "view/KDRView.h"

#include "app/FireOrderDlg.h"
#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/KDROpord.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "hierarchy/TaskOrg.h"
#include "orders/NodeArray.h"
#include "platform/core/Rounding.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "units/SpotReportArray.h"
#include "view/SelectionHighlight.h"
#include "view/Sound.h"
#include "view/StartPicture.h"
#include "view/StaticLayers.h"
#include "view/ViewProperties.h"

#include <algorithm>

namespace
{
// Scroll sizes while no map is loaded.
const CSize kBlankTotal(2500, 2500);
const CSize kBlankPage(625, 312);
const CSize kBlankLine(25, 25);
// Room for the other scroll bar when only one direction scrolls.
constexpr int kScrollBarRoom = 63;

// The unit identifiers and coordinates meaning "none".

// The rubber band: drawn twice, with a wide dark pen and a thin light one,
// in a mix mode that shows on any ground.
constexpr int kRubberBandMode = R2_MASKPENNOT;
constexpr int kRubberBandPen1 = 1;
constexpr int kRubberBandPen2 = 2;

constexpr COLORREF kBlack = RGB(0, 0, 0);
// The unit drawing's arrow flags: hull direction and turret arrows.
constexpr int kArrowFlagDirection = 0x1;
constexpr int kArrowFlagTurret = 0x2;
}  // namespace

CKDRView::CKDRView()
    : m_bOverviewMapOpen(FALSE),
      m_nIconStyle(0),
      m_fIconSize(0.0f),
      m_fStoredZoom(0.0f),
      m_bShowDestroyed(FALSE),
      m_bDirectionArrows(FALSE),
      m_bEnemySitTemp(FALSE),
      m_bFCExclude(FALSE),
      m_bGridLines(FALSE),
      m_bManeuverGraphics(FALSE),
      m_bRangeArcs(FALSE),
      m_bShowFireControls(FALSE),
      m_bSpotReportLog(FALSE),
      m_bUnitToolTips(FALSE),
      m_bTurretArrows(FALSE),
      m_bShowAllPaths(FALSE),
      m_bShowCompanies(TRUE),
      m_bShowPlatoons(TRUE),
      m_bShowVehicles(TRUE),
      m_bAtMaxZoomOut(FALSE),
      m_bAtMaxZoomIn(FALSE),
      m_bGroupLOS(FALSE),
      m_dwLoopTick(0),
      m_nLoopRemainder(0),
      m_dwLoopLastRedraw(0),
      m_nEndTestCountdown(0),
      m_bMissionOver(FALSE),
      m_bLoading(FALSE),
      m_bDragUnits(FALSE),
      m_bDragObstacles(FALSE),
      m_bDragHoles(FALSE),
      m_nSelUnit(kUnset),
      m_nSelArray(kUnset),
      m_nSelKind(kUnset),
      m_pShownPath(nullptr),
      m_bPathShown(FALSE),
      m_bNodeMark1(FALSE),
      m_nNodeMark1(kUnset),
      m_bNodeMark2(FALSE),
      m_nNodeMark2(kUnset),
      m_pContacts1(nullptr),
      m_pContacts2(nullptr),
      m_pViewProperties(new CViewProperties),
      m_pFireOrderDlg(new CFireOrderDlg),
      m_pStaticLayers(std::make_unique<CStaticLayers>())
{
    RegisterLoopCommands();
    RegisterViewCommands();
}

CKDRView::~CKDRView()
{
    DiscardShownPath();
    delete m_pSelection;
    delete m_pCopiedPath;
    delete m_pMountCarriers;
    delete m_pUploadList;
    delete m_pMinesList;
    delete m_pViewProperties;
    delete m_pFireOrderDlg;
}

CKDRDoc* CKDRView::GetDocument() const { return dynamic_cast<CKDRDoc*>(CScrollView::GetDocument()); }

// ---------------------------------------------------------------------------
// What the view draws on

CKDRGameMap* CKDRView::GetGameMap() const
{
    CKDRDoc* pDoc = GetDocument();
    return pDoc != nullptr ? pDoc->GetGameMap() : nullptr;
}

CMapPicture* CKDRView::GetMapPicture() const
{
    CKDRGameMap* pMap = GetGameMap();
    return pMap != nullptr ? pMap->GetMapPicture() : nullptr;
}

CDisplay* CKDRView::GetDisplay() const
{
    CKDRApp* pApp = GetKDRApp();
    return pApp != nullptr ? pApp->m_pDisplay : nullptr;
}

float CKDRView::GetZoom() const
{
    CKDRGameMap* pMap = GetGameMap();
    return pMap != nullptr ? pMap->GetZoom() : 1.0f;
}

double CKDRView::GetClientFactorX() const
{
    CDisplay* pDisplay = GetDisplay();
    CRect rcClient;
    GetClientRect(&rcClient);
    if (pDisplay == nullptr || pDisplay->GetWidth() <= 0 || rcClient.Width() <= 0)
        return 1.0;
    return static_cast<double>(rcClient.Width()) / pDisplay->GetWidth();
}

double CKDRView::GetClientFactorY() const
{
    CDisplay* pDisplay = GetDisplay();
    CRect rcClient;
    GetClientRect(&rcClient);
    if (pDisplay == nullptr || pDisplay->GetHeight() <= 0 || rcClient.Height() <= 0)
        return 1.0;
    return static_cast<double>(rcClient.Height()) / pDisplay->GetHeight();
}

// ---------------------------------------------------------------------------
// Conversions

void CKDRView::ClientToPicture(int x, int y, int* px, int* py) const
{
    if (GetGameMap() == nullptr)
    {
        if (px != nullptr)
            *px = kUnset;
        if (py != nullptr)
            *py = kUnset;
        return;
    }
    const double zoom = GetZoom();
    if (px != nullptr)
        *px = RoundHalfUp(x / zoom / GetClientFactorX());
    if (py != nullptr)
        *py = RoundHalfUp(y / zoom / GetClientFactorY());
}

void CKDRView::PictureToClient(int px, int py, int* x, int* y) const
{
    if (GetGameMap() == nullptr)
        return;
    const double zoom = GetZoom();
    if (x != nullptr)
        *x = RoundHalfUp(GetClientFactorX() * px * zoom);
    if (y != nullptr)
        *y = RoundHalfUp(GetClientFactorY() * py * zoom);
}

// ---------------------------------------------------------------------------
// Paint

void CKDRView::OnDraw(CDC* pDC)
{
    CKDRDoc* pDoc = GetDocument();
    CKDRGameMap* pMap = GetGameMap();
    CDisplay* pDisplay = GetDisplay();
    CSurface* pBack = pDisplay != nullptr ? pDisplay->GetBackSurface() : nullptr;
    if (pMap == nullptr || pBack == nullptr)
    {
        if (pDC == nullptr)
            return;
        // Black around the picture, as the erase leaves it.
        CRect rc;
        GetClientRect(&rc);
        rc.OffsetRect(GetScrollPosition());
        pDC->FillSolidRect(&rc, kBlack);
        // No mission: the start picture, centred and scaled to fit the
        // window with its proportions kept (nothing goes through the back
        // surface). A resize invalidates the window, so it is fitted anew.
        CBitmap picture;
        if (pMap == nullptr && RegisterStartPicture() && picture.LoadBitmap(IDB_START_PICTURE))
        {
            CDC memDC;
            if (memDC.CreateCompatibleDC(pDC))
            {
                const CRect rcFit = FitStartPicture(rc);
                CBitmap* pOld = memDC.SelectObject(&picture);
                pDC->StretchBlt(rcFit.left, rcFit.top, rcFit.Width(), rcFit.Height(), &memDC, 0, 0,
                                START_PICTURE_WIDTH, START_PICTURE_HEIGHT, SRCCOPY);
                memDC.SelectObject(pOld);
            }
        }
        return;
    }

    CMapPicture* pPicture = pMap->GetMapPicture();
    // The picture covers the whole surface; without one nothing would clear
    // the last frame.
    if (pPicture == nullptr)
        pBack->ColorFill(CRect(0, 0, pBack->GetWidth(), pBack->GetHeight()), 0);
    m_pStaticLayers->Draw(pMap, pBack, m_pViewProperties->IsGridShown(GetZoom()));
    if (pPicture != nullptr && !m_bLoading)
        DrawLayers(pDoc, pMap);
    pDisplay->Present();
}

void CKDRView::DrawLayers(CKDRDoc* pDoc, CKDRGameMap* pMap)
{
    const BOOL bGroup = m_bSelectUnits && m_pSelection != nullptr;
    CKDRUnits* pUnits = pDoc->GetUnits();

    if (pDoc->GetOpord() != nullptr)
    {
        if (m_bEnemySitTemp)
            pDoc->DrawOpordGraphics(1);
        if (m_bManeuverGraphics)
            pDoc->DrawOpordGraphics(0);
    }
    if (pDoc->GetObstacles() != nullptr)
        pDoc->UpdateOwnSideObstacles();
    if (pDoc->GetHoles() != nullptr)
        pDoc->DrawHoles();
    if (pUnits != nullptr && m_bShowDestroyed)
        pDoc->DrawDestroyedUnits(m_nIconStyle, m_fIconSize);

    // With vehicles and markers shown the paths lie under the markers;
    // otherwise over the selection highlight.
    const BOOL bPathsUnderMarkers = m_bShowVehicles && (m_bShowPlatoons || m_bShowCompanies);
    const int nArrowFlags = (m_bDirectionArrows ? kArrowFlagDirection : 0) | (m_bTurretArrows ? kArrowFlagTurret : 0);
    if (pUnits != nullptr)
    {
        pDoc->DrawUnits(GetInteractionMode(), nArrowFlags, m_bShowVehicles);
        if (bPathsUnderMarkers)
            DrawPathBlock(pDoc);
        if (m_bShowVehicles && bGroup)
            pDoc->DrawUnitLabels(m_pSelection, m_bShowVehicles, m_bShowPlatoons, m_bShowCompanies);
        pDoc->DrawHierarchySymbols(m_bShowVehicles, m_bShowPlatoons, m_bShowCompanies, m_nIconStyle, m_fIconSize,
                                   GetInteractionMode(), nArrowFlags);
        if (!m_bShowVehicles && bGroup)
            pDoc->DrawUnitLabels(m_pSelection, FALSE, m_bShowPlatoons, m_bShowCompanies);
    }
    if (pDoc->GetObstacles() != nullptr)
        pDoc->UpdateOtherSideObstacles();
    DrawSelection(pDoc);
    if (pUnits == nullptr || !bPathsUnderMarkers)
        DrawPathBlock(pDoc);

    if (m_bFireMissionPlanning && (m_nFireUnit != kUnset || bGroup))
    {
        if (bGroup)
            pDoc->DrawFireMissionLinksOfList(m_pSelection);
        else
            pDoc->DrawFireMissionLinks(m_nFireUnit, m_nFireArray, m_nFireKind, CString());
    }

    CKDRApp* pApp = GetKDRApp();
    const BOOL bAfterDeployment = pApp != nullptr && !pApp->IsDeploymentPhase();
    if (bAfterDeployment && pApp->IsClockRunning())
        pDoc->DrawFireMissionImpacts();
    if (pDoc->GetSmoke() != nullptr && bAfterDeployment)
        pDoc->DrawSmoke();
    if (m_bRubberBand)
        DrawRubberBand(pMap);
    if (m_bLOSFan && (m_fLOSX != kUnsetFloat || m_fLOSY != kUnsetFloat))
        DrawLOSOverlay(0);
    if (m_bGroupLOS && bGroup)
        pDoc->DrawFieldsOfFire();
    if ((m_bMaxRangeMode && (m_fMaxRangeX != kUnsetFloat || m_fMaxRangeY != kUnsetFloat)) ||
        (m_bFieldOfFireMode && (m_fFieldOfFireX != kUnsetFloat || m_fFieldOfFireY != kUnsetFloat)))
        DrawLOSOverlay(1);
    if (pApp != nullptr && pApp->m_bAIEditing)
        pDoc->DrawAIOrderGraphics();
}

void CKDRView::DrawPathBlock(CKDRDoc* pDoc)
{
    if (m_bShowAllPaths)
        pDoc->DrawPaths(m_bShowVehicles, m_bShowPlatoons, m_bShowCompanies);
    if (!m_strElementPath.IsEmpty() || m_nSelUnit != kUnset)
    {
        const int nLinks = pDoc->DrawUnitLinks(m_strElementPath);
        if (m_pShownPath != nullptr)
            m_pShownPath->Draw(GetGameMap(), nLinks, TRUE, !m_strElementPath.IsEmpty(), 0);
    }
}

void CKDRView::DrawSelection(CKDRDoc* pDoc)
{
    // The highlight marks what a pending order or Actions command involves.
    const BOOL bGroup = m_bSelectUnits && m_pSelection != nullptr;
    PendingHighlight pending;
    pending.bDismount = IsModePending(kModeDismount);
    pending.bMount = m_bMountMode;
    pending.bCarrierChosen = m_nMountCarrier != kUnset;
    pending.bUpload = m_bUploadMode;
    pending.bUploadSourceChosen = m_nUploadCarrier != kUnset;
    pending.bFireMission = m_bFireMissionPlanning;
    pending.bFireMissionStarted = m_nFireUnit != kUnset || bGroup;
    pending.dwInteractionMode = GetInteractionMode();
    pending.bDeployMines = m_bMinesMode;
    pending.bMineLayerChosen = m_nMinesLayer != kUnset;
    const HighlightCodes codes = GetHighlightCodes(pending);

    if (codes.dwFirst != 0)
        pDoc->DrawFunctionUnits(codes.dwFirst, m_bShowVehicles, m_bShowPlatoons, m_bShowCompanies);
    if (codes.dwSecond != 0)
    {
        int nUnit = m_nMountCarrier, nArray = m_nMountArray, nKind = m_nMountSide;
        if (codes.dwSecond == HIGHLIGHT_CHOSEN_UPLOAD_SOURCE)
        {
            nUnit = m_nUploadCarrier;
            nArray = m_nUploadArray;
            nKind = m_nUploadSide;
        }
        else if (codes.dwSecond == HIGHLIGHT_CHOSEN_MINE_LAYER)
        {
            nUnit = m_nMinesLayer;
            nArray = m_nMinesArray;
            nKind = m_nMinesSide;
        }
        pDoc->DrawSelectionOverlays(codes.dwSecond, bGroup ? m_pSelection : nullptr, nUnit, nArray, nKind);
    }
    if (codes.dwThird != 0)
    {
        if (bGroup)
            pDoc->DrawFunctionCirclesOfList(m_pSelection);
        else
            pDoc->DrawFunctionCircle(m_nFireUnit, m_nFireArray, m_nFireKind);
    }
}

void CKDRView::DrawRubberBand(CKDRGameMap* pMap)
{
    CKDRApp* pApp = GetKDRApp();
    CDC* pDC = pApp != nullptr ? pApp->GetSurfaceDC() : nullptr;
    if (pDC == nullptr)
        return;
    CRect rcBand;
    pMap->PictureToView(m_ptRubberStart.x, m_ptRubberStart.y, &rcBand.left, &rcBand.top);
    pMap->PictureToView(m_ptRubberEnd.x, m_ptRubberEnd.y, &rcBand.right, &rcBand.bottom);
    const int nSaved = pDC->SaveDC();
    pDC->SetROP2(kRubberBandMode);
    pDC->SelectStockObject(NULL_BRUSH);
    for (int nPen : {kRubberBandPen1, kRubberBandPen2})
    {
        if (CPen* pPen = pMap->GetNumberedPen(nPen))
        {
            pDC->SelectObject(pPen);
            pDC->Rectangle(&rcBand);
        }
    }
    pDC->RestoreDC(nSaved);
    pApp->ReleaseSurfaceDC();
}

void CKDRView::DrawLOSOverlay(int nSelector)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    if (nSelector == 0)
    {
        pDoc->DrawSightOfUnit(m_fLOSX, m_fLOSY, m_nLOSKind, m_nLOSArray, m_nLOSUnit);
        return;
    }
    if (m_bMaxRangeMode)
        pDoc->DrawSightOfUnit(m_fMaxRangeX, m_fMaxRangeY, m_nModeKind, m_nModeArray, m_nModeUnit);
    else if (m_bFieldOfFireMode)
        pDoc->DrawSightOfUnit(m_fFieldOfFireX, m_fFieldOfFireY, m_nModeKind, m_nModeArray, m_nModeUnit);
}

BOOL CKDRView::OnEraseBkgnd(CDC* pDC)
{
    if (GetGameMap() != nullptr || pDC == nullptr)
        return TRUE;
    CRect rcClip;
    pDC->GetClipBox(&rcClip);
    pDC->FillSolidRect(&rcClip, kBlack);
    return TRUE;
}

void CKDRView::DropStaticLayers() { m_pStaticLayers->Drop(); }

void CKDRView::RedrawMap(BOOL bErase)
{
    if (GetMapPicture() != nullptr)
        RefreshOverviewMap();
    if (IsWindow())
        InvalidateRect(nullptr, bErase);
}

// ---------------------------------------------------------------------------
// Scroll sizes, resize and destruction

void CKDRView::OnInitialUpdate()
{
    CScrollView::OnInitialUpdate();
    if (GetGameMap() == nullptr)
    {
        SetScrollSizes(MM_TEXT, kBlankTotal, kBlankPage, kBlankLine);
        return;
    }
    // A new map starts where its picture is scrolled, whatever the bars
    // showed for the last one.
    if (CMapPicture* pPicture = GetMapPicture())
    {
        int x = 0;
        int y = 0;
        PictureToClient(pPicture->GetScrollX(), pPicture->GetScrollY(), &x, &y);
        SetScrollClamped(x, y);
    }
}

void CKDRView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    if (lHint != 0)
    {
        OnDocumentHint(lHint);
        return;
    }
    CKDRDoc* pDoc = GetDocument();
    CDisplay* pDisplay = GetDisplay();
    CRect rcPicture;
    if (pDoc != nullptr && GetGameMap() != nullptr && pDisplay != nullptr && pDoc->GetMapPictureRect(rcPicture))
    {
        const double zoom = GetZoom();
        int nWidth = TruncToInt(rcPicture.Width() * zoom);
        int nHeight = TruncToInt(rcPicture.Height() * zoom);
        const BOOL bWide = nWidth > pDisplay->GetWidth();
        const BOOL bTall = nHeight > pDisplay->GetHeight();
        if (bWide && !bTall)
            nWidth += kScrollBarRoom;
        else if (bTall && !bWide)
            nHeight += kScrollBarRoom;
        const double z2 = zoom * zoom;
        auto size = [](double v) { return std::max(1, RoundHalfUp(v)); };
        const CSize line(size(nWidth / (100.0 * z2)), size(nHeight / (100.0 * z2)));
        const CSize page(size(nWidth / (4.0 * z2)), size(nHeight / (8.0 * z2)));
        SetScrollSizes(MM_TEXT, CSize(nWidth, nHeight), page, line);
        ShowScrollBar(SB_BOTH);
    }
    CScrollView::OnUpdate(pSender, lHint, pHint);
}

void CKDRView::OnDocumentHint(LPARAM lHint)
{
    // Whatever the document reports may have changed the map under the
    // kept static layers.
    DropStaticLayers();
    switch (lHint)
    {
    case KDR_HINT_CONTENTS_DELETED:
        CancelInteraction();
        CloseOverviewMap();
        break;
    case KDR_HINT_DOCUMENT_EMPTIED:
        if (CKDRApp* pApp = GetKDRApp(); pApp != nullptr && pApp->GetGameClock() != nullptr)
            pApp->GetGameClock()->HideClockWindow();
        if (IsWindow() && IsWindowVisible())
            SetScrollClamped(0, 0);
        break;
    case KDR_HINT_OPENING: m_bLoading = TRUE; break;
    case KDR_HINT_LOADING_COMPONENTS:
        CloseOverviewMap();
        CancelInteraction();
        break;
    case KDR_HINT_OBJECTS_REPLACED: CancelInteraction(); break;
    case KDR_HINT_MISSION_OPENED: OnMissionOpened(); break;
    case KDR_HINT_OPEN_ENDED: m_bLoading = FALSE; break;
    case KDR_HINT_HIERARCHY_TREE_CLOSED: SetHierarchyTreeShown(FALSE); break;
    case KDR_HINT_STATE_RECEIVED: RedrawMap(FALSE); break;
    default: break;
    }
}

void CKDRView::OnMissionOpened()
{
    CKDRApp* pApp = GetKDRApp();
    if (pApp != nullptr && pApp->GetGameClock() != nullptr)
        pApp->GetGameClock()->ShowClockWindow();
    m_bMissionOver = FALSE;
    m_nEndTestCountdown = 0;
    UpdateOverviewMap();
    RefreshOverviewMap();
    ApplyStoredZoom();
    ApplyViewProperties();

    CKDRDoc* pDoc = GetDocument();
    CKDROpord* pOpord = pDoc != nullptr ? pDoc->GetOpord() : nullptr;
    // A saved game reopened after the clock ran shows no order.
    if (pOpord != nullptr && (pApp == nullptr || (!pApp->IsPlayingEnemySide() && pApp->IsDeploymentPhase())))
        pOpord->ShowOrder();
}

void CKDRView::OnSize(UINT nType, int cx, int cy)
{
    CScrollView::OnSize(nType, cx, cy);
    ResizeBackSurface(cx, cy);
    OnUpdate(nullptr, 0, nullptr);
}

void CKDRView::ResizeBackSurface(int cx, int cy)
{
    CDisplay* pDisplay = GetDisplay();
    if (pDisplay == nullptr || pDisplay->GetWindow() != this || cx <= 0 || cy <= 0)
        return;
    if (pDisplay->GetWidth() == cx && pDisplay->GetHeight() == cy)
        return;
    // No context may stay lent on the surface that goes away.
    if (CKDRApp* pApp = GetKDRApp())
        pApp->ReleaseSurfaceDC();
    if (!pDisplay->Init(this, cx, cy))
        return;
    if (CMapPicture* pPicture = GetMapPicture())
    {
        pPicture->SetDisplaySize(cx, cy);
        pPicture->SetScroll(pPicture->GetScrollX(), pPicture->GetScrollY());
        int x = 0;
        int y = 0;
        PictureToClient(pPicture->GetScrollX(), pPicture->GetScrollY(), &x, &y);
        SetScrollClamped(x, y);
    }
    RedrawMap(FALSE);
}

void CKDRView::OnDestroy()
{
    StoreViewProperties(TRUE);
    CScrollView::OnDestroy();
}

// ---------------------------------------------------------------------------
// Zoom and centring

BOOL CKDRView::SetZoom(int nCode, BOOL bKeepProperties)
{
    CKDRGameMap* pMap = GetGameMap();
    CMapPicture* pPicture = GetMapPicture();
    CKDRDoc* pDoc = GetDocument();
    CDisplay* pDisplay = GetDisplay();
    if (pMap == nullptr || pPicture == nullptr || pDoc == nullptr || pDisplay == nullptr)
        return FALSE;

    m_bAtMaxZoomOut = FALSE;
    m_bAtMaxZoomIn = FALSE;
    CRect rcClient;
    GetClientRect(&rcClient);
    int nOldVisibleX = 0;
    int nOldVisibleY = 0;
    ClientToPicture(rcClient.Width(), rcClient.Height(), &nOldVisibleX, &nOldVisibleY);
    const int nOldScrollX = pPicture->GetScrollX();
    const int nOldScrollY = pPicture->GetScrollY();

    if (!bKeepProperties)
        StoreViewProperties(FALSE);

    int nLimit = 0;
    if (!pMap->ChangeZoom(nCode, &nLimit))
        return FALSE;

    OnUpdate(nullptr, 0, nullptr);
    GetClientRect(&rcClient);
    int nNewVisibleX = 0;
    int nNewVisibleY = 0;
    ClientToPicture(rcClient.Width(), rcClient.Height(), &nNewVisibleX, &nNewVisibleY);

    // The window's centre stays on the same map point.
    const double zoom = GetZoom();
    int nScrollX = 0;
    int nScrollY = 0;
    if (RoundHalfUp(pPicture->GetMapWidth() * zoom) > pDisplay->GetWidth())
        nScrollX = nOldScrollX + (nOldVisibleX - nNewVisibleX) / 2;
    if (RoundHalfUp(pPicture->GetMapHeight() * zoom) > pDisplay->GetHeight())
        nScrollY = nOldScrollY + (nOldVisibleY - nNewVisibleY) / 2;
    pPicture->SetScroll(nScrollX, nScrollY);
    int x = 0;
    int y = 0;
    PictureToClient(pPicture->GetScrollX(), pPicture->GetScrollY(), &x, &y);
    SetScrollClamped(x, y);

    RefreshOverviewMap();
    ApplyViewProperties();
    pDoc->DrawObstacles();
    pDoc->PrepareSmoke();

    if (nLimit < 0)
        m_bAtMaxZoomOut = TRUE;
    else if (nLimit > 0)
        m_bAtMaxZoomIn = TRUE;
    RedrawMap(FALSE);
    return TRUE;
}

void CKDRView::ApplyStoredZoom()
{
    // The stored scale is one of the six levels or nothing: a value from a
    // bad file must neither step for ever nor step at all.
    const int nTarget = CViewProperties::GetZoomLevel(m_fStoredZoom);
    if (nTarget == kUnset)
        return;
    for (int nStep = 0; nStep < CViewProperties::kLevelCount; ++nStep)
    {
        const int nLevel = CViewProperties::GetZoomLevel(GetZoom());
        if (nLevel == nTarget || nLevel == kUnset)
            return;
        if (!SetZoom(nLevel < nTarget ? 1 : -1, TRUE))
            return;
    }
}

BOOL CKDRView::CenterOnMapPoint(int x, int y)
{
    CMapPicture* pPicture = GetMapPicture();
    CDisplay* pDisplay = GetDisplay();
    if (GetGameMap() == nullptr || pPicture == nullptr || pDisplay == nullptr)
        return FALSE;
    if (CKDRApp* pApp = GetKDRApp(); pApp != nullptr && pApp->m_pSoundManager != nullptr)
        pApp->m_pSoundManager->PlayPickSound();
    const double zoom = GetZoom();
    const int nScrollX = x - TruncToInt(pDisplay->GetWidth() / (2.0 * zoom) + 1);
    const int nScrollY = y - TruncToInt(pDisplay->GetHeight() / (2.0 * zoom) + 1);
    pPicture->SetScroll(nScrollX, nScrollY);
    SetScrollClamped(RoundHalfUp(nScrollX * zoom), RoundHalfUp(nScrollY * zoom));
    RedrawMap(FALSE);
    return TRUE;
}

// ---------------------------------------------------------------------------
// Scrolling

void CKDRView::SetScrollClamped(int x, int y)
{
    CKDRDoc* pDoc = GetDocument();
    CRect rcPicture;
    if (GetGameMap() == nullptr || pDoc == nullptr || !pDoc->GetMapPictureRect(rcPicture))
    {
        ScrollToPosition(CPoint(std::max(0, x), std::max(0, y)));
        return;
    }
    const double zoom = GetZoom();
    CRect rcClient;
    GetClientRect(&rcClient);
    const int nMaxX = std::max(0, RoundHalfUp(rcPicture.right * zoom) - rcClient.Width());
    const int nMaxY = std::max(0, RoundHalfUp(rcPicture.bottom * zoom) - rcClient.Height());
    ScrollToPosition(CPoint(std::min(x, nMaxX), std::min(y, nMaxY)));
    if (GetMapPicture() != nullptr)
        RefreshOverviewMap();
}

void CKDRView::OnHScroll(UINT nSBCode, UINT nPos, CWnd*) { ScrollPicture(TRUE, nSBCode, nPos); }

void CKDRView::OnVScroll(UINT nSBCode, UINT nPos, CWnd*) { ScrollPicture(FALSE, nSBCode, nPos); }

void CKDRView::ScrollPicture(BOOL bHorizontal, UINT nSBCode, UINT nPos)
{
    CKDRDoc* pDoc = GetDocument();
    CKDRGameMap* pMap = GetGameMap();
    CMapPicture* pPicture = GetMapPicture();
    CRect rcPicture;
    if (pDoc == nullptr || pMap == nullptr || pPicture == nullptr || pMap->m_strTileGrid.IsEmpty() ||
        !pDoc->GetMapPictureRect(rcPicture))
        return;

    CRect rcClient;
    GetClientRect(&rcClient);
    int nVisibleX = 0;
    int nVisibleY = 0;
    ClientToPicture(rcClient.Width(), rcClient.Height(), &nVisibleX, &nVisibleY);
    nVisibleX = std::min(nVisibleX, pPicture->GetMapWidth());
    nVisibleY = std::min(nVisibleY, pPicture->GetMapHeight());
    const int nMax = std::max(0, bHorizontal ? rcPicture.right - nVisibleX : rcPicture.bottom - nVisibleY);
    const int nCurrent = bHorizontal ? pPicture->GetScrollX() : pPicture->GetScrollY();
    int nThumbX = 0;
    int nThumbY = 0;
    ClientToPicture(static_cast<int>(nPos), static_cast<int>(nPos), &nThumbX, &nThumbY);
    const int nThumb = bHorizontal ? nThumbX : nThumbY;

    int nMapMode = MM_TEXT;
    CSize total, page, line;
    GetDeviceScrollSizes(nMapMode, total, page, line);
    const int nLine = bHorizontal ? line.cx : line.cy;
    const int nPage = bHorizontal ? page.cx : page.cy;

    // Steps back and jumps go through the picture's clamp; steps forward
    // are cut at the largest scroll here and added.
    int nNext = nCurrent;
    BOOL bForward = FALSE;
    switch (nSBCode)
    {
    case SB_LINEUP: nNext = std::max(0, nCurrent - nLine); break;
    case SB_LINEDOWN:
        nNext = std::min(nCurrent + nLine, nMax);
        bForward = TRUE;
        break;
    case SB_PAGEUP: nNext = std::max(0, nCurrent - nPage); break;
    case SB_PAGEDOWN:
        nNext = std::min(nCurrent + nPage, nMax);
        bForward = TRUE;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNext = std::min(nThumb, nMax); break;
    case SB_TOP: nNext = 0; break;
    case SB_BOTTOM: nNext = nMax; break;
    default: return;
    }
    if (bForward)
    {
        if (bHorizontal)
            pPicture->ScrollX(nNext - nCurrent);
        else
            pPicture->ScrollY(nNext - nCurrent);
    }
    else if (bHorizontal)
        pPicture->SetScroll(nNext, pPicture->GetScrollY());
    else
        pPicture->SetScroll(pPicture->GetScrollX(), nNext);

    int x = 0;
    int y = 0;
    PictureToClient(pPicture->GetScrollX(), pPicture->GetScrollY(), &x, &y);
    SetScrollClamped(x, y);
    RedrawMap(FALSE);
}

// ---------------------------------------------------------------------------
// View properties

int CKDRView::InitViewProperties()
{
    CKDRApp* pApp = GetKDRApp();
    if (pApp == nullptr || !SetCurrentDir(pApp->m_strDataDir))
        return 1;
    if (m_pViewProperties->Load())
        return 1;
    *m_pViewProperties = CViewProperties();
    return 0;
}

void CKDRView::StoreViewProperties(BOOL bSave)
{
    CViewProperties& props = *m_pViewProperties;
    CKDRDoc* pDoc = GetDocument();
    CKDRApp* pApp = GetKDRApp();
    if (GetGameMap() != nullptr)
    {
        const int nLevel = CViewProperties::GetZoomLevel(GetZoom());
        if (nLevel != kUnset)
        {
            props.m_nCurrentLevel = nLevel;
            props.m_abOverviewMap[nLevel] = m_bOverviewMapOpen;
            // A window whose component is not loaded has no state to give;
            // the level keeps what it had.
            if (pDoc != nullptr && pDoc->GetUnits() != nullptr)
            {
                props.m_abFMLog[nLevel] = pDoc->IsFireMissionLogOpen();
                props.m_abHierarchyTree[nLevel] = pDoc->IsHierarchyTreeOpen();
            }
            if (pApp != nullptr && pApp->m_pSpotReports != nullptr)
                props.m_abSpotReportLog[nLevel] = pApp->m_pSpotReports->IsLogShown();
            props.m_abVehicles[nLevel] = m_bShowVehicles;
            props.m_abPlatoons[nLevel] = m_bShowPlatoons;
            props.m_abCompanies[nLevel] = m_bShowCompanies;
        }
    }
    if (pApp != nullptr)
    {
        if (pApp->m_pSoundManager != nullptr)
            props.m_bSoundOn = pApp->m_pSoundManager->IsSoundOn();
        props.m_bAutoScroll = pApp->m_bAutoScroll;
        for (int i = 0; i < 6; ++i)
            props.m_anAppWords[i] = pApp->m_anDisplaySettings[i];
        props.m_tsAppTime = CTimeSpan(pApp->m_anDisplaySettings[6]);
        for (int i = 6; i < CViewProperties::kAppWordCount; ++i)
            props.m_anAppWords[i] = pApp->m_anDisplaySettings[i + 1];
        props.m_strLabel = pApp->m_strDisplayLabel;
    }
    if (bSave)
        props.Save();
}

void CKDRView::ApplyViewProperties()
{
    CViewProperties& props = *m_pViewProperties;
    CKDRDoc* pDoc = GetDocument();
    CKDRApp* pApp = GetKDRApp();
    CKDRGameMap* pMap = GetGameMap();
    const float fScale = pMap != nullptr ? GetZoom() : 1.0f;
    const int nLevel = CViewProperties::GetZoomLevel(fScale);
    if (nLevel != kUnset)
        m_fStoredZoom = CViewProperties::GetZoomScale(props.m_nCurrentLevel);

    if (pApp != nullptr)
    {
        if (pApp->m_pSoundManager != nullptr)
            pApp->m_pSoundManager->SetSoundOn(props.m_bSoundOn);
        pApp->m_bAutoScroll = props.m_bAutoScroll;
        for (int i = 0; i < 6; ++i)
            pApp->m_anDisplaySettings[i] = props.m_anAppWords[i];
        pApp->m_anDisplaySettings[6] = static_cast<int>(props.m_tsAppTime.GetTotalSeconds());
        for (int i = 6; i < CViewProperties::kAppWordCount; ++i)
            pApp->m_anDisplaySettings[i + 1] = props.m_anAppWords[i];
        pApp->m_strDisplayLabel = props.m_strLabel;
    }
    if (nLevel == kUnset)
        return;

    m_bShowDestroyed = props.m_abDestroyedVehicles[nLevel];
    m_bDirectionArrows = props.m_abDirectionArrows[nLevel];
    m_bEnemySitTemp = props.m_abEnemySitTemp[nLevel];
    m_bFCExclude = props.m_abFCExclude[nLevel];
    m_bGridLines = props.m_abGridLines[nLevel];
    m_bManeuverGraphics = props.m_abManeuverGraphics[nLevel];
    m_bRangeArcs = props.m_abRangeArcs[nLevel];
    m_bShowFireControls = props.m_abShowFireControls[nLevel];
    m_bSpotReportLog = props.m_abSpotReportLog[nLevel];
    m_bUnitToolTips = props.m_abUnitToolTips[nLevel];
    m_bShowAllPaths = props.m_abShowAllPaths[nLevel];
    m_bTurretArrows = props.m_abTurretArrows[nLevel];
    m_bShowVehicles = props.m_abVehicles[nLevel];
    m_bShowPlatoons = props.m_abPlatoons[nLevel];
    m_bShowCompanies = props.m_abCompanies[nLevel];

    if (pMap != nullptr)
    {
        const int nStyle = props.m_anMapStyle[nLevel];
        const BOOL bColor = !pMap->m_strColorTiles.IsEmpty();
        const BOOL bContour = !pMap->m_strContourTiles.IsEmpty();
        const BOOL bPictures = (nStyle == CViewProperties::styleColor && bColor) ||
                               (nStyle == CViewProperties::styleContour && bContour) ||
                               (nStyle == CViewProperties::styleContourOverlay && bColor && bContour);
        if (bPictures && nStyle != pMap->GetMapDisplayMode() && pMap->SetMapDisplayMode(nStyle, GetDisplay()))
        {
            props.SetMapStyle(nStyle, fScale);
            RedrawMap(FALSE);
        }
    }

    if (pDoc != nullptr && pDoc->GetUnits() != nullptr && pDoc->IsFireMissionLogOpen() != props.m_abFMLog[nLevel])
        pDoc->ToggleFireMissionLog();
    if (pApp != nullptr && pApp->m_pSpotReports != nullptr &&
        pApp->m_pSpotReports->IsLogShown() != props.m_abSpotReportLog[nLevel])
        pApp->m_pSpotReports->ToggleLog();

    if (props.m_abOverviewMap[nLevel] != m_bOverviewMapOpen && IsCommandAllowed(ID_VIEW_OVERVIEW_MAP))
    {
        if (props.m_abOverviewMap[nLevel])
            OpenOverviewMap();
        else
            CloseOverviewMap();
        m_bOverviewMapOpen = props.m_abOverviewMap[nLevel];
        StoreViewProperties(FALSE);
    }

    m_nIconStyle = props.m_anIconStyle[nLevel];
    m_fIconSize = props.m_afIconSize[nLevel];
    if (pDoc != nullptr && pDoc->GetUnits() != nullptr)
    {
        pDoc->ApplyIconStyle(m_nIconStyle);
        pDoc->ApplyIconSize(m_fIconSize);
    }
    if (GetMapPicture() != nullptr)
        RefreshOverviewMap();
}

void CKDRView::SetHierarchyTreeShown(BOOL bShown) { m_pViewProperties->SetHierarchyTreeShown(bShown, GetZoom()); }

void CKDRView::StoreFMLogShown()
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc != nullptr && pDoc->GetUnits() != nullptr)
        m_pViewProperties->SetFMLogShown(pDoc->IsFireMissionLogOpen(), GetZoom());
}

void CKDRView::SetFMLogShown(BOOL bShown) { m_pViewProperties->SetFMLogShown(bShown, GetZoom()); }

void CKDRView::SetSpotReportLogShown(BOOL bShown) { m_pViewProperties->SetSpotReportLogShown(bShown, GetZoom()); }

// ---------------------------------------------------------------------------
// Companion windows and interaction

void CKDRView::OpenOverviewMap() {}
void CKDRView::RefreshOverviewMap() {}
void CKDRView::UpdateOverviewMap() {}

void CKDRView::CloseOverviewMap(BOOL bStore)
{
    if (!m_bOverviewMapOpen)
        return;
    m_bOverviewMapOpen = FALSE;
    if (bStore)
        StoreViewProperties(FALSE);
}

void CKDRView::OnOverviewMapClosed()
{
    m_bOverviewMapOpen = FALSE;
    StoreViewProperties(FALSE);
}

BOOL CKDRView::HasMapPictures() const
{
    CKDRGameMap* pMap = GetGameMap();
    return pMap != nullptr && pMap->GetMapPicture() != nullptr &&
           (!pMap->m_strColorTiles.IsEmpty() || !pMap->m_strContourTiles.IsEmpty());
}

int CKDRView::ShowMessageAtPoint(const CString& strTitle, const CString& strText, float fX, float fY)
{
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr || GetGameMap() == nullptr)
        return 0;
    pDoc->ShowMessageBoxDlg(strTitle, strText, fX, fY);
    RedrawMap(FALSE);
    return 1;
}

int CKDRView::ShowOrderMessageAtPoint(const CString& strTitle, const CString& strText, float fX, float fY)
{
    CancelInteraction();
    CKDRDoc* pDoc = GetDocument();
    if (pDoc == nullptr || GetGameMap() == nullptr)
        return 0;
    pDoc->ShowAIOrderMessageBox(strTitle, strText, fX, fY);
    RedrawMap(FALSE);
    return 1;
}

void CKDRView::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { CScrollView::OnChar(nChar, nRepCnt, nFlags); }
