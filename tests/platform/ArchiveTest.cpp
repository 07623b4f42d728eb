#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

namespace
{
// Loads from the bytes through fn and checks that every byte was used.
template <class Fn>
void LoadBytes(const std::vector<BYTE>& bytes, Fn&& fn)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    fn(ar);
    EXPECT_EQ(ar.GetBytesLeft(), 0u);
}

int LoadCause(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& fn)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    try
    {
        fn(ar);
    }
    catch (const CArchiveException& e)
    {
        return e.m_cause;
    }
    return CArchiveException::none;
}
}  // namespace

TEST(Archive, ScalarsAreLittleEndianAtTheirWidths)
{
    auto bytes = StoreBytes(
        [](CArchive& ar)
        {
            ar << static_cast<BYTE>(0xAB) << static_cast<WORD>(0x1234) << static_cast<DWORD>(0x89ABCDEF) << -2
               << static_cast<short>(-3) << 1.0f << -2.5 << CTime(0x01020304) << CTimeSpan(-1);
        });
    Bytes expected;
    expected.b(0xAB).w(0x1234).dw(0x89ABCDEF).dw(0xFFFFFFFE).w(0xFFFD);
    expected.dw(0x3F800000);                 // 1.0f
    expected.dw(0x00000000).dw(0xC0040000);  // -2.5
    expected.dw(0x01020304).dw(0xFFFFFFFF);
    EXPECT_EQ(bytes, expected.v);

    LoadBytes(bytes,
              [](CArchive& ar)
              {
                  BYTE b;
                  WORD w;
                  DWORD d;
                  int i;
                  short s;
                  float f;
                  double x;
                  CTime t;
                  CTimeSpan span;
                  ar >> b >> w >> d >> i >> s >> f >> x >> t >> span;
                  EXPECT_EQ(b, 0xAB);
                  EXPECT_EQ(w, 0x1234);
                  EXPECT_EQ(d, 0x89ABCDEFu);
                  EXPECT_EQ(i, -2);
                  EXPECT_EQ(s, -3);
                  EXPECT_EQ(f, 1.0f);
                  EXPECT_EQ(x, -2.5);
                  EXPECT_EQ(t.GetTime(), 0x01020304);
                  EXPECT_EQ(span.GetTotalSeconds(), -1);
              });
}

TEST(Archive, StringLengthPrefixes)
{
    struct Case
    {
        DWORD length;
        Bytes prefix;
    };
    std::vector<Case> cases = {
        {0, Bytes().b(0)},
        {254, Bytes().b(0xFE)},
        {255, Bytes().b(0xFF).w(0x00FF)},
        // 0xFFFE is the old framework's wide-string marker: never a length.
        {65534, Bytes().b(0xFF).w(0xFFFF).dw(65534)},
        {65535, Bytes().b(0xFF).w(0xFFFF).dw(0xFFFF)},
        {70000, Bytes().b(0xFF).w(0xFFFF).dw(70000)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.length);
        std::string text(c.length, 'x');
        for (DWORD i = 0; i < c.length; ++i)
            text[i] = static_cast<char>('a' + i % 26);
        text.back() = '\xE9';  // a Windows-1252 byte passes unchanged
        if (c.length == 0)
            text.clear();

        auto bytes = StoreBytes([&](CArchive& ar) { ar << CString(text); });
        Bytes expected = c.prefix;
        expected.raw(text);
        ASSERT_EQ(bytes, expected.v);

        LoadBytes(bytes,
                  [&](CArchive& ar)
                  {
                      CString back;
                      ar >> back;
                      EXPECT_EQ(back.str(), text);
                  });
    }
}

TEST(Archive, CountForms)
{
    struct Case
    {
        DWORD count;
        Bytes bytes;
    };
    std::vector<Case> cases = {
        {0, Bytes().w(0)},
        {0xFFFE, Bytes().w(0xFFFE)},
        {0xFFFF, Bytes().w(0xFFFF).dw(0xFFFF)},
        {0x12345678, Bytes().w(0xFFFF).dw(0x12345678)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.count);
        EXPECT_EQ(StoreBytes([&](CArchive& ar) { ar.WriteCount(c.count); }), c.bytes.v);
        LoadBytes(c.bytes.v, [&](CArchive& ar) { EXPECT_EQ(ar.ReadCount(0), c.count); });
    }
}

// Two objects of one class, a second class and a null in an array, then a
// shared reference to the first: tags 0xFFFF (class 1, object 2), 0x8001
// (object 3), 0xFFFF (class 4, object 5), 0 and, after the array, 2.
TEST(Archive, ObjectArrayTagsRoundTripByteForByte)
{
    Bytes expected;
    expected.w(4);
    expected.newClass("CTestAlpha").w(7).b(3).raw("one");
    expected.w(0x8001).w(8).b(3).raw("two");
    expected.newClass("CTestBeta").dw(0x40490FDB);  // 3.1415927f
    expected.w(0);
    expected.w(2);

    CObArray loaded;
    CTestAlpha* shared = nullptr;
    LoadBytes(expected.v,
              [&](CArchive& ar)
              {
                  loaded.Serialize(ar);
                  shared = ar.ReadReference<CTestAlpha>();
              });
    ASSERT_EQ(loaded.GetSize(), 4);
    auto* first = dynamic_cast<CTestAlpha*>(loaded[0]);
    auto* second = dynamic_cast<CTestAlpha*>(loaded[1]);
    auto* beta = dynamic_cast<CTestBeta*>(loaded[2]);
    ASSERT_TRUE(first && second && beta);
    EXPECT_EQ(first->m_value, 7);
    EXPECT_EQ(first->m_name, "one");
    EXPECT_EQ(second->m_value, 8);
    EXPECT_EQ(second->m_name, "two");
    EXPECT_EQ(beta->m_x, 3.1415927f);
    EXPECT_EQ(loaded[3], nullptr);
    EXPECT_EQ(shared, loaded[0]);  // the same object, not a copy

    EXPECT_EQ(StoreBytes(
                  [&](CArchive& ar)
                  {
                      loaded.Serialize(ar);
                      ar << shared;
                  }),
              expected.v);
}

// Indexes above 0x7FFE take the word 0x7FFF and a double word; class
// indexes carry bit 31 there.
TEST(Archive, BigIndexForms)
{
    // Class CTestEmpty is index 1 and its objects 2 .. 0x7FFF; CTestBeta is
    // then class 0x8000 with first object 0x8001.
    const int emptyCount = 0x7FFE;
    std::vector<std::unique_ptr<CObject>> owned;
    std::vector<CObject*> objects;
    for (int i = 0; i < emptyCount; ++i)
    {
        owned.push_back(std::make_unique<CTestEmpty>());
        objects.push_back(owned.back().get());
    }
    owned.push_back(std::make_unique<CTestBeta>(1.0f));
    CObject* betaFirst = owned.back().get();
    owned.push_back(std::make_unique<CTestBeta>(2.0f));
    CObject* betaSecond = owned.back().get();

    auto bytes = StoreBytes(
        [&](CArchive& ar)
        {
            for (CObject* p : objects)
                ar << p;
            ar << betaFirst << betaSecond;
            ar << objects[0x7FFD - 2];  // object index 0x7FFD: still a word
            ar << objects.back();       // object index 0x7FFF: big form
            ar << betaFirst;            // object index 0x8001
        });

    Bytes expected;
    expected.newClass("CTestEmpty");
    for (int i = 1; i < emptyCount; ++i)
        expected.w(0x8001);
    expected.newClass("CTestBeta").dw(0x3F800000);
    expected.w(0x7FFF).dw(0x80008000).dw(0x40000000);
    expected.w(0x7FFD);
    expected.w(0x7FFF).dw(0x7FFF);
    expected.w(0x7FFF).dw(0x8001);
    ASSERT_EQ(bytes, expected.v);

    LoadBytes(bytes,
              [&](CArchive& ar)
              {
                  std::vector<CObject*> back;
                  for (int i = 0; i < emptyCount + 2; ++i)
                      back.push_back(ar.ReadObject(nullptr));
                  for (int i = 0; i < 3; ++i)  // the objects written again are shared
                      back.push_back(ar.ReadObjectRef(nullptr));
                  EXPECT_EQ(back[emptyCount + 2], back[0x7FFD - 2]);
                  EXPECT_EQ(back[emptyCount + 3], back[emptyCount - 1]);
                  EXPECT_EQ(back[emptyCount + 4], back[emptyCount]);
                  ASSERT_TRUE(back[emptyCount + 1]->IsKindOf(RUNTIME_CLASS(CTestBeta)));
                  EXPECT_EQ(static_cast<CTestBeta*>(back[emptyCount + 1])->m_x, 2.0f);
                  for (int i = 0; i < emptyCount + 2; ++i)
                      delete back[i];
              });
}

TEST(Archive, ExpectedClassIsCheckedAlongTheBaseChain)
{
    Bytes bytes;
    bytes.newClass("CTestAlphaChild").w(1).b(0);
    bytes.w(2);
    LoadBytes(bytes.v,
              [](CArchive& ar)
              {
                  CTestAlpha* p = nullptr;
                  ar >> p;  // a CTestAlphaChild is a CTestAlpha
                  ASSERT_NE(p, nullptr);
                  EXPECT_TRUE(p->IsKindOf(RUNTIME_CLASS(CTestAlphaChild)));
                  EXPECT_EQ(p->m_value, 1);
                  EXPECT_EQ(ar.ReadReference<CTestAlpha>(), p);
                  delete p;
              });
}

TEST(Archive, AClassTestOfTheHolderIsAskedBeforeTheObjectIsMade)
{
    // The holder takes alphas and betas but no alpha child: the test is
    // asked about the class, and a refused one is never constructed.
    const CArchive::ClassTest accept = [](const CRuntimeClass* pClass) -> BOOL
    { return pClass == RUNTIME_CLASS(CTestAlpha) || pClass == RUNTIME_CLASS(CTestBeta); };
    Bytes bytes;
    bytes.newClass("CTestBeta").dw(0x40200000);  // 2.5f
    bytes.newClass("CTestAlpha").w(4).b(0);
    LoadBytes(bytes.v,
              [&](CArchive& ar)
              {
                  std::unique_ptr<CObject> pBeta(ar.ReadObjectPassing(accept));
                  std::unique_ptr<CObject> pAlpha(ar.ReadObjectPassing(accept));
                  ASSERT_NE(pBeta, nullptr);
                  EXPECT_TRUE(pBeta->IsKindOf(RUNTIME_CLASS(CTestBeta)));
                  EXPECT_TRUE(pAlpha->IsKindOf(RUNTIME_CLASS(CTestAlpha)));
              });

    Bytes child;
    child.newClass("CTestAlphaChild").w(1).b(0);
    EXPECT_EQ(LoadCause(child.v, [&](CArchive& ar) { delete ar.ReadObjectPassing(accept); }),
              CArchiveException::badClass);
    // A back reference to an object of a refused class is refused too.
    Bytes again;
    again.newClass("CTestAlphaChild").w(1).b(0).w(2);
    EXPECT_EQ(LoadCause(again.v,
                        [&](CArchive& ar)
                        {
                            std::unique_ptr<CObject> pFirst(ar.ReadObject(nullptr));
                            ar.ReadObjectPassing(accept);
                        }),
              CArchiveException::badClass);
}

TEST(Archive, BadInputRaisesTheFrameworkKindOfError)
{
    auto readObject = [](CArchive& ar) { delete ar.ReadObject(nullptr); };
    auto readAlpha = [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CTestAlpha)); };
    auto readStrings = [](CArchive& ar)
    {
        CStringArray a;
        a.Serialize(ar);
    };
    auto readString = [](CArchive& ar)
    {
        CString s;
        ar >> s;
    };
    struct Case
    {
        const char* what;
        Bytes bytes;
        std::function<void(CArchive&)> read;
        int cause;
    };
    std::vector<Case> cases = {
        {"unknown class name", Bytes().newClass("CNoSuchClass"), readObject, CArchiveException::badClass},
        {"class name too long", Bytes().newClass(std::string(80, 'C')), readObject, CArchiveException::badClass},
        {"non-serialisable class", Bytes().newClass("CObject"), readObject, CArchiveException::badClass},
        {"wrong schema", Bytes().w(0xFFFF).w(2).w(10).raw("CTestAlpha").w(0).b(0), readObject,
         CArchiveException::badSchema},
        {"unexpected class", Bytes().newClass("CTestBeta").dw(0), readAlpha, CArchiveException::badClass},
        {"unexpected class of a back reference", Bytes().newClass("CTestBeta").dw(0).w(2),
         [](CArchive& ar)
         {
             CObject* first = ar.ReadObject(nullptr);
             try
             {
                 ar.ReadObjectRef(RUNTIME_CLASS(CTestAlpha));
             }
             catch (...)
             {
                 delete first;
                 throw;
             }
         },
         CArchiveException::badClass},
        {"object index never assigned", Bytes().w(9), readObject, CArchiveException::badIndex},
        {"big object index never assigned", Bytes().w(0x7FFF).dw(0x12345), readObject, CArchiveException::badIndex},
        {"class index never assigned", Bytes().w(0x8003), readObject, CArchiveException::badIndex},
        {"class index 0", Bytes().w(0x8000), readObject, CArchiveException::badIndex},
        {"object index naming a class", Bytes().newClass("CTestBeta").dw(0).w(1),
         [](CArchive& ar)
         {
             CObject* first = ar.ReadObject(nullptr);
             try
             {
                 ar.ReadObject(nullptr);
             }
             catch (...)
             {
                 delete first;
                 throw;
             }
         },
         CArchiveException::badIndex},
        {"class index naming an object", Bytes().newClass("CTestBeta").dw(0).w(0x8002),
         [](CArchive& ar)
         {
             CObject* first = ar.ReadObject(nullptr);
             try
             {
                 ar.ReadObject(nullptr);
             }
             catch (...)
             {
                 delete first;
                 throw;
             }
         },
         CArchiveException::badIndex},
        // Counts and lengths far beyond the bytes left must fail before any
        // allocation (the sanitizer build would report a huge allocation).
        {"count larger than the bytes left", Bytes().w(0xFFFF).dw(0xFFFFFFF0).b(0).b(0), readStrings,
         CArchiveException::endOfFile},
        {"word count larger than the bytes left", Bytes().w(3).b(0).b(0), readStrings, CArchiveException::endOfFile},
        {"object count larger than the bytes left", Bytes().w(0xFFFF).dw(0x7FFFFFFF).w(0),
         [](CArchive& ar)
         {
             CObArray a;
             a.Serialize(ar);
         },
         CArchiveException::endOfFile},
        {"string longer than the bytes left", Bytes().b(0xFF).w(0xFFFF).dw(0xFFFFFFFF).raw("abc"), readString,
         CArchiveException::endOfFile},
        {"short string longer than the bytes left", Bytes().b(10).raw("abc"), readString, CArchiveException::endOfFile},
        {"class name longer than the bytes left", Bytes().w(0xFFFF).w(1).w(0xFFFF).raw("CTest"), readObject,
         CArchiveException::endOfFile},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(LoadCause(c.bytes.v, c.read), c.cause);
    }
}

TEST(Archive, ObjectThatFailsWhileReadingIsDeleted)
{
    // The second element's own field is cut short: the half-read object is
    // deleted, the first stays with the array, and nothing leaks.
    Bytes bytes;
    bytes.w(3).newClass("CTestCounted").w(5).w(0x8001).b(6);
    ASSERT_EQ(CTestCounted::s_live, 0);
    {
        CObArray a;
        EXPECT_EQ(LoadCause(bytes.v, [&](CArchive& ar) { a.Serialize(ar); }), CArchiveException::endOfFile);
        ASSERT_EQ(a.GetSize(), 1);
        EXPECT_EQ(static_cast<CTestCounted*>(a[0])->m_value, 5);
        EXPECT_EQ(CTestCounted::s_live, 1);
    }
    EXPECT_EQ(CTestCounted::s_live, 0);
}

TEST(Archive, DeeplyNestedObjectsAreRefused)
{
    // CObArray inside CObArray, far deeper than any real file.
    Bytes bytes;
    bytes.w(0xFFFF).w(0).w(8).raw("CObArray").w(1);
    for (int i = 0; i < 100000; ++i)
        bytes.w(0x8001).w(1);
    bytes.w(0);
    EXPECT_EQ(LoadCause(bytes.v, [](CArchive& ar) { delete ar.ReadObject(nullptr); }), CArchiveException::generic);
}

// A sample holding every kind of field; cutting it at any byte must raise
// endOfFile, and the full sample must load.
class CTestSample : public CObject
{
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
        {
            ar << m_time << m_span << m_double;
        }
        else
        {
            ar >> m_time >> m_span >> m_double;
        }
        m_objects.Serialize(ar);
        m_names.Serialize(ar);
        m_list.Serialize(ar);
        m_words.Serialize(ar);
        if (ar.IsStoring())
            ar << m_title;
        else
            ar >> m_title;
    }

    CTime m_time;
    CTimeSpan m_span;
    double m_double = 0;
    CObArray m_objects;
    CStringArray m_names;
    CStringList m_list;
    CWordArray m_words;
    CString m_title;
};

TEST(Archive, EveryTruncationPointRaisesEndOfFile)
{
    Bytes sample;
    sample.dw(951827696).dw(86313600).dw(0).dw(0x3FF80000);  // time, span, 1.5
    sample.w(3);
    sample.newClass("CTestAlpha").w(7).b(3).raw("one");
    sample.newClass("CTestBeta").dw(0x3F800000);
    sample.w(0);
    sample.w(2).b(1).raw("a").b(0xFF).w(300).raw(std::string(300, 'z'));
    sample.w(1).b(4).raw("list");
    sample.w(2).w(0x1234).w(0xFFFF);
    sample.b(5).raw("title");

    {
        CTestSample full;
        LoadBytes(sample.v, [&](CArchive& ar) { full.Serialize(ar); });
        EXPECT_EQ(full.m_time.GetYear(), 2000);
        EXPECT_EQ(full.m_double, 1.5);
        EXPECT_EQ(full.m_objects.GetSize(), 3);
        EXPECT_EQ(full.m_names.GetAt(1).GetLength(), 300);
        EXPECT_EQ(full.m_words.GetAt(1), 0xFFFF);
        EXPECT_EQ(full.m_title, "title");
        EXPECT_EQ(StoreBytes([&](CArchive& ar) { full.Serialize(ar); }), sample.v);
    }

    for (size_t cut = 0; cut < sample.v.size(); ++cut)
    {
        SCOPED_TRACE(cut);
        std::vector<BYTE> truncated(sample.v.begin(), sample.v.begin() + static_cast<std::ptrdiff_t>(cut));
        CTestSample partial;
        EXPECT_EQ(LoadCause(truncated, [&](CArchive& ar) { partial.Serialize(ar); }), CArchiveException::endOfFile);
    }
}

TEST(Archive, SmallBufferOverARealFile)
{
    // Values straddle the archive's buffer; closing a loading archive leaves
    // the file where the archive stopped.
    char dirTemplate[] = "/tmp/kdr_archiveXXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    CString path = JoinPath(dirTemplate, "sample.bin");
    CString longText(std::string(1000, 'q'));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store, 128);
        for (DWORD i = 0; i < 300; ++i)
            ar << i;
        ar << longText << static_cast<WORD>(0xBEEF);
        ar.Close();
        file.Close();
    }
    {
        CFile file(path, CFile::modeRead);
        EXPECT_EQ(file.GetLength(), 300u * 4 + 3 + 1000 + 2);
        CArchive ar(&file, CArchive::load, 128);
        for (DWORD i = 0; i < 300; ++i)
        {
            DWORD v;
            ar >> v;
            ASSERT_EQ(v, i);
        }
        CString text;
        ar >> text;
        EXPECT_EQ(text, longText);
        ar.Close();
        EXPECT_EQ(file.GetPosition(), 300u * 4 + 3 + 1000);
        BYTE tail[2];
        EXPECT_EQ(file.Read(tail, 2), 2u);
        EXPECT_EQ(tail[0], 0xEF);
        EXPECT_EQ(tail[1], 0xBE);
    }
    DeleteFile(path);
    std::remove(dirTemplate);
}

TEST(Archive, WrongDirectionIsRefused)
{
    CMemFile file;
    CArchive store(&file, CArchive::store);
    WORD w;
    EXPECT_THROW(store >> w, CArchiveException);
    store.Close();

    CMemFile input(Bytes().w(1).v);
    CArchive load(&input, CArchive::load);
    try
    {
        load << static_cast<WORD>(1);
        FAIL();
    }
    catch (const CArchiveException& e)
    {
        EXPECT_EQ(e.m_cause, CArchiveException::readOnly);
        EXPECT_FALSE(e.GetErrorText().IsEmpty());
    }
}
