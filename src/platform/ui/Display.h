#pragma once
// The drawing layer under the map: one display per run with a visible
// primary surface (the map view's window) and a back surface of a fixed
// size on which every frame is drawn in full and then presented in one step;
// off-screen surfaces with colour-keyed, stretched and clipped copies between
// them; sheets of frames; sprites drawn from a frame of a sheet.
//
// Surfaces are images in memory (32 bits per pixel, 0x00RRGGBB). A colour
// key is a physical pixel value, so a COLORREF must go through DDColorMatch
// before it becomes a key. Every copy stays inside both surfaces: rectangles
// reaching past an edge are cut, never read or written outside.
//
// A surface can be lost as when video memory is taken away (LoseSurfaces
// forces it). A lost surface refuses copies with DDERR_SURFACELOST and
// restores itself on the way (a surface loaded from a bitmap reloads it; a
// blank one comes back black); the next paint draws again.
//
// Without a window (tests, tools) the display presents into its primary
// surface only.
//
// This header is free of Qt (QImage is only forward-declared).

#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/DC.h"

#include <memory>
#include <vector>

class CDisplay;
class CMapPicture;
class CWnd;
class QImage;

// Results of the surface operations.
typedef LONG DDRESULT;
constexpr DDRESULT DD_OK = 0;
constexpr DDRESULT DDERR_GENERIC = -1;
constexpr DDRESULT DDERR_INVALIDPARAMS = -2;
constexpr DDRESULT DDERR_INVALIDRECT = -3;
constexpr DDRESULT DDERR_INVALIDOBJECT = -4;
constexpr DDRESULT DDERR_NOCOLORKEY = -5;
constexpr DDRESULT DDERR_OUTOFMEMORY = -6;
constexpr DDRESULT DDERR_SURFACELOST = -7;
constexpr DDRESULT DDERR_UNSUPPORTED = -8;
constexpr DDRESULT DDERR_CANTCREATEDC = -9;
constexpr DDRESULT DDERR_NODC = -10;
constexpr DDRESULT DDERR_DCALREADYCREATED = -11;
constexpr DDRESULT DDERR_NOTFOUND = -12;

// The transparent colour of every sprite and symbol sheet.
constexpr COLORREF SPRITE_COLOR_KEY = RGB(255, 0, 255);

class CSurface
{
public:
    CSurface();
    virtual ~CSurface();
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    // Loads a bitmap file (".bmp" and the other formats Qt reads) into a new
    // surface of its size and keeps its name for reloading. FALSE, with no
    // report, when it cannot be loaded; GetLoadError then says why a file
    // that is there could not be read (empty when it is missing).
    virtual BOOL CreateFromBitmap(CDisplay* display, const char* name);
    const CString& GetLoadError() const { return m_loadError; }
    // A blank surface; a failure goes to ReportDDError.
    virtual BOOL Create(CDisplay* display, int width, int height);

    // The copies use the source and destination rectangles kept on this
    // (the source) surface.
    virtual DDRESULT BltClipped(CSurface* target);
    virtual DDRESULT BltFast(int x, int y, CSurface* target);
    virtual DDRESULT BltStretchKeyed(CSurface* target);
    virtual DDRESULT BltFastKeyed(int x, int y, CSurface* target);
    virtual DDRESULT BltFastKeyedClipped(int x, int y, CSurface* target, const CRect& clip);
    // The whole surface stretched over the whole target (the window's surface).
    virtual DDRESULT BltToWindow(CSurface* target);
    // The whole surface at (x, y), scaled by zoom, keyed.
    virtual DDRESULT BltScaledKeyed(int x, int y, float zoom, CSurface* target);
    virtual DDRESULT MirrorLeftRight();
    virtual DDRESULT MirrorUpDown();

    // One piece of a band copy: a source rectangle's left edge, top edge and
    // width, and the left edge it goes to on the target.
    struct BandPiece
    {
        int sourceLeft;
        int sourceTop;
        int width;
        int destLeft;
    };
    // Pieces of this surface copied pixel for pixel, each nHeight rows high,
    // onto the band of the target that starts at row nDestTop, keyed when
    // asked: the pixels of a BltFast (or BltFastKeyed) of each piece in
    // turn, for pieces that do not overlap on the target. The rows are
    // copied across all the pieces in turn, so both surfaces are walked row
    // by row: the pieces of one row of map tiles lie side by side on the
    // target and near each other on their sheet. The first failure is
    // answered.
    DDRESULT BltBand(const std::vector<BandPiece>& pieces, int nDestTop, int nHeight, CSurface* target, BOOL keyed);
    // Stretched copy of a source rectangle onto a destination rectangle,
    // keyed with this surface's colour key when asked; the general form
    // of all copies above.
    DDRESULT Blt(const CRect& dest, CSurface* target, const CRect& source, BOOL keyed);
    // Fills a rectangle of this surface with a physical colour.
    DDRESULT ColorFill(const CRect& rect, DWORD physicalColor);

    void SetColorKey(DWORD physicalColor);
    DWORD GetColorKey() const { return m_colorKey; }
    BOOL HasColorKey() const { return m_hasColorKey; }

    // A device context on this surface for line and text drawing; valid
    // until ReleaseDC. Asked again before release, it answers the same one.
    CDC* GetDC();
    void ReleaseDC();
    CDC* GetLentDC() const { return m_pDC.get(); }

    BOOL IsLost() const { return m_lost; }
    // Brings a lost surface back, reloading its bitmap when it has a name.
    DDRESULT Restore();
    // What the loss of video memory does to the surface: it is marked lost
    // and its pixels are gone.
    void MarkLost();

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    const CString& GetBitmapName() const { return m_bitmapName; }
    CDisplay* GetDisplay() const { return m_pDisplay; }

    void SetSourceRect(const CRect& r) { m_source = r; }
    void SetDestRect(const CRect& r) { m_dest = r; }
    const CRect& GetSourceRect() const { return m_source; }
    const CRect& GetDestRect() const { return m_dest; }

    // The pixels, for drawing code that works on the image directly.
    QImage& GetImage() { return *m_pImage; }
    const QImage& GetImage() const { return *m_pImage; }
    // Pixel as a COLORREF; CLR_INVALID outside the surface.
    COLORREF GetPixel(int x, int y) const;

protected:
    // Takes an image as the surface's content (size, rectangles, owner).
    void Attach(CDisplay* display, QImage image);
    // Draws on an image that someone else owns (the window's client image).
    void AttachExternal(CDisplay* display, QImage* image);
    // Takes the size of an external image again (the window was resized).
    void SyncExternalSize();
    void Detach();
    BOOL IsUsable() const;
    // Both mirror operations: a lost surface is restored and reported.
    DDRESULT Mirror(bool horizontally, bool vertically);

    int m_width = 0;
    int m_height = 0;
    CString m_bitmapName;
    CString m_loadError;
    std::unique_ptr<CDC> m_pDC;
    DWORD m_colorKey = 0;
    BOOL m_hasColorKey = FALSE;
    CRect m_source;
    CRect m_dest;
    std::unique_ptr<QImage> m_pOwnImage;  // never null
    QImage* m_pImage;                     // the own image, or the window's
    BOOL m_lost = FALSE;
    CDisplay* m_pDisplay = nullptr;

    // The runs of pixels that are not the colour key, for keyed band copies.
    struct KeyedRuns;
    const KeyedRuns* GetKeyedRuns(DWORD key);
    std::unique_ptr<KeyedRuns> m_pKeyedRuns;

    friend class CDisplay;
    friend DDRESULT DDCopyBitmap(CSurface*, const QImage&, int, int, int, int);
};

// A surface cut into a grid of equal frames, frame k at column k % columns
// and row k / columns. The map's tile sheet is loaded with the tile width
// and height in pixels in the places of columns and rows.
class CFrameSurface : public CSurface
{
public:
    CFrameSurface();
    CFrameSurface(CDisplay* display, const char* name, int columns, int rows, int count);

    // FALSE when the name is null or the bitmap does not load.
    virtual BOOL Load(CDisplay* display, const char* name, int columns, int rows, int count);
    // One blank frame of the whole size, for a picture drawn in code; a
    // surface that is lost comes back black, so its maker draws it again.
    BOOL CreateBlank(CDisplay* display, int width, int height);

    BOOL IsLoaded() const { return m_bLoaded; }
    int GetColumns() const { return m_columns; }
    int GetRows() const { return m_rows; }
    int GetFrameCount() const { return m_count; }
    // 0 when the grid is empty.
    int GetFrameWidth() const;
    int GetFrameHeight() const;
    // The frame's rectangle; empty for a frame outside the grid.
    CRect GetFrameRect(int frame) const;

protected:
    int m_columns = 0;
    int m_rows = 0;
    int m_count = 0;
    BOOL m_bLoaded = FALSE;
};

// One frame of a sheet at a screen position and scale.
class CSprite
{
public:
    explicit CSprite(CFrameSurface* sheet = nullptr, BOOL ownsSheet = FALSE);
    ~CSprite();
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    // x and y are map-picture pixels in and screen pixels out: the sprite is
    // centred on its map point.
    void SetMapPosition(int& x, int& y, const CMapPicture* picture);

    // Clipped to the display's back-surface size, then a keyed stretch.
    DDRESULT Draw(CSurface* target);
    // Clipped to the target's own size.
    DDRESULT DrawOnSurface(CSurface* target);
    // TRUE on a screen pixel that a draw at the sprite's place and scale
    // paints: the frame pixel under the pixel's centre, picked as the
    // stretching copy picks it, is not the transparent magenta. So a press
    // on what the player sees hits, at every scale.
    BOOL HitTest(int x, int y) const;
    int GetWidth() const;
    int GetHeight() const;

    BOOL PrepareDraw();
    BOOL PrepareDrawOnSurface(CSurface* target);

    void SetPosition(int x, int y)
    {
        m_x = x;
        m_y = y;
    }
    int GetX() const { return m_x; }
    int GetY() const { return m_y; }
    void SetFrame(int frame) { m_frame = frame; }
    int GetFrame() const { return m_frame; }
    void SetScale(float scale) { m_scale = scale; }
    float GetScale() const { return m_scale; }
    CFrameSurface* GetSheet() const { return m_pSheet; }
    void SetSheet(CFrameSurface* sheet, BOOL ownsSheet = FALSE);

private:
    BOOL Prepare(int clipWidth, int clipHeight);

    float m_scale = 1.0f;
    BOOL m_ownsSheet = FALSE;
    int m_x = 0;
    int m_y = 0;
    int m_frame = 0;
    CFrameSurface* m_pSheet = nullptr;
};

class CDisplay
{
public:
    CDisplay();
    ~CDisplay();
    CDisplay(const CDisplay&) = delete;
    CDisplay& operator=(const CDisplay&) = delete;

    // The primary surface is the window's client image (platform/ui/Wnd.h),
    // which the window puts on screen. The window may be null: the display
    // then presents into a primary surface of its own. FALSE after
    // ReportDDError when a surface cannot be made.
    BOOL Init(CWnd* window, int width, int height);
    void Release();
    // Restores lost surfaces and shows the back surface stretched over the
    // window's client area. When the client area has the back surface's
    // size the two images change places instead of being copied, so the
    // back surface then holds an earlier frame: every frame is drawn in full.
    void Present();
    BOOL IsRectOnScreen(int left, int top, int right, int bottom) const;

    CSurface* GetPrimarySurface() const { return m_pPrimary.get(); }
    CSurface* GetBackSurface() const { return m_pBack.get(); }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetColorDepth() const { return m_colorDepth; }
    CWnd* GetWindow() const { return m_pWindow; }
    BOOL IsFullScreen() const { return m_bFullScreen; }

    // The device context on the back surface that drawing routines borrow:
    // asking again without giving it back first gives the earlier one back
    // and lends a fresh one. ReleaseSurfaceDC answers FALSE when none is lent.
    CDC* GetSurfaceDC();
    BOOL ReleaseSurfaceDC();

    // Every surface of the display is lost, as when the display mode changes.
    void LoseSurfaces();

private:
    friend class CSurface;
    void Register(CSurface* surface);
    void Unregister(CSurface* surface);

    std::unique_ptr<CSurface> m_pPrimary;
    std::unique_ptr<CSurface> m_pBack;
    int m_width = 0;
    int m_height = 0;
    int m_colorDepth = 0;
    CWnd* m_pWindow = nullptr;
    struct WindowRef;
    std::unique_ptr<WindowRef> m_pWindowRef;  // tells whether m_pWindow still lives
    BOOL m_bFullScreen = FALSE;
    BOOL m_bSurfaceDCLent = FALSE;
    std::vector<CSurface*> m_surfaces;
};

// Bitmap loading: as a resource of the program (":/name"), else as a file
// resolved against the current directory; only a regular file is opened.
// FALSE when neither loads; *reason (when given) then says why a file that
// is there could not be read, and is empty when there is no such file.
BOOL DDLoadBitmap(const char* name, QImage& bitmap, int& width, int& height, CString* reason = nullptr);
DDRESULT DDReLoadBitmap(CSurface* surface, const char* name);
// Stretches the bitmap's (x, y, dx, dy) part (dx, dy 0: its own size) over
// the whole surface.
DDRESULT DDCopyBitmap(CSurface* surface, const QImage& bitmap, int x, int y, int dx, int dy);
// The physical pixel value of a colour on that surface (what SetColorKey
// takes); CLR_INVALID gives CLR_INVALID.
DWORD DDColorMatch(CSurface* surface, COLORREF rgb);
// Cuts a copy of src placed at (x, y) to the clip rectangle.
void ClipBltRects(int& x, int& y, CRect& src, const CRect& clip);
// "DirectDraw Error <name>" in a message box titled "Error"; then the
// application's quit message is posted (exit code 1), so the program ends
// at the next turn of its message loop.
void ReportDDError(DDRESULT result, CWnd* owner);
// The symbolic name of a result, "Unknown Error" for others.
const char* DDErrorName(DDRESULT result);
