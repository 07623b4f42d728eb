#pragma once
// The demo's formation templates ("Demo.frm": platoon Column, Wedge, Line
// and Vee; company Wedge and Line) and its standing orders ("Demo.sop": the
// AI order "Seize the Crossing"), built from the game's own classes so that
// the files are written by the Serialize routines that read them.
//
// Factors are multiples of the element's formation interval: x to the right
// of the heading, y ahead. Member 0 leads; set 1 (the dismounted teams)
// follows half an interval behind its carrier's place.

#include "ai/UOrdAIOrder.h"
#include "ai/UOrdAIOrderDataKinds.h"
#include "demo_terrain.h"
#include "mission/ConditionKinds.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/UnitOrderArray.h"

#include <cmath>
#include <functional>

namespace demo_orders
{
inline const char* const FORMATION_FILE = "Demo.frm";
inline const char* const SOP_FILE = "Demo.sop";
inline const char* const AI_ORDER_NAME = "Seize the Crossing";

// The place of member i (x, y in intervals) in a platoon formation.
using PlaceFn = std::function<void(int nMember, float& x, float& y)>;

// Member i > 0 stands on side (-1 left, +1 right) in rank (1, 2, ...).
inline int SideOf(int nMember) { return nMember % 2 == 1 ? -1 : 1; }
inline int RankOf(int nMember) { return (nMember + 1) / 2; }

inline CFormationPlatoonTemplate* MakePlatoonTemplate(const char* pszName, const char* pszIcon, const PlaceFn& place)
{
    auto* pTemplate = new CFormationPlatoonTemplate;
    pTemplate->m_strName = pszName;
    pTemplate->m_strIconName = pszIcon;
    for (int i = 0; i < FORMATION_SLOTS; ++i)
    {
        float x = 0.0f;
        float y = 0.0f;
        place(i, x, y);
        pTemplate->m_afSet0X[i] = x;
        pTemplate->m_afSet0Y[i] = y;
        pTemplate->m_afSet1X[i] = x;
        pTemplate->m_afSet1Y[i] = y - 0.5f;
    }
    return pTemplate;
}

// A company formation: platoon i takes position i (the first ten), each
// platoon in the named platoon formation; the third value is the direction
// in which platoons that share a position are stacked.
inline CFormationCompanyTemplate* MakeCompanyTemplate(const char* pszName, const char* pszIcon,
                                                      const char* pszPlatoonFormation, const PlaceFn& place)
{
    auto* pTemplate = new CFormationCompanyTemplate;
    pTemplate->m_strName = pszName;
    pTemplate->m_strIconName = pszIcon;
    for (int i = 0; i < FORMATION_SLOTS; ++i)
    {
        float x = 0.0f;
        float y = 0.0f;
        place(i, x, y);
        pTemplate->m_afSet0X[i] = pTemplate->m_afSet1X[i] = x;
        pTemplate->m_afSet0Y[i] = pTemplate->m_afSet1Y[i] = y;
    }
    for (int k = 0; k < FORMATION_POSITIONS; ++k)
    {
        float x = 0.0f;
        float y = 0.0f;
        place(k, x, y);
        // Company positions lie three platoon intervals apart.
        CFormationCompanyTemplate::Position position;
        position.fX = 3.0f * x;
        position.fY = 3.0f * y;
        position.fThird = static_cast<float>(std::atan2(x, y == 0.0f && x == 0.0f ? 1.0f : y));
        pTemplate->m_set0Positions[k] = position;
        position.fY -= 1.5f;
        pTemplate->m_set1Positions[k] = position;
    }
    for (int i = 0; i < FORMATION_SLOTS; ++i)
    {
        pTemplate->m_anSet0Position[i] = i % FORMATION_POSITIONS;
        pTemplate->m_astrSet0Formation[i] = pszPlatoonFormation;
        pTemplate->m_anSet1Position[i] = i % FORMATION_POSITIONS;
        pTemplate->m_astrSet1Formation[i] = "Column";
    }
    return pTemplate;
}

inline void BuildTemplates(CFormationTemplateArray& templates)
{
    const PlaceFn column = [](int i, float& x, float& y)
    {
        x = 0.0f;
        y = -static_cast<float>(i);
    };
    const PlaceFn wedge = [](int i, float& x, float& y)
    {
        x = static_cast<float>(SideOf(i) * RankOf(i));
        y = -static_cast<float>(RankOf(i));
    };
    const PlaceFn line = [](int i, float& x, float& y)
    {
        x = static_cast<float>(SideOf(i) * RankOf(i));
        y = 0.0f;
    };
    const PlaceFn vee = [](int i, float& x, float& y)
    {
        x = static_cast<float>(SideOf(i) * RankOf(i));
        y = static_cast<float>(RankOf(i));
    };
    templates.Add(MakePlatoonTemplate("Column", "Formation Column Red", column));
    templates.Add(MakePlatoonTemplate("Wedge", "Formation Wedge Red", wedge));
    templates.Add(MakePlatoonTemplate("Line", "Formation Line Red", line));
    templates.Add(MakePlatoonTemplate("Vee", "Formation Vee Red", vee));
    templates.Add(MakeCompanyTemplate("Wedge", "Formation Wedge Red", "Wedge", wedge));
    templates.Add(MakeCompanyTemplate("Line", "Formation Line Red", "Line", line));
    templates.m_strFileName = FORMATION_FILE;
}

// "Seize the Crossing": move in wedge along a route to the objective on the
// road's saddle, then sprint the last stretch. Aborted while the enemy's
// reserve still counts a full company.
inline void BuildStandingOrders(CUnitOrderArray& orders)
{
    auto* pOrder = new CUOrdAIOrder;
    pOrder->m_strName = AI_ORDER_NAME;
    pOrder->m_strText2 = "Seize the river crossing on the road's saddle.";
    pOrder->m_nEchelonMask = FORMATION_LEVEL_PLATOON | FORMATION_LEVEL_COMPANY;
    pOrder->m_nCategoryMask = -1;

    auto* pObjective = new CUOrdAIOrderDataObjective;
    pObjective->m_strName = "Crossing";
    pObjective->m_strDescription = "The crossing to seize.";
    pObjective->m_strPrompt = "Draw the objective around the crossing.";
    pObjective->m_bEditable = pObjective->m_bShown = TRUE;
    pObjective->m_strObjectiveText = "Crossing";
    const int nCentreX = 2900;
    const int nCentreY = static_cast<int>(demo_terrain::kSaddleY);
    pObjective->m_nLeft = nCentreX - 150;
    pObjective->m_nTop = nCentreY - 150;
    pObjective->m_nRight = nCentreX + 150;
    pObjective->m_nBottom = nCentreY + 150;
    pObjective->m_nAreaWidth = pObjective->m_nAreaHeight = 300;
    pOrder->m_pData->Add(pObjective);

    auto* pFormation = new CUOrdAIOrderDataFormation;
    pFormation->m_strName = "Travel Formation";
    pFormation->m_bEditable = TRUE;
    pFormation->m_strPlatoonFormation = "Wedge";
    pFormation->m_strCompanyFormation = "Wedge";
    pOrder->m_pData->Add(pFormation);

    auto* pRoute = new CUOrdAIOrderDataRoute;
    pRoute->m_strName = "Route";
    pRoute->m_bCalculate = TRUE;
    pRoute->m_astrReferencedNames.Add("Crossing");
    pRoute->m_astrReferencedNames.Add("Travel Formation");
    pOrder->m_pData->Add(pRoute);

    // Phase 1: take up the wedge and move until 100 m short of the objective.
    auto* pMoveOut = new CUOrdAIOrderPhase;
    pMoveOut->m_strName = "Move Out";
    pMoveOut->m_strText = "Moving to the crossing in wedge.";
    pMoveOut->m_pStartOrders->Add(new CUOrdPlatoonFormation(CString("Wedge")));
    auto* pNear = new CConditionDistance;
    pNear->m_astrDataNames.Add("Crossing");
    pNear->m_dwRelation = 0x1 | 0x2;  // less than or equal
    pNear->m_fDistance = 100.0f;
    pMoveOut->m_pConditions->Add(pNear);
    pOrder->m_pPhases->Add(pMoveOut);

    // Phase 2: sprint onto the objective.
    auto* pAssault = new CUOrdAIOrderPhase;
    pAssault->m_strName = "Assault";
    pAssault->m_strText = "Sprinting onto the crossing.";
    pAssault->m_pStartOrders->Add(new CUOrdToggleOrder(8));
    pOrder->m_pPhases->Add(pAssault);

    auto* pReserve = new CConditionVehicleCount;
    pReserve->m_strForceName = "Enemy Reserve";
    pReserve->m_nThreshold = 10;
    pOrder->m_pFailureConditions->Add(pReserve);

    orders.Add(pOrder);
}
}  // namespace demo_orders
