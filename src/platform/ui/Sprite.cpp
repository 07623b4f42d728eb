// Animation frame sheets and the sprites drawn from them: a sheet cut into
// frames in columns and rows, and a placed, scaled instance of one frame.
#include "platform/ui/Display.h"
#include "platform/core/Rounding.h"

// ---------------------------------------------------------------------------
// CFrameSurface

CFrameSurface::CFrameSurface() = default;

CFrameSurface::CFrameSurface(CDisplay* display, const char* name, int columns, int rows, int count)
{
    Load(display, name, columns, rows, count);
}

BOOL CFrameSurface::Load(CDisplay* display, const char* name, int columns, int rows, int count)
{
    m_bLoaded = FALSE;
    if (!name)
        return FALSE;
    if (!CreateFromBitmap(display, name))
        return FALSE;
    m_columns = columns;
    m_rows = rows;
    m_count = count;
    m_bLoaded = TRUE;
    return TRUE;
}

BOOL CFrameSurface::CreateBlank(CDisplay* display, int width, int height)
{
    m_bLoaded = FALSE;
    if (!Create(display, width, height))
        return FALSE;
    m_columns = 1;
    m_rows = 1;
    m_count = 1;
    m_bLoaded = TRUE;
    return TRUE;
}

int CFrameSurface::GetFrameWidth() const { return m_columns > 0 ? m_width / m_columns : 0; }

int CFrameSurface::GetFrameHeight() const { return m_rows > 0 ? m_height / m_rows : 0; }

CRect CFrameSurface::GetFrameRect(int frame) const
{
    const int fw = GetFrameWidth();
    const int fh = GetFrameHeight();
    if (fw <= 0 || fh <= 0 || frame < 0 || frame >= m_columns * m_rows)
        return CRect();
    const int column = frame % m_columns;
    const int row = frame / m_columns;
    return CRect(column * fw, row * fh, column * fw + fw, row * fh + fh);
}

// ---------------------------------------------------------------------------
// CSprite

CSprite::CSprite(CFrameSurface* sheet, BOOL ownsSheet) : m_ownsSheet(ownsSheet), m_pSheet(sheet) {}

CSprite::~CSprite()
{
    if (m_ownsSheet)
        delete m_pSheet;
}

void CSprite::SetSheet(CFrameSurface* sheet, BOOL ownsSheet)
{
    if (m_ownsSheet && sheet != m_pSheet)
        delete m_pSheet;
    m_pSheet = sheet;
    m_ownsSheet = ownsSheet;
}

int CSprite::GetWidth() const { return m_pSheet ? RoundHalfUp(m_pSheet->GetFrameWidth() * double(m_scale)) : 0; }

int CSprite::GetHeight() const { return m_pSheet ? RoundHalfUp(m_pSheet->GetFrameHeight() * double(m_scale)) : 0; }

BOOL CSprite::Prepare(int clipWidth, int clipHeight)
{
    if (!m_pSheet || !(m_scale > 0.0f))
        return FALSE;
    if (m_pSheet->IsLost())
        m_pSheet->Restore();
    const CRect frame = m_pSheet->GetFrameRect(m_frame);
    if (frame.IsRectEmpty())
        return FALSE;
    const double scale = m_scale;
    CRect src = frame;
    CRect dst(m_x, m_y, m_x + RoundHalfUp(frame.Width() * scale), m_y + RoundHalfUp(frame.Height() * scale));
    if (m_x < 1)
    {
        src.left -= RoundHalfUp(m_x / scale);
        dst.left -= m_x;
    }
    if (m_y < 1)
    {
        src.top -= RoundHalfUp(m_y / scale);
        dst.top -= m_y;
    }
    if (dst.right > clipWidth)
    {
        const int e = dst.right - clipWidth;
        src.right -= RoundHalfUp(e / scale);
        dst.right -= e;
    }
    if (dst.bottom > clipHeight)
    {
        const int e = dst.bottom - clipHeight;
        src.bottom -= RoundHalfUp(e / scale);
        dst.bottom -= e;
    }
    // A frame cut away by the clipping must not reach a neighbouring frame.
    if (!src.IntersectRect(src, frame))
        return FALSE;
    m_pSheet->SetSourceRect(src);
    m_pSheet->SetDestRect(dst);
    return !dst.IsRectEmpty();
}

BOOL CSprite::PrepareDraw()
{
    CDisplay* display = m_pSheet ? m_pSheet->GetDisplay() : nullptr;
    if (!display)
        return FALSE;
    return Prepare(display->GetWidth(), display->GetHeight());
}

BOOL CSprite::PrepareDrawOnSurface(CSurface* target)
{
    if (!target)
        return FALSE;
    return Prepare(target->GetWidth(), target->GetHeight());
}

DDRESULT CSprite::Draw(CSurface* target)
{
    if (!target)
        return DDERR_INVALIDPARAMS;
    if (!m_pSheet)
        return DDERR_INVALIDOBJECT;
    // Without a display the target's size is the limit.
    const BOOL ready = m_pSheet->GetDisplay() ? PrepareDraw() : PrepareDrawOnSurface(target);
    if (!ready)
        return DD_OK;
    return m_pSheet->BltStretchKeyed(target);
}

DDRESULT CSprite::DrawOnSurface(CSurface* target)
{
    if (!target)
        return DDERR_INVALIDPARAMS;
    if (!m_pSheet)
        return DDERR_INVALIDOBJECT;
    if (!PrepareDrawOnSurface(target))
        return DD_OK;
    return m_pSheet->BltStretchKeyed(target);
}

BOOL CSprite::HitTest(int x, int y) const
{
    if (!m_pSheet || !(m_scale > 0.0f))
        return FALSE;
    const CRect frame = m_pSheet->GetFrameRect(m_frame);
    if (frame.IsRectEmpty())
        return FALSE;
    // The drawn size and the source pixel of each drawn pixel as the
    // stretching copy takes them (Prepare, CSurface::Blt).
    const long long dw = RoundHalfUp(frame.Width() * double(m_scale));
    const long long dh = RoundHalfUp(frame.Height() * double(m_scale));
    const long long kx = static_cast<long long>(x) - m_x;
    const long long ky = static_cast<long long>(y) - m_y;
    if (dw <= 0 || dh <= 0 || kx < 0 || kx >= dw || ky < 0 || ky >= dh)
        return FALSE;
    const int u = static_cast<int>((2 * kx + 1) * frame.Width() / (2 * dw));
    const int v = static_cast<int>((2 * ky + 1) * frame.Height() / (2 * dh));
    if (m_pSheet->IsLost())
        m_pSheet->Restore();
    return m_pSheet->GetPixel(frame.left + u, frame.top + v) != SPRITE_COLOR_KEY;
}
