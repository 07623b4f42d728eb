// The unit file: an array of two units around an empty slot laid out byte
// by byte, read and written back; an array of no units; the name the file
// was read under, also from the dialog; Cancel; and files cut short,
// corrupt or naming a class the game does not know.
#include "UnitCapTestSupport.h"

#include "../support/ScriptedUi.h"
#include "platform/ui/UiService.h"
#include "units/Unit.h"
#include "units/UnitArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// A unit with no weapons, capabilities, damage, path or orders, then its 45
// fields with the defaults but for name, side, vehicle, place and Stop.
CScenarioBytes& BareUnit(CScenarioBytes& b, const char* name, unsigned side, unsigned vehicle, float x, float y)
{
    b.Word(0).Word(0).Word(0).Word(0).Word(0).Word(0);
    b.Float(0.0f).Word(0).Word(0).DWord(0).Str(name);                                           // 1 to 5
    b.Word(5).Word(0).Word(UNSET_WORD).Word(0).Word(20).Word(0).Word(0);                        // 6 to 12
    b.Word(0).Word(UNSET_WORD).Word(UNSET_WORD).Word(0).Word(UNSET_WORD).Word(0).Word(0);       // 13 to 19
    b.Float(-99.0f).Word(0).Word(0).Word(0).Word(UNSET_WORD).Word(0).Word(side).Word(vehicle);  // 20 to 27
    b.Float(x).Float(y).Word(0).Word(1).Float(1.5f).Float(-99.0f);                              // 28 to 33
    b.Word(UNSET_WORD).Word(UNSET_WORD).Word(UNSET_WORD).Word(0);                               // 34 to 37
    b.Float(-99.0f).Float(-99.0f).Float(-99.0f).Word(0).Word(UNSET_WORD).Word(0);               // 38 to 43
    return b.DWord(0).Float(0.0f);                                                              // 44, 45
}

// Three slots: "Alpha", an empty one, "Bravo"; then the array's own texts
// and words (number -2, side 1).
CScenarioBytes ThreeSlots()
{
    CScenarioBytes b;
    b.Word(3);
    b.Word(0xFFFF).Word(1).Word(5).Chars("CUnit");  // the first unit: the new class
    BareUnit(b, "Alpha", 1, 2, 2950.0f, 1700.0f);
    b.Word(0x0000);  // the empty slot
    b.Word(0x8001);  // a later unit names the class registered first
    BareUnit(b, "Bravo", 1, 0, 3040.0f, 1710.5f);
    b.Str("Held since dawn").Str("Saddle.unt").Str("Saddle Detachment");
    return b.Word(0xFFFE).Word(1);
}

CScenarioBytes NoUnits()
{
    CScenarioBytes b;
    b.Word(0);
    b.Str("Nothing here").Str("Empty.unt").Str("Reserve");
    return b.Word(12).Word(2);
}

// The message a unit file that cannot be read gives.
CString ReadFailure(const CString& path, const char* cause)
{
    return CString("The unit file \"") + path + "\" could not be read. " + cause + " in '" + path + "'.";
}

class UnitFileTest : public ::testing::Test
{
protected:
    CDatabaseTestApp m_app;

    CString DataDir() const { return m_app.DataDir().string().c_str(); }
    CString Write(const char* name, const std::vector<BYTE>& bytes)
    {
        m_app.WriteText(m_app.DataDir() / name, std::string(bytes.begin(), bytes.end()));
        return (m_app.DataDir() / name).string().c_str();
    }
};
}  // namespace

TEST(UnitFile, TwoUnitsAroundAnEmptySlotReadAndWriteBackByteForByte)
{
    const CScenarioBytes b = ThreeSlots();
    CUnitArray array;
    LoadFromBytes(array, b.Get());
    ASSERT_EQ(array.GetSize(), 3);
    ASSERT_NE(array.GetAt(0), nullptr);
    EXPECT_EQ(array.GetAt(1), nullptr);
    ASSERT_NE(array.GetAt(2), nullptr);
    EXPECT_EQ(array.GetAt(0)->m_strName, "Alpha");
    EXPECT_EQ(array.GetAt(0)->m_nVehicle, 2);
    EXPECT_FLOAT_EQ(array.GetAt(0)->m_fX, 2950.0f);
    EXPECT_EQ(array.GetAt(2)->m_strName, "Bravo");
    EXPECT_FLOAT_EQ(array.GetAt(2)->m_fY, 1710.5f);
    EXPECT_TRUE(array.GetAt(2)->m_bStopped);
    EXPECT_EQ(array.m_strText, "Held since dawn");
    EXPECT_EQ(array.m_strFileName, "Saddle.unt");
    EXPECT_EQ(array.m_strName, "Saddle Detachment");
    EXPECT_EQ(array.m_nNumber, -2);  // sign-extended
    EXPECT_EQ(array.m_nSide, 1);
    EXPECT_EQ(StoreBytes(array), b.Get());
    EXPECT_EQ(array.GetAt(5), nullptr);
    EXPECT_EQ(array.GetAt(-1), nullptr);
}

TEST(UnitFile, AnArrayOfNoUnitsKeepsItsThreeTextsAndTwoWords)
{
    const CScenarioBytes b = NoUnits();
    CUnitArray array;
    LoadFromBytes(array, b.Get());
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_EQ(array.m_strText, "Nothing here");
    EXPECT_EQ(array.m_strFileName, "Empty.unt");
    EXPECT_EQ(array.m_strName, "Reserve");
    EXPECT_EQ(array.m_nNumber, 12);
    EXPECT_EQ(array.m_nSide, 2);
    EXPECT_EQ(StoreBytes(array), b.Get());

    // A new array stores as the defaults say.
    CUnitArray fresh;
    CScenarioBytes defaults;
    defaults.Word(0).Str("").Str("").Str("Name").Word(0).Word(0);
    EXPECT_EQ(StoreBytes(fresh), defaults.Get());
}

TEST_F(UnitFileTest, TheFileNameIsTheOneThatOpenedAlsoFromTheDialog)
{
    const CString path = Write("Three.unt", ThreeSlots().Get());
    CUnitArray byName;
    ASSERT_TRUE(byName.LoadUnitFile("Three.unt", DataDir()));
    EXPECT_EQ(byName.m_strFileName, "Three.unt");  // not the name stored inside
    EXPECT_EQ(byName.GetSize(), 3);
    EXPECT_EQ(byName.m_strName, "Saddle Detachment");

    // A name that does not open: the dialog, with the unit files' pattern.
    m_app.Ui().ExpectFileDialog(TRUE, path);
    CUnitArray chosen;
    ASSERT_TRUE(chosen.LoadUnitFile("Missing.unt", DataDir()));
    EXPECT_EQ(chosen.m_strFileName, path);
    EXPECT_EQ(chosen.GetSize(), 3);
    const CFileDialogRequest& request = m_app.Ui().GetShown().back().file;
    EXPECT_EQ(request.title, "Find Missing.unt") << "the caption names the file that did not open";
    EXPECT_EQ(request.defaultExt, "unt");
    EXPECT_EQ(request.fileName, "*.unt");
    EXPECT_TRUE(request.filter.IsEmpty());
    EXPECT_EQ(request.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
}

TEST_F(UnitFileTest, CancelEndsTheLoadAtOnceAlsoAfterANameThatDidNotOpen)
{
    CUnitArray array;
    m_app.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(array.LoadUnitFile("Missing.unt", DataDir()));
    EXPECT_EQ(array.GetSize(), 0);

    m_app.Ui().ExpectFileDialog(TRUE, (m_app.DataDir() / "Nowhere.unt").string().c_str());
    m_app.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(array.LoadUnitFile("Missing.unt", DataDir()));
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_TRUE(array.m_strFileName.IsEmpty());
}

TEST_F(UnitFileTest, AFileCutShortCorruptOrOfAnUnknownClassFailsWithItsNameAndLeavesTheArrayEmpty)
{
    std::vector<BYTE> cut = ThreeSlots().Get();
    cut.resize(cut.size() - 3);
    CScenarioBytes unknown;
    unknown.Word(1).Word(0xFFFF).Word(1).Word(6).Chars("CTruck");
    CScenarioBytes otherClass;  // a known class where a unit belongs
    otherClass.Word(1).Word(0xFFFF).Word(1).Word(5).Chars("CNode").Float(1.0f).Float(2.0f);
    CScenarioBytes twice;  // the first unit again where the second belongs
    twice.Word(2).Word(0xFFFF).Word(1).Word(5).Chars("CUnit");
    BareUnit(twice, "Alpha", 0, 0, 10.0f, 10.0f);
    twice.Word(0x8002);
    CScenarioBytes huge;  // more units than the file has bytes for
    huge.Word(0xFFFF).DWord(0x10000000);
    struct Case
    {
        const char* file;
        std::vector<BYTE> bytes;
        const char* cause;
    };
    const Case cases[] = {
        {"cut.unt", cut, "Reached the end of the file while reading an object"},
        {"unknown.unt", unknown.Get(), "Unexpected object found while reading"},
        {"other.unt", otherClass.Get(), "Unexpected object found while reading"},
        {"twice.unt", twice.Get(), "Invalid file format"},
        {"huge.unt", huge.Get(), "Reached the end of the file while reading an object"},
        {"empty.unt", {}, "Reached the end of the file while reading an object"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        const CString path = Write(c.file, c.bytes);
        m_app.Ui().ExpectMessage(GetMessageBoxCaption(), ReadFailure(path, c.cause), IDOK);
        CUnitArray array;
        EXPECT_FALSE(array.LoadUnitFile(path, DataDir()));
        EXPECT_EQ(array.GetSize(), 0);
        EXPECT_TRUE(array.m_strFileName.IsEmpty());
        EXPECT_EQ(array.m_strName, "Name");
    }

    // A failed load leaves an array that held units as it was.
    CUnitArray held;
    ASSERT_TRUE(held.LoadUnitFile(Write("good.unt", ThreeSlots().Get()), DataDir()));
    const CString cutPath = (m_app.DataDir() / "cut.unt").string().c_str();
    m_app.Ui().ExpectMessage(GetMessageBoxCaption(), ReadFailure(cutPath, cases[0].cause), IDOK);
    EXPECT_FALSE(held.LoadUnitFile(cutPath, DataDir()));
    EXPECT_EQ(held.GetSize(), 3);
    EXPECT_EQ(held.m_strName, "Saddle Detachment");
}
