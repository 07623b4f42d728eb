#pragma once
// The demo mission's hierarchies, one file per side, named in the
// scenario's hierarchy slots:
// - "Friendly.hra" (side 0): "A Company" led by its commander's tank, with
//   the platoons "1st Tank", "2nd Tank" and "3rd Mech" (its carriers and the
//   teams aboard them); the two mortars, the observer, the ammunition
//   carrier, the engineer, the smoke generator, the mine layer and the
//   helicopter stand directly under the battalion.
// - "Enemy.hra" (side 1): "Saddle Company" of two platoons, "Red Tank" and
//   "Red Mech", and the mine layer and the two mortars under the battalion.
// Every element names its unit in the side's unit file (demo_units.h) by
// its place there and carries the unit's name, so names are unique per
// side. Every vehicle that may lead its platoon (the tanks, the carriers)
// has a leader index of 0 or more in its order in the platoon; the teams
// never lead (-99). Each platoon and company is active with its first
// vehicle as leader, and holds one stopped node at that vehicle's place.
// "1st Tank" stands in Wedge with a path of three legs east beyond that
// node, the second node telling the platoon to sprint: released (Orders/
// Stop on its symbol, twice) it drives the path in wedge. "2nd Tank" has
// no formation and follows its lead, Tank 22 (its first element), whose
// route's first node gives the platoon its line (demo_units.h); its two
// tanks in the dug positions are detached and hold there (recalled, they
// join the line).
// The files are written through CHierarchyArray::Serialize.

#include "demo_pieces.h"
#include "demo_units.h"
#include "hierarchy/HierarchyArray.h"
#include "orders/FormationOrder.h"
#include "orders/NodeArray.h"
#include "orders/NodeOrder.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Core.h"

#include <cstring>
#include <memory>

namespace demo_hierarchy
{
const char* const kFriendlyFile = "Friendly.hra";
const char* const kEnemyFile = "Enemy.hra";

// The pictures of the tree and the symbols: the NATO symbols of the types
// of each side; the picture icons show the side's group pictures in the
// side's frames.
const char* const kSymbolTank = demo_equipment::kGraphics[demo_equipment::kTank].nato;
const char* const kSymbolCarrier = demo_equipment::kGraphics[demo_equipment::kInfantryCarrier].nato;
const char* const kSymbolEnemyTank = demo_equipment::kGraphics[demo_equipment::kEnemyTank].nato;
const char* const kSymbolEnemyCarrier = demo_equipment::kGraphics[demo_equipment::kEnemyCarrier].nato;

// The picture-icon type picture of a container of that symbol type.
inline const char* AltPictureOf(const char* symbol)
{
    if (symbol == kSymbolEnemyTank)
        return demo_pieces::kAltEnemyTankPicture;
    if (symbol == kSymbolEnemyCarrier)
        return demo_pieces::kAltEnemyCarrierPicture;
    return symbol == kSymbolCarrier ? demo_pieces::kAltCarrierPicture : demo_pieces::kAltTankPicture;
}

// The picture-icon frame of a side's platoon or company.
inline const char* AltFrameOf(int nSide, bool bCompany)
{
    if (nSide == demo_units::kFriendlySide)
        return bCompany ? demo_pieces::kAltFriendlyCompanyFrame : demo_pieces::kAltFriendlyPlatoonFrame;
    return bCompany ? demo_pieces::kAltEnemyCompanyFrame : demo_pieces::kAltEnemyPlatoonFrame;
}

// The element of unit nUnit of a side's table; nLeaderIndex 0 or more lets
// it lead (a platoon, or with bCompany a company), kUnset never.
inline CHierarchyElement* MakeElement(const demo_units::Placement* rows, int nUnit, int nLeaderIndex,
                                      BOOL bCompany = FALSE)
{
    const demo_units::Placement& row = rows[nUnit];
    auto* pElement = new CHierarchyElement;
    pElement->m_nUnit = nUnit;
    pElement->m_nArray = demo_units::kArrayIndex;
    pElement->m_strName = row.name;
    pElement->m_strSymbolType = demo_equipment::kGraphics[row.vehicle].nato;
    pElement->m_nIndex = nLeaderIndex;
    pElement->m_bPlatoonLeader = nLeaderIndex >= 0 && !bCompany;
    pElement->m_bCompanyLeader = nLeaderIndex >= 0 && bCompany;
    pElement->m_bLeader = nLeaderIndex == 0;
    // A team starts aboard its carrier.
    pElement->m_bMounted = row.carrier != demo_units::kOnFoot;
    return pElement;
}

// One stopped node at the leader's place; the other sides' stops hold
// until a start time the clock never reaches.
inline void PlaceAtLeader(CHierarchyPlatoon& container, const demo_units::Placement& leader, int nSide)
{
    container.m_pPath->ResetToPoint(leader.x, leader.y, nSide != 0);
    if (nSide != 0)
        container.m_pPath->GetAt(0)->SetStartTimeValue(CTimeSpan(START_TIME_NEVER));
}

// A platoon of the rows from nFirst to nLast, row nLead (kUnset: nFirst)
// first: the first nLeaders of them may lead, in their order, the others
// (their teams) never.
inline CHierarchyPlatoon* MakePlatoon(const demo_units::Placement* rows, const char* name, const char* symbol,
                                      int nFirst, int nLast, int nLeaders, int nSide, int nLead = kUnset)
{
    if (nLead == kUnset)
        nLead = nFirst;
    auto* pPlatoon = new CHierarchyPlatoon;
    pPlatoon->m_strName = name;
    pPlatoon->m_strSymbolType = symbol;
    pPlatoon->m_strText2 = AltPictureOf(symbol);
    pPlatoon->m_strText5 = AltFrameOf(nSide, false);
    pPlatoon->m_nSide = nSide;
    pPlatoon->m_bActive = TRUE;
    pPlatoon->Add(MakeElement(rows, nLead, nLeaders > 0 ? 0 : kUnset));
    int nOrder = 1;
    for (int nUnit = nFirst; nUnit <= nLast; ++nUnit)
    {
        if (nUnit == nLead)
            continue;
        pPlatoon->Add(MakeElement(rows, nUnit, nOrder < nLeaders ? nOrder : kUnset));
        ++nOrder;
    }
    PlaceAtLeader(*pPlatoon, rows[nLead], nSide);
    return pPlatoon;
}

// The path of "1st Tank" beyond its stopped first node, and the node (its
// second) whose toggle order makes the platoon sprint.
struct PathPoint
{
    float x;
    float y;
};
const PathPoint kFirstTankPath[] = {{1000.0f, 1750.0f}, {1250.0f, 1770.0f}, {1500.0f, 1790.0f}};
constexpr int kSprintNode = 1;
constexpr DWORD kSprintToggle = 0x8;
const char* const kFirstTankFormation = "Wedge";

inline void GiveWedgeAndPath(CHierarchyPlatoon& platoon)
{
    platoon.m_pOrders->Add(new CUOrdPlatoonFormation(CString(kFirstTankFormation)));
    for (const PathPoint& point : kFirstTankPath)
        platoon.m_pPath->AddNode(point.x, point.y);
    auto* pSprint = new CNOrdToggleOrder;
    pSprint->m_dwToggle = kSprintToggle;
    pSprint->m_bOn = TRUE;
    platoon.m_pPath->GetAt(kSprintNode)->m_pOrders->Add(pSprint);
}

inline CHierarchyCompany* MakeCompany(const char* name, const char* symbol, int nSide)
{
    auto* pCompany = new CHierarchyCompany;
    pCompany->m_strName = name;
    pCompany->m_strSymbolType = symbol;
    pCompany->m_strText2 = AltPictureOf(symbol);
    pCompany->m_strText5 = AltFrameOf(nSide, true);
    pCompany->m_nSide = nSide;
    pCompany->m_bActive = TRUE;
    return pCompany;
}

inline void BuildFriendly(CHierarchyArray& hierarchy)
{
    using demo_units::kFriendly;
    const int nSide = demo_units::kFriendlySide;
    hierarchy.m_strName = demo_units::kFriendlyName;
    hierarchy.m_nSide = nSide;
    CHierarchyCompany* pCompany = MakeCompany("A Company", kSymbolTank, nSide);
    pCompany->Add(MakeElement(kFriendly, 0, 0, TRUE));  // Commander 66 leads the company
    PlaceAtLeader(*pCompany, kFriendly[0], nSide);
    CHierarchyPlatoon* pFirstTank = MakePlatoon(kFriendly, "1st Tank", kSymbolTank, 1, 4, 4, nSide);
    GiveWedgeAndPath(*pFirstTank);
    pCompany->Add(pFirstTank);
    int nLineLead = kUnset;
    for (int nUnit = demo_units::kLinePlatoonFirst; nUnit <= demo_units::kLinePlatoonLast; ++nUnit)
    {
        if (std::strcmp(kFriendly[nUnit].name, demo_units::kLineLead) == 0)
            nLineLead = nUnit;
    }
    CHierarchyPlatoon* pSecondTank = MakePlatoon(kFriendly, "2nd Tank", kSymbolTank, demo_units::kLinePlatoonFirst,
                                                 demo_units::kLinePlatoonLast, 4, nSide, nLineLead);
    for (int i = 0; i < pSecondTank->GetSize(); ++i)
    {
        CHierarchyElement* pElement = pSecondTank->GetElement(i);
        pElement->m_bDetached = demo_units::IsLineCover(pElement->m_strName) ? TRUE : FALSE;
    }
    pCompany->Add(pSecondTank);
    // The four carriers and the eight teams aboard them.
    pCompany->Add(MakePlatoon(kFriendly, "3rd Mech", kSymbolCarrier, 9, 20, 4, nSide));
    hierarchy.Add(pCompany);
    // The mortars, the observer, the ammunition carrier, the engineer, the
    // smoke generator, the mine layer and the helicopter.
    for (int nUnit = 21; nUnit < static_cast<int>(std::size(kFriendly)); ++nUnit)
        hierarchy.Add(MakeElement(kFriendly, nUnit, kUnset));
}

inline void BuildEnemy(CHierarchyArray& hierarchy)
{
    using demo_units::kEnemy;
    const int nSide = demo_units::kEnemySide;
    hierarchy.m_strName = demo_units::kEnemyName;
    hierarchy.m_nSide = nSide;
    CHierarchyCompany* pCompany = MakeCompany("Saddle Company", kSymbolEnemyTank, nSide);
    PlaceAtLeader(*pCompany, kEnemy[0], nSide);
    pCompany->Add(MakePlatoon(kEnemy, "Red Tank", kSymbolEnemyTank, 0, 3, 4, nSide));
    pCompany->Add(MakePlatoon(kEnemy, "Red Mech", kSymbolEnemyCarrier, 4, 15, 4, nSide));
    hierarchy.Add(pCompany);
    // The mine layer and the mortars behind the saddle.
    for (int nUnit = 16; nUnit < static_cast<int>(std::size(kEnemy)); ++nUnit)
        hierarchy.Add(MakeElement(kEnemy, nUnit, kUnset));
}
}  // namespace demo_hierarchy
