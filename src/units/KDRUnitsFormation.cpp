// The units component's formation services: the map marker of a special
// formation, and the three builders that prepare an element's vehicles for
// a formation template and place them. Members are never copied: the sets
// hold the element's own units, ordered leader first, then by role
// category and by protection, higher first.

#include "units/KDRUnits.h"

#include "database/KDRDatabase.h"
#include "database/Vehicle.h"
#include "hierarchy/HierarchyPlatoon.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/UnitOrderArray.h"
#include "platform/core/Unset.h"
#include "shell/PlayService.h"
#include "units/Unit.h"

#include <algorithm>

CString CKDRUnits::GetFormationGraphic(const CString& strFormation) const
{
    return CUOrdPlatoonFormation::GetSpecialFormationIconName(strFormation);
}

namespace
{
BOOL IsSpecial(const CString& strName) { return strName == SBF_DEFENSE_NAME || strName == POSITION_AREA_NAME; }

const CFormationPlatoonTemplate* TemplateFor(const CKDRUnits& units, const CString& strName, int nLevel)
{
    if (!units.m_bFormations || units.m_pFormations == nullptr)
        return nullptr;
    for (int i = 0; i < units.m_pFormations->GetSize(); ++i)
    {
        const CFormationPlatoonTemplate* pTemplate = units.m_pFormations->GetAt(i);
        if (pTemplate != nullptr && pTemplate->m_strName == strName && (pTemplate->GetLevel() & nLevel) != 0)
            return pTemplate;
    }
    return nullptr;
}

FormationContext ContextOf(CKDRUnits* pUnits, CKDRGameMap* pMap, CKDRDatabase* pDatabase)
{
    FormationContext context;
    context.pUnits = pUnits;
    context.pMap = pMap;
    context.pDatabase = pDatabase;
    const CPlayService* pPlay = GetPlayService();
    context.bDeployment = pPlay != nullptr && pPlay->IsDeploymentPhase();
    return context;
}

// Leader first; then by role category, then by protection, higher first.
// Equal members keep their order.
void RankMembers(FormationMembers& members, CKDRDatabase* pDatabase)
{
    auto rank = [pDatabase](const FormationMember& member, int& nCategory, int& nProtection)
    {
        const CVehicle* pType = pDatabase != nullptr && member.pUnit != nullptr
                                    ? pDatabase->GetVehicle(member.pUnit->m_nVehicle)
                                    : nullptr;
        nCategory = pType != nullptr ? CVehicle::RoleFlagsToCategory(pType->m_nRoleMask) : 0;
        nProtection = pType != nullptr ? pType->m_nProtectionValue : 0;
    };
    std::stable_sort(members.begin(), members.end(),
                     [&](const FormationMember& a, const FormationMember& b)
                     {
                         if (a.bLeader != b.bLeader)
                             return a.bLeader != FALSE;
                         int nCategoryA = 0;
                         int nProtectionA = 0;
                         int nCategoryB = 0;
                         int nProtectionB = 0;
                         rank(a, nCategoryA, nProtectionA);
                         rank(b, nCategoryB, nProtectionB);
                         if (nCategoryA != nCategoryB)
                             return nCategoryA > nCategoryB;
                         return nProtectionA > nProtectionB;
                     });
}

// The element's available live vehicles in their two ranked sets; FALSE
// when there are none.
BOOL CollectRanked(CHierarchyPlatoon* pElement, CKDRUnits* pUnits, CKDRDatabase* pDatabase, FormationMembers& set0,
                   FormationMembers& set1)
{
    CUOrdPlatoonFormation::CollectMembers(pElement, pUnits, set0, set1);
    auto uncarried = [](const FormationMember& member) { return member.pUnit == nullptr || member.pUnit->IsCarried(); };
    set0.erase(std::remove_if(set0.begin(), set0.end(), uncarried), set0.end());
    set1.erase(std::remove_if(set1.begin(), set1.end(), uncarried), set1.end());
    RankMembers(set0, pDatabase);
    RankMembers(set1, pDatabase);
    return !set0.empty() || !set1.empty();
}
}  // namespace

int CKDRUnits::CreatePlatoonFromUnits(const CString& strTemplate, CHierarchyPlatoon* pElement, CKDRGameMap* pMap,
                                      CKDRDatabase* pDatabase, float fX, float fY)
{
    if (pElement == nullptr || pElement->m_pOrders == nullptr)
        return 0;
    const FormationContext context = ContextOf(this, pMap, pDatabase);
    if (IsSpecial(strTemplate))
    {
        auto* pOrder = new CUOrdPlatoonFormation(strTemplate);
        pElement->m_pOrders->ClearFormation();
        pElement->m_pOrders->AddOrder(pOrder);
        return pOrder->ApplyToPlatoon(pElement, context, fX, fY, kUnsetFloat) ? 1 : 0;
    }
    const CFormationPlatoonTemplate* pTemplate = TemplateFor(*this, strTemplate, pElement->GetLevel());
    FormationMembers set0;
    FormationMembers set1;
    if (pTemplate == nullptr || !CollectRanked(pElement, this, pDatabase, set0, set1))
        return 0;
    CUOrdPlatoonFormation* pOrder = pElement->m_pOrders->SetFormation(pTemplate);
    if (pOrder == nullptr)
        return 0;
    return pOrder->Place(set0, set1, 0.0f, 0.0f, pElement, context, TRUE, kUnsetFloat, kUnsetFloat, kUnsetFloat) ? 1
                                                                                                                 : 0;
}

int CKDRUnits::CreateCompanyFromUnits(const CString& strTemplate, CHierarchyPlatoon* pElement, CKDRGameMap* pMap,
                                      CKDRDatabase* pDatabase, float, float)
{
    if (pElement == nullptr || pElement->m_pOrders == nullptr)
        return 0;
    const CFormationPlatoonTemplate* pTemplate = TemplateFor(*this, strTemplate, pElement->GetLevel());
    if (pTemplate == nullptr || pTemplate->GetLevel() != FORMATION_LEVEL_COMPANY)
        return 0;
    auto* pOrder = dynamic_cast<CUOrdCompanyFormation*>(pElement->m_pOrders->SetFormation(pTemplate));
    if (pOrder == nullptr)
        return 0;
    const FormationContext context = ContextOf(this, pMap, pDatabase);
    return pOrder->PlaceCompany(pElement, context, 0.0f, 0.0f, kUnsetFloat, kUnsetFloat, kUnsetFloat) ? 1 : 0;
}

int CKDRUnits::PlaceFormationFromTemplate(const CString& strTemplate, CHierarchyPlatoon* pElement, CKDRGameMap* pMap,
                                          CKDRDatabase* pDatabase)
{
    if (pElement == nullptr)
        return 0;
    const FormationContext context = ContextOf(this, pMap, pDatabase);
    const CFormationPlatoonTemplate* pTemplate = TemplateFor(*this, strTemplate, pElement->GetLevel());
    if (pTemplate == nullptr)
        return 0;
    if (pTemplate->GetLevel() == FORMATION_LEVEL_COMPANY)
    {
        CUOrdCompanyFormation probe(pTemplate);
        return probe.PlaceCompany(pElement, context, 0.0f, 0.0f, kUnsetFloat, kUnsetFloat, kUnsetFloat) ? 1 : 0;
    }
    FormationMembers set0;
    FormationMembers set1;
    if (!CollectRanked(pElement, this, pDatabase, set0, set1))
        return 0;
    CUOrdPlatoonFormation probe(pTemplate);
    return probe.Place(set0, set1, 0.0f, 0.0f, pElement, context, TRUE, kUnsetFloat, kUnsetFloat, kUnsetFloat) ? 1
                                                                                                               : 0;
}
