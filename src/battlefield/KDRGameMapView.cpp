// The game map's conversion from picture pixels to the view, through the
// map picture's zoom and scroll.
#include "battlefield/KDRGameMap.h"
#include "battlefield/MapPicture.h"
#include "platform/core/Rounding.h"

namespace
{
// The scroll position taken when the map has no tile grid.
}  // namespace

int CKDRGameMap::PictureToView(int px, int py, int* vx, int* vy) const
{
    float zoom = 1.0f;
    int scrollX = kUnset;
    int scrollY = kUnset;
    if (m_pPicture != nullptr)
    {
        zoom = m_pPicture->GetZoom();
        if (!m_strTileGrid.IsEmpty())
        {
            scrollX = m_pPicture->GetScrollX();
            scrollY = m_pPicture->GetScrollY();
        }
    }
    if (vx != nullptr)
        *vx = TruncToInt((static_cast<double>(px) - scrollX) * zoom + 0.5);
    if (vy != nullptr)
        *vy = TruncToInt((static_cast<double>(py) - scrollY) * zoom + 0.5);
    return 1;
}

CSize CKDRGameMap::GetVisibleViewSize() const
{
    if (m_pPicture == nullptr)
        return CSize(0, 0);
    return CSize(m_pPicture->GetDisplayWidth(), m_pPicture->GetDisplayHeight());
}
