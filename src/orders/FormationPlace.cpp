// Placing a platoon formation: the places built from the template, turned
// to the element's heading, and every member given a drivable path to its
// slot; the formation order's AI data and AI phase step.

#include "orders/FormationOrder.h"

#include "ai/UOrdAIOrderDataKinds.h"
#include "hierarchy/HierarchyElement.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "orders/FormationTemplateArray.h"
#include "orders/NodeArray.h"
#include "orders/UnitOrderArray.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <algorithm>
#include <cmath>

namespace
{
// A platoon whose scenario sets no interval spaces its members this far
// apart per template factor.
constexpr float kDefaultInterval = 50.0f;
// The unit order bits placement switches.
constexpr DWORD kMarchSpeedBit = 0x200;
constexpr DWORD kSprintBit = 0x8;

CUnit* FindMemberUnit(const CString& name, const FormationMembers& set0, const FormationMembers& set1)
{
    for (const FormationMembers* pSet : {&set0, &set1})
    {
        for (const FormationMember& member : *pSet)
        {
            if (member.pUnit != nullptr && member.strName == name)
                return member.pUnit;
        }
    }
    return nullptr;
}
}  // namespace

float CUOrdPlatoonFormation::GetInterval(const CHierarchyPlatoon* pElement)
{
    // The hierarchy's seventh word is the interval the scenario sets.
    if (pElement != nullptr && pElement->m_nWord7 > 0)
        return static_cast<float>(pElement->m_nWord7);
    return kDefaultInterval;
}

void CUOrdPlatoonFormation::CollectMembers(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, FormationMembers& set0,
                                           FormationMembers& set1)
{
    if (pElement == nullptr)
        return;
    for (int i = 0; i < pElement->GetSize(); ++i)
    {
        const CHierarchyElement* pChild = pElement->GetElement(i);
        if (pChild == nullptr || !pChild->IsAvailable())
            continue;
        CUnit* pUnit = pChild->GetUnit(pUnits, pElement->m_nSide);
        if (pUnit == nullptr || pUnit->m_bDestroyed)
            continue;
        FormationMember member{pUnit, pChild->m_strName, pChild->m_bLeader};
        (pUnit->HasDismountCapability() ? set1 : set0).push_back(member);
    }
}

CUOrdPlatoonFormationPlace* CUOrdPlatoonFormation::GetLeaderPlace() const
{
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        if (CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i); pPlace != nullptr && pPlace->m_bLeader)
            return pPlace;
    }
    return nullptr;
}

BOOL CUOrdPlatoonFormation::GetExtents(float& fRadius, float& fWidth, float& fDepth, BOOL bSigned) const
{
    fRadius = fWidth = fDepth = 0.0f;
    BOOL bAnySet0 = FALSE;
    for (int i = 0; i < m_places.GetSize(); ++i)
        bAnySet0 |= m_places.GetAt(i) != nullptr && !m_places.GetAt(i)->m_bSet1;
    BOOL bCounted = FALSE;
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i);
        if (pPlace == nullptr || (pPlace->m_bSet1 != 0) == (bAnySet0 != 0))
            continue;
        float fX = std::fabs(pPlace->m_fX);
        float fY = bSigned ? pPlace->m_fY : std::fabs(pPlace->m_fY);
        float fDistance = std::hypot(pPlace->m_fX, pPlace->m_fY);
        if (pPlace->IsCompanyPlace())
        {
            const auto* pCompany = static_cast<const CUOrdCompanyFormationPlace*>(pPlace);
            fX += pCompany->m_fExtentX;
            fY += pCompany->m_fExtentY;
            fDistance += pCompany->m_fRadius;
        }
        if (!bCounted)
        {
            fRadius = fDistance;
            fWidth = fX;
            fDepth = fY;
            bCounted = TRUE;
            continue;
        }
        fRadius = std::max(fRadius, fDistance);
        fWidth = std::max(fWidth, fX);
        fDepth = std::max(fDepth, fY);
    }
    return bCounted;
}

BOOL CUOrdPlatoonFormation::BuildPlaces(const FormationMembers& set0, const FormationMembers& set1,
                                        CNodeArray** ppLeaderPath, CHierarchyPlatoon* pElement, CKDRUnits* pUnits)
{
    if (pElement == nullptr || pUnits == nullptr || pUnits->m_pFormations == nullptr)
        return FALSE;
    const CFormationPlatoonTemplate* pTemplate = pUnits->m_pFormations->FindByName(m_strTemplate);
    if (pTemplate == nullptr)
        return FALSE;
    m_places.RemoveAll();
    const float fInterval = GetInterval(pElement);
    // An empty first set leaves the second to be placed as set 0.
    const bool bOnlySecond = set0.empty();
    for (int nSet = bOnlySecond ? 1 : 0; nSet < 2; ++nSet)
    {
        const FormationMembers& members = nSet == 0 ? set0 : set1;
        const bool bAsSet0 = nSet == 0 || bOnlySecond;
        for (size_t i = 0; i < members.size(); ++i)
        {
            const FormationMember& member = members[i];
            if (member.pUnit == nullptr)
                continue;
            const int s = CFormationPlatoonTemplate::SlotOf(static_cast<int>(i));
            auto* pPlace = new CUOrdPlatoonFormationPlace;
            pPlace->m_strMember = member.strName;
            pPlace->m_bLeader = member.bLeader;
            pPlace->m_bSet1 = bAsSet0 ? FALSE : TRUE;
            pPlace->m_fX = fInterval * (bAsSet0 ? pTemplate->m_afSet0X[s] : pTemplate->m_afSet1X[s]);
            pPlace->m_fY = fInterval * (bAsSet0 ? pTemplate->m_afSet0Y[s] : pTemplate->m_afSet1Y[s]);
            pPlace->m_nSlotCode = bAsSet0 ? pTemplate->m_anSet0Slot[s] : pTemplate->m_anSet1Slot[s];
            if (member.bLeader && ppLeaderPath != nullptr)
            {
                delete *ppLeaderPath;
                *ppLeaderPath = member.pUnit->m_pPath != nullptr ? new CNodeArray(*member.pUnit->m_pPath) : nullptr;
            }
            m_places.Add(pPlace);
        }
    }
    return TRUE;
}

float CUOrdPlatoonFormation::GetMeanY(CKDRUnits*) const
{
    double dSum = 0.0;
    int nCount = 0;
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i);
        if (pPlace != nullptr && !pPlace->m_bSet1)
        {
            dSum += pPlace->m_fY;
            ++nCount;
        }
    }
    return nCount > 0 ? static_cast<float>(dSum / nCount) : 0.0f;
}

BOOL CUOrdPlatoonFormation::BuildCentred(const FormationMembers& set0, const FormationMembers& set1,
                                         CHierarchyPlatoon* pElement, CKDRUnits* pUnits, float& fRadius,
                                         float& fWidth, float& fDepth)
{
    fRadius = fWidth = fDepth = 0.0f;
    if (!BuildPlaces(set0, set1, nullptr, pElement, pUnits))
        return FALSE;
    const float fMean = GetMeanY(pUnits);
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        if (CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i))
            pPlace->m_fY -= fMean;
    }
    return GetExtents(fRadius, fWidth, fDepth, TRUE);
}

float CUOrdPlatoonFormation::GetDepth(BOOL bExcludeSet1, CKDRUnits*) const
{
    float fHigh = 0.0f;
    float fLow = 0.0f;
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        const CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i);
        if (pPlace == nullptr || (bExcludeSet1 && pPlace->m_bSet1))
            continue;
        fHigh = std::max(fHigh, pPlace->m_fY);
        fLow = std::min(fLow, pPlace->m_fY);
    }
    return fHigh - fLow;
}

float CUOrdPlatoonFormation::GetLeadDistance(CHierarchyPlatoon* pElement, CKDRUnits* pUnits) const
{
    if (pElement == nullptr || pElement->m_pPath == nullptr || pElement->m_pPath->GetSize() < 2 ||
        pElement->m_pPath->GetAt(0) == nullptr || pElement->m_pPath->GetAt(0)->HasStop())
        return 0.0f;
    return std::min(0.5f * pElement->m_pPath->GetFirstLegLength(), 2.0f * GetDepth(TRUE, pUnits));
}

void CUOrdPlatoonFormation::PlaceMember(CUOrdPlatoonFormationPlace* pPlace, const FormationMembers& set0,
                                        const FormationMembers& set1, float fAnchorX, float fAnchorY,
                                        double dHeading, float fMeanY, CHierarchyPlatoon* pElement,
                                        const FormationContext& context)
{
    const double dy = static_cast<double>(pPlace->m_fY) - fMeanY;
    const double x = pPlace->m_fX;
    const float fTurnedX = static_cast<float>(dy * std::sin(dHeading) + x * std::cos(dHeading));
    const float fTurnedY = static_cast<float>(dy * std::cos(dHeading) - x * std::sin(dHeading));
    pPlace->m_fX = fTurnedX;
    pPlace->m_fY = fTurnedY;
    if (pPlace->m_bLeader)
    {
        m_fReferenceX = -fTurnedX;
        m_fReferenceY = -fTurnedY;
    }

    CUnit* pUnit = FindMemberUnit(pPlace->m_strMember, set0, set1);
    if (pUnit == nullptr)
        return;
    pUnit->m_pPath->ResetToPoint(pUnit->m_fX, pUnit->m_fY, FALSE);
    pUnit->m_pPath->GetAt(0)->ClearStopAndStartTime();
    const float fSlotX = fAnchorX + fTurnedX;
    const float fSlotY = fAnchorY + fTurnedY;
    if (context.bDeployment)
    {
        pUnit->AssignPath(fSlotX, fSlotY, context.pDatabase, context.pMap, FALSE, 0);
    }
    else
    {
        pUnit->m_pPath->AddNode(fSlotX, fSlotY);
        pUnit->ClearStop(context.pDatabase, FALSE);
    }

    if (!pElement->HasPath())
    {
        pElement->BuildPath(context.pUnits, context.pMap, context.pDatabase, FALSE);
        if (pElement->m_pPath != nullptr && pElement->m_pPath->GetSize() > 0)
        {
            pElement->m_pPath->GetAt(0)->m_fX = pUnit->m_fX;
            pElement->m_pPath->GetAt(0)->m_fY = pUnit->m_fY;
        }
    }
    const CNode* pLead = pElement->m_pPath != nullptr && pElement->m_pPath->GetSize() > 0
                             ? pElement->m_pPath->GetAt(0)
                             : nullptr;
    if (pLead != nullptr && pLead->HasStop())
    {
        // The member halts at its slot: it may dig in there unless told not to.
        pUnit->AllowEmplace(context.pDatabase, pUnit->CanEmplace());
        pUnit->ClearStop(context.pDatabase, context.bDeployment);
    }
    pUnit->PlaceInFormation(pElement->m_pPath, fTurnedX, fTurnedY, context.pMap);
    float fLastX = 0.0f;
    float fLastY = 0.0f;
    pUnit->m_pPath->BuildRoute(kUnset, 0.0f, 0.0f, &fLastX, &fLastY, context.pUnits, context.pObstacles, pElement,
                               nullptr, context.pMap, nullptr, CString(), pUnit->GetMoverClass(),
                               pUnit->GetBreachMask(context.pDatabase), FALSE, kUnsetFloat,
                               pUnit->m_pPath->GetSize() > 2);
    if (!context.bDeployment)
    {
        // The member waits at its slot for the next order; 999 asks for a
        // start time only on the sides that keep them.
        pUnit->m_pPath->GetAt(pUnit->m_pPath->GetSize() - 1)->SetStartTime(pUnit->m_nSide != 0,
                                                                            CTimeSpan(START_TIME_HOLD_REQUEST));
        // The element's path carries no time of its own yet to match.
        pUnit->OffsetPathTime(0);
    }
}

void CUOrdPlatoonFormation::FinishPlacement(CHierarchyPlatoon* pElement, const FormationContext& context)
{
    CNodeArray* pPath = pElement->m_pPath;
    if (pPath != nullptr && pPath->GetSize() > 1 && pPath->GetAt(0) != nullptr && !pPath->GetAt(0)->HasStop())
    {
        if (!context.bDeployment)
            pElement->AddConditionalStart(0, context.pUnits);
        pElement->AddConditionalStart(1, context.pUnits);
    }
    else if (pPath != nullptr && pPath->GetSize() == 1 && pPath->GetAt(0) != nullptr)
    {
        pPath->GetAt(0)->SetStartTime(pElement->m_nSide != 0, CTimeSpan(START_TIME_HOLD_REQUEST));
    }
    if (context.pUnits != nullptr)
    {
        CTaskOrgArray reached;
        context.pUnits->ApplyOrderBitToElement(kMarchSpeedBit, &reached, pElement, context.pDatabase, context.pMap,
                                               context.pObstacles, context.pHoles, 1, 1, kUnsetFloat, kUnsetFloat,
                                               kUnsetFloat);
        context.pUnits->ApplyOrderBitToElement(kSprintBit, &reached, pElement, context.pDatabase, context.pMap,
                                               context.pObstacles, context.pHoles, 1, 0, kUnsetFloat, kUnsetFloat,
                                               kUnsetFloat);
    }
}

BOOL CUOrdPlatoonFormation::Place(const FormationMembers& set0, const FormationMembers& set1, float fOffsetX,
                                  float fOffsetY, CHierarchyPlatoon* pElement, const FormationContext& context,
                                  BOOL bUsePosition, float fAnchorX, float fAnchorY, float fHeading)
{
    if (pElement == nullptr || context.pUnits == nullptr || (set0.empty() && set1.empty()))
        return FALSE;
    float ax = fAnchorX;
    float ay = fAnchorY;
    if (!(ax > 0.0f && ay > 0.0f))
    {
        ax = ay = kUnsetFloat;
        if (!bUsePosition)
        {
            for (const FormationMembers* pSet : {&set0, &set1})
            {
                if (!pSet->empty() && pSet->front().bLeader && pSet->front().pUnit != nullptr)
                {
                    ax = pSet->front().pUnit->m_fX + fOffsetX;
                    ay = pSet->front().pUnit->m_fY + fOffsetY;
                    break;
                }
            }
        }
        else
        {
            pElement->GetLeaderPosition(ax, ay, context.pUnits);
        }
    }
    if (ax < 0.0f && ay < 0.0f)
        return FALSE;
    if (pElement->m_pPath != nullptr && pElement->m_pPath->GetSize() > 0)
    {
        pElement->m_pPath->GetAt(0)->m_fX = ax;
        pElement->m_pPath->GetAt(0)->m_fY = ay;
    }
    double dHeading = fHeading;
    if (fHeading == kUnsetFloat)
    {
        dHeading = pElement->GetHeading(context.pUnits);
        if (dHeading == kUnsetFloat)
            dHeading = 0.0;
    }
    if (IsSpecial())
        return PlaceSpecial(set0, set1, pElement, context, ax, ay, dHeading);

    if (!BuildPlaces(set0, set1, nullptr, pElement, context.pUnits) || m_places.GetSize() == 0)
        return FALSE;
    const float fMeanY = GetMeanY(context.pUnits);
    if (!context.bDeployment)
    {
        const float d = GetLeadDistance(pElement, context.pUnits);
        ax += d * static_cast<float>(std::sin(dHeading));
        ay += d * static_cast<float>(std::cos(dHeading));
    }
    if (pElement->m_pOrders != nullptr)
        pElement->m_pOrders->RemoveConditionalStarts(kUnset);
    for (int i = 0; i < m_places.GetSize(); ++i)
    {
        if (CUOrdPlatoonFormationPlace* pPlace = m_places.GetAt(i))
            PlaceMember(pPlace, set0, set1, ax, ay, dHeading, fMeanY, pElement, context);
    }
    FinishPlacement(pElement, context);
    return TRUE;
}

BOOL CUOrdPlatoonFormation::ApplyToPlatoon(CHierarchyPlatoon* pElement, const FormationContext& context,
                                           float fAnchorX, float fAnchorY, float fHeading)
{
    if (pElement == nullptr || context.pUnits == nullptr)
        return FALSE;
    FormationMembers set0;
    FormationMembers set1;
    CollectMembers(pElement, context.pUnits, set0, set1);
    if (set0.empty() && set1.empty())
        return FALSE;
    float ax = fAnchorX;
    float ay = fAnchorY;
    if (!(ax > 0.0f && ay > 0.0f) && !pElement->GetLeaderPosition(ax, ay, context.pUnits))
        return FALSE;
    if (pElement->m_pPath != nullptr && pElement->m_pPath->GetSize() > 0)
    {
        pElement->m_pPath->GetAt(0)->m_fX = ax;
        pElement->m_pPath->GetAt(0)->m_fY = ay;
    }
    double dHeading = fHeading;
    if (fHeading == kUnsetFloat)
    {
        dHeading = pElement->GetHeading(context.pUnits);
        if (dHeading == kUnsetFloat)
            dHeading = 0.0;
    }
    if (!PlaceSpecial(set0, set1, pElement, context, ax, ay, dHeading))
        return FALSE;
    if (context.pUnits != nullptr)
    {
        CTaskOrgArray reached;
        for (DWORD dwBit : {kMarchSpeedBit, kSprintBit})
            context.pUnits->ApplyOrderBitToElement(dwBit, &reached, pElement, context.pDatabase, context.pMap,
                                                   context.pObstacles, context.pHoles, 1, 0, kUnsetFloat,
                                                   kUnsetFloat, kUnsetFloat);
    }
    return TRUE;
}

int CUOrdPlatoonFormation::AddData(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement,
                                   CKDRUnits*, CKDRDatabase*, CKDRGameMap*)
{
    if (pElement == nullptr)
        return 0;
    if (pItem != nullptr && pItem->GetType() == AIDATA_FORMATION)
        m_strTemplate = static_cast<CUOrdAIOrderDataFormation*>(pItem)->m_strPlatoonFormation;
    return 1;
}

namespace
{
// Sets the order's formation on one element of the level, after clearing
// a template name the element is not offered.
void SetFormationOn(CString& strTemplate, CHierarchyPlatoon* pTarget, CKDRUnits* pUnits, CKDRGameMap* pMap,
                    CKDRDatabase* pDatabase)
{
    if (pTarget == nullptr)
        return;
    if (!strTemplate.IsEmpty() && strTemplate != SBF_DEFENSE_NAME && strTemplate != POSITION_AREA_NAME)
    {
        CStringArray offered;
        pUnits->m_pFormations->GetNamesForLevel(pTarget->GetLevel(), offered, pTarget->m_nCategory);
        bool bOffered = false;
        for (const CString& name : offered)
            bOffered = bOffered || name == strTemplate;
        if (!bOffered)
            strTemplate.Empty();
    }
    pTarget->SetFormationByName(strTemplate, pUnits, pMap, pDatabase);
}

int ExecuteAtLevel(CString& strTemplate, int nLevel, CHierarchyPlatoon* pElement, CKDRUnits* pUnits,
                   CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    if (pElement == nullptr || pUnits == nullptr || pUnits->m_pFormations == nullptr)
        return 0;
    if (pElement->GetLevel() == nLevel)
    {
        SetFormationOn(strTemplate, pElement, pUnits, pMap, pDatabase);
        return 1;
    }
    if (pElement->GetLevel() != HIERARCHY_BATTALION)
        return 0;
    // A battalion-level group: each of its platoons (companies).
    for (int i = 0; i < pElement->GetSize(); ++i)
    {
        CObject* pChild = pElement->GetChild(i);
        auto* pSub = dynamic_cast<CHierarchyPlatoon*>(pChild);
        if (pSub == nullptr)
            continue;
        if (pSub->GetLevel() == nLevel)
            SetFormationOn(strTemplate, pSub, pUnits, pMap, pDatabase);
        else if (nLevel == HIERARCHY_PLATOON)
        {
            for (int k = 0; k < pSub->GetSize(); ++k)
            {
                auto* pPlatoon = dynamic_cast<CHierarchyPlatoon*>(pSub->GetChild(k));
                if (pPlatoon != nullptr && pPlatoon->GetLevel() == HIERARCHY_PLATOON)
                    SetFormationOn(strTemplate, pPlatoon, pUnits, pMap, pDatabase);
            }
        }
    }
    return 1;
}
}  // namespace

int CUOrdPlatoonFormation::Execute(CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement, CHierarchyPlatoon*,
                                   CKDRUnits* pUnits, CKDRObstacles*, CKDRHoles*, CKDRDatabase* pDatabase,
                                   CKDRGameMap* pMap)
{
    return ExecuteAtLevel(m_strTemplate, HIERARCHY_PLATOON, pElement, pUnits, pMap, pDatabase);
}

int CUOrdCompanyFormation::Execute(CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement, CHierarchyPlatoon*,
                                   CKDRUnits* pUnits, CKDRObstacles*, CKDRHoles*, CKDRDatabase* pDatabase,
                                   CKDRGameMap* pMap)
{
    return ExecuteAtLevel(m_strTemplate, HIERARCHY_COMPANY, pElement, pUnits, pMap, pDatabase);
}

int CUOrdCompanyFormation::AddData(CUOrdAIOrderData* pItem, CUOrdAIOrderDataArray*, CHierarchyPlatoon* pElement,
                                   CKDRUnits*, CKDRDatabase*, CKDRGameMap*)
{
    if (pElement == nullptr)
        return 0;
    if (pItem != nullptr && pItem->GetType() == AIDATA_FORMATION)
        m_strTemplate = static_cast<CUOrdAIOrderDataFormation*>(pItem)->m_strCompanyFormation;
    return 1;
}
