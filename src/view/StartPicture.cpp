#include "view/StartPicture.h"

#include "platform/core/CString.h"
#include "platform/ui/DC.h"

#include <cmath>
#include <vector>

namespace
{
// A map sheet in the greens and browns of the terrain pictures.
constexpr COLORREF kGroundTop = RGB(34, 46, 30);
constexpr COLORREF kGroundBottom = RGB(74, 88, 56);
constexpr COLORREF kGridLine = RGB(92, 112, 78);
constexpr COLORREF kContour = RGB(150, 124, 74);
constexpr COLORREF kIndexContour = RGB(176, 146, 84);
constexpr COLORREF kFriendly = RGB(96, 160, 232);
constexpr COLORREF kEnemy = RGB(224, 72, 60);
constexpr COLORREF kTitle = RGB(236, 214, 146);
constexpr COLORREF kShadow = RGB(12, 16, 10);
constexpr COLORREF kSubtitle = RGB(208, 204, 176);
constexpr COLORREF kFrame = RGB(196, 176, 118);

constexpr int kGridStep = 100;
constexpr double kPi = 3.14159265358979;

// One hill: its top, and how its contours swell and wobble.
struct Hill
{
    int x;
    int y;
    double firstRadius;
    double step;
    int rings;
    double wobble;
    double phase;
};

COLORREF Blend(COLORREF from, COLORREF to, int part, int whole)
{
    auto mix = [&](int a, int b) { return a + (b - a) * part / whole; };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

void DrawGround(CDC* pDC)
{
    for (int y = 0; y < START_PICTURE_HEIGHT; ++y)
        pDC->FillSolidRect(0, y, START_PICTURE_WIDTH, 1, Blend(kGroundTop, kGroundBottom, y, START_PICTURE_HEIGHT));
    CPen grid(PS_SOLID, 1, kGridLine);
    CPen* pOld = pDC->SelectObject(&grid);
    for (int x = kGridStep; x < START_PICTURE_WIDTH; x += kGridStep)
    {
        pDC->MoveTo(x, 0);
        pDC->LineTo(x, START_PICTURE_HEIGHT);
    }
    for (int y = kGridStep; y < START_PICTURE_HEIGHT; y += kGridStep)
    {
        pDC->MoveTo(0, y);
        pDC->LineTo(START_PICTURE_WIDTH, y);
    }
    pDC->SelectObject(pOld);
}

void DrawContours(CDC* pDC)
{
    const Hill hills[] = {
        {170, 430, 18.0, 22.0, 7, 0.16, 0.0},
        {640, 470, 14.0, 19.0, 8, 0.20, 1.3},
        {690, 110, 12.0, 17.0, 5, 0.22, 2.1},
    };
    constexpr int kPoints = 96;
    CPen contour(PS_SOLID, 1, kContour);
    CPen indexContour(PS_SOLID, 2, kIndexContour);
    CPen* pOld = pDC->SelectObject(&contour);
    for (const Hill& hill : hills)
    {
        for (int ring = 0; ring < hill.rings; ++ring)
        {
            // Every fifth line is an index contour, drawn heavier.
            pDC->SelectObject(ring % 5 == 4 ? &indexContour : &contour);
            const double radius = hill.firstRadius + hill.step * ring;
            std::vector<CPoint> line;
            for (int i = 0; i <= kPoints; ++i)
            {
                const double a = 2.0 * kPi * i / kPoints;
                const double swell = 1.0 + hill.wobble * std::sin(3.0 * a + hill.phase + 0.4 * ring) +
                                     0.5 * hill.wobble * std::cos(5.0 * a - hill.phase);
                line.emplace_back(hill.x + int(std::lround(radius * 1.35 * swell * std::cos(a))),
                                  hill.y + int(std::lround(radius * swell * std::sin(a))));
            }
            pDC->Polyline(line.data(), int(line.size()));
        }
    }
    pDC->SelectObject(pOld);
}

// An armour symbol: a framed rectangle with the track oval inside.
void DrawArmourSymbol(CDC* pDC, int x, int y, COLORREF color)
{
    CPen pen(PS_SOLID, 2, color);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(x, y, x + 36, y + 24);
    pDC->Ellipse(x + 6, y + 6, x + 30, y + 18);
    pDC->SelectObject(pOldPen);
    if (auto* pBrush = dynamic_cast<CBrush*>(pOldBrush))
        pDC->SelectObject(pBrush);
}

void DrawForces(CDC* pDC)
{
    DrawArmourSymbol(pDC, 92, 520, kFriendly);
    DrawArmourSymbol(pDC, 144, 540, kFriendly);
    DrawArmourSymbol(pDC, 196, 518, kFriendly);
    DrawArmourSymbol(pDC, 560, 84, kEnemy);
    DrawArmourSymbol(pDC, 612, 60, kEnemy);
    // The axis of advance, from the friendly platoon towards the enemy.
    CPen axis(PS_DASH, 1, kFriendly);
    CPen* pOld = pDC->SelectObject(&axis);
    const CPoint path[] = {CPoint(236, 512), CPoint(330, 420), CPoint(450, 330), CPoint(540, 140)};
    pDC->Polyline(path, 4);
    pDC->SelectObject(pOld);
}

void DrawCentredText(CDC* pDC, const char* text, int height, int weight, COLORREF color, int top, int bottom,
                     int shadow)
{
    CFont font;
    font.CreateFont(-height, 0, 0, 0, weight, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    CFont* pOld = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    const CString line(text);
    if (shadow > 0)
    {
        CRect rcShadow(shadow, top + shadow, START_PICTURE_WIDTH + shadow, bottom + shadow);
        pDC->SetTextColor(kShadow);
        pDC->DrawText(line, &rcShadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    CRect rc(0, top, START_PICTURE_WIDTH, bottom);
    pDC->SetTextColor(color);
    pDC->DrawText(line, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SelectObject(pOld);
}

void DrawTitle(CDC* pDC)
{
    // A dark band under the title, so it reads over the contours.
    pDC->FillSolidRect(0, 200, START_PICTURE_WIDTH, 190, Blend(kShadow, kGroundTop, 1, 2));
    CPen rule(PS_SOLID, 2, kFrame);
    CPen* pOld = pDC->SelectObject(&rule);
    pDC->MoveTo(60, 200);
    pDC->LineTo(START_PICTURE_WIDTH - 60, 200);
    pDC->MoveTo(60, 389);
    pDC->LineTo(START_PICTURE_WIDTH - 60, 389);
    pDC->SelectObject(pOld);
    DrawCentredText(pDC, "KEDRAVIN", 104, FW_BOLD, kTitle, 210, 330, 4);
    DrawCentredText(pDC, "Mechanised ground combat", 26, FW_NORMAL, kSubtitle, 330, 380, 0);
}

void DrawFrame(CDC* pDC)
{
    CPen frame(PS_SOLID, 3, kFrame);
    CPen* pOld = pDC->SelectObject(&frame);
    CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(8, 8, START_PICTURE_WIDTH - 8, START_PICTURE_HEIGHT - 8);
    pDC->SelectObject(pOld);
    if (auto* pBrush = dynamic_cast<CBrush*>(pOldBrush))
        pDC->SelectObject(pBrush);
}
}  // namespace

void DrawStartPicture(CDC* pDC)
{
    if (pDC == nullptr)
        return;
    const int nSaved = pDC->SaveDC();
    DrawGround(pDC);
    DrawContours(pDC);
    DrawForces(pDC);
    DrawTitle(pDC);
    DrawFrame(pDC);
    pDC->RestoreDC(nSaved);
}

CRect FitStartPicture(const CRect& client)
{
    const long long cw = client.Width();
    const long long ch = client.Height();
    if (cw <= 0 || ch <= 0)
        return CRect(client.left, client.top, client.left, client.top);
    // The side that limits the scale takes the whole extent; the other is
    // rounded to the nearest pixel and centred.
    long long w = cw;
    long long h = (cw * START_PICTURE_HEIGHT + START_PICTURE_WIDTH / 2) / START_PICTURE_WIDTH;
    if (h > ch)
    {
        h = ch;
        w = (ch * START_PICTURE_WIDTH + START_PICTURE_HEIGHT / 2) / START_PICTURE_HEIGHT;
    }
    const int left = client.left + static_cast<int>((cw - w) / 2);
    const int top = client.top + static_cast<int>((ch - h) / 2);
    return CRect(left, top, left + static_cast<int>(w), top + static_cast<int>(h));
}

BOOL RegisterStartPicture()
{
    if (IsBitmapResourceRegistered(IDB_START_PICTURE))
        return TRUE;
    CBitmap picture;
    if (!picture.CreateBitmap(START_PICTURE_WIDTH, START_PICTURE_HEIGHT))
        return FALSE;
    {
        CDC dc;
        if (!dc.CreateCompatibleDC(nullptr))
            return FALSE;
        CBitmap* pOld = dc.SelectObject(&picture);
        DrawStartPicture(&dc);
        dc.SelectObject(pOld);
    }
    RegisterBitmapResourceImage(IDB_START_PICTURE, *picture.GetImage());
    return TRUE;
}
