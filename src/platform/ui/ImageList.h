#pragma once
// Image lists, and the drag image that follows the pointer (see DC.h).
//
// This header is free of Qt (QImage is only forward-declared).

#include "platform/core/Geometry.h"
#include "platform/core/Types.h"

#include <memory>
#include <vector>

class QImage;
class CBitmap;
class CDC;
class CWnd;

// A list of same-sized images, as tree controls and drag images use.
class CImageList
{
public:
    CImageList();
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    BOOL DeleteImageList();
    bool IsCreated() const { return m_bCreated; }
    // Adds a bitmap (cut into images of the list's width when wider); pixels
    // of maskColor become transparent. Answers the index of the first image
    // added, -1 on failure.
    int Add(CBitmap* bitmap, COLORREF maskColor);
    int Add(CBitmap* bitmap, CBitmap* mask);
    BOOL Replace(int index, CBitmap* bitmap, CBitmap* mask);
    BOOL Remove(int index);  // -1: all
    int GetImageCount() const;
    CSize GetImageSize() const { return CSize(m_cx, m_cy); }
    BOOL Draw(CDC* pDC, int index, CPoint point, UINT style);
    const QImage* GetImage(int index) const;  // with transparency

    // Drag image: one shows at a time, following the pointer.
    BOOL BeginDrag(int index, CPoint hotSpot);
    static BOOL DragEnter(CWnd* lock, CPoint point);
    static BOOL DragMove(CPoint point);
    static BOOL DragLeave(CWnd* lock);
    static BOOL DragShowNolock(BOOL show);
    static void EndDrag();
    static bool IsDragging();

private:
    bool m_bCreated = false;
    int m_cx = 0;
    int m_cy = 0;
    std::vector<std::unique_ptr<QImage>> m_images;
};

// Image list creation flags (colour depth is always 32-bit here).
constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
