#include "platform/ui/ImageList.h"

#include "platform/ui/DC.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/Wnd.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <algorithm>

// ---------------------------------------------------------------------------

namespace
{
struct DragState
{
    QPointer<QLabel> label;
    QPoint hotSpot;
    QPointer<QWidget> lock;
};
DragState& Drag()
{
    static DragState state;
    return state;
}
}  // namespace

CImageList::CImageList() = default;
CImageList::~CImageList() = default;

BOOL CImageList::Create(int cx, int cy, UINT, int initial, int)
{
    if (cx <= 0 || cy <= 0)
        return FALSE;
    m_cx = cx;
    m_cy = cy;
    m_images.clear();
    if (initial > 0)
        m_images.reserve(static_cast<size_t>(initial));
    m_bCreated = true;
    return TRUE;
}

BOOL CImageList::DeleteImageList()
{
    const BOOL was = m_bCreated;
    m_images.clear();
    m_bCreated = false;
    return was;
}

int CImageList::Add(CBitmap* bitmap, COLORREF maskColor)
{
    if (!m_bCreated || !bitmap || !bitmap->GetImage())
        return -1;
    const QImage& source = *bitmap->GetImage();
    const int count = std::max(1, source.width() / m_cx);
    const int first = static_cast<int>(m_images.size());
    const QRgb key = ToQColor(maskColor).rgb() & 0x00FFFFFF;
    for (int i = 0; i < count; ++i)
    {
        auto image = std::make_unique<QImage>(m_cx, m_cy, QImage::Format_ARGB32);
        image->fill(Qt::transparent);
        for (int y = 0; y < m_cy && y < source.height(); ++y)
        {
            for (int x = 0; x < m_cx && i * m_cx + x < source.width(); ++x)
            {
                const QRgb px = source.pixel(i * m_cx + x, y);
                image->setPixel(x, y, (px & 0x00FFFFFF) == key ? 0u : (px | 0xFF000000));
            }
        }
        m_images.push_back(std::move(image));
    }
    return first;
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    if (!m_bCreated || !bitmap || !bitmap->GetImage())
        return -1;
    const QImage& source = *bitmap->GetImage();
    const QImage* maskImage = mask ? mask->GetImage() : nullptr;
    const int count = std::max(1, source.width() / m_cx);
    const int first = static_cast<int>(m_images.size());
    for (int i = 0; i < count; ++i)
    {
        auto image = std::make_unique<QImage>(m_cx, m_cy, QImage::Format_ARGB32);
        image->fill(Qt::transparent);
        for (int y = 0; y < m_cy && y < source.height(); ++y)
        {
            for (int x = 0; x < m_cx && i * m_cx + x < source.width(); ++x)
            {
                const int sx = i * m_cx + x;
                // White mask pixels are transparent.
                const bool clear = maskImage && maskImage->valid(sx, y) && (maskImage->pixel(sx, y) & 0x00FFFFFF) != 0;
                image->setPixel(x, y, clear ? 0u : (source.pixel(sx, y) | 0xFF000000));
            }
        }
        m_images.push_back(std::move(image));
    }
    return first;
}

BOOL CImageList::Replace(int index, CBitmap* bitmap, CBitmap* mask)
{
    if (index < 0 || index >= GetImageCount())
        return FALSE;
    CImageList temp;
    temp.Create(m_cx, m_cy, 0, 1, 1);
    if (temp.Add(bitmap, mask) < 0)
        return FALSE;
    m_images[static_cast<size_t>(index)] = std::move(temp.m_images.front());
    return TRUE;
}

BOOL CImageList::Remove(int index)
{
    if (index == -1)
    {
        m_images.clear();
        return TRUE;
    }
    if (index < 0 || index >= GetImageCount())
        return FALSE;
    m_images.erase(m_images.begin() + index);
    return TRUE;
}

int CImageList::GetImageCount() const { return static_cast<int>(m_images.size()); }

BOOL CImageList::Draw(CDC* pDC, int index, CPoint point, UINT)
{
    if (!pDC || !pDC->GetImage() || index < 0 || index >= GetImageCount())
        return FALSE;
    QPainter p(pDC->GetImage());
    const CPoint org = pDC->GetViewportOrg();
    p.drawImage(QPoint(point.x + org.x, point.y + org.y), *m_images[static_cast<size_t>(index)]);
    return TRUE;
}

const QImage* CImageList::GetImage(int index) const
{
    if (index < 0 || index >= GetImageCount())
        return nullptr;
    return m_images[static_cast<size_t>(index)].get();
}

BOOL CImageList::BeginDrag(int index, CPoint hotSpot)
{
    const QImage* image = GetImage(index);
    if (!image)
        return FALSE;
    EndDrag();
    auto* label = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput);
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setPixmap(QPixmap::fromImage(*image));
    label->resize(image->size());
    Drag().label = label;
    Drag().hotSpot = QPoint(hotSpot.x, hotSpot.y);
    return TRUE;
}

BOOL CImageList::DragEnter(CWnd* lock, CPoint point)
{
    Drag().lock = lock ? lock->GetOuterWidget() : nullptr;
    if (!Drag().label)
        return FALSE;
    DragMove(point);
    Drag().label->show();
    return TRUE;
}

BOOL CImageList::DragMove(CPoint point)
{
    if (!Drag().label)
        return FALSE;
    QPoint global(point.x, point.y);
    if (Drag().lock)
        global = Drag().lock->mapToGlobal(global);
    Drag().label->move(global - Drag().hotSpot);
    return TRUE;
}

BOOL CImageList::DragLeave(CWnd*)
{
    if (!Drag().label)
        return FALSE;
    Drag().label->hide();
    return TRUE;
}

BOOL CImageList::DragShowNolock(BOOL show)
{
    if (!Drag().label)
        return FALSE;
    Drag().label->setVisible(show != FALSE);
    return TRUE;
}

void CImageList::EndDrag()
{
    if (Drag().label)
    {
        Drag().label->hide();
        delete Drag().label.data();
    }
    Drag().label = nullptr;
    Drag().lock = nullptr;
}

bool CImageList::IsDragging() { return Drag().label != nullptr; }
