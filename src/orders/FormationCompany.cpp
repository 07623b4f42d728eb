// Placing a company formation: one company place per platoon from the
// company template, platoons that share a template position stacked
// outward along its angle, and each platoon placed in its own formation
// inside its place.

#include "orders/FormationOrder.h"

#include "hierarchy/HierarchyCompany.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <cmath>

namespace
{
constexpr double kFoldLimit = 3.14159;
constexpr double kTwoPi = 6.283185;
// Angle bands of a template position: ahead or behind, and to a side.
constexpr double kAheadLimit = 0.392699;
constexpr double kBehindLimit = 2.748836;
constexpr double kSideLow = 1.178097;
constexpr double kSideHigh = 1.963495;

CUOrdPlatoonFormation* HeldFormation(CHierarchyPlatoon* pPlatoon)
{
    return pPlatoon != nullptr && pPlatoon->m_pOrders != nullptr ? pPlatoon->m_pOrders->GetFormationOrder() : nullptr;
}
}  // namespace

BOOL CUOrdCompanyFormation::GetExtents(float& fRadius, float& fWidth, float& fDepth, BOOL bSigned) const
{
    // The base counts a company place's own extents with it.
    return CUOrdPlatoonFormation::GetExtents(fRadius, fWidth, fDepth, bSigned);
}

float CUOrdCompanyFormation::GetDepth(BOOL bExcludeSet1, CKDRUnits* pUnits) const
{
    float fHigh = 0.0f;
    float fLow = 0.0f;
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i);
        if (pPlace == nullptr || (bExcludeSet1 && pPlace->m_bSet1))
            continue;
        float fHalf = 0.0f;
        if (pPlace->IsCompanyPlace() && pUnits != nullptr)
        {
            if (const CUOrdPlatoonFormation* pHeld = HeldFormation(pUnits->FindElementByName(pPlace->m_strMember)))
                fHalf = 0.5f * pHeld->GetDepth(bExcludeSet1, pUnits);
        }
        fHigh = std::max(fHigh, pPlace->m_fY + fHalf);
        fLow = std::min(fLow, pPlace->m_fY - fHalf);
    }
    return fHigh - fLow;
}

float CUOrdCompanyFormation::GetMeanY(CKDRUnits* pUnits) const
{
    double dSum = 0.0;
    double dWeight = 0.0;
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i);
        if (pPlace == nullptr || pPlace->m_bSet1)
            continue;
        double w = 1.0;
        if (pPlace->IsCompanyPlace() && pUnits != nullptr)
        {
            const CHierarchyPlatoon* pPlatoon = pUnits->FindElementByName(pPlace->m_strMember);
            w = pPlatoon != nullptr ? pPlatoon->GetSize() : 0.0;
        }
        dSum += w * pPlace->m_fY;
        dWeight += w;
    }
    return dWeight > 0.0 ? static_cast<float>(dSum / dWeight) : 0.0f;
}

BOOL CUOrdCompanyFormation::BuildCompanyPlaces(CHierarchyPlatoon* pCompany, CKDRUnits* pUnits,
                                               std::vector<FormationMembers>& perPlatoon)
{
    perPlatoon.clear();
    auto* pCompanyLevel = dynamic_cast<CHierarchyCompany*>(pCompany);
    if (pCompanyLevel == nullptr || pUnits == nullptr || pUnits->m_pFormations == nullptr)
        return FALSE;
    const auto* pTemplate =
        dynamic_cast<const CFormationCompanyTemplate*>(pUnits->m_pFormations->FindByName(m_strTemplate));
    if (pTemplate == nullptr)
        return FALSE;
    m_places.RemoveAll();
    const float fInterval = GetInterval(pCompany);
    // Platoons with dismount teams only make set 1.
    std::vector<CHierarchyPlatoon*> sets[2];
    for (int i = 0; i < pCompanyLevel->GetSize(); ++i)
    {
        CHierarchyPlatoon* pPlatoon = pCompanyLevel->GetPlatoon(i);
        if (pPlatoon == nullptr)
            continue;
        FormationMembers set0;
        FormationMembers set1;
        CollectMembers(pPlatoon, pUnits, set0, set1);
        sets[set0.empty() && !set1.empty() ? 1 : 0].push_back(pPlatoon);
    }
    for (int nSet = 0; nSet < 2; ++nSet)
    {
        float afStacked[FORMATION_POSITIONS] = {};
        for (size_t i = 0; i < sets[nSet].size(); ++i)
        {
            CHierarchyPlatoon* pPlatoon = sets[nSet][i];
            const int s = CFormationPlatoonTemplate::SlotOf(static_cast<int>(i));
            const int k = nSet == 0 ? pTemplate->m_anSet0Position[s] : pTemplate->m_anSet1Position[s];
            if (k < 0 || k >= FORMATION_POSITIONS)
                continue;
            const CFormationCompanyTemplate::Position& position =
                nSet == 0 ? pTemplate->m_set0Positions[k] : pTemplate->m_set1Positions[k];
            const float baseX = fInterval * position.fX;
            const float baseY = fInterval * position.fY;
            double a = position.fThird;
            while (a > kFoldLimit)
                a -= kTwoPi;
            while (a < -kFoldLimit)
                a += kTwoPi;
            float fRadius = 0.0f;
            float fWidth = 0.0f;
            float fDepth = 0.0f;
            pPlatoon->GetFormationPlace(pUnits, fRadius, fWidth, fDepth);
            const double dAbs = std::fabs(a);
            float fStep = fRadius;
            if (dAbs < kAheadLimit || dAbs > kBehindLimit)
                fStep = 0.5f * fDepth;
            else if (dAbs > kSideLow && dAbs < kSideHigh)
                fStep = 0.5f * fWidth;

            float offX = 0.0f;
            float offY = 0.0f;
            float& d = afStacked[k];
            if (d > 0.0f)
            {
                d += fStep;
                offX = d * static_cast<float>(std::sin(a));
                offY = d * static_cast<float>(std::cos(a));
                // Further out while the spot is taken by a place made before.
                for (int guard = 0; guard < m_places.GetSize(); ++guard)
                {
                    const CUOrdPlatoonFormationPlace* pNear = nullptr;
                    for (int p = 0; p < m_places.GetSize() && pNear == nullptr; ++p)
                    {
                        const CUOrdPlatoonFormationPlace* pOther = m_places.GetAt(p);
                        if (pOther != nullptr && pOther->IsNear(baseX + offX, baseY + offY, 0.0f, fStep,
                                                                static_cast<float>(a)))
                            pNear = pOther;
                    }
                    if (pNear == nullptr)
                        break;
                    d += static_cast<const CUOrdCompanyFormationPlace*>(pNear)->m_fRadius;
                    offX = d * static_cast<float>(std::sin(a));
                    offY = d * static_cast<float>(std::cos(a));
                }
            }
            d += fStep;

            auto* pPlace = new CUOrdCompanyFormationPlace;
            pPlace->m_strMember = pPlatoon->m_strName;
            pPlace->m_bSet1 = nSet == 1 ? TRUE : FALSE;
            pPlace->m_fX = baseX + offX;
            pPlace->m_fY = baseY + offY;
            pPlace->m_fRadius = fRadius;
            pPlace->m_fExtentX = fWidth;
            pPlace->m_fExtentY = fDepth;
            pPlace->m_strPlatoonFormation =
                nSet == 0 ? pTemplate->m_astrSet0Formation[s] : pTemplate->m_astrSet1Formation[s];
            pPlace->m_nPosition = k;
            m_places.Add(pPlace);
            FormationMembers set0;
            FormationMembers set1;
            CollectMembers(pPlatoon, pUnits, set0, set1);
            set0.insert(set0.end(), set1.begin(), set1.end());
            perPlatoon.push_back(set0);
        }
    }
    return m_places.GetSize() > 0;
}

BOOL CUOrdCompanyFormation::PlaceCompany(CHierarchyPlatoon* pCompany, const FormationContext& context,
                                         float fOffsetX, float fOffsetY, float fAnchorX, float fAnchorY,
                                         float fHeading)
{
    auto* pCompanyLevel = dynamic_cast<CHierarchyCompany*>(pCompany);
    if (pCompanyLevel == nullptr || context.pUnits == nullptr)
        return FALSE;
    float ax = fAnchorX;
    float ay = fAnchorY;
    if (!(ax > 0.0f && ay > 0.0f))
    {
        if (!pCompany->GetLeaderPosition(ax, ay, context.pUnits) &&
            !pCompanyLevel->FindPlatoonPosition(ax, ay, context.pUnits))
            return FALSE;
        ax += fOffsetX;
        ay += fOffsetY;
    }
    std::vector<FormationMembers> perPlatoon;
    if (!BuildCompanyPlaces(pCompany, context.pUnits, perPlatoon))
        return FALSE;
    const float fMeanY = GetMeanY(context.pUnits);
    if (pCompany->m_pPath != nullptr && pCompany->m_pPath->GetSize() > 0)
    {
        pCompany->m_pPath->GetAt(0)->m_fX = ax;
        pCompany->m_pPath->GetAt(0)->m_fY = ay;
    }
    double dHeading = fHeading;
    if (fHeading == kUnsetFloat)
    {
        dHeading = pCompany->GetHeading(context.pUnits);
        if (dHeading == kUnsetFloat)
            dHeading = 0.0;
    }
    if (!context.bDeployment)
    {
        const float d = GetLeadDistance(pCompany, context.pUnits);
        ax += d * static_cast<float>(std::sin(dHeading));
        ay += d * static_cast<float>(std::cos(dHeading));
    }
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i);
        if (pPlace == nullptr)
            continue;
        // The company place turned, as a member place is.
        const double dy = static_cast<double>(pPlace->m_fY) - fMeanY;
        const double x = pPlace->m_fX;
        pPlace->m_fX = static_cast<float>(dy * std::sin(dHeading) + x * std::cos(dHeading));
        pPlace->m_fY = static_cast<float>(dy * std::cos(dHeading) - x * std::sin(dHeading));
    }
    if (pCompany->m_pOrders != nullptr)
        pCompany->m_pOrders->RemoveConditionalStarts(kUnset);

    for (int i = 0; i < m_places.GetSize() && i < static_cast<int>(perPlatoon.size()); ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i);
        CHierarchyPlatoon* pPlatoon = context.pUnits->FindElementByName(pPlace->m_strMember);
        if (pPlatoon == nullptr)
            continue;
        const float px = ax + pPlace->m_fX;
        const float py = ay + pPlace->m_fY;
        if (pCompany->m_pPath != nullptr && pCompany->m_pPath->GetSize() > 0 && pPlatoon->m_pPath != nullptr)
            pPlatoon->m_pPath->CopyOffset(*pCompany->m_pPath, px, py, context.pMap);
        else
            pPlatoon->BuildPath(context.pUnits, context.pMap, context.pDatabase, FALSE);
        CUOrdPlatoonFormation* pHeld = HeldFormation(pPlatoon);
        if (pHeld != nullptr && pHeld->BuildPlaces(perPlatoon[static_cast<size_t>(i)], {}, nullptr, pPlatoon,
                                                   context.pUnits))
        {
            const FormationMembers none;
            for (int p = 0; p < pHeld->m_places.GetSize(); ++p)
            {
                if (CUOrdPlatoonFormationPlace* pMemberPlace = pHeld->m_places.GetAt(p))
                    pHeld->PlaceMember(pMemberPlace, perPlatoon[static_cast<size_t>(i)], none, px, py, dHeading,
                                       0.0f, pPlatoon, context);
            }
        }
        if (pPlatoon->m_pOrders != nullptr)
            pPlatoon->m_pOrders->RemoveConditionalStarts(kUnset);
    }
    FinishPlacement(pCompany, context);
    return TRUE;
}
