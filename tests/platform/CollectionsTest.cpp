#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct LiveCheck
{
    LiveCheck() { EXPECT_EQ(CTestCounted::s_live, 0); }
    ~LiveCheck() { EXPECT_EQ(CTestCounted::s_live, 0); }
};
}  // namespace

TEST(CObArray, OwnsItsElements)
{
    LiveCheck check;
    CObArray a;
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a.Add(new CTestCounted), i);
    EXPECT_EQ(CTestCounted::s_live, 5);

    a.RemoveAt(1);  // deletes
    EXPECT_EQ(CTestCounted::s_live, 4);
    CObject* kept = a.Detach(0);  // hands over
    EXPECT_EQ(a.GetSize(), 3);
    EXPECT_EQ(CTestCounted::s_live, 4);
    delete kept;

    a.SetAt(0, new CTestCounted);  // deletes the replaced element
    EXPECT_EQ(CTestCounted::s_live, 3);
    a.SetAt(0, a[0]);  // the same pointer stays
    EXPECT_EQ(CTestCounted::s_live, 3);

    a.SetSize(5);  // null slots
    EXPECT_EQ(a[4], nullptr);
    a.SetSize(1);  // cut elements are deleted
    EXPECT_EQ(CTestCounted::s_live, 1);

    a.InsertAt(-4, new CTestCounted);  // index clamped
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a.GetAt(-1), nullptr);
    EXPECT_EQ(a.GetAt(2), nullptr);
    EXPECT_EQ(ObArrayGetAtChecked(&a, 5), nullptr);
    EXPECT_EQ(ObArrayGetAtChecked(nullptr, 0), nullptr);
    EXPECT_EQ(ObArrayGetAtChecked(&a, 1), a[1]);
}

TEST(CObArray, APointerInSeveralSlotsIsDeletedOnce)
{
    LiveCheck check;
    {
        CObArray a;
        CObject* shared = new CTestCounted;
        a.Add(shared);
        a.Add(new CTestCounted);
        a.Add(shared);
        a.RemoveAt(0);  // still held in slot 1
        EXPECT_EQ(CTestCounted::s_live, 2);
        EXPECT_EQ(a.Find(shared), 1);
        a.Add(shared);
    }  // destructor: each pointer once
}

TEST(CObArray, TypedArrayRefusesOtherClassesWhenLoading)
{
    Bytes good;
    good.w(2).newClass("CTestAlpha").w(1).b(0).newClass("CTestAlphaChild").w(2).b(0);
    {
        CTestAlphaArray a;
        CMemFile file(good.v);
        CArchive ar(&file, CArchive::load);
        a.Serialize(ar);
        ASSERT_EQ(a.GetSize(), 2);
        EXPECT_EQ(a[1]->m_value, 2);  // typed access
    }

    Bytes bad;
    bad.w(2).newClass("CTestAlpha").w(1).b(0).newClass("CTestBeta").dw(0);
    CTestAlphaArray a;
    CMemFile file(bad.v);
    CArchive ar(&file, CArchive::load);
    try
    {
        a.Serialize(ar);
        FAIL();
    }
    catch (const CArchiveException& e)
    {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
}

TEST(CObArray, LoadingReplacesTheOldContents)
{
    LiveCheck check;
    CObArray a;
    a.Add(new CTestCounted);
    CMemFile file(Bytes().w(0).v);
    CArchive ar(&file, CArchive::load);
    a.Serialize(ar);
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(Collections, ArchiveFormsOfStringAndValueCollections)
{
    CStringArray strings;
    strings.Add("Win in mission 'A' playing as enemy.");
    strings.Add("");
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    CByteArray bytes;
    bytes.Add(0xFE);
    CWordArray words;
    words.Add(0x1234);
    words.Add(0xFFFF);
    CDWordArray dwords;
    dwords.Add(0xDEADBEEF);
    CUIntArray uints;
    uints.Add(7);

    Bytes expected;
    expected.w(2).b(36).raw("Win in mission 'A' playing as enemy.").b(0);
    expected.w(2).b(1).raw("a").b(1).raw("b");
    expected.w(1).b(0xFE);
    expected.w(2).w(0x1234).w(0xFFFF);
    expected.w(1).dw(0xDEADBEEF);
    expected.w(1).dw(7);
    auto stored = StoreBytes(
        [&](CArchive& ar)
        {
            strings.Serialize(ar);
            list.Serialize(ar);
            bytes.Serialize(ar);
            words.Serialize(ar);
            dwords.Serialize(ar);
            uints.Serialize(ar);
        });
    ASSERT_EQ(stored, expected.v);

    CStringArray strings2;
    strings2.Add("old");
    CStringList list2;
    CByteArray bytes2;
    CWordArray words2;
    CDWordArray dwords2;
    CUIntArray uints2;
    CMemFile file(stored);
    CArchive ar(&file, CArchive::load);
    strings2.Serialize(ar);
    list2.Serialize(ar);
    bytes2.Serialize(ar);
    words2.Serialize(ar);
    dwords2.Serialize(ar);
    uints2.Serialize(ar);
    EXPECT_EQ(ar.GetBytesLeft(), 0u);
    ASSERT_EQ(strings2.GetSize(), 2);
    EXPECT_EQ(strings2[0], strings[0]);
    EXPECT_EQ(list2.GetHead(), "a");
    EXPECT_EQ(list2.GetTail(), "b");
    EXPECT_EQ(bytes2[0], 0xFE);
    EXPECT_EQ(words2[1], 0xFFFF);
    EXPECT_EQ(dwords2[0], 0xDEADBEEFu);
    EXPECT_EQ(uints2[0], 7u);
}

TEST(Collections, StringContainersAreBoundsSafe)
{
    CStringArray a;
    a.Add("x");
    EXPECT_EQ(a.GetAt(3), "");
    EXPECT_EQ(a[-1], "");
    a.SetAt(5, "ignored");
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_THROW(a.ElementAt(1), std::out_of_range);
    a.InsertAt(0, "w", 2);
    a.RemoveAt(1, 99);
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a.Append(a), 1);
    EXPECT_EQ(a.GetSize(), 2);

    CStringList l;
    EXPECT_EQ(l.RemoveHead(), "");
    EXPECT_EQ(l.GetTail(), "");
    l.AddTail("one");
    l.AddTail("two");
    EXPECT_EQ(l.Find("two"), 1);
    EXPECT_EQ(l.Find("three"), -1);
    l.RemoveAt(7);
    EXPECT_EQ(l.RemoveTail(), "two");
    EXPECT_EQ(l.GetCount(), 1);

    CWordArray w;
    EXPECT_EQ(w.GetAt(0), 0);
    w.RemoveAt(0);
    w.InsertAt(9, 3, 2);
    EXPECT_EQ(w.GetSize(), 2);
}
