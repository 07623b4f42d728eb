// The demo's unit pictures as the view draws them into the back surface:
// at the default view level each vehicle type's picture is large enough to
// read (24 pixels across or more, counted from the pixels it sets), and at
// every zoom level the pictures keep a size a player can find. An enemy
// unit, drawn as the game draws a contact once it is identified, has the
// size of its own twin and colours of another hue and brightness, in the
// symbols of the wide levels and the pictures of the close ones.
#include "ViewDemoMap.h"

#include "database/VehicleCapability.h"
#include "platform/ui/Display.h"
#include "units/KDRUnits.h"
#include "units/UCapKinds.h"
#include "units/Unit.h"
#include "units/UnitRefArray.h"
#include "view/ViewProperties.h"

#include "../../tools/demo_equipment.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace
{
constexpr int kOwnSide = 0;
constexpr int kEnemySide = 1;
constexpr int kVehicleTypes = 7;
constexpr COLORREF kGround = RGB(255, 255, 255);
// How far from the unit's place a picture is looked for, in pixels.
constexpr int kReach = 90;

// The first unit of a vehicle type on a side, with its place in its array;
// a team is taken off its carrier, where it is not drawn.
CUnit* UnitOfType(CKDRDoc& doc, int nType, int nSide, int* pIndex = nullptr)
{
    CKDRUnits* pUnits = doc.GetUnits();
    for (int i = 0; pUnits != nullptr; ++i)
    {
        CUnit* pUnit = pUnits->GetUnit(i, 0, nSide);
        if (pUnit == nullptr)
            return nullptr;
        if (pUnit->m_nVehicle != nType)
            continue;
        if (auto* pDismount = static_cast<CUCapDismount*>(pUnit->FindCapability(VCAP_DISMOUNT)))
            pDismount->m_bDismounted = TRUE;
        if (pIndex != nullptr)
            *pIndex = i;
        return pUnit;
    }
    return nullptr;
}

CUnit* OwnUnitOfType(CKDRDoc& doc, int nType) { return UnitOfType(doc, nType, kOwnSide); }

// What a drawing set around a unit's place: the width and height of the
// pixels it set and their mean colour.
struct Drawn
{
    CSize size;
    double r = 0, g = 0, b = 0;

    double Brightness() const { return (r + g + b) / 3.0; }
    // The hue of the mean colour, in degrees.
    double Hue() const
    {
        const double hi = std::max({r, g, b});
        const double lo = std::min({r, g, b});
        if (hi - lo < 1e-9)
            return 0.0;
        double hue = 0.0;
        if (hi == r)
            hue = 60.0 * std::fmod((g - b) / (hi - lo) + 6.0, 6.0);
        else if (hi == g)
            hue = 60.0 * ((b - r) / (hi - lo) + 2.0);
        else
            hue = 60.0 * ((r - g) / (hi - lo) + 4.0);
        return hue;
    }
};

// The degrees between two hues, round the colour circle.
double HueApart(double one, double other)
{
    const double d = std::fabs(one - other);
    return std::min(d, 360.0 - d);
}

// The unit drawn by draw alone on a white back surface at the view's
// present zoom, measured around its place.
Drawn Measure(CDemoMap& map, CUnit* pUnit, const std::function<void()>& draw)
{
    CKDRDoc& doc = map.Doc();
    CKDRGameMap* pMap = doc.GetGameMap();
    map.CentreOn(pUnit->m_fX, pUnit->m_fY);
    CDisplay* pDisplay = pMap->GetDisplay();
    CSurface* pBack = pDisplay->GetBackSurface();
    CDC* pDC = pDisplay->GetSurfaceDC();
    pDC->FillSolidRect(0, 0, pBack->GetWidth(), pBack->GetHeight(), kGround);
    pDisplay->ReleaseSurfaceDC();
    draw();
    const QPointF at = map.ClientOf(pUnit->m_fX, pUnit->m_fY);
    const int cx = static_cast<int>(at.x());
    const int cy = static_cast<int>(at.y());
    int left = cx, right = cx - 1, top = cy, bottom = cy - 1;
    Drawn drawn;
    int nSet = 0;
    for (int y = std::max(0, cy - kReach); y < std::min(pBack->GetHeight(), cy + kReach); ++y)
        for (int x = std::max(0, cx - kReach); x < std::min(pBack->GetWidth(), cx + kReach); ++x)
        {
            const COLORREF c = pBack->GetPixel(x, y);
            if (c == kGround)
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            drawn.r += GetRValue(c);
            drawn.g += GetGValue(c);
            drawn.b += GetBValue(c);
            ++nSet;
        }
    drawn.size = CSize(right - left + 1, bottom - top + 1);
    if (nSet > 0)
    {
        drawn.r /= nSet;
        drawn.g /= nSet;
        drawn.b /= nSet;
    }
    return drawn;
}

// An own unit as the units component draws it.
Drawn MeasureOwn(CDemoMap& map, CUnit* pUnit)
{
    return Measure(map, pUnit,
                   [&map, pUnit]
                   { pUnit->Draw(map.Doc().GetGameMap(), map.Doc().GetDatabase(), 0, 0, CString(), FALSE); });
}

CSize DrawnExtent(CDemoMap& map, CUnit* pUnit) { return MeasureOwn(map, pUnit).size; }

// An enemy unit as the game draws it once the own contact list holds it:
// first seen unidentified, then identified, the only contact drawn.
Drawn MeasureIdentifiedEnemy(CDemoMap& map, CUnit* pUnit, int nUnit)
{
    CKDRUnits* pUnits = map.Doc().GetUnits();
    CUnitRefArray* pContacts = pUnits->m_pContacts[CONTACTS_OWN_OF_OPPOSING];
    CUnitRef ref;
    ref.m_nUnit = nUnit;
    ref.m_nArray = 0;
    ref.m_nSide = kEnemySide;
    ref.m_nVehicle = pUnit->m_nVehicle;
    const auto drawContacts = [&map, pUnits]
    { pUnits->DrawUnits(map.Doc().GetGameMap(), map.Doc().GetDatabase(), 0, 0, FALSE); };
    pContacts->RemoveAll();
    ref.m_bUnidentified = TRUE;
    pContacts->Add(ref);
    Measure(map, pUnit, drawContacts);
    pContacts->RemoveAll();
    ref.m_bUnidentified = FALSE;
    pContacts->Add(ref);
    const Drawn drawn = Measure(map, pUnit, drawContacts);
    pContacts->RemoveAll();
    return drawn;
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

TEST(UnitPicturesDemo, AnIdentifiedEnemyHasItsTwinsSizeAndOtherColoursAtEveryZoom)
{
    using namespace demo_equipment;
    CDemoMap map("enemypictures");
    START_DEMO(map, true);
    CKDRView& view = map.View();
    ASSERT_EQ(view.GetZoom(), 1.0f);
    ASSERT_NE(map.Doc().GetUnits(), nullptr);

    // Each enemy type with the own type it is a twin of.
    struct Pair
    {
        CUnit* pOwn;
        CUnit* pEnemy;
        int nEnemy;  // the enemy unit's place in its array
    };
    std::vector<Pair> pairs;
    for (int nType = kOwnTypeCount; nType < kVehicleCount; ++nType)
    {
        Pair pair{OwnUnitOfType(map.Doc(), kTwinOf[nType]), nullptr, -1};
        pair.pEnemy = UnitOfType(map.Doc(), nType, kEnemySide, &pair.nEnemy);
        ASSERT_NE(pair.pOwn, nullptr) << nType;
        ASSERT_NE(pair.pEnemy, nullptr) << nType;
        pairs.push_back(pair);
    }

    // Both styles are met on the way in: symbols out to the default level,
    // pictures closer in.
    int nSymbolLevels = 0;
    for (int nStep = 0; nStep < CViewProperties::kDefaultLevel; ++nStep)
        view.SetZoom(-1, FALSE);
    for (int nLevel = 0; nLevel < CViewProperties::kLevelCount; ++nLevel)
    {
        if (nLevel > 0)
            view.SetZoom(1, FALSE);
        nSymbolLevels += view.m_nIconStyle == ICON_STYLE_NATO ? 1 : 0;
        for (const Pair& pair : pairs)
        {
            SCOPED_TRACE(testing::Message()
                         << "level " << nLevel << " (" << (view.m_nIconStyle == ICON_STYLE_NATO ? "NATO" : "pictures")
                         << "), " << pair.pEnemy->m_strName.GetString());
            const Drawn own = MeasureOwn(map, pair.pOwn);
            const Drawn enemy = MeasureIdentifiedEnemy(map, pair.pEnemy, pair.nEnemy);
            EXPECT_GE(std::max(enemy.size.cx, enemy.size.cy), kLeastSize[nLevel]);
            // A picture has its twin's size, whichever way the two face,
            // within a pixel's rounding at each edge (the symbols' frames
            // differ in shape by side).
            if (view.m_nIconStyle != ICON_STYLE_NATO)
            {
                EXPECT_NEAR(std::max(enemy.size.cx, enemy.size.cy), std::max(own.size.cx, own.size.cy), 2);
                EXPECT_NEAR(std::min(enemy.size.cx, enemy.size.cy), std::min(own.size.cx, own.size.cy), 2);
            }
            // Told apart by hue, and by brightness for a player who sees
            // hues poorly.
            EXPECT_GE(HueApart(own.Hue(), enemy.Hue()), 60.0)
                << "own hue " << own.Hue() << ", enemy hue " << enemy.Hue();
            EXPECT_GE(std::fabs(own.Brightness() - enemy.Brightness()), 20.0)
                << "own " << own.Brightness() << ", enemy " << enemy.Brightness();
        }
    }
    EXPECT_EQ(nSymbolLevels, CViewProperties::kDefaultLevel + 1);
}
