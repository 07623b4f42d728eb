// Who owns what an archive reads, which classes a typed read accepts, and
// what the archive's errors say. Fixtures are laid out by hand.

#include "ArchiveTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdlib.h>

namespace
{
struct LoadResult
{
    int cause = CArchiveException::none;
    CString text;
};

LoadResult Load(const std::vector<BYTE>& bytes, const std::function<void(CArchive&)>& read)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    LoadResult result;
    try
    {
        read(ar);
    }
    catch (const CArchiveException& e)
    {
        result.cause = e.m_cause;
        result.text = e.GetErrorText();
    }
    return result;
}
}  // namespace

// Every one of these would have two owners delete one object. The archive
// refuses the second owner; whatever was read is deleted exactly once.
TEST(ArchiveOwnership, ASecondOwnerRaisesTheArchiveErrorAndNothingLeaks)
{
    struct Case
    {
        const char* what;
        Bytes bytes;
        std::function<void(CArchive&)> read;
    };
    auto oneArray = [](CArchive& ar)
    {
        CObArray a;
        a.Serialize(ar);
    };
    auto twoArrays = [](CArchive& ar)
    {
        CObArray first;
        CObArray second;
        first.Serialize(ar);
        second.Serialize(ar);
    };
    auto arrayThenObject = [](CArchive& ar)
    {
        CObArray a;
        a.Serialize(ar);
        delete ar.ReadObject(nullptr);
    };
    std::vector<Case> cases = {
        {"twice in one array", Bytes().w(2).newClass("CTestCounted").w(5).w(2), oneArray},
        {"in two arrays", Bytes().w(1).newClass("CTestCounted").w(5).w(1).w(2), twoArrays},
        {"in an array and owned again", Bytes().w(1).newClass("CTestCounted").w(5).w(2), arrayThenObject},
        // Class CObArray is index 1, the array itself object 2.
        {"an array inside itself", Bytes().w(0xFFFF).w(0).w(8).raw("CObArray").w(1).w(2),
         [](CArchive& ar) { delete ar.ReadObject(nullptr); }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        const LoadResult result = Load(c.bytes.v, c.read);
        EXPECT_EQ(result.cause, CArchiveException::badIndex);
        EXPECT_EQ(result.text, "The file could not be read: it holds one object in two places.");
        EXPECT_EQ(CTestCounted::s_live, 0);
    }
}

TEST(ArchiveOwnership, ASharedReferenceTakesNothingAndMustFollowItsOwner)
{
    // Owned in the array, then shared twice: the array alone deletes it.
    Bytes shared;
    shared.w(1).newClass("CTestCounted").w(5).w(2).w(2).w(0);
    {
        CObArray a;
        LoadResult result = Load(shared.v,
                                 [&](CArchive& ar)
                                 {
                                     a.Serialize(ar);
                                     EXPECT_EQ(ar.ReadObjectRef(nullptr), a[0]);
                                     EXPECT_EQ(ar.ReadObjectRef(RUNTIME_CLASS(CTestCounted)), a[0]);
                                     EXPECT_EQ(ar.ReadObjectRef(nullptr), nullptr);
                                 });
        EXPECT_EQ(result.cause, CArchiveException::none);
        EXPECT_EQ(CTestCounted::s_live, 1);
    }
    EXPECT_EQ(CTestCounted::s_live, 0);

    // A reference to an object not read yet would leave it without owner.
    const int made = CTestCounted::s_made;
    const LoadResult early =
        Load(Bytes().newClass("CTestCounted").w(5).v, [](CArchive& ar) { ar.ReadObjectRef(nullptr); });
    EXPECT_EQ(early.cause, CArchiveException::badIndex);
    EXPECT_EQ(CTestCounted::s_made, made);
}

// A typed read refuses another class before it is constructed: a file
// cannot have the loader build an object of its choosing.
TEST(ArchiveOwnership, TypedReadsRefuseOtherClassesBeforeConstructingThem)
{
    const int made = CTestCounted::s_made;
    Bytes counted;
    counted.newClass("CTestCounted").w(5);
    EXPECT_EQ(Load(counted.v, [](CArchive& ar) { delete ar.ReadObject(RUNTIME_CLASS(CTestAlpha)); }).cause,
              CArchiveException::badClass);
    EXPECT_EQ(Load(counted.v,
                   [](CArchive& ar)
                   {
                       CTestAlpha* p = nullptr;
                       ar >> p;
                       delete p;
                   })
                  .cause,
              CArchiveException::badClass);
    Bytes inArray;
    inArray.w(1).newClass("CTestCounted").w(5);
    EXPECT_EQ(Load(inArray.v,
                   [](CArchive& ar)
                   {
                       CTestAlphaArray a;
                       a.Serialize(ar);
                   })
                  .cause,
              CArchiveException::badClass);
    EXPECT_EQ(CTestCounted::s_made, made);
}

TEST(ArchiveOwnership, ErrorsNameTheFileAndTheReason)
{
    char dirTemplate[] = "/tmp/kdr_ownershipXXXXXX";
    ASSERT_NE(mkdtemp(dirTemplate), nullptr);
    const CString path = JoinPath(dirTemplate, "twice.bin");
    const Bytes bytes = Bytes().w(2).newClass("CTestCounted").w(5).w(2);
    std::FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.v.data(), 1, bytes.v.size(), f);
    std::fclose(f);

    CObArray a;
    CString errorText;
    try
    {
        LoadObjectFromFile(path, a, errorText);
        FAIL();
    }
    catch (const CArchiveException& e)
    {
        EXPECT_EQ(e.m_strFileName, path);
        EXPECT_EQ(e.GetErrorText(), "'" + path + "' could not be read: it holds one object in two places.");
    }
    // Without a reason, the cause's own text still names the file.
    CFile file(path, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    try
    {
        ar.ThrowArchiveException(CArchiveException::badSchema);
    }
    catch (const CArchiveException& e)
    {
        EXPECT_EQ(e.GetErrorText(), "Unexpected version of an object found while reading in '" + path + "'.");
    }
    ar.Abort();
    file.Close();
    DeleteFile(path);
    std::remove(dirTemplate);
}

// Files written before the long form was used for 65,534 bytes still read.
TEST(ArchiveOwnership, AStringOf65534BytesInTheWordFormStillReads)
{
    Bytes old;
    old.b(0xFF).w(0xFFFE).raw(std::string(65534, 'k'));
    CString text;
    EXPECT_EQ(Load(old.v, [&](CArchive& ar) { ar >> text; }).cause, CArchiveException::none);
    EXPECT_EQ(text.GetLength(), 65534);
}
