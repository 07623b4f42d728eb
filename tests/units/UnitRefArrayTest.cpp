// Contact lists: the sort by target value and range, the same-unit rule,
// merging, and the area and role selections over units standing on the map.
#include "units/UnitRefArray.h"
#include "../../tools/demo_equipment.h"
#include "../app/StartDirTestSupport.h"
#include "database/KDRDatabase.h"
#include "units/KDRUnits.h"
#include "units/Unit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <random>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
CUnitRef Ref(int nUnit, int nArray, int nSide, int nValue, int nRange, BOOL bUnidentified = FALSE, int nVehicle = 0)
{
    CUnitRef ref;
    ref.m_nUnit = nUnit;
    ref.m_nArray = nArray;
    ref.m_nSide = nSide;
    ref.m_nVehicle = nVehicle;
    ref.m_nTargetValue = nValue;
    ref.m_nRange = nRange;
    ref.m_bUnidentified = bUnidentified;
    return ref;
}

// (target value, range) of every entry, in list order.
std::vector<std::pair<int, int>> Keys(const CUnitRefArray& list)
{
    std::vector<std::pair<int, int>> keys;
    for (int i = 0; i < list.GetSize(); ++i)
        keys.emplace_back(list.GetAt(i)->m_nTargetValue, list.GetAt(i)->m_nRange);
    return keys;
}

std::vector<int> UnitIndexes(const CUnitRefArray& list)
{
    std::vector<int> units;
    for (int i = 0; i < list.GetSize(); ++i)
        units.push_back(list.GetAt(i)->m_nUnit);
    return units;
}

// A units component whose units stand where the test puts them; kind 0 has
// one array, so its array index is not looked at.
class CUnitsOnMap : public CKDRUnits
{
public:
    CUnit* Place(int nUnit, int nArray, int nKind, float fX, float fY)
    {
        auto pUnit = std::make_unique<CUnit>();
        pUnit->m_fX = fX;
        pUnit->m_fY = fY;
        CUnit* p = pUnit.get();
        m_units[Key(nUnit, nArray, nKind)] = std::move(pUnit);
        return p;
    }
    CUnit* GetUnit(int nUnit, int nArray, int nKind) const override
    {
        auto it = m_units.find(Key(nUnit, nArray, nKind));
        return it != m_units.end() ? it->second.get() : nullptr;
    }

private:
    static std::tuple<int, int, int> Key(int nUnit, int nArray, int nKind)
    {
        return {nUnit, nKind == 0 ? 0 : nArray, nKind};
    }
    std::map<std::tuple<int, int, int>, std::unique_ptr<CUnit>> m_units;
};

// The demo's equipment, loaded from its own files: the role of each vehicle
// type is what the role selections test.
class ContactListTest : public StartDirTest
{
protected:
    ContactListTest() : StartDirTest("kdr-contacts-") {}

    void SetUp() override
    {
        StartDirTest::SetUp();
        if (HasFatalFailure())
            return;
        const CString data = (m_root / "Data").string().c_str();
        std::unique_ptr<CWeaponArray> pWeapons(demo_equipment::BuildWeapons());
        std::unique_ptr<CVehicleArray> pVehicles(demo_equipment::BuildVehicles());
        Write(JoinPath(data, demo_equipment::kWeaponFile), *pWeapons);
        Write(JoinPath(data, demo_equipment::kVehicleFile), *pVehicles);
        m_database.SetDirectories(data, (m_root / "profile").string().c_str());
        m_database.m_strVehicleList = demo_equipment::kVehicleFile;
        ASSERT_TRUE(m_database.ReloadLists());
        ASSERT_EQ(m_database.GetVehicleCount(), demo_equipment::kVehicleCount);
    }

    static void Write(const CString& path, CObject& object)
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
        file.Close();
    }

    CKDRDatabase m_database;
    CUnitsOnMap m_units;
};
}  // namespace

TEST(ContactList, InsertSortedOrdersByValueThenRange)
{
    CUnitRefArray list;
    EXPECT_EQ(list.InsertSorted(Ref(1, 0, 1, 5, 300)), 1);
    EXPECT_EQ(list.InsertSorted(Ref(2, 0, 1, 9, 800)), 1);
    EXPECT_EQ(list.InsertSorted(Ref(3, 0, 1, 5, 100)), 1);
    EXPECT_EQ(Keys(list), (std::vector<std::pair<int, int>>{{9, 800}, {5, 100}, {5, 300}}));

    // A smaller value goes behind every larger one, whatever its range; an
    // equal value and range goes before the entry already there.
    EXPECT_EQ(list.InsertSorted(Ref(4, 0, 1, 2, 10)), 1);
    EXPECT_EQ(list.InsertSorted(Ref(5, 0, 1, 5, 100)), 1);
    EXPECT_EQ(UnitIndexes(list), (std::vector<int>{2, 5, 3, 1, 4}));
}

TEST(ContactList, TheSameUnitAgainUpdatesItsEntryInPlace)
{
    CUnitRefArray list;
    list.InsertSorted(Ref(1, 0, 1, 9, 100));
    list.InsertSorted(Ref(7, 2, 1, 0, 500, TRUE));  // detected, not identified
    list.InsertSorted(Ref(3, 0, 1, 0, 800));
    ASSERT_EQ(UnitIndexes(list), (std::vector<int>{1, 7, 3}));

    // Farther away: nothing changes.
    EXPECT_EQ(list.InsertSorted(Ref(7, 2, 1, 0, 900, TRUE)), 0);
    EXPECT_EQ(list.GetAt(1)->m_nRange, 500);
    EXPECT_TRUE(list.GetAt(1)->m_bUnidentified);

    // Nearer and identified: one entry, at its first place, nearer and
    // identified; its sort key stays as it was.
    EXPECT_EQ(list.InsertSorted(Ref(7, 2, 1, 6, 200, FALSE)), 0);
    ASSERT_EQ(UnitIndexes(list), (std::vector<int>{1, 7, 3}));
    EXPECT_EQ(list.GetAt(1)->m_nRange, 200);
    EXPECT_FALSE(list.GetAt(1)->m_bUnidentified);
    EXPECT_EQ(list.GetAt(1)->m_nTargetValue, 0);

    // Nearer but unidentified leaves an identified entry identified.
    EXPECT_EQ(list.InsertSorted(Ref(7, 2, 1, 0, 150, TRUE)), 0);
    EXPECT_EQ(list.GetAt(1)->m_nRange, 150);
    EXPECT_FALSE(list.GetAt(1)->m_bUnidentified);
}

TEST(ContactList, SameUnitRule)
{
    struct Case
    {
        const char* what;
        CUnitRef listed;
        CUnitRef added;
        int nAdded;
    };
    const Case cases[] = {
        {"kind 0 matches any array index", Ref(3, 2, 0, 5, 100), Ref(3, 6, 0, 5, 100), 0},
        {"kind 0, listed array index unknown", Ref(3, -99, 0, 5, 100), Ref(3, 1, 0, 5, 100), 0},
        {"kind 1, same array", Ref(3, 2, 1, 5, 100), Ref(3, 2, 1, 5, 100), 0},
        {"kind 1, other array", Ref(3, 2, 1, 5, 100), Ref(3, 4, 1, 5, 100), 1},
        {"kind 1, listed array index unknown", Ref(3, -99, 1, 5, 100), Ref(3, 4, 1, 5, 100), 0},
        {"kind 2, new array index unknown", Ref(3, 4, 2, 5, 100), Ref(3, -99, 2, 5, 100), 0},
        {"other unit", Ref(3, 2, 0, 5, 100), Ref(4, 2, 0, 5, 100), 1},
        {"other kind", Ref(3, 2, 1, 5, 100), Ref(3, 2, 2, 5, 100), 1},
    };
    for (const Case& c : cases)
    {
        CUnitRefArray list;
        list.InsertSorted(c.listed);
        EXPECT_EQ(list.InsertSorted(c.added), c.nAdded) << c.what;
        EXPECT_EQ(list.GetSize(), 1 + c.nAdded) << c.what;
    }
}

TEST(ContactList, MergeFindGetAndCopy)
{
    CUnitRefArray side;
    side.InsertSorted(Ref(1, 0, 1, 5, 300));
    CUnitRefArray observer;
    observer.InsertSorted(Ref(1, 0, 1, 5, 200));  // known already: nearer now
    observer.InsertSorted(Ref(2, 3, 1, 8, 400, TRUE));
    observer.InsertSorted(Ref(4, 0, 2, 1, 50));

    EXPECT_EQ(side.Merge(&observer), 2);
    EXPECT_EQ(side.Merge(nullptr), 0);
    EXPECT_EQ(UnitIndexes(side), (std::vector<int>{2, 1, 4}));
    EXPECT_EQ(side.GetAt(1)->m_nRange, 200);
    EXPECT_EQ(observer.GetSize(), 3);  // the source keeps its own references
    EXPECT_NE(side.GetAt(0), observer.GetAt(1));

    BOOL bUnidentified = FALSE;
    EXPECT_TRUE(side.Find(2, 3, 1, &bUnidentified));
    EXPECT_TRUE(bUnidentified);
    EXPECT_TRUE(side.Find(1, 0, 1, &bUnidentified));
    EXPECT_FALSE(bUnidentified);
    // Find and Get want all three ids, whatever the kind.
    EXPECT_FALSE(side.Find(2, 0, 1, &bUnidentified));
    EXPECT_EQ(side.Get(4, 0, 2), side.GetAt(2));
    EXPECT_EQ(side.Get(4, 1, 2), nullptr);
    EXPECT_EQ(side.GetAt(3), nullptr);
    EXPECT_EQ(side.GetAt(-1), nullptr);

    CUnitRefArray copy;
    copy.InsertSorted(Ref(9, 0, 0, 1, 1));
    copy.CopyFrom(side);
    EXPECT_EQ(UnitIndexes(copy), UnitIndexes(side));
    EXPECT_NE(copy.GetAt(0), side.GetAt(0));
}

TEST_F(ContactListTest, CollectInRangeTakesIdentifiedStandingUnitsWithinTheRange)
{
    using demo_equipment::kTank;
    CUnitRefArray contacts;
    m_units.Place(0, 1, 1, 1000.0f, 1000.0f);
    m_units.Place(1, 1, 1, 1003.0f, 1004.0f);  // 5 m away
    m_units.Place(2, 1, 1, 1000.0f, 1000.0f)->m_bDestroyed = TRUE;
    m_units.Place(3, 1, 1, 1000.0f, 1000.0f);  // seen, not identified
    m_units.Place(4, 1, 1, 1000.5f, 1000.0f);
    for (int nUnit = 0; nUnit <= 5; ++nUnit)  // unit 5 is not on the map
        contacts.InsertSorted(Ref(nUnit, 1, 1, 10 - nUnit, 100, nUnit == 3, kTank));

    struct Case
    {
        float fRange;
        std::vector<int> units;
    };
    const Case cases[] = {{0.0f, {0}}, {0.5f, {0, 4}}, {4.99f, {0, 4}}, {5.0f, {0, 1, 4}}, {100.0f, {0, 1, 4}}};
    for (const Case& c : cases)
    {
        CUnitRefArray out;
        out.InsertSorted(Ref(8, 0, 0, 1, 1));  // collected copies are appended
        EXPECT_TRUE(contacts.CollectInRange(&out, 1000.0f, 1000.0f, c.fRange, &m_units, TRUE));
        std::vector<int> expected{8};
        expected.insert(expected.end(), c.units.begin(), c.units.end());
        EXPECT_EQ(UnitIndexes(out), expected) << c.fRange;
    }

    CUnitRefArray out;
    EXPECT_FALSE(contacts.CollectInRange(&out, 1000.0f, 1000.0f, 10.0f, &m_units, FALSE));
    EXPECT_FALSE(contacts.CollectInRange(&out, -1.0f, 1000.0f, 10.0f, &m_units, TRUE));
    EXPECT_FALSE(contacts.CollectInRange(&out, 1000.0f, 1000.0f, -1.0f, &m_units, TRUE));
    EXPECT_FALSE(contacts.CollectInRange(&out, 1000.0f, 1000.0f, 10.0f, nullptr, TRUE));
    EXPECT_FALSE(contacts.CollectInRange(nullptr, 1000.0f, 1000.0f, 10.0f, &m_units, TRUE));
    // A list does not collect into itself while it walks its references.
    EXPECT_FALSE(contacts.CollectInRange(&contacts, 1000.0f, 1000.0f, 10.0f, &m_units, TRUE));
    EXPECT_FALSE(contacts.CollectByRole(&contacts, TRUE, &m_units, 0, FALSE, &m_database));
    EXPECT_EQ(contacts.GetSize(), 6);
    EXPECT_EQ(out.GetSize(), 0);
}

TEST_F(ContactListTest, CollectByRoleTakesIdentifiedStandingUnitsOfTheRole)
{
    using namespace demo_equipment;
    CUnitRefArray contacts;
    const int vehicles[] = {kTank, kInfantryCarrier, kRifleTeam, kMortarCarrier, kTank, kTank, 99};
    // The roles are the units' own vehicle types', not what the references
    // say the observer took them for.
    for (int nUnit = 0; nUnit < 7; ++nUnit)
    {
        m_units.Place(nUnit, 0, 2, 100.0f * nUnit, 100.0f)->m_nVehicle = vehicles[nUnit];
        contacts.InsertSorted(Ref(nUnit, 0, 2, 10 - nUnit, 100, nUnit == 4, kObserverVehicle));
    }
    m_units.GetUnit(5, 0, 2)->m_bDestroyed = TRUE;

    struct Case
    {
        int nRoleMask;
        std::vector<int> units;
    };
    const Case cases[] = {
        {ROLE_ATTACK, {0, 1}}, {ROLE_DISMOUNT | ROLE_ARTILLERY, {2, 3}}, {ROLE_AIR_DEFENSE, {}}, {0, {0, 1, 2, 3}},
        {-1, {0, 1, 2, 3}},
    };
    for (const Case& c : cases)
    {
        for (BOOL bFlag : {FALSE, TRUE})
        {
            CUnitRefArray out;
            EXPECT_TRUE(contacts.CollectByRole(&out, TRUE, &m_units, c.nRoleMask, bFlag, &m_database));
            EXPECT_EQ(UnitIndexes(out), c.units) << c.nRoleMask;
        }
    }
    CUnitRefArray out;
    EXPECT_FALSE(contacts.CollectByRole(&out, FALSE, &m_units, 0, FALSE, &m_database));
    EXPECT_FALSE(contacts.CollectByRole(&out, TRUE, &m_units, 0, FALSE, nullptr));
    EXPECT_FALSE(contacts.CollectByRole(&out, TRUE, nullptr, 0, FALSE, &m_database));
    EXPECT_EQ(out.GetSize(), 0);
}

TEST_F(ContactListTest, CentroidInEllipseAveragesTheUnitsInsideTheInscribedEllipse)
{
    using namespace demo_equipment;
    // The rectangle 1000..1200 x 2000..2100: its ellipse has its centre at
    // (1100, 2050) and half-axes 100 and 50.
    struct Placed
    {
        float fX, fY;
        int nVehicle;
        BOOL bUnidentified;
    };
    const Placed placed[] = {
        {1100.0f, 2050.0f, kTank, FALSE},           // the centre
        {1199.6f, 2050.0f, kTank, TRUE},            // rounds onto the right end of the axis
        {1190.0f, 2090.0f, kTank, FALSE},           // in the rectangle's corner, outside the ellipse
        {1100.0f, 2050.0f, kMortarCarrier, FALSE},  // another role
        {1050.0f, 2030.0f, kRifleTeam, TRUE},       // inside, unidentified
        {1100.0f, 2050.0f, 99, FALSE},              // no such vehicle type
    };
    CUnitRefArray contacts;
    for (int i = 0; i < static_cast<int>(std::size(placed)); ++i)
    {
        m_units.Place(i, 0, 1, placed[i].fX, placed[i].fY);
        contacts.InsertSorted(Ref(i, 0, 1, 10 - i, 100, placed[i].bUnidentified, placed[i].nVehicle));
    }
    contacts.InsertSorted(Ref(20, 0, 1, 1, 100, FALSE, kTank));  // not on the map

    float fX = -1.0f, fY = -1.0f;
    int nCount = -1;
    ASSERT_TRUE(
        contacts.CentroidInEllipse(1000, 2000, 1200, 2100, ROLE_ATTACK, &m_database, &m_units, fX, fY, nCount, FALSE));
    EXPECT_EQ(nCount, 2);
    EXPECT_FLOAT_EQ(fX, (1100.0f + 1199.6f) / 2);
    EXPECT_FLOAT_EQ(fY, 2050.0f);

    // The corners in the other order give the same answer.
    float fX2 = 0, fY2 = 0;
    int nCount2 = 0;
    ASSERT_TRUE(contacts.CentroidInEllipse(1200, 2100, 1000, 2000, ROLE_ATTACK, &m_database, &m_units, fX2, fY2,
                                           nCount2, FALSE));
    EXPECT_EQ(std::make_tuple(fX2, fY2, nCount2), std::make_tuple(fX, fY, nCount));

    // Every role, unidentified only.
    ASSERT_TRUE(contacts.CentroidInEllipse(1000, 2000, 1200, 2100, 0, &m_database, &m_units, fX, fY, nCount, TRUE));
    EXPECT_EQ(nCount, 2);
    EXPECT_FLOAT_EQ(fX, (1199.6f + 1050.0f) / 2);
    EXPECT_FLOAT_EQ(fY, (2050.0f + 2030.0f) / 2);

    // An area with no qualifying unit.
    EXPECT_FALSE(contacts.CentroidInEllipse(0, 0, 500, 500, 0, &m_database, &m_units, fX, fY, nCount, FALSE));
    EXPECT_EQ(std::make_tuple(fX, fY, nCount), std::make_tuple(0.0f, 0.0f, 0));

    // No area, no database, no units: nothing is written.
    fX = fY = 7.0f;
    nCount = 7;
    EXPECT_FALSE(contacts.CentroidInEllipse(1000, 2000, 1000, 2100, 0, &m_database, &m_units, fX, fY, nCount, FALSE));
    EXPECT_FALSE(contacts.CentroidInEllipse(1000, 2000, 1200, 2100, 0, nullptr, &m_units, fX, fY, nCount, FALSE));
    EXPECT_FALSE(contacts.CentroidInEllipse(1000, 2000, 1200, 2100, 0, &m_database, nullptr, fX, fY, nCount, FALSE));
    EXPECT_EQ(std::make_tuple(fX, fY, nCount), std::make_tuple(7.0f, 7.0f, 7));
}

namespace
{
// The list's rules written the plain way: one walk of the whole list per
// reference. The contact list must give the same answers and hold the same
// entries in the same order whatever it does to be quick.
class CPlainList
{
public:
    int InsertSorted(const CUnitRef& ref)
    {
        int nAt = -1;
        for (size_t i = 0; i < m_refs.size(); ++i)
        {
            CUnitRef& e = m_refs[i];
            if (e.m_nUnit == ref.m_nUnit && e.m_nSide == ref.m_nSide &&
                (e.m_nArray == ref.m_nArray || e.m_nArray < 0 || ref.m_nArray < 0 || ref.m_nSide == 0))
            {
                e.m_nRange = std::min(e.m_nRange, ref.m_nRange);
                if (!ref.m_bUnidentified)
                    e.m_bUnidentified = FALSE;
                return 0;
            }
            if (nAt < 0 && (ref.m_nTargetValue > e.m_nTargetValue ||
                            (ref.m_nTargetValue == e.m_nTargetValue && e.m_nRange >= ref.m_nRange)))
                nAt = static_cast<int>(i);
        }
        m_refs.insert(nAt < 0 ? m_refs.end() : m_refs.begin() + nAt, ref);
        return 1;
    }
    void Add(const CUnitRef& ref) { m_refs.push_back(ref); }
    void RemoveAll() { m_refs.clear(); }
    std::vector<CUnitRef> m_refs;
};

std::vector<std::tuple<int, int, int, int, int, int, float, int, BOOL>> Entries(const std::vector<CUnitRef>& refs)
{
    std::vector<std::tuple<int, int, int, int, int, int, float, int, BOOL>> out;
    for (const CUnitRef& r : refs)
        out.emplace_back(r.m_nUnit, r.m_nArray, r.m_nSide, r.m_nVehicle, r.m_nTargetValue, r.m_nThreatValue,
                         r.m_fBearing, r.m_nRange, r.m_bUnidentified);
    return out;
}

std::vector<CUnitRef> Entries(const CUnitRefArray& list)
{
    std::vector<CUnitRef> out;
    for (int i = 0; i < list.GetSize(); ++i)
        out.push_back(*list.GetAt(i));
    return out;
}
}  // namespace

// Seeded runs of fills, refills that repeat the last fill in whole or in
// part and then differ, duplicates, loose arrays, units beyond any table and
// appends, each step checked against the plain rules.
TEST(ContactList, KeepsThePlainRulesThroughFillsAndRefills)
{
    struct Case
    {
        const char* name;
        int nUnits;     // unit indexes drawn from 0 .. nUnits-1
        int nArrays;    // array indexes drawn from -1 .. nArrays-1
        int nValues;    // target values drawn from 0 .. nValues-1
        bool bAscending;  // each unit at most once, in rising order, as a sweep meets them
    };
    const Case cases[] = {
        {"a sweep's contacts", 150, 1, 3, true},
        {"a pair list's merges", 40, 1, 3, false},
        {"several arrays and loose ones", 12, 3, 2, false},
        {"units beyond the table", 9000, 2, 4, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(26);
        auto draw = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        CUnitRefArray list;
        CPlainList plain;
        std::vector<CUnitRef> lastFill;
        for (int round = 0; round < 60; ++round)
        {
            list.RemoveAll();
            plain.RemoveAll();
            // Most rounds repeat the last fill, some only its first part.
            std::vector<CUnitRef> fill;
            const int nKind = draw(5);
            const size_t nRepeat = nKind == 0 ? 0 : nKind == 1 ? lastFill.size() / 2 : lastFill.size();
            fill.assign(lastFill.begin(), lastFill.begin() + static_cast<std::ptrdiff_t>(nRepeat));
            // Now and then one repeated reference differs a little: a turn
            // of the bearing or a step of the range.
            if (!fill.empty() && round % 4 == 2)
            {
                CUnitRef& changed = fill[static_cast<size_t>(draw(static_cast<int>(fill.size())))];
                if (round % 8 == 2)
                    changed.m_fBearing += 0.01f;
                else
                    changed.m_nRange += 1;
            }
            const int nNew = nKind >= 3 && round % 3 != 0 ? 0 : 1 + draw(60);
            int nUnit = 0;
            for (int i = 0; i < nNew; ++i)
            {
                CUnitRef ref = Ref(c.bAscending ? nUnit : draw(c.nUnits), draw(c.nArrays + 1) - 1, 1 + draw(2),
                                   draw(c.nValues), draw(50), draw(3) == 0, draw(4));
                ref.m_fBearing = static_cast<float>(draw(628)) * 0.01f;
                nUnit += 1 + draw(3);
                fill.push_back(ref);
            }
            for (size_t i = 0; i < fill.size(); ++i)
            {
                ASSERT_EQ(list.InsertSorted(fill[i]), plain.InsertSorted(fill[i])) << "round " << round << " ref " << i;
                if (round % 2 == 1 && i % 17 == 5)  // a look at the list halfway
                {
                    ASSERT_EQ(Entries(Entries(list)), Entries(plain.m_refs)) << "round " << round << " ref " << i;
                }
            }
            if (round % 11 == 10)
            {
                const CUnitRef extra = Ref(draw(c.nUnits), 0, 1, draw(c.nValues), draw(50));
                list.Add(extra);
                plain.Add(extra);
            }
            ASSERT_EQ(list.GetSize(), static_cast<int>(plain.m_refs.size())) << "round " << round;
            ASSERT_EQ(Entries(Entries(list)), Entries(plain.m_refs)) << "round " << round;
            for (const CUnitRef& r : plain.m_refs)
            {
                EXPECT_NE(list.Get(r.m_nUnit, r.m_nArray, r.m_nSide), nullptr);
            }
            lastFill = fill;
        }
    }
}

TEST(ContactList, AnEmptiedListIsEmptyUntilRefilled)
{
    CUnitRefArray list;
    list.InsertSorted(Ref(1, 0, 1, 5, 300));
    list.InsertSorted(Ref(2, 0, 1, 9, 800));
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetAt(0), nullptr);
    EXPECT_FALSE(list.Find(1, 0, 1));

    // The same first reference again, then nothing more: only it is listed.
    list.RemoveAll();
    EXPECT_EQ(list.InsertSorted(Ref(1, 0, 1, 5, 300)), 1);
    EXPECT_EQ(list.GetSize(), 1);
    EXPECT_FALSE(list.Find(2, 0, 1));
    EXPECT_EQ(UnitIndexes(list), (std::vector<int>{1}));

    // A copy of a list part way through its refill takes what was met.
    list.InsertSorted(Ref(2, 0, 1, 9, 800));
    list.RemoveAll();
    list.InsertSorted(Ref(1, 0, 1, 5, 300));
    CUnitRefArray copy;
    copy.CopyFrom(list);
    EXPECT_EQ(UnitIndexes(copy), (std::vector<int>{1}));
    EXPECT_EQ(copy.InsertSorted(Ref(2, 0, 1, 9, 800)), 1);
    EXPECT_EQ(UnitIndexes(copy), (std::vector<int>{2, 1}));
}
