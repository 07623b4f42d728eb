#include "ArchiveTestSupport.h"

#include "platform/core/CodePage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace
{
// A fresh temporary directory made current for the test; the previous
// current directory comes back afterwards.
class FileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = GetCurrentDir();
        char dirTemplate[] = "/tmp/kdr_fileXXXXXX";
        ASSERT_NE(mkdtemp(dirTemplate), nullptr);
        m_root = dirTemplate;
        ASSERT_TRUE(SetCurrentDir(m_root.c_str()));
    }
    void TearDown() override
    {
        SetCurrentDir(m_saved);
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    void WriteRaw(const std::string& relative, const std::string& content)
    {
        fs::path p = fs::path(m_root) / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
    }
    std::string ReadRaw(const std::string& relative)
    {
        std::ifstream in(fs::path(m_root) / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    CString m_saved;
    std::string m_root;
};
}  // namespace

TEST_F(FileTest, CurrentDirectoryIsThePlatformsOwn)
{
    std::error_code ec;
    fs::path processCwd = fs::current_path(ec);
    EXPECT_EQ(GetCurrentDir(), m_root.c_str());
    ASSERT_TRUE(CreateDir("Data\\Maps"));
    EXPECT_TRUE(SetCurrentDir("data"));  // case-blind too
    EXPECT_EQ(GetCurrentDir(), (m_root + "/Data").c_str());
    EXPECT_FALSE(SetCurrentDir("Nowhere"));
    EXPECT_EQ(GetCurrentDir(), (m_root + "/Data").c_str());
    EXPECT_TRUE(SetCurrentDir(".."));
    EXPECT_EQ(GetCurrentDir(), m_root.c_str());
    EXPECT_EQ(fs::current_path(ec), processCwd);  // the process never moved
}

TEST_F(FileTest, NamesAreFoundWithoutRegardToCase)
{
    WriteRaw("Data/Units.UNT", "abc");
    struct Case
    {
        const char* name;
        bool found;
    };
    Case cases[] = {
        {"Data/Units.UNT", true},           {"data\\units.unt", true}, {"DATA/UNITS.unt", true},
        {"./Data/../data/Units.unt", true}, {"Data/Units.UN", false},  {"Dat/Units.UNT", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FileExists(c.name), c.found);
        CFile f;
        CFileException e;
        EXPECT_EQ(f.Open(c.name, CFile::modeRead | CFile::typeBinary, &e), c.found);
        if (c.found)
        {
            char buf[4] = {};
            EXPECT_EQ(f.Read(buf, 4), 3u);
            EXPECT_STREQ(buf, "abc");
            EXPECT_EQ(f.GetFileName(), "Units.UNT");
            EXPECT_EQ(f.GetFilePath(), (m_root + "/Data/Units.UNT").c_str());
        }
    }
    EXPECT_TRUE(DirectoryExists("DATA"));
    EXPECT_FALSE(FileExists("DATA"));

    // Writing in another case replaces the existing file, as it always did.
    {
        CFile f("DATA\\UNITS.UNT", CFile::modeCreate | CFile::modeWrite);
        f.Write("xy", 2);
    }
    EXPECT_EQ(ReadRaw("Data/Units.UNT"), "xy");
    EXPECT_EQ(ListFiles("Data", "*").size(), 1u);
}

TEST_F(FileTest, OpenFailuresCarryTheCauseAndText)
{
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open("missing.asc", CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::fileNotFound);
    EXPECT_NE(e.GetErrorText().Find("missing.asc"), -1);
    EXPECT_FALSE(f.Open("NoDir/missing.asc", CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::badPath);
    CreateDir("Sub");
    EXPECT_FALSE(f.Open("Sub", CFile::modeRead, &e));
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    EXPECT_THROW(CFile("missing.asc", CFile::modeRead), CFileException);
    char text[16];
    EXPECT_TRUE(e.GetErrorMessage(text, sizeof(text)));
    EXPECT_EQ(std::strlen(text), 15u);
}

// A FIFO named where a file is expected would block the open until some
// writer came; only regular files are opened, for reading and writing.
TEST_F(FileTest, OnlyRegularFilesAreOpened)
{
    ASSERT_EQ(mkfifo(JoinPath(GetCurrentDir(), "pipe.asc"), 0600), 0);
    for (UINT mode : {UINT(CFile::modeRead), UINT(CFile::modeWrite), UINT(CFile::modeCreate | CFile::modeWrite)})
    {
        SCOPED_TRACE(mode);
        CFile f;
        CFileException e;
        EXPECT_FALSE(f.Open("PIPE.asc", mode, &e));
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
        EXPECT_EQ(e.GetErrorText(), "'PIPE.asc' is not a regular file.");
        EXPECT_EQ(e.GetReason(), "it is not a regular file");
    }
    EXPECT_FALSE(FileExists("pipe.asc"));
    CStringArray loaded;
    CString errorText;
    EXPECT_FALSE(LoadObjectFromFile("pipe.asc", loaded, errorText));
    EXPECT_EQ(errorText, "'pipe.asc' is not a regular file.");
}

TEST_F(FileTest, ReadWriteSeekAndModes)
{
    {
        CFile f("a.bin", CFile::modeCreate | CFile::modeReadWrite);
        f.Write("0123456789", 10);
        EXPECT_EQ(f.GetLength(), 10u);
        EXPECT_EQ(f.Seek(-3, CFile::end), 7);
        char c[3];
        EXPECT_EQ(f.Read(c, 3), 3u);
        EXPECT_EQ(std::string(c, 3), "789");
        EXPECT_EQ(f.Read(c, 3), 0u);
        f.SeekToBegin();
        f.Write("ab", 2);
        EXPECT_EQ(f.GetPosition(), 2u);
        EXPECT_THROW(f.Seek(-1, CFile::begin), CFileException);
    }
    EXPECT_EQ(ReadRaw("a.bin"), "ab23456789");
    {
        CFile f("a.bin", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        f.SeekToEnd();
        f.Write("!", 1);
    }
    EXPECT_EQ(ReadRaw("a.bin"), "ab23456789!");
    {
        CFile f("a.bin", CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_EQ(ReadRaw("a.bin"), "");
}

TEST_F(FileTest, ListFilesMatchesPatternsCaseBlindAndSorted)
{
    WriteRaw("b.asc", "");
    WriteRaw("A.ASC", "");
    WriteRaw("c.asg", "");
    WriteRaw("notes.txt", "");
    WriteRaw("Savegame/one.asg", "");
    CreateDir("dir.asc");  // directories are not listed

    auto names = [](std::vector<CString> v)
    {
        std::string joined;
        for (const CString& s : v)
            joined += s.str() + ";";
        return joined;
    };
    EXPECT_EQ(names(ListFiles("*.asc")), "A.ASC;b.asc;");
    EXPECT_EQ(names(ListFiles("*.as?")), "A.ASC;b.asc;c.asg;");
    EXPECT_EQ(names(ListFiles("*.*")), "A.ASC;b.asc;c.asg;notes.txt;");
    EXPECT_EQ(names(ListFiles("savegame\\*.ASG")), "one.asg;");
    EXPECT_EQ(names(ListFiles("Savegame", "*")), "one.asg;");
    EXPECT_EQ(names(ListFiles("NoSuchDir\\*")), "");

    EXPECT_TRUE(DeleteFile("B.ASC"));
    EXPECT_FALSE(DeleteFile("b.asc"));
    EXPECT_FALSE(DeleteFile("Savegame"));
    EXPECT_EQ(names(ListFiles("*.asc")), "A.ASC;");
}

TEST(Paths, JoinAndSplit)
{
    EXPECT_EQ(JoinPath("dir", "file.txt"), "dir/file.txt");
    EXPECT_EQ(JoinPath("dir\\", "file.txt"), "dir\\file.txt");
    EXPECT_EQ(JoinPath("", "file.txt"), "file.txt");
    EXPECT_EQ(JoinPath("dir", ""), "dir");
    EXPECT_EQ(JoinPath("dir", "/abs"), "/abs");

    struct Case
    {
        const char* path;
        const char* dir;
        const char* base;
        const char* ext;
    };
    Case cases[] = {
        {"C\\Data\\map.gmp", "C\\Data\\", "map", ".gmp"},
        {"/a/b.c/file", "/a/b.c/", "file", ""},
        {"name.tar.gz", "", "name.tar", ".gz"},
        {"", "", "", ""},
    };
    for (const Case& c : cases)
    {
        CString dir, base, ext;
        SplitPath(c.path, &dir, &base, &ext);
        EXPECT_EQ(dir, c.dir) << c.path;
        EXPECT_EQ(base, c.base) << c.path;
        EXPECT_EQ(ext, c.ext) << c.path;
    }
}

TEST_F(FileTest, LoadObjectFromFile)
{
    Bytes bytes;
    bytes.w(9).b(4).raw("name");
    WriteRaw("Data/alpha.dat", std::string(bytes.v.begin(), bytes.v.end()));

    CTestAlpha alpha;
    CString error;
    EXPECT_TRUE(LoadObjectFromFile("data/ALPHA.dat", alpha, error));
    EXPECT_EQ(alpha.m_value, 9);
    EXPECT_EQ(alpha.m_name, "name");
    EXPECT_TRUE(error.IsEmpty());

    EXPECT_FALSE(LoadObjectFromFile("Data/absent.dat", alpha, error));
    EXPECT_NE(error.Find("absent.dat"), -1);
    EXPECT_FALSE(LoadObjectFromFile(nullptr, CString("Data/alpha.dat")));

    // A truncated file raises the archive exception to the caller.
    WriteRaw("Data/short.dat", std::string(bytes.v.begin(), bytes.v.begin() + 4));
    EXPECT_THROW(LoadObjectFromFile(&alpha, CString("Data/short.dat")), CArchiveException);
}

TEST(CMemFile, GrowsAndHandsOverItsBytes)
{
    CMemFile f;
    f.Write("abc", 3);
    f.Seek(5, CFile::begin);
    f.Write("z", 1);
    EXPECT_EQ(f.GetLength(), 6u);
    f.SeekToBegin();
    char buf[8] = {};
    EXPECT_EQ(f.Read(buf, 8), 6u);
    EXPECT_EQ(buf[3], '\0');
    EXPECT_EQ(buf[5], 'z');
    std::vector<BYTE> data = f.Detach();
    EXPECT_EQ(data.size(), 6u);
    EXPECT_EQ(f.GetLength(), 0u);
}

TEST(CodePage, EveryByteCrossesToUtf8AndBack)
{
    for (int c = 1; c < 256; ++c)
    {
        const std::string text(1, static_cast<char>(c));
        CString back;
        EXPECT_TRUE(Utf8ToCodePage(CodePageToUtf8(text), back)) << c;
        EXPECT_EQ(back.str(), text) << c;
    }
    EXPECT_EQ(CodePageToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");  // é and the euro sign
}

TEST(CodePage, CharactersThePageLacksAreNamedAndMalformedBytesKept)
{
    struct Case
    {
        const char* utf8;
        bool whole;
        const char* text;
        const char* first;  // the first character the page lacks
    } cases[] = {
        {"caf\xC3\xA9", true, "caf\xE9", ""},
        {"\xCE\xB1\xCE\xB2", false, "??", "\xCE\xB1"},                     // Greek alpha, beta
        {"a\xF0\x9F\x98\x80z", false, "a?z", "\xF0\x9F\x98\x80"},           // beyond 16 bits: one '?'
        {"caf\xE9", true, "caf\xE9", ""},                                   // a code-page byte on its own
        {"\xC0\xAF\xED\xA0\x80", true, "\xC0\xAF\xED\xA0\x80", ""},         // overlong, surrogate
        {"\xE2\x82", true, "\xE2\x82", ""},                                 // cut short
    };
    for (const Case& c : cases)
    {
        CString text;
        std::string first;
        EXPECT_EQ(Utf8ToCodePage(c.utf8, text, &first), c.whole) << c.utf8;
        EXPECT_EQ(text.str(), c.text) << c.utf8;
        EXPECT_EQ(first, c.first) << c.utf8;
    }
}

// Names are the program's code-page text; the disk holds them as UTF-8.
TEST_F(FileTest, NamesAreWrittenToDiskAsUtf8)
{
    const fs::path dir = fs::path(m_root) / "Saves \xC3\xA9t\xC3\xA9";
    ASSERT_TRUE(CreateDir("Saves \xE9t\xE9"));
    EXPECT_TRUE(fs::is_directory(dir));
    {
        CFile f("SAVES \xE9T\xE9\\caf\xE9.asg", CFile::modeCreate | CFile::modeWrite);
        f.Write("x", 1);
        EXPECT_EQ(f.GetFilePath(), (m_root + "/Saves \xE9t\xE9/caf\xE9.asg").c_str());
        EXPECT_EQ(f.GetFileName(), "caf\xE9.asg");
    }
    EXPECT_TRUE(fs::is_regular_file(dir / "caf\xC3\xA9.asg"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    EXPECT_TRUE(FileExists("Saves \xE9t\xE9/caf\xE9.asg"));

    // A name written in the code page's own bytes before is still found and
    // listed as it was; one the page cannot hold is not listed, as no name
    // of the program's could open it.
    WriteRaw("Saves \xC3\xA9t\xC3\xA9/old\xE9.asg", "o");
    WriteRaw("Saves \xC3\xA9t\xC3\xA9/\xCE\xB1.asg", "a");
    std::string listed;
    for (const CString& name : ListFiles("Saves \xE9t\xE9", "*.asg"))
        listed += name.str() + ";";
    EXPECT_EQ(listed, "caf\xE9.asg;old\xE9.asg;");
    CFile old;
    ASSERT_TRUE(old.Open("Saves \xE9t\xE9/OLD\xE9.ASG", CFile::modeRead));
    char c = 0;
    EXPECT_EQ(old.Read(&c, 1), 1u);
    EXPECT_EQ(c, 'o');

    ASSERT_TRUE(SetCurrentDir("saves \xE9t\xE9"));
    EXPECT_EQ(GetCurrentDir(), (m_root + "/Saves \xE9t\xE9").c_str());
    EXPECT_EQ(ResolveSystemPath("caf\xE9.asg"), (dir / "caf\xC3\xA9.asg").string());
    EXPECT_TRUE(ReplaceFile("caf\xE9.asg", "th\xE9.asg"));
    EXPECT_TRUE(fs::is_regular_file(dir / "th\xC3\xA9.asg"));
    EXPECT_TRUE(DeleteFile("th\xE9.asg"));
    EXPECT_FALSE(fs::exists(dir / "th\xC3\xA9.asg"));
}
