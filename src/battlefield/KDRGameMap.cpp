#include "battlefield/KDRGameMap.h"

#include "battlefield/AITerrainArray.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/MapPicture.h"
#include "battlefield/TerrainArray.h"
#include "net/NetUpdate.h"
#include "platform/core/Rounding.h"
#include "platform/ui/App.h"
#include "platform/ui/Display.h"
#include "platform/ui/UiService.h"
#include "shell/DrawService.h"

#include <algorithm>
#include <memory>

IMPLEMENT_SERIAL(CKDRGameMap, CObject, 1)

namespace
{
constexpr COLORREF SIDE_COLOR_CLEAR = RGB(17, 114, 181);
constexpr COLORREF SIDE_COLOR_SET = RGB(160, 60, 93);
constexpr COLORREF BLACK = RGB(0, 0, 0);

// Look revisions are drawn from one sequence for every map of the run.
DWORD g_dwLookSequence = 0;
}  // namespace

CKDRGameMap::CKDRGameMap() : m_strFileName("*.gmp"), m_dwLookRevision(++g_dwLookSequence)
{
    m_pens[kPen1].CreatePen(PS_SOLID, 3, RGB(128, 0, 0));
    m_pens[kPen2].CreatePen(PS_SOLID, 1, RGB(255, 128, 128));
    m_pens[kPenGridDarkHeavy].CreatePen(PS_SOLID, 3, BLACK);
    m_pens[kPenGridDarkLight].CreatePen(PS_SOLID, 1, RGB(128, 128, 128));
    m_pens[kPenGridGreenHeavy].CreatePen(PS_SOLID, 3, RGB(0, 128, 0));
    m_pens[kPenGridGreenLight].CreatePen(PS_SOLID, 1, RGB(128, 255, 128));
    m_pens[kPen7].CreatePen(PS_SOLID, 3, RGB(0, 0, 128));
    m_pens[kPen8].CreatePen(PS_SOLID, 1, RGB(128, 128, 255));
    m_pens[kPenGrid100].CreatePen(PS_DOT, 1, BLACK);
    m_pens[kPenGrid1000].CreatePen(PS_SOLID, 0, BLACK);
    m_pens[kPen11].CreatePen(PS_SOLID, 0, RGB(255, 255, 0));
    m_pens[kPen12].CreatePen(PS_SOLID, 2, RGB(128, 128, 255));
    m_pens[kPen13].CreatePen(PS_SOLID, 2, RGB(255, 255, 128));
    m_pens[kPen14].CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    m_pens[kPen15].CreatePen(PS_SOLID, 2, RGB(255, 255, 0));
    for (int width = 1; width <= 4; ++width)
    {
        m_sidePens[0][width - 1].CreatePen(PS_SOLID, width, SIDE_COLOR_CLEAR);
        m_sidePens[1][width - 1].CreatePen(PS_SOLID, width, SIDE_COLOR_SET);
    }
}

CKDRGameMap::~CKDRGameMap()
{
    FreePicture();
    delete m_pElevationMap;
    delete m_pHelpMap;
}

void CKDRGameMap::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << static_cast<WORD>(m_nTileColumns);
        ar << static_cast<WORD>(m_nTileRows);
        ar << static_cast<WORD>(m_nTileCount);
        ar << m_strColorTiles;
        ar << m_strTileGrid;
        ar << m_strElevation;
        ar << m_strContourTiles;
        ar << m_strSpare;
        ar << m_strHelpMap;
        ar << m_strFileName;
    }
    else
    {
        short nColumns = 0, nRows = 0, nCount = 0;
        ar >> nColumns;
        ar >> nRows;
        ar >> nCount;
        m_nTileColumns = nColumns;
        m_nTileRows = nRows;
        m_nTileCount = nCount;
        ar >> m_strColorTiles;
        ar >> m_strTileGrid;
        ar >> m_strElevation;
        ar >> m_strContourTiles;
        ar >> m_strSpare;
        ar >> m_strHelpMap;
        ar >> m_strFileName;
    }
}

// ---------------------------------------------------------------------------
// Loading

void CKDRGameMap::NoteLookChanged() { m_dwLookRevision = ++g_dwLookSequence; }

void CKDRGameMap::FreePicture()
{
    NoteLookChanged();
    if (m_bPictureOwned)
        delete m_pPicture;
    m_pPicture = nullptr;
    m_bPictureOwned = FALSE;
    if (m_bTileSurfaceOwned)
        delete m_pTileSurface;
    m_pTileSurface = nullptr;
    m_bTileSurfaceOwned = FALSE;
    if (m_bOverlayOwned)
        delete m_pOverlaySurface;
    m_pOverlaySurface = nullptr;
    m_bOverlayOwned = FALSE;
}

void CKDRGameMap::SetMapPicture(CMapPicture* pPicture)
{
    if (pPicture == m_pPicture)
        return;
    if (m_bPictureOwned)
        delete m_pPicture;
    m_pPicture = pPicture;
    m_bPictureOwned = FALSE;
    NoteLookChanged();
}

BOOL CKDRGameMap::HasMapFiles() const
{
    return !m_strTileGrid.IsEmpty() || !m_strElevation.IsEmpty() || !m_strHelpMap.IsEmpty();
}

BOOL CKDRGameMap::HasPicture() const
{
    return m_pPicture != nullptr && m_pTileSurface != nullptr && m_pTileSurface->IsLoaded() &&
           m_pPicture->GetMapWidth() > 0 && m_pPicture->GetMapHeight() > 0;
}

CFrameSurface* CKDRGameMap::LoadTileSheet(const CString& name, CDisplay* pDisplay, CString* reason) const
{
    auto pSurface = std::make_unique<CFrameSurface>();
    if (reason != nullptr)
        reason->Empty();
    if (name.IsEmpty() || !pSurface->Load(pDisplay, name, m_nTileColumns, m_nTileRows, m_nTileCount))
    {
        if (reason != nullptr)
            *reason = pSurface->GetLoadError();
        return nullptr;
    }
    return pSurface.release();
}

void CKDRGameMap::ReportUnreadable(const CString& name, const CString& reason)
{
    if (!reason.IsEmpty())
        AfxMessageBox(CString("'") + name + "' could not be read: " + reason + ".", MB_OK | MB_ICONEXCLAMATION);
}

BOOL CKDRGameMap::AskForFile(const char* defaultExt, const char* initialName, const CString& missing, CString& path)
{
    CFileDialog dialog(TRUE, defaultExt, initialName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, AfxGetMainWnd());
    dialog.SetMissingFile(missing);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    path = dialog.GetPathName();
    return TRUE;
}

BOOL CKDRGameMap::LoadMapFiles(CDisplay* pDisplay, const CString& strDataDir)
{
    // A second load starts from nothing, so that a failure leaves no half map.
    FreePicture();
    SetElevationMap(nullptr);
    delete m_pHelpMap;
    m_pHelpMap = nullptr;
    m_bHelpMapPresent = FALSE;
    m_pDisplay = pDisplay;

    // A map that names no tile grid has no picture; one that names a grid
    // needs its tiles and its grid.
    std::unique_ptr<CFrameSurface> pTiles;
    std::unique_ptr<CMapPicture> pPicture;
    if (!m_strTileGrid.IsEmpty())
    {
        CString reason;
        pTiles.reset(LoadTileSheet(m_strColorTiles, pDisplay, &reason));
        while (pTiles == nullptr)
        {
            ReportUnreadable(m_strColorTiles, reason);
            CString path;
            if (!AskForFile("bmp", "*.bmp", m_strColorTiles, path))
                return FALSE;
            m_strColorTiles = path;
            pTiles.reset(LoadTileSheet(m_strColorTiles, pDisplay, &reason));
        }

        pPicture = std::make_unique<CMapPicture>(pTiles.get(), pDisplay);
        while (!pPicture->LoadGrid(m_strTileGrid))
        {
            ReportUnreadable(m_strTileGrid, pPicture->GetLoadError());
            CString path;
            if (!AskForFile("map", "*.map", m_strTileGrid, path))
                return FALSE;
            m_strTileGrid = path;
        }
        // A picture too small for the tiles the grid names would show the
        // map black where they are missing: it is refused, and another is
        // asked for.
        while (pPicture->GetTilesOnSheet() <= pPicture->GetHighestTile())
        {
            CString text;
            text.Format("The map picture '%s' is %d x %d pixels: it holds %ld tiles of %d x %d pixels, and the map "
                        "needs %ld.\nChoose the map's own picture.",
                        m_strColorTiles.GetString(), pTiles->GetWidth(), pTiles->GetHeight(),
                        static_cast<long>(pPicture->GetTilesOnSheet()), pPicture->GetTileWidth(),
                        pPicture->GetTileHeight(), static_cast<long>(pPicture->GetHighestTile()) + 1);
            GetUiService().MessageBox(AfxGetMainWnd(), text, "Error", MB_OK | MB_ICONEXCLAMATION);
            CString path;
            if (!AskForFile("bmp", "*.bmp", m_strColorTiles, path))
                return FALSE;
            std::unique_ptr<CFrameSurface> pOther(LoadTileSheet(path, pDisplay, &reason));
            if (pOther == nullptr)
            {
                ReportUnreadable(path, reason);
                continue;
            }
            m_strColorTiles = path;
            pTiles = std::move(pOther);
            pPicture = std::make_unique<CMapPicture>(pTiles.get(), pDisplay);
            if (!pPicture->LoadGrid(m_strTileGrid))
            {
                ReportUnreadable(m_strTileGrid, pPicture->GetLoadError());
                return FALSE;
            }
        }
        pPicture->SetScroll(0, 0);
    }

    if (!m_strHelpMap.IsEmpty() && !LoadHelpMap(m_strHelpMap, strDataDir))
        return FALSE;

    if (!m_strElevation.IsEmpty())
    {
        auto pElevation = std::make_unique<CElevationMap>();
        CString errorText;
        BOOL bLoaded = LoadObjectFromFile(m_strElevation, *pElevation, errorText);
        while (!bLoaded)
        {
            CString path;
            if (!AskForFile("emp", "*.emp", m_strElevation, path))
            {
                // The map serves without elevation: every query answers as
                // off the map.
                m_strElevation.Empty();
                break;
            }
            m_strElevation = path;
            bLoaded = LoadObjectFromFile(m_strElevation, *pElevation, errorText);
        }
        if (bLoaded)
            SetElevationMap(pElevation.release());
    }

    m_pTileSurface = pTiles.release();
    m_bTileSurfaceOwned = m_pTileSurface != nullptr;
    m_pPicture = pPicture.release();
    m_bPictureOwned = m_pPicture != nullptr;
    m_nDisplayMode = kModeColor;
    if (CElevationMap* pElevation = GetElevationMap())
        pElevation->GetTerrain()->SetColourSet(m_nDisplayMode);
    NoteLookChanged();
    return TRUE;
}

BOOL CKDRGameMap::LoadHelpMap(const CString& name, const CString& strDataDir)
{
    auto pLoaded = std::make_unique<CAITerrainArray>();
    try
    {
        if (!pLoaded->LoadFromFile(name, strDataDir))
            return FALSE;
    }
    catch (const CException& e)
    {
        CString text;
        text.Format("The AI Help Map, %s, could not be read.\n%s", name.GetString(), e.GetErrorText().GetString());
        GetUiService().MessageBox(AfxGetMainWnd(), text, "Error", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (HasHelpMap() &&
        GetUiService().MessageBox(AfxGetMainWnd(),
                                  "This operation will erase the currently loaded AI Help Map.\nDo you wish to "
                                  "continue?",
                                  "Warning!", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return FALSE;
    delete m_pHelpMap;
    m_pHelpMap = pLoaded.release();
    m_bHelpMapPresent = TRUE;
    // The map names the file its help map came from, as it does for its
    // other files, so that saving the scenario names a file that opens.
    m_strHelpMap = m_pHelpMap->GetFileName();
    return TRUE;
}

void CKDRGameMap::SetHelpMap(CAITerrainArray* pHelpMap)
{
    if (pHelpMap != m_pHelpMap)
        delete m_pHelpMap;
    m_pHelpMap = pHelpMap;
    m_bHelpMapPresent = pHelpMap != nullptr;
}

// ---------------------------------------------------------------------------
// Support-by-fire searches

namespace
{
CAITerrainArray* NewSearchResult()
{
    auto* pResult = new CAITerrainArray;
    pResult->SetBorrowsItems(TRUE);
    return pResult;
}
}  // namespace

CAITerrainArray* CKDRGameMap::FindSBFPositionsNear(float x, float y, float radius, float targetX, float targetY) const
{
    CAITerrainArray* pResult = NewSearchResult();
    if (const CAITerrainArray* pHelpMap = GetHelpMap())
        pHelpMap->FindSBFPositionsNear(pResult, x, y, radius, targetX, targetY);
    return pResult;
}

CAITerrainArray* CKDRGameMap::FindSBFPositionsFacing(float x, float y, float maxDistance, float bearing, int mask) const
{
    CAITerrainArray* pResult = NewSearchResult();
    if (const CAITerrainArray* pHelpMap = GetHelpMap())
        pHelpMap->FindSBFPositionsFacing(pResult, x, y, maxDistance, bearing, mask);
    return pResult;
}

CAITerrainArray* CKDRGameMap::FindIFPositions(float x, float y, float lo, float hi, float nearDistance,
                                              float farDistance) const
{
    CAITerrainArray* pResult = NewSearchResult();
    if (const CAITerrainArray* pHelpMap = GetHelpMap())
        pHelpMap->FindIFPositions(pResult, x, y, lo, hi, nearDistance, farDistance);
    return pResult;
}

// ---------------------------------------------------------------------------
// Display mode and zoom

BOOL CKDRGameMap::SetMapDisplayMode(int mode, CDisplay* pDisplay)
{
    if (mode == m_nDisplayMode || mode < kModeColor || mode > kModeContourOverColor || m_pPicture == nullptr)
        return FALSE;
    if (pDisplay != nullptr)
        m_pDisplay = pDisplay;
    std::unique_ptr<CFrameSurface> pTiles(
        LoadTileSheet(mode == kModeContour ? m_strContourTiles : m_strColorTiles, m_pDisplay));
    if (pTiles == nullptr)
        return FALSE;
    std::unique_ptr<CFrameSurface> pOverlay;
    if (mode == kModeContourOverColor)
    {
        pOverlay.reset(LoadTileSheet(m_strContourTiles, m_pDisplay));
        if (pOverlay == nullptr)
            return FALSE;
        pOverlay->SetColorKey(DDColorMatch(pOverlay.get(), kContourKey));
    }

    m_pPicture->SetTileSheet(pTiles.get());
    if (m_bTileSurfaceOwned)
        delete m_pTileSurface;
    m_pTileSurface = pTiles.release();
    m_bTileSurfaceOwned = TRUE;
    if (pOverlay != nullptr)
    {
        if (m_bOverlayOwned)
            delete m_pOverlaySurface;
        m_pOverlaySurface = pOverlay.release();
        m_bOverlayOwned = TRUE;
    }
    m_nDisplayMode = mode;
    if (CElevationMap* pElevation = GetElevationMap())
        pElevation->GetTerrain()->SetColourSet(mode);
    NoteLookChanged();
    return TRUE;
}

int CKDRGameMap::ChangeZoom(int code, int* limit)
{
    int nLimit = 0;
    float zoom = GetZoom();
    if (code == kZoomToMinimum)
    {
        zoom = kMinZoom;
        nLimit = -1;
    }
    else if (code == kZoomToMaximum)
    {
        zoom = kMaxZoom;
        nLimit = 1;
    }
    else if (code == kZoomToNormal)
    {
        zoom = 1.0f;
    }
    else
    {
        zoom = code >= 1 ? zoom * 2.0f : zoom * 0.5f;
        if (zoom <= kMinZoom)
        {
            zoom = kMinZoom;
            nLimit = -1;
        }
        else if (zoom >= kMaxZoom)
        {
            zoom = kMaxZoom;
            nLimit = 1;
        }
    }
    if (m_pPicture != nullptr)
        m_pPicture->SetZoom(zoom);
    if (limit != nullptr)
        *limit = nLimit;
    return 1;
}

float CKDRGameMap::GetZoom() const { return m_pPicture != nullptr ? m_pPicture->GetZoom() : 1.0f; }

// ---------------------------------------------------------------------------
// Conversions and text

int CKDRGameMap::ViewToPicture(int vx, int vy, int* px, int* py) const
{
    const double zoom = GetZoom();
    int scrollX = kUnset;
    int scrollY = kUnset;
    if (m_pPicture != nullptr && !m_strTileGrid.IsEmpty())
    {
        scrollX = m_pPicture->GetScrollX();
        scrollY = m_pPicture->GetScrollY();
    }
    if (px != nullptr)
        *px = TruncToInt(vx / zoom + 0.5) + scrollX;
    if (py != nullptr)
        *py = TruncToInt(vy / zoom + 0.5) + scrollY;
    return 1;
}

BOOL CKDRGameMap::GetPictureRect(CRect* pRect) const
{
    if (!HasPicture())
        return FALSE;
    if (pRect != nullptr)
        *pRect = CRect(0, 0, m_pPicture->GetMapWidth(), m_pPicture->GetMapHeight());
    return TRUE;
}

BOOL CKDRGameMap::GetVisiblePictureRect(CRect* pRect) const
{
    if (m_pPicture == nullptr)
        return FALSE;
    if (pRect != nullptr)
    {
        const double zoom = m_pPicture->GetZoom();
        const int left = m_pPicture->GetScrollX();
        const int top = m_pPicture->GetScrollY();
        *pRect = CRect(left, top, left + TruncToInt(m_pPicture->GetDisplayWidth() / zoom + 0.5),
                       top + TruncToInt(m_pPicture->GetDisplayHeight() / zoom + 0.5));
    }
    return TRUE;
}

int CKDRGameMap::GetScrollY() const
{
    if (m_strTileGrid.IsEmpty() || m_pPicture == nullptr)
        return kUnset;
    return m_pPicture->GetScrollY();
}

CString CKDRGameMap::GetPositionText(int px, int py) const
{
    const CElevationMap* pElevation = GetElevationMap();
    if (pElevation == nullptr)
        return CString();
    float x = 0.0f;
    float y = 0.0f;
    pElevation->PixelToMap(px, py, &x, &y);
    const CString strReference = pElevation->GetGridReference(x, y);
    if (strReference == "Off of map")
        return strReference;
    CString strText;
    strText.Format("%s       ALT  %d", strReference.GetString(), static_cast<int>(pElevation->GetElevation(x, y)));
    const CString strTerrain = pElevation->GetTerrain()->GetTerrainNameAt(x, y);
    if (!strTerrain.IsEmpty())
        strText += "       " + strTerrain;
    return strText;
}

// ---------------------------------------------------------------------------
// Pens

CPen* CKDRGameMap::GetPen(int width, int flag) { return &m_sidePens[flag != 0 ? 1 : 0][std::clamp(width, 1, 4) - 1]; }

COLORREF CKDRGameMap::GetSideColor(int flag) { return flag != 0 ? SIDE_COLOR_SET : SIDE_COLOR_CLEAR; }

CPen* CKDRGameMap::GetGridPen(int index)
{
    if (index != 0 && index != 1)
        return nullptr;
    const CElevationMap* pElevation = GetElevationMap();
    const int mapType = pElevation != nullptr ? pElevation->GetMapType() : 0;
    const BOOL bDark = m_nDisplayMode == kModeColor && mapType >= 2 && mapType <= 4;
    if (bDark)
        return &m_pens[index == 0 ? kPenGridDarkHeavy : kPenGridDarkLight];
    return &m_pens[index == 0 ? kPenGridGreenHeavy : kPenGridGreenLight];
}

CPen* CKDRGameMap::GetNumberedPen(int number)
{
    if (number < 1 || number > kPenCount)
        return nullptr;
    return &m_pens[number - 1];
}

// ---------------------------------------------------------------------------
// Received records

int CKDRGameMap::ApplyBreachRecord(const BYTE* pRecord, int nLength)
{
    if (pRecord == nullptr || nLength < NETUPDATE_MIN_RECORD_BYTES)
        return 0;
    CNetUpdateBreach record;
    const int nApplied = record.Apply(pRecord, nLength, this);
    if (nApplied != 0)
        NoteLookChanged();
    return nApplied;
}

// ---------------------------------------------------------------------------
// Lending the back surface's device context

CPieceArray* CKDRGameMap::GetSymbolCatalogue() const
{
    if (m_pSymbolCatalogue != nullptr)
        return m_pSymbolCatalogue;
    const CDrawService* pDraw = GetDrawService();
    return pDraw != nullptr ? pDraw->GetSymbolCatalogue() : nullptr;
}

CDC* CKDRGameMap::LendDC() const
{
    CDrawService* pDraw = GetDrawService();
    if (pDraw != nullptr && pDraw->GetDisplay() == m_pDisplay && m_pDisplay != nullptr)
        return pDraw->GetSurfaceDC();
    return m_pDisplay != nullptr ? m_pDisplay->GetSurfaceDC() : nullptr;
}

void CKDRGameMap::ReturnDC() const
{
    CDrawService* pDraw = GetDrawService();
    if (pDraw != nullptr && pDraw->GetDisplay() == m_pDisplay && m_pDisplay != nullptr)
        pDraw->ReleaseSurfaceDC();
    else if (m_pDisplay != nullptr)
        m_pDisplay->ReleaseSurfaceDC();
}

void CKDRGameMap::MapToView(float x, float y, int* vx, int* vy) const
{
    int px = 0;
    int py = 0;
    if (const CElevationMap* pElevation = GetElevationMap())
        pElevation->MapToPixel(x, y, &px, &py);
    PictureToView(px, py, vx, vy);
}
