// The special placement: ".SBF/Defense.", ".Position Area." and a platoon
// made from units. Members take the side's dug positions near the anchor,
// then the help map's support-by-fire positions facing the same way, then a
// circle round the anchor; each is driven to its place and turned to the
// place's facing.
//
// A support-by-fire position taken is marked in this placement's own list.
// The positions belong to the game map's help map: marking them there (as
// the placement first did, by zeroing their x and y) lost them for the rest
// of the mission and for every later placement.

#include "orders/FormationOrder.h"

#include "battlefield/AITerrain.h"
#include "battlefield/AITerrainArray.h"
#include "battlefield/Hole.h"
#include "battlefield/HoleArray.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "hierarchy/HierarchyElement.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "orders/NodeArray.h"
#include "units/Unit.h"

#include <cmath>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace
{
constexpr float kSearchRadius = 100.0f;
constexpr double kQuarterTurn = 1.570796;
constexpr double kFoldLimit = 3.14159;
constexpr double kTwoPi = 6.283185;
constexpr double kFacingTolerance = 1.0471976;  // 60 degrees
constexpr double kCircleFactor = 0.8;
constexpr double kPi = 3.14159265358979;

double FoldAngle(double a)
{
    while (a > kFoldLimit)
        a -= kTwoPi;
    while (a < -kFoldLimit)
        a += kTwoPi;
    return a;
}

// The nearest free dug position of the kind within the search radius whose
// facing lies within 60 degrees of the one searched for.
int NearestHole(const CHoleArray& holes, float x, float y, double dFacing, bool bDismount,
                const std::vector<bool>& taken)
{
    int nBest = -1;
    float fBest = kSearchRadius;
    for (int i = 0; i < holes.GetSize(); ++i)
    {
        const CHole* pHole = holes.GetAt(i);
        if (pHole == nullptr || taken[static_cast<size_t>(i)] ||
            (pHole->m_nKind == CHole::kDismount) != bDismount ||
            std::fabs(FoldAngle(pHole->m_fFacing - dFacing)) > kFacingTolerance)
            continue;
        const float d = CKDRGameMap::Distance(x, y, pHole->m_fX, pHole->m_fY);
        if (d <= fBest)
        {
            fBest = d;
            nBest = i;
        }
    }
    return nBest;
}

bool Suits(int nPositionFlags, int nMask) { return nPositionFlags <= 0 || nMask <= 0 || (nPositionFlags & nMask) != 0; }
}  // namespace

BOOL CUOrdPlatoonFormation::PlaceSpecial(const FormationMembers& set0, const FormationMembers& set1,
                                         CHierarchyPlatoon* pElement, const FormationContext& context,
                                         float fAnchorX, float fAnchorY, double dHeading)
{
    double dFacing = dHeading + kQuarterTurn;
    while (dFacing > kFoldLimit)
        dFacing -= kTwoPi;
    const CHoleArray* pHoles =
        context.pHoles != nullptr ? context.pHoles->GetSideArray(pElement->m_nSide) : nullptr;
    std::vector<bool> holeTaken(pHoles != nullptr ? static_cast<size_t>(pHoles->GetSize()) : 0, false);
    std::unique_ptr<CAITerrainArray> areas(
        context.pMap != nullptr
            ? context.pMap->FindSBFPositionsFacing(fAnchorX, fAnchorY, kSearchRadius, static_cast<float>(dFacing), 0)
            : nullptr);
    std::set<std::pair<int, int>> sbfUsed;  // (area, position) taken by this placement
    int nArea = 0;
    const CHierarchyElement* pLeader = pElement->GetLeaderElement();

    m_places.RemoveAll();
    struct Slot
    {
        CUOrdPlatoonFormationPlace* pPlace;
        CUnit* pUnit;
        bool bPlaced;
    };
    std::vector<Slot> slots;
    for (int nSet = 0; nSet < 2; ++nSet)
    {
        for (const FormationMember& member : nSet == 0 ? set0 : set1)
        {
            if (member.pUnit == nullptr)
                continue;
            auto* pPlace = new CUOrdPlatoonFormationPlace;
            pPlace->m_strMember = member.strName;
            pPlace->m_bLeader = pLeader != nullptr && pLeader->m_strName == member.strName;
            pPlace->m_bSet1 = nSet == 1 ? TRUE : FALSE;
            m_places.Add(pPlace);
            bool bPlaced = false;
            if (pHoles != nullptr)
            {
                const bool bDismount = member.pUnit->HasDismountCapability() != 0;
                for (;;)
                {
                    const int nHole = NearestHole(*pHoles, fAnchorX, fAnchorY, dFacing, bDismount, holeTaken);
                    if (nHole < 0)
                        break;
                    holeTaken[static_cast<size_t>(nHole)] = true;
                    const CHole* pHole = pHoles->GetAt(nHole);
                    if (pHole->m_bOccupied)
                        continue;
                    pPlace->m_fX = pHole->m_fX;
                    pPlace->m_fY = pHole->m_fY;
                    pPlace->m_nSlotCode = static_cast<int>(std::lround(pHole->m_fFacing * 1000.0f));
                    bPlaced = true;
                    break;
                }
            }
            const int nMask = static_cast<int>(member.pUnit->GetCapabilityMask());
            while (!bPlaced && areas != nullptr && nArea < areas->GetSize())
            {
                const auto* pArea = dynamic_cast<const CAITerrainSBF*>(areas->GetAt(nArea));
                const int nCount = pArea != nullptr ? pArea->GetPositionCount() : 0;
                for (int k = 0; k < nCount && !bPlaced; ++k)
                {
                    const AISBFPosition& position = pArea->GetPositions()[static_cast<size_t>(k)];
                    if (position.x > 0.0f && position.y > 0.0f && !sbfUsed.count({nArea, k}) &&
                        Suits(position.flags, nMask))
                    {
                        pPlace->m_fX = position.x;
                        pPlace->m_fY = position.y;
                        pPlace->m_nSlotCode = static_cast<int>(std::lround(position.facing * 1000.0f));
                        sbfUsed.insert({nArea, k});
                        bPlaced = true;
                    }
                }
                if (!bPlaced)
                    ++nArea;
            }
            slots.push_back({pPlace, member.pUnit, bPlaced});
        }
    }

    // Members left over stand on a circle round the anchor, facing out the
    // way the formation faces.
    int nLeft = 0;
    for (const Slot& slot : slots)
        nLeft += slot.bPlaced ? 0 : 1;
    const double dRadius = nLeft > 0 ? kCircleFactor * nLeft * GetInterval(pElement) / kPi : 0.0;
    int nOnCircle = 0;
    for (Slot& slot : slots)
    {
        if (slot.bPlaced)
            continue;
        const double a = dHeading + 2.0 * kPi * nOnCircle++ / nLeft;
        slot.pPlace->m_fX = fAnchorX + static_cast<float>(dRadius * std::sin(a));
        slot.pPlace->m_fY = fAnchorY + static_cast<float>(dRadius * std::cos(a));
        slot.pPlace->m_nSlotCode = static_cast<int>(std::lround(dFacing * 1000.0));
    }

    // Each member drives to its place, as a map position, and faces the
    // place's way when it halts there (slot codes keep milliradians).
    for (const Slot& slot : slots)
    {
        CUnit* pUnit = slot.pUnit;
        const double dFace = slot.pPlace->m_nSlotCode / 1000.0;
        pUnit->m_pPath->ResetToPoint(pUnit->m_fX, pUnit->m_fY, FALSE);
        pUnit->m_pPath->GetAt(0)->ClearStopAndStartTime();
        if (context.bDeployment)
        {
            pUnit->AssignPath(slot.pPlace->m_fX, slot.pPlace->m_fY, context.pDatabase, context.pMap, FALSE, 0);
        }
        else
        {
            pUnit->m_pPath->AddNode(slot.pPlace->m_fX, slot.pPlace->m_fY);
            pUnit->ClearStop(context.pDatabase, FALSE);
        }
        float fLastX = 0.0f;
        float fLastY = 0.0f;
        pUnit->m_pPath->BuildRoute(kUnset, 0.0f, 0.0f, &fLastX, &fLastY, context.pUnits, context.pObstacles, pElement,
                                   nullptr, context.pMap, nullptr, CString(), pUnit->GetMoverClass(),
                                   pUnit->GetBreachMask(context.pDatabase), FALSE, kUnsetFloat, TRUE);
        pUnit->m_pPath->OrientAtStop(dFace, context.pMap, pUnit->m_nSide != 0);
    }
    if (pElement->m_pPath != nullptr)
    {
        pElement->m_pPath->ResetToPoint(fAnchorX, fAnchorY, pElement->m_nSide != 0);
        pElement->m_pPath->OrientAtStop(dFacing, context.pMap, pElement->m_nSide != 0);
    }
    return !slots.empty();
}
