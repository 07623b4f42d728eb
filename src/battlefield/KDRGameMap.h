#pragma once
// CKDRGameMap: the document's game map component. It holds a mission's map:
// the tiled map picture (colour and contour tile sheets placed by a tile
// grid), the elevation map with its terrain, and the pens the map's drawing
// routines share. The document owns at most one and loads it before every
// other component.
//
// Its scenario part (and the "*.gmp" file, written by the same Serialize)
// names the map's files: three words (tile columns, rows and count of the
// tile sheets; for the square tile sheets of the map picture the columns and
// rows are also the tile width and height in pixels) and seven names (colour
// tiles, tile grid, elevation map, contour tiles, a spare name, AI help map,
// its own name). LoadMapFiles then reads the named files; a file that does
// not open is asked for again in a file dialog until it opens or the user
// cancels. A cancelled picture or grid fails the load and leaves no picture;
// a cancelled elevation map leaves the map usable without one. A map that
// names no tile grid has no picture, and one that names no elevation file
// no elevation map; neither is asked for.
//
// The map answers the view's drawing, zoom and conversion needs (DrawMap,
// ChangeZoom, PictureToView, ViewToPicture, GetPositionText ...), draws the
// sight areas of units, and the movement blocking tests built on the
// elevation map. Drawing routines borrow the back surface's device context
// and give it back before they return; they change no state of the map.
//
// The AI help map (AITerrainArray.h), when the map names one, is loaded with
// the map and must load for the map to load; it joins the point test and
// every line of the corridor test, and answers the support-by-fire searches.
// Those searches return a new array that the caller owns and that borrows
// the help map's items: deleting it leaves them in the help map.

#include "platform/core/Core.h"
#include "platform/ui/DC.h"

#include <cmath>

class CAITerrainArray;
class CAITerrainRegion;
class CAITerrainRoute;
class CBreachArray;
class CDisplay;
class CElevationMap;
class CFrameSurface;
class CKDRObstacles;
class CMapPicture;
class CObstacle;
class CPieceArray;
class CSurface;
class CTerrain;
struct MoverInfo;

class CKDRGameMap : public CObject
{
    DECLARE_SERIAL(CKDRGameMap)
public:
    // Display modes (the View/Map menu).
    static constexpr int kModeColor = 0;
    static constexpr int kModeContour = 1;
    static constexpr int kModeContourOverColor = 2;

    // DrawMap flag: draw the 100 m and 1000 m grid lines.
    static constexpr int kDrawGrid = 0x1;

    // Zoom limits and the codes of ChangeZoom besides "in" (>= 1) and "out".
    static constexpr float kMinZoom = 0.25f;
    static constexpr float kMaxZoom = 8.0f;
    static constexpr int kZoomToMinimum = -99;
    static constexpr int kZoomToMaximum = 99;
    static constexpr int kZoomToNormal = -88;

    // The contour tiles' background, keyed out when they lie over the colour map.
    static constexpr COLORREF kContourKey = RGB(165, 165, 115);

    CKDRGameMap();
    ~CKDRGameMap() override;
    CKDRGameMap(const CKDRGameMap&) = delete;
    CKDRGameMap& operator=(const CKDRGameMap&) = delete;

    // The "*.gmp" form: three signed 16-bit words and seven strings.
    void Serialize(CArchive& ar) override;

    // --- Loading -------------------------------------------------------------
    // Loads the tile sheet, the tile grid, the help map and the elevation map
    // named by the scenario part, from the data directory; 1 on success, 0
    // when the picture, the grid or the help map cannot be had. Without a
    // display (no window) the pictures are read all the same.
    BOOL LoadMapFiles(CDisplay* pDisplay, const CString& strDataDir);
    // Reads a help map and installs it in place of the one the map has,
    // after asking whether to erase it (any answer but Yes keeps the old
    // one and answers 0). 0 when the file cannot be had or read (a file
    // that turns out bad is reported in a message box). The map's help-map
    // name becomes the name the file opened under.
    BOOL LoadHelpMap(const CString& name, const CString& strDataDir);
    // Takes ownership of a help map built in code (null removes the map's).
    void SetHelpMap(CAITerrainArray* pHelpMap);
    CAITerrainArray* GetHelpMap() const { return m_bHelpMapPresent ? m_pHelpMap : nullptr; }
    BOOL HasHelpMap() const { return GetHelpMap() != nullptr; }
    // Whether the scenario part names any of the map's files.
    BOOL HasMapFiles() const;
    // Whether the picture and its tile sheet are loaded.
    BOOL HasPicture() const;

    // --- Display mode and zoom -------------------------------------------------
    // Switches between colour (0), contour (1) and contour over colour (2);
    // 0 when the mode is current already or a tile sheet does not load (the
    // display then stays as it was).
    BOOL SetMapDisplayMode(int mode, CDisplay* pDisplay);
    int GetMapDisplayMode() const { return m_nDisplayMode; }
    // Code kZoomToMinimum, kZoomToMaximum, kZoomToNormal; >= 1 doubles, any
    // other halves. *limit: -1 at the least zoom, 1 at the greatest, else 0.
    // Always answers 1.
    int ChangeZoom(int code, int* limit);
    float GetZoom() const;

    // --- Drawing --------------------------------------------------------------
    // The picture (scaled unless the zoom is 1.0), the terrain features, the
    // contour overlay in mode 2 and, with kDrawGrid, the grid, onto the back
    // surface.
    void DrawMap(CSurface* pSurface, int flags);
    // The 100 m (dotted) and 1000 m (solid) grid lines in view pixels.
    void DrawGrid();
    // The sight area of an observer at (x, y): the range circle and 36 rays
    // of 2 x range metres. eye: the eye elevation in tenths of a metre, or
    // kUnset for the ground there.
    void DrawSightRays(float x, float y, int range, int eye);
    // The same for a unit's field of view: rays of rayLength metres (kUnset:
    // 2 x range), and only the sector from arcStart to arcEnd (mils counted
    // counter-clockwise from east) unless arcEnd is kUnset.
    void DrawSightCells(float x, float y, int range, int eye, int arcEnd, int arcStart, int rayLength);
    // The 13 Bezier points of the ellipse inscribed in the rectangle.
    static void EllipseToBezier(const CRect* pRect, CPoint points[13]);

    // --- What the static layers show ------------------------------------------
    // A number that changes whenever what DrawMap draws at a given zoom,
    // scroll and size may have changed: another picture, tile sheet, display
    // mode or elevation map, or a breach in the terrain. A view that keeps
    // the drawn static layers draws them again when the number differs, so
    // whatever changes the look of the terrain calls NoteLookChanged. No two
    // maps of a run share a number.
    DWORD GetLookRevision() const { return m_dwLookRevision; }
    void NoteLookChanged();

    // --- Conversions and text ------------------------------------------------
    // The status text of a picture pixel: grid reference, altitude and
    // terrain name; "Off of map"; empty without an elevation map.
    CString GetPositionText(int px, int py) const;
    // Picture pixels to view pixels: ((p - scroll) * zoom) rounded; the
    // scroll counts as (-99, -99) when the map names no tile grid. Answers 1.
    int PictureToView(int px, int py, int* vx, int* vy) const;
    // Map metres to view pixels through the picture.
    void MapToView(float x, float y, int* vx, int* vy) const;
    // View pixels to picture pixels: trunc(v / zoom + 0.5) + scroll.
    int ViewToPicture(int vx, int vy, int* px, int* py) const;
    // (0, 0, picture width, picture height); 0 without a picture.
    BOOL GetPictureRect(CRect* pRect) const;
    // The part of the picture the view shows, in picture pixels.
    BOOL GetVisiblePictureRect(CRect* pRect) const;
    // The picture's scroll y; kUnset when the map names no tile grid.
    int GetScrollY() const;
    // The visible part of the view in view pixels (0 x 0 without a picture).
    CSize GetVisibleViewSize() const;

    // --- Pens ------------------------------------------------------------------
    // The side pen of width clamp(width, 1, 4) in the flag's side colour.
    CPen* GetPen(int width, int flag);
    static COLORREF GetSideColor(int flag);
    // 0: the heavy grid pen, 1: the light one, else null; black and grey on
    // the colour map of map types 2 to 4, green otherwise.
    CPen* GetGridPen(int index);
    // The numbered pens 1 to 15 that other drawing code borrows; null for
    // any other number.
    CPen* GetNumberedPen(int number);

    // --- Support-by-fire searches ------------------------------------------------
    // Each answers a new array the caller owns, listing without owning them
    // the help map's support-by-fire items that match; empty without a help
    // map. Deleting the array leaves the items in the help map.
    // Items within radius of (x, y) that face the target (see
    // CAITerrainArray::FindSBFPositionsNear).
    CAITerrainArray* FindSBFPositionsNear(float x, float y, float radius, float targetX, float targetY) const;
    // Items within maxDistance facing the bearing, nearest first.
    CAITerrainArray* FindSBFPositionsFacing(float x, float y, float maxDistance, float bearing, int mask) const;
    // Items with indirect-fire positions in the ring from nearDistance to
    // farDistance around (x, y) and in the bearing window lo..hi. The map's
    // design lists this search as FindSBFPositionsInSector.
    CAITerrainArray* FindIFPositions(float x, float y, float lo, float hi, float nearDistance, float farDistance) const;

    // --- Received records ---------------------------------------------------------
    // A breach record of at least 36 bytes is applied by the record itself;
    // answers what the record's apply answered, 0 for a short record.
    int ApplyBreachRecord(const BYTE* pRecord, int nLength);

    // --- Elevation map and picture ------------------------------------------------
    // Takes ownership (null removes the map) and sets the presence flag.
    void SetElevationMap(CElevationMap* pMap);
    CElevationMap* GetElevationMap() const { return m_bElevationPresent ? m_pElevationMap : nullptr; }
    BOOL HasElevationMap() const { return m_bElevationPresent && m_pElevationMap != nullptr; }

    // Attaches a picture that the caller keeps (a loaded picture of this map
    // is freed first). LoadMapFiles makes a picture the map owns.
    void SetMapPicture(CMapPicture* pPicture);
    CMapPicture* GetMapPicture() const { return m_pPicture; }
    // The display the map loads its sheets into and lends device contexts of.
    void SetDisplay(CDisplay* pDisplay) { m_pDisplay = pDisplay; }
    CDisplay* GetDisplay() const { return m_pDisplay; }
    CFrameSurface* GetTileSurface() const { return m_pTileSurface; }
    CFrameSurface* GetOverlaySurface() const { return m_pOverlaySurface; }
    // The symbols the map's layers draw with: the one set here (not owned),
    // else the application's catalogue.
    void SetSymbolCatalogue(CPieceArray* pCatalogue) { m_pSymbolCatalogue = pCatalogue; }
    CPieceArray* GetSymbolCatalogue() const;
    // The back surface's device context, lent to the map's drawing routines
    // and given back before they return.
    CDC* LendDC() const;
    void ReturnDC() const;

    // --- Movement tests ----------------------------------------------------
    // 1 when a mover of these class bits may not stand at the point: off the
    // map, on ground it cannot cross, in a blocking region of the help map,
    // or where the obstacles block it. moverSide and abilityMask go
    // unchanged to the obstacle test.
    int IsPointBlocked(float x, float y, CKDRObstacles* obstacles, int moverFlags, int moverSide,
                       int abilityMask) const;
    // Walks a corridor of parallel lines 10 m apart (the centre line, then
    // +10, -10, +20, -20 m ...) of the given width, each as long as the move
    // plus extraLength; each line asks the help map (its blocking regions and
    // the obstacles) and then the ground. 1 with the first blocked point and
    // what blocks there: the help map's region (with its marker), the
    // obstacle, or the terrain feature (null for a slope). The outputs start
    // at -99.0 and null. moverSide and abilityMask go to the obstacle test.
    int FindSegmentBlock(CKDRObstacles* obstacles, float x1, float y1, float x2, float y2, float* blockedX,
                         float* blockedY, float width, float extraLength, int moverFlags, int moverSide,
                         CAITerrainRegion** region, CTerrain** feature, CObstacle** obstacle, int* marker,
                         int abilityMask) const;
    // The way on for a mover whose step is blocked, asked in this order of
    // whichever is given: the lanes of the terrain feature in the way, the
    // obstacles (mover.pObstacles; pCurrent is the obstacle in the way), the
    // mover's own help map, and the map's help map (bWide widens their
    // route search). The first that offers an entry with both coordinates
    // at least 0 and a route answers 1 with them. A lane or an obstacle
    // passage is a new route the caller owns (*pRouteCreated 1, *pReverse
    // and *pEntryIndex 0); a help map's route is its own item (*pRouteCreated
    // 0, the entry's direction and index as the route search gives them).
    // 0 with (-99.0, -99.0) and no route when nothing offers a way.
    int TestMoveBlocked(const MoverInfo& mover, const CBreachArray* pLanes, CObstacle* pCurrent,
                        const CAITerrainArray* pUnitHelpMap, BOOL bWide, float* crossX, float* crossY,
                        CAITerrainRoute** ppRoute, int* pRouteCreated, int* pReverse, int* pEntryIndex) const;
    // Inline: the detection sweep asks it for every pair of units.
    static float Distance(float x1, float y1, float x2, float y2)
    {
        return static_cast<float>(std::sqrt(std::pow(x2 - x1, 2) + std::pow(y2 - y1, 2)));
    }

    int m_nTileColumns = 0;
    int m_nTileRows = 0;
    int m_nTileCount = 0;
    CString m_strFileName;
    CString m_strColorTiles;
    CString m_strTileGrid;
    CString m_strElevation;
    CString m_strContourTiles;
    CString m_strSpare;
    CString m_strHelpMap;

private:
    // The numbered pens in their table order (pen n at index n - 1).
    enum PenIndex
    {
        kPen1 = 0,
        kPen2,
        kPenGridDarkHeavy,
        kPenGridDarkLight,
        kPenGridGreenHeavy,
        kPenGridGreenLight,
        kPen7,
        kPen8,
        kPenGrid100,
        kPenGrid1000,
        kPen11,
        kPen12,
        kPen13,
        kPen14,
        kPen15,
        kPenCount
    };

    void FreePicture();
    // A new frame surface with the named sheet, or null when it does not
    // load; *reason then says why one that is there could not be read
    // (empty when it is missing).
    CFrameSurface* LoadTileSheet(const CString& name, CDisplay* pDisplay, CString* reason = nullptr) const;
    // A file that is there but could not be read is named with the reason
    // before another is asked for; a missing one is simply asked for.
    static void ReportUnreadable(const CString& name, const CString& reason);
    // Asks for another file; FALSE when the user cancels.
    static BOOL AskForFile(const char* defaultExt, const char* initialName, CString& path);
    void DrawSightArea(float x, float y, int range, int eye, float rayLength, double firstBearing, int rayCount);

    CMapPicture* m_pPicture = nullptr;
    CFrameSurface* m_pTileSurface = nullptr;
    CFrameSurface* m_pOverlaySurface = nullptr;
    CElevationMap* m_pElevationMap = nullptr;
    int m_nDisplayMode = kModeColor;
    BOOL m_bTileSurfaceOwned = FALSE;
    BOOL m_bOverlayOwned = FALSE;
    BOOL m_bPictureOwned = FALSE;
    BOOL m_bElevationPresent = FALSE;
    CPen m_pens[kPenCount];
    CPen m_sidePens[2][4];
    CAITerrainArray* m_pHelpMap = nullptr;
    BOOL m_bHelpMapPresent = FALSE;
    DWORD m_dwLookRevision = 0;
    CDisplay* m_pDisplay = nullptr;             // not owned
    CPieceArray* m_pSymbolCatalogue = nullptr;  // not owned
};
