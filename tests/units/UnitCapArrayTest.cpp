// A unit's capability list: built from its vehicle type one for one, bound
// to the vehicle capabilities, checked against them, searched by type
// (inside a turret too), naming the unidentified icon, trimming the unit's
// context menu, and handing each operation to every member with its own
// combining rule, past empty slots.
#include "UnitCapTestSupport.h"

#include "battlefield/FireMissionArray.h"
#include "database/VCapIndirectFire.h"
#include "platform/ui/Command.h"
#include "units/UCapIndirectFire.h"
#include "units/UCapKinds.h"
#include "units/UnitCapability.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{
// A capability that answers what it is told and writes down what it is
// asked, as "<name>:<operation>".
class CProbeCap : public CUnitCapability
{
public:
    CProbeCap(std::vector<std::string>& log, const char* name, DWORD dwType, DWORD dwAnswer = 0)
        : m_log(log), m_name(name), m_dwType(dwType), m_dwAnswer(dwAnswer)
    {
    }

    DWORD GetType() const override { return m_dwType; }
    DWORD GetFlagMask() const override { return m_dwFlags; }
    CString GetUnidentifiedName() const override { return m_strIcon; }

    BOOL OnPathAssigned(float, float, CKDRDatabase*, CKDRGameMap*, int) override { return Note("path", m_dwAnswer); }
    void Draw(int, CKDRDatabase*, CKDRGameMap*, float, float, float, BOOL, BOOL, float) override { Note("draw"); }
    int OnSideChanged(int) override { return static_cast<int>(Note("side", 1)); }
    BOOL HitTest(int, int) override { return Note("hit", m_dwAnswer); }
    void OnHeadingChanged(CVehicle*, float, CKDRDatabase*, int, int) override { Note("heading"); }
    void OnStop(CKDRDatabase*, int) override { Note("stop"); }
    DWORD Update(int, int, CTimeSpan, CKDRGameMap*, CKDRDatabase*, int, int, CUnit*, int, int, int) override
    {
        return Note("update", m_dwAnswer);
    }
    void ApplyViewSetting(float) override { Note("view"); }
    void OnMove(CKDRDatabase*, int) override { Note("move"); }
    void ResetForDeployment(int, CKDRDatabase*, CUnit*) override { Note("deploy"); }
    void GetWeaponLines(CStringList&, CVehicle*, CKDRDatabase*) override { Note("lines"); }
    void AddWeaponsToList(int, CUnitWeaponArray*, CKDRDatabase*, int nDepth) override
    {
        Note(("weapons" + std::to_string(nDepth)).c_str());
    }
    void OnDestroyed(CKDRUnits*, CKDRDatabase*, int, int, int) override { Note("destroyed"); }
    void AimAt(CVehicle*, float, float, BOOL) override { Note("aim"); }
    void DrawMarker(CKDRGameMap*, float, float) override { Note("marker"); }
    void OnFormationNode(int) override { Note("formation"); }
    BOOL ReceiveAmmunition(CUnitCapability*, CVehicle*, CKDRDatabase*) override { return Note("ammo", m_dwAnswer); }
    void Reset(float, int, int) override { Note("reset"); }
    void ResetMountState() override { Note("mount"); }
    void OnUnitDeleted(int, int, int, int) override { Note("deleted"); }
    CObject* GetBreachTarget(CKDRObstacles*) override
    {
        Note("breach");
        return nullptr;
    }
    void OnObstacleDeleted(int, int) override { Note("obstacle"); }
    void AddMenuItems(CMenu*) override { Note("menu"); }

    BOOL AttachVehicleCapability(CVehicleCapability* pVehicleCap, CKDRDatabase*, CVehicle*) override
    {
        m_bound.push_back(pVehicleCap);
        return m_bAttachAnswer;
    }
    BOOL Validate(CVehicle*, CVehicleCapability*, CKDRDatabase*, CString& report) override
    {
        Note("validate");
        if (m_bValidateFails)
            report += "[" + CString(m_name.c_str()) + " is wrong]";
        return m_bValidateFails;
    }

    std::vector<CVehicleCapability*> m_bound;
    BOOL m_bAttachAnswer = TRUE;
    BOOL m_bValidateFails = FALSE;
    DWORD m_dwFlags = 0;
    CString m_strIcon;

private:
    DWORD Note(const char* operation, DWORD dwAnswer = 0)
    {
        m_log.push_back(m_name + ":" + operation);
        return dwAnswer;
    }

    std::vector<std::string>& m_log;
    std::string m_name;
    DWORD m_dwType;
    DWORD m_dwAnswer;
};

using Log = std::vector<std::string>;

// The unit's context menu as the view loads it: the popup first, and in it
// Orders at 6, Actions (one placeholder) at 7 and SOP at 8.
void LoadUnitMenu(CMenu& menu)
{
    std::vector<CMenuItemDesc> popup;
    for (int i = 0; i < UNIT_MENU_ORDERS; ++i)
        popup.push_back(MenuItem(("Item " + std::to_string(i)).c_str(), 40000 + i));
    popup.push_back(MenuPopup("Orders", {MenuItem("Stop", 40100)}));
    popup.push_back(MenuPopup("Actions", {MenuSeparator()}));
    popup.push_back(MenuPopup("SOP", {MenuItem("Hold Fire", 40200)}));
    popup.push_back(MenuItem("Info", 40300));
    menu.LoadMenu({MenuPopup("Unit", popup)});
}
}  // namespace

TEST(UnitCapArray, AnEmptyListAnswersWithTheBaseAnswers)
{
    CUnitCapArray caps;
    EXPECT_EQ(caps.m_typeNames.GetSize(), 15);
    EXPECT_EQ(caps.m_typeNames[0], "Indirect Fire");
    EXPECT_EQ(caps.m_typeNames[14], "Mine Layer");
    EXPECT_EQ(caps.GetTypeMask(), 0u);
    EXPECT_TRUE(caps.OnPathAssigned(1.0f, 2.0f, nullptr, nullptr, 0));
    EXPECT_FALSE(caps.HitTest(3, 4));
    EXPECT_EQ(caps.Update(0, 1, CTimeSpan(5), nullptr, nullptr, 0, 0, nullptr, 0, 0, 0), 0u);
    EXPECT_FALSE(caps.ReceiveAmmunition(nullptr, nullptr, nullptr));
    EXPECT_EQ(caps.FindCapability(VCAP_TURRET), nullptr);
    EXPECT_EQ(caps.GetUnidentifiedName(), "Unidentified Vehicle");
    EXPECT_EQ(caps.GetUnidentifiedBitmap(), "Unknown Vehicle Green");

    std::unique_ptr<CVehicle> pBare(MakeVehicleWith({}));
    EXPECT_TRUE(caps.AttachToVehicle(pBare.get(), nullptr, FALSE));
    EXPECT_TRUE(caps.AttachToVehicle(pBare.get(), nullptr, TRUE));
    CString report = "kept";
    EXPECT_FALSE(caps.CheckAlignment(pBare.get(), pBare->GetCapabilities(), nullptr, report));
    EXPECT_EQ(report, "kept");

    // The base capability itself.
    CUnitCapability base;
    EXPECT_EQ(base.GetType(), 0u);
    EXPECT_EQ(base.GetName(), "");
    EXPECT_EQ(base.GetFlagMask(), 0u);
    EXPECT_EQ(base.OnSideChanged(1), 1);
    EXPECT_TRUE(base.AttachVehicleCapability(nullptr, nullptr, nullptr));
    EXPECT_EQ(base.CancelBreach(), 0);
    EXPECT_EQ(base.GetBreachTarget(nullptr), nullptr);
    EXPECT_EQ(StoreBytes(base).size(), 0u);
}

TEST(UnitCapArray, IsBuiltOneForOneFromTheVehicleTypeWithFullStocks)
{
    auto* pIndirect = new CVCapIndirectFire;
    pIndirect->m_ammo = {{0, 40}, {2, 12}};
    auto* pDFCarrier = new CVCapDFAmmoCarrier;
    pDFCarrier->m_ammo = {{1, 300}};
    auto* pIFCarrier = new CVCapIFAmmoCarrier;
    pIFCarrier->m_ammo = {{0, 60}, {1, 30}};
    auto* pEngineer = new CVCapEngineer;
    pEngineer->m_nNumberOfBreaches = 3;
    auto* pSmoker = new CVCapSmoker;
    pSmoker->m_nNumberOfSmoke = 10;
    auto* pMines = new CVCapMineLayer;
    pMines->m_nNumberOfMines = 2;
    std::unique_ptr<CVehicle> pVehicle(
        MakeVehicleWith({pIndirect, new CVCapDismount, new CVCapPersonnelCarrier, new CVCapEmplace, new CVCapBreacher,
                         pEngineer, new CVCapObserver, new CVCapFDC, pDFCarrier, pIFCarrier, pSmoker,
                         new CVCapFixedWing, new CVCapRotaryWing, pMines, new CVehicleCapability}));
    pVehicle->GetCapabilities()->Add(nullptr);

    CUnitCapArray caps(pVehicle->GetCapabilities(), nullptr);
    CVehicleCapArray* pVehicleCaps = pVehicle->GetCapabilities();
    ASSERT_EQ(caps.GetSize(), pVehicleCaps->GetSize());
    const char* const names[] = {"Indirect Fire",
                                 "Dismount",
                                 "Personnel Carrier",
                                 "Emplace",
                                 "Breacher",
                                 "Engineer",
                                 "Observer",
                                 "Fire Direction Center",
                                 "DF Ammo Carrier",
                                 "IF Ammo Carrier",
                                 "Smoker",
                                 "Fixed Wing",
                                 "Rotary Wing",
                                 "Mine Layer",
                                 "",
                                 ""};
    for (int i = 0; i < caps.GetSize(); ++i)
    {
        ASSERT_NE(caps[i], nullptr) << i;
        CVehicleCapability* pVehicleCap = pVehicleCaps->GetAt(i);
        EXPECT_EQ(caps[i]->GetType(), pVehicleCap != nullptr ? static_cast<DWORD>(pVehicleCap->GetType()) : 0u) << i;
        EXPECT_EQ(caps[i]->GetName(), names[i]) << i;
    }
    // Unknown and empty vehicle capabilities are stood in for by plain ones.
    EXPECT_EQ(caps[14]->GetRuntimeClass(), RUNTIME_CLASS(CUnitCapability));
    EXPECT_EQ(caps[15]->GetRuntimeClass(), RUNTIME_CLASS(CUnitCapability));
    EXPECT_EQ(caps.GetTypeMask(), 0x7FFEu);

    // Full loads, idle states.
    auto* pBattery = static_cast<CUCapIndirectFire*>(caps[0]);
    ASSERT_EQ(pBattery->m_ammo.size(), 2u);
    EXPECT_EQ(pBattery->m_ammo[1].m_nIndex, 2);
    EXPECT_EQ(pBattery->m_ammo[1].m_nNumber, 12);
    EXPECT_EQ(pBattery->m_nStoredValue2, -99);
    EXPECT_EQ(pBattery->m_nStoredValue3, -99);
    EXPECT_FALSE(pBattery->m_bTraversing);
    EXPECT_EQ(pBattery->m_pMissions->GetSize(), 0);
    EXPECT_EQ(static_cast<CUCapDFAmmoCarrier*>(caps[8])->m_load.size(), 1u);
    EXPECT_EQ(static_cast<CUCapDFAmmoCarrier*>(caps[8])->m_load[0].m_nNumber, 300);
    EXPECT_EQ(static_cast<CUCapIFAmmoCarrier*>(caps[9])->m_load.size(), 2u);
    EXPECT_EQ(static_cast<CUCapEngineer*>(caps[5])->m_nBreachesLeft, 3);
    EXPECT_EQ(static_cast<CUCapEngineer*>(caps[5])->m_nLane, -99);
    EXPECT_EQ(static_cast<CUCapSmoker*>(caps[10])->m_nSmokeLeft, 10);
    EXPECT_FALSE(static_cast<CUCapSmoker*>(caps[10])->m_bSmoking);
    EXPECT_EQ(static_cast<CUCapMineLayer*>(caps[13])->m_nMinefieldsLeft, 2);
    auto* pTeam = static_cast<CUCapDismount*>(caps[1]);
    EXPECT_EQ(pTeam->m_nCarrierUnit, -99);
    EXPECT_EQ(pTeam->m_nCarrierKind, -99);
    EXPECT_EQ(static_cast<CUCapPersonnelCarrier*>(caps[2])->m_pPassengers->GetSize(), 0);
    EXPECT_EQ(static_cast<CUCapObserver*>(caps[6])->m_nTargetUnit, -99);
    EXPECT_EQ(static_cast<CUCapFixedWing*>(caps[11])->m_fStationX, -99.0f);
    // No symbol catalogue here: the markers stay unloaded.
    EXPECT_FALSE(pTeam->IsMarkerLoaded());
    EXPECT_EQ(pTeam->GetMarker(), nullptr);

    CString report;
    EXPECT_FALSE(caps.CheckAlignment(pVehicle.get(), pVehicleCaps, nullptr, report));
    EXPECT_EQ(report, "");

    // The same build in place replaces what was there.
    std::unique_ptr<CVehicle> pSmall(MakeVehicleWith({new CVCapFDC}));
    EXPECT_TRUE(caps.BuildFromVehicle(pSmall.get(), nullptr));
    ASSERT_EQ(caps.GetSize(), 1);
    EXPECT_EQ(caps[0]->GetType(), static_cast<DWORD>(VCAP_FDC));
    EXPECT_FALSE(caps.BuildFromVehicle(nullptr, nullptr));
    EXPECT_EQ(caps.GetSize(), 0);
}

TEST(UnitCapArray, AlignmentNamesTheMismatchAndAsksEachMemberToValidate)
{
    std::unique_ptr<CVehicle> pVehicle(MakeVehicleWith({new CVCapTurret, new CVCapSmoker}));
    CVehicleCapArray* pVehicleCaps = pVehicle->GetCapabilities();
    Log log;

    CUnitCapArray swapped;
    swapped.Add(new CUCapSmoker);
    swapped.Add(new CProbeCap(log, "turret", VCAP_TURRET));
    CString report = "Unit 1: ";
    EXPECT_TRUE(swapped.CheckAlignment(pVehicle.get(), pVehicleCaps, nullptr, report));
    EXPECT_EQ(report, "Unit 1: the Unit and Vehicle Capability Arrays are not correctly aligned");

    CUnitCapArray shorter;
    shorter.Add(new CProbeCap(log, "turret", VCAP_TURRET));
    report = "Unit 2: ";
    EXPECT_TRUE(shorter.CheckAlignment(pVehicle.get(), pVehicleCaps, nullptr, report));
    EXPECT_EQ(report, "Unit 2: the Unit and Vehicle Capability Arrays are not the same size");

    // An empty slot has no type.
    CUnitCapArray holed;
    holed.Add(new CProbeCap(log, "turret", VCAP_TURRET));
    holed.Add(nullptr);
    report.Empty();
    EXPECT_TRUE(holed.CheckAlignment(pVehicle.get(), pVehicleCaps, nullptr, report));
    EXPECT_EQ(report, "the Unit and Vehicle Capability Arrays are not correctly aligned");

    // Aligned: each member validates in turn, the first failure ends it.
    log.clear();
    CUnitCapArray aligned;
    auto* pTurret = new CProbeCap(log, "turret", VCAP_TURRET);
    auto* pSmoker = new CProbeCap(log, "smoker", VCAP_SMOKER);
    aligned.Add(pTurret);
    aligned.Add(pSmoker);
    report.Empty();
    EXPECT_FALSE(aligned.CheckAlignment(pVehicle.get(), pVehicleCaps, nullptr, report));
    EXPECT_EQ(log, (Log{"turret:validate", "smoker:validate"}));
    log.clear();
    pTurret->m_bValidateFails = TRUE;
    EXPECT_TRUE(aligned.CheckAlignment(pVehicle.get(), pVehicleCaps, nullptr, report));
    EXPECT_EQ(report, "[turret is wrong]");
    EXPECT_EQ(log, (Log{"turret:validate"}));
}

TEST(UnitCapArray, BindsEachVehicleCapabilityToTheFirstMemberOfItsType)
{
    Log log;
    auto* pSmoke1 = new CVCapSmoker;
    auto* pEmplace = new CVCapEmplace;
    auto* pSmoke2 = new CVCapSmoker;
    std::unique_ptr<CVehicle> pVehicle(MakeVehicleWith({pSmoke1, pEmplace, pSmoke2}));
    pVehicle->GetCapabilities()->InsertAt(1, nullptr);

    CUnitCapArray caps;
    auto* pSmoker = new CProbeCap(log, "smoker", VCAP_SMOKER);
    auto* pDigger = new CProbeCap(log, "digger", VCAP_EMPLACE);
    caps.Add(pSmoker);
    caps.Add(pDigger);
    EXPECT_TRUE(caps.AttachToVehicle(pVehicle.get(), nullptr, FALSE));
    EXPECT_EQ(pSmoker->m_bound, (std::vector<CVehicleCapability*>{pSmoke1, pSmoke2}));
    EXPECT_EQ(pDigger->m_bound, (std::vector<CVehicleCapability*>{pEmplace}));

    // A refusal fails the binding, but the walk goes on.
    pSmoker->m_bound.clear();
    pDigger->m_bound.clear();
    pDigger->m_bAttachAnswer = FALSE;
    EXPECT_FALSE(caps.AttachToVehicle(pVehicle.get(), nullptr, FALSE));
    EXPECT_EQ(pSmoker->m_bound.size(), 2u);

    // A vehicle capability without a member stops the walk at once.
    auto* pObserver = new CVCapObserver;
    auto* pEmplace2 = new CVCapEmplace;
    std::unique_ptr<CVehicle> pOther(MakeVehicleWith({pObserver, pEmplace2}));
    pDigger->m_bound.clear();
    pDigger->m_bAttachAnswer = TRUE;
    EXPECT_FALSE(caps.AttachToVehicle(pOther.get(), nullptr, FALSE));
    EXPECT_TRUE(pDigger->m_bound.empty());
    EXPECT_FALSE(caps.AttachToVehicle(nullptr, nullptr, FALSE));
}

TEST(UnitCapArray, BindsToTheTurretsOwnListWhenAskedForTheTurretOnly)
{
    Log log;
    auto* pSight = new CVCapObserver;
    std::unique_ptr<CVehicle> pVehicle(MakeVehicleWith({new CVCapSmoker, MakeTurretWith({pSight})}));
    CUnitCapArray mounted;
    auto* pObserver = new CProbeCap(log, "observer", VCAP_OBSERVER);
    mounted.Add(pObserver);
    EXPECT_TRUE(mounted.AttachToVehicle(pVehicle.get(), nullptr, TRUE));
    EXPECT_EQ(pObserver->m_bound, (std::vector<CVehicleCapability*>{pSight}));

    // Without a turret the list is empty: nothing to bind, nothing wrong.
    std::unique_ptr<CVehicle> pPlain(MakeVehicleWith({new CVCapObserver}));
    pObserver->m_bound.clear();
    EXPECT_TRUE(mounted.AttachToVehicle(pPlain.get(), nullptr, TRUE));
    EXPECT_TRUE(pObserver->m_bound.empty());
}

TEST(UnitCapArray, SearchesInIndexOrderLookingInsideEachMember)
{
    Log log;
    CUnitCapArray caps;
    auto* pCarrier = new CProbeCap(log, "carrier", VCAP_PERSONNEL_CARRIER);
    auto* pObserver = new CUCapObserver;
    caps.Add(pCarrier);
    caps.Add(pObserver);
    EXPECT_EQ(caps.FindCapability(VCAP_OBSERVER), pObserver);
    EXPECT_EQ(caps.FindCapability(VCAP_PERSONNEL_CARRIER), pCarrier);
    EXPECT_EQ(caps.FindCapability(VCAP_SMOKER), nullptr);
    caps.InsertAt(0, nullptr);
    EXPECT_EQ(caps.FindCapability(VCAP_OBSERVER), pObserver);
    EXPECT_EQ(caps.GetTypeMask(), static_cast<DWORD>(VCAP_PERSONNEL_CARRIER | VCAP_OBSERVER));
    pCarrier->m_dwFlags = VCAP_MINE_LAYER;
    EXPECT_EQ(caps.GetTypeMask(), static_cast<DWORD>(VCAP_PERSONNEL_CARRIER | VCAP_OBSERVER | VCAP_MINE_LAYER));
}

TEST(UnitCapArray, TheUnidentifiedIconIsADismountsElseTheFirstMembersElseAVehicles)
{
    struct Case
    {
        const char* what;
        std::function<void(CUnitCapArray&)> fill;
        const char* name;
        const char* bitmap;
    };
    const Case cases[] = {
        {"plain vehicle", [](CUnitCapArray& c) { c.Add(new CUCapSmoker); }, "Unidentified Vehicle",
         "Unknown Vehicle Green"},
        {"battery", [](CUnitCapArray& c) { c.Add(new CUCapEmplace), c.Add(new CUCapIndirectFire); },
         "Unidentified Artillery", "Unknown Artillery Green"},
        {"first one wins",
         [](CUnitCapArray& c)
         {
             c.Add(nullptr);
             c.Add(new CUCapRotaryWing);
             c.Add(new CUCapObserver);
         },
         "Unidentified Rotary Wing", "Unknown Rotary Wing Green"},
        {"fixed wing", [](CUnitCapArray& c) { c.Add(new CUCapFixedWing); }, "Unidentified Fixed Wing",
         "Unknown Fixed Wing Green"},
        {"team with an observer", [](CUnitCapArray& c) { c.Add(new CUCapObserver), c.Add(new CUCapDismount); },
         "Unidentified Dismount", "Unknown Dismount Green"},
    };
    for (const Case& c : cases)
    {
        CUnitCapArray caps;
        c.fill(caps);
        EXPECT_EQ(caps.GetUnidentifiedName(), c.name) << c.what;
        EXPECT_EQ(caps.GetUnidentifiedBitmap(), c.bitmap) << c.what;
    }
}

TEST(UnitCapArray, TheActionsSubmenuStaysOnlyForKindsThatOfferActions)
{
    struct Case
    {
        const char* what;
        std::function<void(CUnitCapArray&)> fill;
        bool actions;
    };
    const Case cases[] = {
        {"nothing", [](CUnitCapArray&) {}, false},
        {"smoker and emplace", [](CUnitCapArray& c) { c.Add(new CUCapSmoker), c.Add(new CUCapEmplace); }, false},
        {"observer and FDC", [](CUnitCapArray& c) { c.Add(new CUCapObserver), c.Add(new CUCapFDC); }, false},
        {"carrier", [](CUnitCapArray& c) { c.Add(new CUCapPersonnelCarrier); }, true},
        {"battery", [](CUnitCapArray& c) { c.Add(new CUCapEmplace), c.Add(new CUCapIndirectFire); }, true},
        {"DF carrier", [](CUnitCapArray& c) { c.Add(new CUCapDFAmmoCarrier); }, true},
        {"IF carrier", [](CUnitCapArray& c) { c.Add(new CUCapIFAmmoCarrier); }, true},
        {"both carriers", [](CUnitCapArray& c) { c.Add(new CUCapIFAmmoCarrier), c.Add(new CUCapDFAmmoCarrier); }, true},
        {"mine layer", [](CUnitCapArray& c) { c.Add(nullptr), c.Add(new CUCapMineLayer); }, true},
    };
    for (const Case& c : cases)
    {
        CUnitCapArray caps;
        c.fill(caps);
        CMenu menu;
        LoadUnitMenu(menu);
        caps.AddMenuItems(&menu);
        CMenu* pPopup = menu.GetSubMenu(UNIT_MENU_POPUP);
        ASSERT_NE(pPopup, nullptr);
        if (c.actions)
        {
            ASSERT_EQ(pPopup->GetMenuItemCount(), 10u) << c.what;
            EXPECT_EQ(pPopup->GetMenuString(UNIT_MENU_ACTIONS, MF_BYPOSITION), "Actions") << c.what;
            // Only the kinds' own commands are left in it: the carrier's
            // Mount and Dismount, the battery's Fire Mission, a carrier's
            // Upload, the mine layer's Deploy Mines.
            const std::string what = c.what;
            const UINT nOwn = what == "carrier" ? 2u : 1u;
            EXPECT_EQ(pPopup->GetSubMenu(UNIT_MENU_ACTIONS)->GetMenuItemCount(), nOwn) << c.what;
        }
        else
        {
            ASSERT_EQ(pPopup->GetMenuItemCount(), 9u) << c.what;
            EXPECT_EQ(pPopup->GetMenuString(UNIT_MENU_ACTIONS, MF_BYPOSITION), "SOP") << c.what;
        }
        EXPECT_EQ(pPopup->GetMenuString(UNIT_MENU_ORDERS, MF_BYPOSITION), "Orders") << c.what;
    }

    // A menu without the Actions submenu is left alone; the members are
    // still asked.
    Log log;
    CUnitCapArray caps;
    caps.Add(new CProbeCap(log, "a", VCAP_SMOKER));
    CMenu menu;
    menu.LoadMenu({MenuPopup("Unit", {MenuItem("Info", 40300)})});
    caps.AddMenuItems(&menu);
    EXPECT_EQ(menu.GetSubMenu(0)->GetMenuItemCount(), 1u);
    EXPECT_EQ(log, (Log{"a:menu"}));
    caps.AddMenuItems(nullptr);
}

TEST(UnitCapArray, EveryOperationReachesEveryMemberPastEmptySlots)
{
    Log log;
    CUnitCapArray caps;
    caps.Add(nullptr);
    auto* pFirst = new CProbeCap(log, "a", VCAP_SMOKER, 0);
    caps.Add(pFirst);
    caps.Add(nullptr);
    auto* pSecond = new CProbeCap(log, "b", VCAP_EMPLACE, 0x40);
    caps.Add(pSecond);
    caps.Add(nullptr);

    struct Case
    {
        const char* op;
        std::function<DWORD()> call;
        DWORD result;
    };
    CStringList lines;
    const Case cases[] = {
        // AND of every answer, every member asked.
        {"path", [&] { return static_cast<DWORD>(caps.OnPathAssigned(0, 0, nullptr, nullptr, 0)); }, 0},
        // The first yes ends the search; no yes asks everyone.
        {"hit", [&] { return static_cast<DWORD>(caps.HitTest(1, 2)); }, 1},
        // OR of the flag words.
        {"update", [&] { return caps.Update(0, 1, CTimeSpan(0), nullptr, nullptr, 0, 0, nullptr, 0, 0, 0); }, 0x40},
        {"ammo", [&] { return static_cast<DWORD>(caps.ReceiveAmmunition(nullptr, nullptr, nullptr)); }, 1},
        {"draw",
         [&]
         {
             caps.Draw(0, nullptr, nullptr, 0, 0, 1, TRUE, FALSE, 0);
             return 0u;
         },
         0},
        {"side", [&] { return (caps.OnSideChanged(1), 0u); }, 0},
        {"heading", [&] { return (caps.OnHeadingChanged(nullptr, 0, nullptr, -99, -99), 0u); }, 0},
        {"stop", [&] { return (caps.OnStop(nullptr, 0), 0u); }, 0},
        {"view", [&] { return (caps.ApplyViewSetting(1.0f), 0u); }, 0},
        {"move", [&] { return (caps.OnMove(nullptr, 0), 0u); }, 0},
        {"deploy", [&] { return (caps.ResetForDeployment(0, nullptr, nullptr), 0u); }, 0},
        {"lines", [&] { return (caps.GetWeaponLines(lines, nullptr, nullptr), 0u); }, 0},
        // One level deeper than the caller.
        {"weapons3", [&] { return (caps.AddWeaponsToList(0, nullptr, nullptr, 2), 0u); }, 0},
        {"destroyed", [&] { return (caps.OnDestroyed(nullptr, nullptr, 0, 0, 0), 0u); }, 0},
        {"aim", [&] { return (caps.AimAt(nullptr, 0, 0, FALSE), 0u); }, 0},
        {"marker", [&] { return (caps.DrawMarker(nullptr, 0x3, 0, 0), 0u); }, 0},
        {"formation", [&] { return (caps.OnFormationNode(1), 0u); }, 0},
        {"reset", [&] { return (caps.Reset(0, 0, 0), 0u); }, 0},
        {"mount", [&] { return (caps.ResetMountState(), 0u); }, 0},
        {"deleted", [&] { return (caps.OnUnitDeleted(0, 0, 0, -99), 0u); }, 0},
        {"breach", [&] { return (caps.GetBreachTarget(nullptr), 0u); }, 0},
        {"obstacle", [&] { return (caps.OnObstacleDeleted(0, 1), 0u); }, 0},
    };
    for (const Case& c : cases)
    {
        log.clear();
        EXPECT_EQ(c.call(), c.result) << c.op;
        EXPECT_EQ(log, (Log{std::string("a:") + c.op, std::string("b:") + c.op})) << c.op;
    }

    // The first yes of a hit test ends it; markers only when asked for.
    log.clear();
    CUnitCapArray hits;
    hits.Add(new CProbeCap(log, "yes", VCAP_SMOKER, 1));
    hits.Add(nullptr);
    hits.Add(new CProbeCap(log, "later", VCAP_SMOKER, 1));
    EXPECT_TRUE(hits.HitTest(0, 0));
    EXPECT_EQ(log, (Log{"yes:hit"}));
    log.clear();
    hits.DrawMarker(nullptr, 0x1, 0, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(hits.OnPathAssigned(0, 0, nullptr, nullptr, 0));
}
