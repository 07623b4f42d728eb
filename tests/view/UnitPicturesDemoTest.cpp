// The demo's unit pictures as the view draws them into the back surface:
// at the default view level each vehicle type's picture is large enough to
// read (24 pixels across or more, counted from the pixels it sets), and at
// every zoom level the pictures keep a size a player can find.
#include "ViewDemoMap.h"

#include "database/VehicleCapability.h"
#include "platform/ui/Display.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "view/ViewProperties.h"

#include <algorithm>

namespace
{
constexpr int kOwnSide = 0;
constexpr int kVehicleTypes = 7;
constexpr COLORREF kGround = RGB(255, 255, 255);
// How far from the unit's place a picture is looked for, in pixels.
constexpr int kReach = 90;

// The first own unit of a vehicle type; a team is taken off its carrier,
// where it is not drawn.
CUnit* OwnUnitOfType(CKDRDoc& doc, int nType)
{
    CKDRUnits* pUnits = doc.GetUnits();
    for (int i = 0; pUnits != nullptr; ++i)
    {
        CUnit* pUnit = pUnits->GetUnit(i, 0, kOwnSide);
        if (pUnit == nullptr)
            return nullptr;
        if (pUnit->m_nVehicle != nType)
            continue;
        if (auto* pDismount = static_cast<CUCapDismount*>(pUnit->FindCapability(VCAP_DISMOUNT)))
            pDismount->m_bDismounted = TRUE;
        return pUnit;
    }
    return nullptr;
}

// The unit drawn alone on a white back surface at the view's present zoom:
// the width and height of the pixels it sets around its place.
CSize DrawnExtent(CDemoMap& map, CUnit* pUnit)
{
    CKDRDoc& doc = map.Doc();
    CKDRGameMap* pMap = doc.GetGameMap();
    map.CentreOn(pUnit->m_fX, pUnit->m_fY);
    CDisplay* pDisplay = pMap->GetDisplay();
    CSurface* pBack = pDisplay->GetBackSurface();
    CDC* pDC = pDisplay->GetSurfaceDC();
    pDC->FillSolidRect(0, 0, pBack->GetWidth(), pBack->GetHeight(), kGround);
    pDisplay->ReleaseSurfaceDC();
    pUnit->Draw(pMap, doc.GetDatabase(), 0, 0, CString(), FALSE);
    const QPointF at = map.ClientOf(pUnit->m_fX, pUnit->m_fY);
    const int cx = static_cast<int>(at.x());
    const int cy = static_cast<int>(at.y());
    int left = cx, right = cx - 1, top = cy, bottom = cy - 1;
    for (int y = std::max(0, cy - kReach); y < std::min(pBack->GetHeight(), cy + kReach); ++y)
        for (int x = std::max(0, cx - kReach); x < std::min(pBack->GetWidth(), cx + kReach); ++x)
            if (pBack->GetPixel(x, y) != kGround)
            {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return CSize(right - left + 1, bottom - top + 1);
}

// The least length of every type's picture at each zoom level, at the
// default view properties: NATO symbols at 0.25, 0.375 and 0.5 of their
// frame out to the default level (24 pixels there), the vehicle pictures
// at 0.25, 0.5 and 0.75 of theirs closer in.
constexpr int kLeastSize[CViewProperties::kLevelCount] = {14, 20, 24, 16, 32, 50};
}  // namespace

TEST(UnitPicturesDemo, EveryTypeReadsAtTheDefaultLevelAndKeepsItsSizeAtEveryZoom)
{
    CDemoMap map("unitpictures");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    ASSERT_EQ(view.GetZoom(), 1.0f) << "the demo opens at the default level";
    ASSERT_EQ(view.m_nIconStyle, 1) << "NATO symbols by default";

    CUnit* units[kVehicleTypes] = {};
    for (int nType = 0; nType < kVehicleTypes; ++nType)
    {
        units[nType] = OwnUnitOfType(map.Doc(), nType);
        ASSERT_NE(units[nType], nullptr) << nType;
    }

    // From the widest level to the closest, one zoom step at a time.
    for (int nStep = 0; nStep < CViewProperties::kDefaultLevel; ++nStep)
        view.SetZoom(-1, FALSE);
    for (int nLevel = 0; nLevel < CViewProperties::kLevelCount; ++nLevel)
    {
        if (nLevel > 0)
            view.SetZoom(1, FALSE);
        ASSERT_EQ(view.GetZoom(), CViewProperties::GetZoomScale(nLevel));
        for (int nType = 0; nType < kVehicleTypes; ++nType)
        {
            const CSize size = DrawnExtent(map, units[nType]);
            SCOPED_TRACE(testing::Message() << "level " << nLevel << ", " << units[nType]->m_strName.GetString());
            EXPECT_GE(std::max(size.cx, size.cy), kLeastSize[nLevel]) << size.cx << " x " << size.cy;
            // No picture spills past the reach looked at.
            EXPECT_LT(std::max(size.cx, size.cy), 2 * kReach - 2);
        }
    }
}
