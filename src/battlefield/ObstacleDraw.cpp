// How obstacles and chemical areas draw themselves: each builds a sprite of
// its own at the map's zoom, and lays it on the back surface while it is in
// view. The sprite covers the obstacle's place in the map picture at that
// zoom, cut to the picture, so no obstacle asks for more than the map.
#include "battlefield/Obstacle.h"

#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "database/PieceArray.h"
#include "platform/core/Rounding.h"
#include "platform/ui/DC.h"
#include "platform/ui/Display.h"
#include "shell/DrawService.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kMilsPerCircle = 6400.0;
// Room around the rectangle for the outline and the symbols' wide pens.
constexpr int kSpriteMargin = 3;
constexpr int kWidePen = 3;

// The three shades of each palette, darkest first.
struct Shades
{
    COLORREF dark;
    COLORREF middle;
    COLORREF light;
};
constexpr Shades kRedShades{RGB(0x40, 0x00, 0x00), RGB(0xFF, 0x00, 0x00), RGB(0xFF, 0xC4, 0xC4)};
constexpr Shades kGreenShades{RGB(0x00, 0x40, 0x00), RGB(0x00, 0xFF, 0x00), RGB(0xC4, 0xFF, 0xC4)};
constexpr Shades kGreyShades{RGB(0x40, 0x40, 0x40), RGB(0x80, 0x80, 0x80), RGB(0xC4, 0xC4, 0xC4)};

// The symbols' pen pairs: the wide pen first, the narrow one over it.
struct PenPair
{
    COLORREF under;
    COLORREF over;
};
constexpr PenPair kRedPair{RGB(0xFF, 0x80, 0x80), RGB(0x80, 0x00, 0x00)};
constexpr PenPair kGreenPair{RGB(0x80, 0xFF, 0x80), RGB(0x00, 0x80, 0x00)};
constexpr PenPair kGreyPair{RGB(0xC4, 0xC4, 0xC4), RGB(0x40, 0x40, 0x40)};

constexpr COLORREF kSelectionColor = RGB(0x00, 0x00, 0xFF);

// An obstacle's colours are its side's: the enemy's in red, the own
// side's in green (wire in grey). They once followed whether the own units
// showed their pieces, a setting that changes with the zoom's icon style
// and with every load, so one mine field changed colour as the player
// zoomed.
BOOL DrawnInRed(const CObstacle& obstacle) { return obstacle.IsEnemy(); }

// The rectangle in the sprite's pixels: centre, unit vectors along and
// across the long axis (picture y grows downward) and half extents.
struct Frame
{
    double cx, cy;
    double ax, ay;
    double bx, by;
    double halfLength, halfWidth;

    CPoint At(double along, double across) const
    {
        return CPoint(RoundHalfUp(cx + along * ax + across * bx), RoundHalfUp(cy + along * ay + across * by));
    }
    void Corners(CPoint corners[4]) const
    {
        corners[0] = At(halfLength, halfWidth);
        corners[1] = At(halfLength, -halfWidth);
        corners[2] = At(-halfLength, -halfWidth);
        corners[3] = At(-halfLength, halfWidth);
    }
};

Frame MakeFrame(double cx, double cy, int attitude, double length, double width)
{
    const double phi = std::remainder(attitude * kTwoPi / kMilsPerCircle, kTwoPi);
    Frame f{};
    f.cx = cx;
    f.cy = cy;
    f.ax = std::sin(phi);
    f.ay = -std::cos(phi);
    f.bx = std::cos(phi);
    f.by = std::sin(phi);
    f.halfLength = length / 2.0;
    f.halfWidth = width / 2.0;
    return f;
}

// The obstacle's rectangle in the pixels of its sprite, which covers rc of
// the map picture at the map's zoom.
Frame FrameOnSprite(const CObstacle& o, const CKDRGameMap* pMap, const CRect& rc)
{
    int px = 0, py = 0;
    if (const CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(o.m_fX, o.m_fY, &px, &py);
    const double zoom = pMap->GetZoom();
    return MakeFrame(px * zoom - rc.left, py * zoom - rc.top, o.m_nAttitude, o.m_nLength * zoom * 0.5,
                     o.m_nWidth * zoom * 0.5);
}

// The bounding box of the corners, grown by the margin.
CRect BoundsOf(const Frame& f)
{
    CPoint corners[4];
    f.Corners(corners);
    CRect r(corners[0].x, corners[0].y, corners[0].x, corners[0].y);
    for (const CPoint& p : corners)
    {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x);
        r.bottom = std::max(r.bottom, p.y);
    }
    r.InflateRect(kSpriteMargin, kSpriteMargin);
    r.right += 1;
    r.bottom += 1;
    return r;
}

// The whole map picture at the map's zoom.
CRect ZoomedMapRect(const CKDRGameMap* pMap)
{
    const CElevationMap* pElevation = pMap->GetElevationMap();
    if (pElevation == nullptr)
        return CRect();
    const double zoom = pMap->GetZoom();
    return CRect(0, 0, static_cast<int>(std::ceil((pElevation->GetWidth() * 0.5 + 1.0) * zoom)),
                 static_cast<int>(std::ceil((pElevation->GetHeight() * 0.5 + 1.0) * zoom)));
}

void DrawCircle(CDC* pDC, CPoint centre, int radius)
{
    pDC->Ellipse(centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
}

// Draws a symbol twice: the wide pen, then the narrow one over it.
template <class Fn>
void DrawTwice(CDC* pDC, const PenPair& pair, Fn draw)
{
    CPen wide(PS_SOLID, kWidePen, pair.under);
    CPen narrow(PS_SOLID, 1, pair.over);
    CBrush hollow;
    hollow.CreateStockObject(HOLLOW_BRUSH);
    CBrush* pOldBrush = pDC->SelectObject(&hollow);
    CPen* pOldPen = pDC->SelectObject(&wide);
    draw();
    pDC->SelectObject(&narrow);
    draw();
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
}
}  // namespace

CFrameSurface* FindSymbolSheet(const CPieceArray* pCatalogue, const char* pszName, int* pFrame)
{
    if (pCatalogue == nullptr || pszName == nullptr)
        return nullptr;
    int frame = 0;
    const CPiece* pPiece = pCatalogue->FindListFrame(pszName, 0, &frame);
    if (pPiece == nullptr)
    {
        pPiece = pCatalogue->GetPiece(pCatalogue->FindPiece(pszName));
        frame = 0;
    }
    CFrameSurface* pSheet = pPiece != nullptr ? pPiece->GetSurface() : nullptr;
    if (pSheet == nullptr)
        return nullptr;
    if (!pSheet->HasColorKey())
        pSheet->SetColorKey(DDColorMatch(pSheet, SPRITE_COLOR_KEY));
    if (pFrame != nullptr)
        *pFrame = frame;
    return pSheet;
}

// ---------------------------------------------------------------------------
// The sprite

void CObstacle::GetZoomedCentre(const CKDRGameMap* pMap, double* zx, double* zy) const
{
    int px = 0, py = 0;
    if (const CElevationMap* pElevation = pMap->GetElevationMap())
        pElevation->MapToPixel(m_fX, m_fY, &px, &py);
    const double zoom = pMap->GetZoom();
    *zx = px * zoom;
    *zy = py * zoom;
}

void CObstacle::FreeSprite()
{
    m_pSprite.reset();
    m_rcSprite.SetRectEmpty();
    m_fSpriteZoom = 0.0f;
}

CSprite* CObstacle::NewSpriteFor(CKDRGameMap* pMap, CRect rcPicture)
{
    FreeSprite();
    CDisplay* pDisplay = pMap->GetDisplay();
    if (pDisplay == nullptr)
        return nullptr;
    if (!rcPicture.IntersectRect(rcPicture, ZoomedMapRect(pMap)))
        return nullptr;
    auto pSheet = std::make_unique<CFrameSurface>();
    if (!pSheet->CreateBlank(pDisplay, rcPicture.Width(), rcPicture.Height()))
        return nullptr;
    const DWORD key = DDColorMatch(pSheet.get(), SPRITE_COLOR_KEY);
    pSheet->ColorFill(CRect(0, 0, rcPicture.Width(), rcPicture.Height()), key);
    pSheet->SetColorKey(key);
    m_pSprite = std::make_unique<CSprite>(pSheet.release(), TRUE);
    m_rcSprite = rcPicture;
    m_fSpriteZoom = pMap->GetZoom();
    return m_pSprite.get();
}

BOOL CObstacle::IsSpriteStale(const CKDRGameMap* pMap) const
{
    return m_pSprite == nullptr || m_pSprite->GetSheet() == nullptr || m_pSprite->GetSheet()->IsLost() ||
           m_fSpriteZoom != pMap->GetZoom();
}

BOOL CObstacle::IsOnSprite(float x, float y, const CKDRGameMap* pMap) const
{
    if (pMap == nullptr || m_pSprite == nullptr || m_fSpriteZoom != pMap->GetZoom())
        return FALSE;
    const CFrameSurface* pSheet = m_pSprite->GetSheet();
    if (pSheet == nullptr || pSheet->IsLost())
        return FALSE;
    const CElevationMap* pElevation = pMap->GetElevationMap();
    if (pElevation == nullptr)
        return FALSE;
    int px = 0, py = 0;
    pElevation->MapToPixel(x, y, &px, &py);
    const int u = RoundHalfUp(px * static_cast<double>(m_fSpriteZoom)) - m_rcSprite.left;
    const int v = RoundHalfUp(py * static_cast<double>(m_fSpriteZoom)) - m_rcSprite.top;
    const CRect frame = pSheet->GetFrameRect(m_pSprite->GetFrame());
    if (u < 0 || v < 0 || u >= frame.Width() || v >= frame.Height())
        return FALSE;
    return pSheet->GetPixel(frame.left + u, frame.top + v) != SPRITE_COLOR_KEY;
}

void CObstacle::BlitSprite(CKDRGameMap* pMap) const
{
    CDisplay* pDisplay = pMap->GetDisplay();
    const CMapPicture* pPicture = pMap->GetMapPicture();
    if (m_pSprite == nullptr || pDisplay == nullptr || pPicture == nullptr)
        return;
    const double zoom = m_fSpriteZoom;
    const int vx = m_rcSprite.left - RoundHalfUp(pPicture->GetScrollX() * zoom);
    const int vy = m_rcSprite.top - RoundHalfUp(pPicture->GetScrollY() * zoom);
    const CRect onView(vx, vy, vx + m_rcSprite.Width(), vy + m_rcSprite.Height());
    CRect shown;
    if (!shown.IntersectRect(onView, CRect(0, 0, pDisplay->GetWidth(), pDisplay->GetHeight())))
        return;
    m_pSprite->SetPosition(vx, vy);
    m_pSprite->Draw(pDisplay->GetBackSurface());
}

void CObstacle::Update(CKDRGameMap* pMap)
{
    if (pMap == nullptr || pMap->GetDisplay() == nullptr)
        return;
    // The crater's piece follows its state: it changes when the crater fires.
    if (m_nType == kRoadCrater && !IsChemArea())
        BuildCraterSprite(pMap);
    else if (IsSpriteStale(pMap))
        DrawOnMapSurface(pMap, m_bHighlight);
    BlitSprite(pMap);
}

void CObstacle::DrawOnMapSurface(CKDRGameMap* pMap, BOOL highlight)
{
    m_bHighlight = highlight;
    if (pMap == nullptr)
        return;
    if (m_nType == kRoadCrater)
        BuildCraterSprite(pMap);
    else
        BuildShapeSprite(pMap);
}

void CObstacle::BuildCraterSprite(CKDRGameMap* pMap)
{
    FreeSprite();
    if (pMap->GetDisplay() == nullptr || pMap->GetElevationMap() == nullptr)
        return;
    const char* pszColour = m_bHighlight ? "Blue" : DrawnInRed(*this) ? "Red" : "Grey";
    CString name;
    name.Format("Road Crater %s %s", m_bFired ? "Fired" : "Unfired", pszColour);
    int frame = 0;
    CFrameSurface* pSheet = FindSymbolSheet(pMap->GetSymbolCatalogue(), name, &frame);
    if (pSheet == nullptr)
        return;
    double cx = 0, cy = 0;
    GetZoomedCentre(pMap, &cx, &cy);
    m_pSprite = std::make_unique<CSprite>(pSheet, FALSE);
    m_pSprite->SetFrame(frame);
    const int fw = pSheet->GetFrameWidth();
    const int fh = pSheet->GetFrameHeight();
    const int left = RoundHalfUp(cx) - fw / 2;
    const int top = RoundHalfUp(cy) - fh / 2;
    m_rcSprite.SetRect(left, top, left + fw, top + fh);
    m_fSpriteZoom = pMap->GetZoom();
}

void CObstacle::BuildShapeSprite(CKDRGameMap* pMap)
{
    if (pMap->GetElevationMap() == nullptr)
    {
        FreeSprite();
        return;
    }
    const double zoom = pMap->GetZoom();
    double cx = 0, cy = 0;
    GetZoomedCentre(pMap, &cx, &cy);
    const Frame whole = MakeFrame(cx, cy, m_nAttitude, m_nLength * zoom * 0.5, m_nWidth * zoom * 0.5);
    CSprite* pSprite = NewSpriteFor(pMap, BoundsOf(whole));
    if (pSprite == nullptr)
        return;
    CFrameSurface* pSheet = pSprite->GetSheet();
    const Frame f = FrameOnSprite(*this, pMap, m_rcSprite);
    CPoint corners[4];
    f.Corners(corners);

    const BOOL red = DrawnInRed(*this);
    const Shades& shades = red ? kRedShades : m_nType == kWire ? kGreyShades : kGreenShades;
    CDC* pDC = pSheet->GetDC();
    if (pDC != nullptr)
    {
        CPen outline(PS_SOLID, 1, shades.dark);
        CBrush fill(shades.light);
        CPen* pOldPen = pDC->SelectObject(&outline);
        CBrush* pOldBrush = pDC->SelectObject(&fill);
        pDC->Polygon(corners, 4);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
        switch (m_nType)
        {
        case kMineField: DrawMineFieldSymbol(pDC, pMap, red); break;
        case kWire: DrawWireSymbol(pDC, pMap, red); break;
        case kTankDitch: DrawTankDitchSymbol(pDC, pMap, red); break;
        default: break;
        }
        for (int i = 0; i < m_lanes.GetSize(); ++i)
        {
            if (const CBreach* pLane = m_lanes.GetAt(i))
                pLane->DrawOnSprite(m_rcSprite, pDC, pMap);
        }
        pSheet->ReleaseDC();
    }
    DrawContactMarkers(pMap);
    if (!m_bHighlight)
        return;
    pDC = pSheet->GetDC();
    if (pDC != nullptr)
    {
        CPen selection(PS_SOLID, 2, kSelectionColor);
        CBrush hollow;
        hollow.CreateStockObject(HOLLOW_BRUSH);
        CPen* pOldPen = pDC->SelectObject(&selection);
        CBrush* pOldBrush = pDC->SelectObject(&hollow);
        pDC->Polygon(corners, 4);
        pDC->SelectObject(pOldPen);
        pDC->SelectObject(pOldBrush);
        pSheet->ReleaseDC();
    }
}

void CObstacle::DrawContactMarkers(CKDRGameMap* pMap)
{
    const CContactArray* pContacts = GetContacts();
    if (pContacts == nullptr || m_pSprite == nullptr)
        return;
    for (int i = 0; i < pContacts->GetSize(); ++i)
    {
        if (const CContact* pContact = pContacts->GetAt(i))
            pContact->DrawOnSprite(GetObstacleType(), m_rcSprite, m_pSprite->GetSheet(), pMap);
    }
}

// ---------------------------------------------------------------------------
// The symbols, in the sprite's pixels

void CObstacle::DrawMineFieldSymbol(CDC* pDC, const CKDRGameMap* pMap, BOOL red) const
{
    const Frame f = FrameOnSprite(*this, pMap, m_rcSprite);
    // Three mines on the long axis: the centre one and one halfway to each end.
    const int radius = std::max(2, RoundHalfUp(std::min(f.halfWidth, f.halfLength / 3.0) * 0.6));
    const double step = f.halfLength / 2.0;
    DrawTwice(pDC, red ? kRedPair : kGreenPair,
              [&]
              {
                  for (int k = -1; k <= 1; ++k)
                      DrawCircle(pDC, f.At(k * step, 0.0), radius);
              });
}

void CObstacle::DrawWireSymbol(CDC* pDC, const CKDRGameMap* pMap, BOOL red) const
{
    const Frame f = FrameOnSprite(*this, pMap, m_rcSprite);
    // Seven coils in a row, an eighth of the length apart.
    const double step = f.halfLength / 4.0;
    const int radius = std::max(1, RoundHalfUp(std::min(step / 2.0, f.halfWidth)));
    DrawTwice(pDC, red ? kRedPair : kGreyPair,
              [&]
              {
                  for (int k = -3; k <= 3; ++k)
                      DrawCircle(pDC, f.At(k * step, 0.0), radius);
              });
}

void CObstacle::DrawTankDitchSymbol(CDC* pDC, const CKDRGameMap* pMap, BOOL red) const
{
    const Frame f = FrameOnSprite(*this, pMap, m_rcSprite);
    // The ditch line along the axis with teeth on its near side, an eighth
    // of the length apart.
    const double reach = f.halfLength * 0.9;
    const double step = f.halfLength / 4.0;
    const double tooth = f.halfWidth * 0.6;
    DrawTwice(pDC, red ? kRedPair : kGreenPair,
              [&]
              {
                  pDC->MoveTo(f.At(-reach, 0.0));
                  pDC->LineTo(f.At(reach, 0.0));
                  for (int k = -3; k <= 3; ++k)
                  {
                      pDC->MoveTo(f.At(k * step, 0.0));
                      pDC->LineTo(f.At(k * step, tooth));
                  }
              });
}

// ---------------------------------------------------------------------------
// Chemical areas

void CChem::Update(CKDRGameMap* pMap)
{
    if (IsActive())
        CObstacle::Update(pMap);
}

void CChem::DrawOnMapSurface(CKDRGameMap* pMap, BOOL highlight)
{
    m_bHighlight = highlight;
    if (pMap == nullptr || pMap->GetElevationMap() == nullptr)
        return;
    const double zoom = pMap->GetZoom();
    double cx = 0, cy = 0;
    GetZoomedCentre(pMap, &cx, &cy);
    // A square of twice the radius.
    const double half = m_nWidth * zoom * 0.5;
    const CRect square(RoundHalfUp(cx - half), RoundHalfUp(cy - half), RoundHalfUp(cx + half) + 1,
                       RoundHalfUp(cy + half) + 1);
    CSprite* pSprite = NewSpriteFor(pMap, square);
    if (pSprite == nullptr)
        return;
    int frame = 0;
    CFrameSurface* pPiece = FindSymbolSheet(pMap->GetSymbolCatalogue(), "Chem Purple", &frame);
    if (pPiece != nullptr)
    {
        const CRect onSprite(square.left - m_rcSprite.left, square.top - m_rcSprite.top, square.right - m_rcSprite.left,
                             square.bottom - m_rcSprite.top);
        pPiece->Blt(onSprite, pSprite->GetSheet(), pPiece->GetFrameRect(frame), TRUE);
    }
    DrawContactMarkers(pMap);
}
