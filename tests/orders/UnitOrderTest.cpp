// Unit orders and the order set: type codes and toggle mappings, the
// replace rules, toggles, formations, conditional starts, AI order lists,
// the per-tick update and copies.
#include "OrderTestSupport.h"

#include "ai/UOrdAIOrder.h"
#include "ai/UOrdAIOrderDataKinds.h"
#include "battlefield/KDRGameMap.h"
#include "database/KDRDatabase.h"
#include "mission/ConditionKinds.h"
#include "orders/FormationOrder.h"
#include "orders/FormationTemplateArray.h"
#include "orders/UnitOrderArray.h"
#include "orders/UnitOrderKinds.h"

#include <gtest/gtest.h>

#include <memory>

using namespace ordertest;

namespace
{
CUOrdConditionalStart* Start(int nNumber)
{
    auto* pStart = new CUOrdConditionalStart;
    pStart->m_nNumber = nNumber;
    return pStart;
}

CUOrdAIOrder* AIOrder(const char* pszName, int nEchelon, int nCategory = -1, int nType = 0, int nExcluded = 0)
{
    auto* pOrder = new CUOrdAIOrder;
    pOrder->m_strName = pszName;
    pOrder->m_nEchelonMask = nEchelon;
    pOrder->m_nCategoryMask = nCategory;
    pOrder->m_nTypeMask = nType;
    pOrder->m_nExcludedTypeMask = nExcluded;
    return pOrder;
}

// An order that answers a fixed update and counts the calls.
class CCountingOrder : public CUnitOrder
{
public:
    CCountingOrder(int nAnswer, int* pCalls) : m_nAnswer(nAnswer), m_pCalls(pCalls) {}
    int Update(CHierarchyPlatoon*, CKDRUnits*, CKDRGameMap*, CKDRDatabase*, CKDRObstacles*, CKDRHoles*) override
    {
        ++*m_pCalls;
        return m_nAnswer;
    }

    int m_nAnswer;
    int* m_pCalls;
};
}  // namespace

TEST(UnitOrder, ToggleAndOrderCodesMapBothWays)
{
    struct Case
    {
        DWORD dwUnitBit;
        DWORD dwCode;
    };
    const Case toCode[] = {{1, 0x4001},      {2, 0x4002},           {8, 0x4008}, {4096, 0x5000}, {8192, 0x6000},
                           {16384, 0x44000}, {0x10000, 0x40000000}, {3, 0},      {0x8000, 0},    {0, 0}};
    for (const Case& c : toCode)
        EXPECT_EQ(CUnitOrder::ToggleToOrderCode(c.dwUnitBit), c.dwCode) << c.dwUnitBit;

    struct Back
    {
        DWORD dwCode;
        int nToggle;
    };
    const Back toToggle[] = {{0x44000, 16384}, {0x4001, 1}, {0x4800, 2048},  {1024, 1024},
                             {0x800001, -1},   {5, -1},     {0x40000000, -1}};
    for (const Back& c : toToggle)
        EXPECT_EQ(CUnitOrder::OrderCodeToToggle(c.dwCode), c.nToggle) << c.dwCode;

    EXPECT_EQ(CUOrdToggleOrder(1).GetOrderType(), 0x4001u);
    EXPECT_EQ(CUOrdCancelToggleOrder(1).GetOrderType(), 0x800001u);
    EXPECT_EQ(CUnitOrder::SpecialFormationName(kUnset), ".SBF/Defense.");
    EXPECT_EQ(CUnitOrder::SpecialFormationName(-88), ".Position Area.");
    EXPECT_EQ(CUnitOrder::SpecialFormationName(0), "");
    EXPECT_EQ(CUOrdToggleOrder(0x40000).GetDescription(0, 0), "Do Not Emplace");
    EXPECT_EQ(CUOrdToggleOrder(1 | 2).GetDescription(0, 0), "");
}

TEST(UnitOrder, ToggleOrdersApplyTheirBitsLowestFirstAndCancelsSwitchOff)
{
    CRecordingUnits units;
    CHierarchyPlatoon platoon;
    CUOrdToggleOrder both(1 | 2 | 0x40000);
    EXPECT_EQ(both.Execute(nullptr, nullptr, nullptr, &units, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(both.Execute(nullptr, &platoon, &platoon, &units, nullptr, nullptr, nullptr, nullptr), 1);
    const std::vector<std::pair<DWORD, int>> expectOn = {{1, 1}, {2, 1}, {0x40000, 1}};
    EXPECT_EQ(units.m_applied, expectOn);

    units.m_applied.clear();
    CUOrdCancelToggleOrder cancel(8);
    EXPECT_EQ(cancel.Execute(nullptr, &platoon, &platoon, &units, nullptr, nullptr, nullptr, nullptr), 1);
    const std::vector<std::pair<DWORD, int>> expectOff = {{8, 0}};
    EXPECT_EQ(units.m_applied, expectOff);
}

TEST(UnitOrderArray, AddingReplacesOrdersOfTheSameCode)
{
    CUnitOrderArray set;
    set.AddOrder(new CUOrdSuppress);
    set.AddOrderOfType(0x4001);
    auto* pSuppress = new CUOrdSuppress;
    set.AddOrder(pSuppress);
    ASSERT_EQ(set.GetSize(), 2);
    EXPECT_EQ(set.GetAt(0)->GetOrderType(), 0x4001u);
    EXPECT_EQ(set.GetAt(1), pSuppress);

    // A toggle is added once, and not at all while its cancel is present.
    set.AddOrderOfType(0x4001);
    EXPECT_EQ(set.GetSize(), 2);
    CUnitOrderArray cancelled;
    cancelled.Add(new CUOrdCancelToggleOrder(1));
    cancelled.AddOrderOfType(0x4001);
    EXPECT_EQ(cancelled.GetSize(), 1);
    cancelled.AddOrderOfType(0x44000);
    ASSERT_EQ(cancelled.GetSize(), 2);
    EXPECT_EQ(static_cast<CUOrdToggleOrder*>(cancelled.GetAt(1))->m_dwToggles, 0x40000u);
}

TEST(UnitOrderArray, SetToggleFlipsOrSetsTheToggleOrder)
{
    struct Case
    {
        const char* what;
        bool bPresent;
        DWORD dwUnitBit;
        int nMode;
        int nStateIn;
        DWORD dwResult;
        int nStateOut;
        bool bPresentAfter;
    };
    const Case cases[] = {
        {"flip, absent", false, 2, 0, 7, 0, 1, false},  {"flip, present", true, 2, 0, 7, 1, 0, false},
        {"set on, present", true, 2, 1, 1, 1, 1, true}, {"set off, present", true, 2, 1, 0, 1, 0, false},
        {"set, absent", false, 2, 1, 1, 0, 1, false},   {"suppress off", true, 0x10000, 1, 0, 1, 0, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        CUnitOrderArray set;
        set.AddOrderOfType(0x4008);  // another toggle, never touched
        if (c.bPresent)
        {
            if (c.dwUnitBit == 0x10000)
                set.AddOrder(new CUOrdSuppress);
            else
                set.AddOrderOfType(CUnitOrder::ToggleToOrderCode(c.dwUnitBit));
        }
        int nState = c.nStateIn;
        EXPECT_EQ(set.SetToggle(c.dwUnitBit, &nState, c.nMode), c.dwResult);
        EXPECT_EQ(nState, c.nStateOut);
        EXPECT_EQ(set.GetSize(), c.bPresentAfter ? 2 : 1);
        EXPECT_EQ(set.GetAt(0)->GetOrderType(), 0x4008u);
    }
}

TEST(UnitOrderArray, ConditionalStartsAreFoundAndRemovedByNumber)
{
    CUnitOrderArray set;
    set.Add(Start(3));
    CUOrdConditionalStart* pFirstOne = Start(1);
    set.Add(pFirstOne);
    set.Add(Start(1));
    set.Add(Start(CUOrdConditionalStart::NO_NUMBER));
    int nNumber = 0;
    EXPECT_EQ(set.GetLowestConditionalStart(nNumber), pFirstOne);
    EXPECT_EQ(nNumber, 1);

    EXPECT_FALSE(set.RemoveConditionalStarts(2));
    EXPECT_TRUE(set.RemoveConditionalStarts(1));
    EXPECT_EQ(set.GetSize(), 2);
    EXPECT_TRUE(set.RemoveConditionalStarts(3));
    EXPECT_EQ(set.GetLowestConditionalStart(nNumber), nullptr);
    EXPECT_EQ(nNumber, CUOrdConditionalStart::NO_NUMBER);
    EXPECT_TRUE(set.RemoveConditionalStarts(kUnset));
    EXPECT_EQ(set.GetSize(), 0);

    // A conditional start made for an element watches it with a call-back.
    const CUOrdConditionalStart made(0, TRUE, nullptr, nullptr);
    ASSERT_EQ(made.m_pConditions->GetSize(), 1);
    EXPECT_EQ(made.m_pConditions->GetAt(0)->GetType(), COND_CALL_BACK);
}

TEST(UnitOrderArray, FormationOrdersReplaceEachOther)
{
    CFormationTemplateArray templates;
    auto* pPlatoonWedge = new CFormationPlatoonTemplate;
    pPlatoonWedge->m_strName = "Wedge";
    pPlatoonWedge->m_strIconName = "Formation Wedge Red";
    templates.Add(pPlatoonWedge);

    CUnitOrderArray set;
    set.Add(new CUOrdCompanyFormation(CString("Line")));
    set.Add(Start(0));
    set.Add(Start(1));
    CUOrdPlatoonFormation* pSet = set.SetFormation(pPlatoonWedge);
    ASSERT_NE(pSet, nullptr);
    ASSERT_EQ(set.GetSize(), 1);
    EXPECT_EQ(set.GetFormationOrder(), pSet);
    EXPECT_EQ(pSet->GetOrderType(), UORD_PLATOON_FORMATION);
    EXPECT_TRUE(set.HasFormationNamed("Wedge"));
    EXPECT_EQ(set.GetFormationIconName(&templates, 2), "Formation Wedge Red");
    EXPECT_EQ(set.GetFormationIconName(&templates, 4), "");

    // Without a formation order the conditional starts stay.
    CUnitOrderArray starts;
    starts.Add(Start(0));
    starts.SetFormation(pPlatoonWedge);
    EXPECT_EQ(starts.GetSize(), 2);

    EXPECT_EQ(set.SetFormationByName(".Position Area."), nullptr);
    EXPECT_EQ(set.GetSize(), 0);
    set.SetFormationByName(".SBF/Defense.");
    EXPECT_EQ(set.GetSize(), 0);
    set.SetFormationByName("Column");
    set.Add(Start(4));
    EXPECT_EQ(set.ClearFormation(), TRUE);
    EXPECT_EQ(set.GetSize(), 0);
}

TEST(UnitOrderArray, ListsAIOrdersByTheirMasks)
{
    CUnitOrderArray set;
    set.Add(AIOrder("Any", 0));
    set.Add(AIOrder("Platoon", 2));
    set.Add(AIOrder("Side 1 only", 0, 2));
    set.Add(AIOrder("Typed", 0, -1, 4));
    set.Add(AIOrder("Excluding 8", 0, -1, 0, 8));
    set.Add(new CUOrdAIOrderPhase);

    const auto list = [&](int nEchelon, int nSide, int nType)
    {
        CStringArray names;
        EXPECT_TRUE(set.ListAIOrders(names, nEchelon, nSide, nType));
        CString joined;
        for (const CString& name : names)
            joined += name + ";";
        return joined;
    };
    EXPECT_EQ(list(0, -1, -1), "Any;Side 1 only;Typed;Excluding 8;");
    EXPECT_EQ(list(2, -1, -1), "Platoon;");
    EXPECT_EQ(list(0, 1, -1), "Any;Typed;Excluding 8;");
    EXPECT_EQ(list(0, -1, 8), "Any;Side 1 only;");
    EXPECT_TRUE(set.HasAIOrderNamed("Typed"));
    EXPECT_EQ(set.GetAIOrder()->m_strName, "Any");

    CUOrdAIOrder* pCopy = set.SetAIOrder(set.GetAIOrder());
    ASSERT_NE(pCopy, nullptr);
    EXPECT_EQ(set.GetSize(), 2);  // the phase and the copy
    EXPECT_EQ(pCopy->m_strName, "Any");
    set.RemoveAIOrders();
    EXPECT_EQ(set.GetSize(), 1);
}

TEST(UnitOrderArray, UpdateDeletesFinishedOrdersAndEmptiesForAnElementWithoutVehicles)
{
    int nCalls = 0;
    CUnitOrderArray set;
    set.Add(new CCountingOrder(1, &nCalls));
    set.Add(new CCountingOrder(0, &nCalls));
    set.Add(new CCountingOrder(1, &nCalls));
    CCountedPlatoon alive(3);
    EXPECT_EQ(set.UpdateOrders(&alive, nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(nCalls, 3);
    EXPECT_EQ(set.GetSize(), 2);

    CCountedPlatoon gone(0);
    set.UpdateOrders(&gone, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(nCalls, 3);
    EXPECT_EQ(set.GetSize(), 0);
}

TEST(UnitOrderArray, CopyMakesNewObjectsOfTheSameClasses)
{
    CUnitOrderArray set;
    set.AddOrderOfType(0x4002);
    set.Add(new CUOrdCancelToggleOrder(8));
    set.Add(new CUOrdCompanyFormation(CString("Line")));
    set.Add(Start(2));
    set.Add(AIOrder("Script", 2));
    set.Add(new CUOrdAIHierarchyOrder);
    set.Add(new CUOrdDismount);
    auto* pRecalculate = new CUOrdRecalculateData;
    pRecalculate->m_astrDataNames.Add("Route");
    set.Add(pRecalculate);
    set.Add(new CUOrdSuppress);
    set.m_strSOPFileName = "x.sop";

    const CUnitOrderArray copy(set);
    ASSERT_EQ(copy.GetSize(), set.GetSize());
    EXPECT_TRUE(copy.m_strSOPFileName.IsEmpty());
    for (int i = 0; i < set.GetSize(); ++i)
    {
        EXPECT_NE(copy.GetAt(i), set.GetAt(i));
        EXPECT_EQ(copy.GetAt(i)->GetRuntimeClass(), set.GetAt(i)->GetRuntimeClass()) << i;
        EXPECT_EQ(copy.GetAt(i)->GetOrderType(), set.GetAt(i)->GetOrderType()) << i;
        EXPECT_EQ(copy.GetAt(i)->GetOrderName(), set.GetAt(i)->GetOrderName()) << i;
    }
    EXPECT_EQ(static_cast<CUOrdRecalculateData*>(copy.GetAt(7))->m_astrDataNames.GetSize(), 0);
    EXPECT_EQ(copy.m_astrOrderNames.GetSize(), 16);
    EXPECT_EQ(copy.m_astrOrderNames[3], "Conditional Start");
    EXPECT_EQ(copy.GetAt(3)->GetOrderName(), "ConditionalStart");
}

TEST(FormationTemplateArray, LookupsByNameLevelAndMask)
{
    CFormationTemplateArray templates;
    const auto add = [&](CFormationPlatoonTemplate* pTemplate, const char* pszName, DWORD dwMask)
    {
        pTemplate->m_strName = pszName;
        pTemplate->m_dwTypeMask = dwMask;
        templates.Add(pTemplate);
        return pTemplate;
    };
    CFormationPlatoonTemplate* pFirst = add(new CFormationPlatoonTemplate, "Wedge", 0);
    add(new CFormationPlatoonTemplate, "Mask Two", 2);
    add(new CFormationPlatoonTemplate, "Mask Four", 4);
    add(new CFormationCompanyTemplate, "Wedge", 0);
    add(new CFormationPlatoonTemplate, "Support By Fire", 0);

    const auto names = [&](int nLevel, int nMask)
    {
        CStringArray list;
        templates.GetNamesForLevel(nLevel, list, nMask);
        CString joined;
        for (const CString& name : list)
            joined += name + ";";
        return joined;
    };
    EXPECT_EQ(names(2, 0), "Wedge;Support By Fire;");
    EXPECT_EQ(names(2, 3), "Mask Two;");
    EXPECT_EQ(names(4, 0), "Wedge;");
    EXPECT_EQ(names(8, 0), "");

    EXPECT_EQ(templates.FindByName("Wedge"), pFirst);
    EXPECT_EQ(templates.FindByName("wedge"), nullptr);
    EXPECT_EQ(templates.GetFormationIndex("Support By Fire", 2, 0), kUnset);
    EXPECT_EQ(templates.GetFormationIndex("", 2, 0), -1);
    EXPECT_EQ(templates.GetFormationIndex("Mask Two", 2, 2), 0);
    EXPECT_EQ(templates.GetFormationIndex("Mask Four", 2, 2), -1);
    int nLevel = 0;
    EXPECT_EQ(templates.FindByNameAndLevel("Wedge", nLevel), 0);
    EXPECT_EQ(nLevel, 2);
    EXPECT_EQ(templates.FindByNameAndLevel("", nLevel), kUnset);
    EXPECT_EQ(templates.FindByNameAndLevel("Box", nLevel), -1);

    // Member 23 of a platoon uses slot 3, member 20 slot 0.
    EXPECT_EQ(CFormationPlatoonTemplate::SlotOf(23), 3);
    EXPECT_EQ(CFormationPlatoonTemplate::SlotOf(20), 0);
}

TEST(UnitOrderArray, ExecuteDeletesFinishedOrdersOrStopsAtTheFirst)
{
    class CExecuteOnce : public CUnitOrder
    {
    public:
        CExecuteOnce(int nAnswer, std::vector<int>* pLog, int nId) : m_nAnswer(nAnswer), m_pLog(pLog), m_nId(nId) {}
        int Execute(CUOrdAIOrderDataArray*, CHierarchyPlatoon*, CHierarchyPlatoon*, CKDRUnits*, CKDRObstacles*,
                    CKDRHoles*, CKDRDatabase*, CKDRGameMap*) override
        {
            m_pLog->push_back(m_nId);
            return m_nAnswer;
        }
        int m_nAnswer;
        std::vector<int>* m_pLog;
        int m_nId;
    };
    for (BOOL bDelete : {TRUE, FALSE})
    {
        SCOPED_TRACE(bDelete);
        std::vector<int> log;
        CUnitOrderArray set;
        set.Add(new CExecuteOnce(1, &log, 1));
        set.Add(new CExecuteOnce(0, &log, 2));
        set.Add(new CExecuteOnce(0, &log, 3));
        set.Add(new CExecuteOnce(1, &log, 4));
        const int nResult =
            set.ExecuteOrders(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, bDelete);
        if (bDelete)
        {
            EXPECT_EQ(nResult, 1);
            EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4}));
            EXPECT_EQ(set.GetSize(), 2);
        }
        else
        {
            EXPECT_EQ(nResult, 0);
            EXPECT_EQ(log, (std::vector<int>{1, 2}));
            EXPECT_EQ(set.GetSize(), 4);
        }
    }
}

TEST(UnitOrderArray, AnAIOrderOfAHeldNameRefreshesTheHeldOrdersValues)
{
    const auto withTime = [](const char* pszName, LONG nSeconds)
    {
        CUOrdAIOrder* pOrder = AIOrder(pszName, 2);
        auto* pTime = new CUOrdAIOrderDataTime;
        pTime->m_strName = "H-Hour";
        pTime->m_bEditable = TRUE;
        pTime->m_tsTime = CTimeSpan(nSeconds);
        pOrder->m_pData->Add(pTime);
        return pOrder;
    };
    CUnitOrderArray set;
    std::unique_ptr<CUOrdAIOrder> pFirst(withTime("Attack", 60));
    set.AddAIOrderIfNew(pFirst.get());
    ASSERT_EQ(set.GetSize(), 1);
    const CUOrdAIOrder* pHeld = set.GetAIOrder();

    // The same name: no second order, and the held order's data took the
    // new values as far as its kinds take any (a time item keeps its own).
    std::unique_ptr<CUOrdAIOrder> pAgain(withTime("Attack", 120));
    set.AddAIOrderIfNew(pAgain.get());
    ASSERT_EQ(set.GetSize(), 1);
    EXPECT_EQ(set.GetAIOrder(), pHeld);

    std::unique_ptr<CUOrdAIOrder> pOther(withTime("Defend", 30));
    set.AddAIOrderIfNew(pOther.get());
    ASSERT_EQ(set.GetSize(), 2);
    EXPECT_NE(set.GetAt(1), pOther.get());
    EXPECT_TRUE(set.HasAIOrderNamed("Defend"));
}

TEST(UnitOrder, AToggleOrderStaysWhileEveryUnitKeepsItsToggle)
{
    class CToggleUnits : public CKDRUnits
    {
    public:
        int AllUnitsHaveToggle(const CTaskOrgArray* pList, int nToggle) const override
        {
            m_asked.push_back(nToggle);
            return nToggle > 0 && pList->GetSize() > 0 && m_bAllHave;
        }
        mutable std::vector<int> m_asked;
        BOOL m_bAllHave = TRUE;
    };
    CToggleUnits units;
    CHierarchyPlatoon platoon;  // units 0 and 1 of array 0
    for (int nUnit : {0, 1})
    {
        auto* pElement = new CHierarchyElement;
        pElement->m_nUnit = nUnit;
        platoon.Add(pElement);
    }
    CKDRGameMap map;
    CKDRDatabase database;
    CKDRDatabase* pDatabase = &database;
    CUOrdToggleOrder emplace(0x40000);
    EXPECT_EQ(emplace.Update(&platoon, &units, &map, pDatabase, nullptr, nullptr), 1);
    units.m_bAllHave = FALSE;
    EXPECT_EQ(emplace.Update(&platoon, &units, &map, pDatabase, nullptr, nullptr), 0);
    EXPECT_EQ(units.m_asked, (std::vector<int>{16384, 16384}));
    EXPECT_EQ(emplace.Update(&platoon, &units, &map, nullptr, nullptr, nullptr), 0);

    // A cancel order asks about no toggle and goes on its first pass.
    units.m_bAllHave = TRUE;
    CUOrdCancelToggleOrder cancel(8);
    EXPECT_EQ(cancel.Update(&platoon, &units, &map, pDatabase, nullptr, nullptr), 0);
    EXPECT_EQ(units.m_asked.back(), -1);
}
