// Reading "link.txt" from the start directory, the parent of "Data".
#include "app/LinkFile.h"
#include "platform/core/File.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
class LinkFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_oldDir = GetCurrentDir();
        m_root = fs::temp_directory_path() / ("kdr-link-" + std::to_string(::getpid()) + "-" +
                                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "Data");
        m_dataDir = (m_root / "Data").string().c_str();
        for (int i = 0; i < LINK_KEY_COUNT; ++i)
            m_targets[i] = &m_links[i];
    }
    void TearDown() override
    {
        SetCurrentDir(m_oldDir);
        fs::remove_all(m_root);
    }

    void WriteLinkFile(const std::string& bytes)
    {
        std::ofstream out(m_root / "link.txt", std::ios::binary);
        out << bytes;
    }
    void Read() { ReadLinkFile(m_dataDir, m_targets); }

    // Index of a key in the table.
    static int Key(const char* key)
    {
        for (int i = 0; i < LINK_KEY_COUNT; ++i)
            if (CString(LINK_KEYS[i]) == key)
                return i;
        ADD_FAILURE() << "no key " << key;
        return 0;
    }
    void ExpectOnly(std::initializer_list<std::pair<const char*, const char*>> expected)
    {
        for (int i = 0; i < LINK_KEY_COUNT; ++i)
        {
            CString want;
            for (const auto& e : expected)
                if (Key(e.first) == i)
                    want = e.second;
            EXPECT_STREQ(m_links[i], want) << LINK_KEYS[i];
        }
    }

    CString m_oldDir;
    fs::path m_root;
    CString m_dataDir;
    CString m_links[LINK_KEY_COUNT];
    CString* m_targets[LINK_KEY_COUNT];
};
}  // namespace

TEST_F(LinkFileTest, KeyTableInMemberOrder)
{
    const char* const expected[LINK_KEY_COUNT] = {"[about icon link]",         "[about text link]",
                                                  "[arena post results link]", "[arena chat post link]",
                                                  "[arena talk post link]",    "[arena post game link]",
                                                  "[arena delete post link]",  "[arena get list link]",
                                                  "[arena delete talk link]",  "[arena commanders list link]",
                                                  "[version message]"};
    for (int i = 0; i < LINK_KEY_COUNT; ++i)
        EXPECT_STREQ(LINK_KEYS[i], expected[i]);
}

TEST_F(LinkFileTest, OneKeyAndAnAddressSetsThatLinkOnly)
{
    WriteLinkFile("[arena get list link]http://arena.example/list.cgi\r\n");
    Read();
    ExpectOnly({{"[arena get list link]", "http://arena.example/list.cgi"}});
}

TEST_F(LinkFileTest, TwoKeysOnALineSetBothInTableOrder)
{
    // The first key's value still holds the second key; the second's has both removed.
    WriteLinkFile("[about icon link]http://a/[version message]1.0\n");
    Read();
    ExpectOnly({{"[about icon link]", "http://a/[version message]1.0"}, {"[version message]", "http://a/1.0"}});
}

TEST_F(LinkFileTest, KeyAnywhereAndRepeatedIsRemovedEverywhere)
{
    WriteLinkFile("http://b/[about text link]x[about text link]\nplain line without key\n");
    Read();
    ExpectOnly({{"[about text link]", "http://b/x"}});
}

TEST_F(LinkFileTest, EmptyLineStopsReading)
{
    const char* const files[] = {
        "[about icon link]icon\n\n[about text link]text\n",
        "[about icon link]icon\r\n\r\n[about text link]text\r\n",
    };
    for (const char* bytes : files)
    {
        for (CString& s : m_links)
            s.Empty();
        WriteLinkFile(bytes);
        Read();
        ExpectOnly({{"[about icon link]", "icon"}});
    }
}

TEST_F(LinkFileTest, EveryKeyOnItsOwnLineAndNoFinalNewline)
{
    std::string bytes;
    for (int i = 0; i < LINK_KEY_COUNT; ++i)
        bytes += std::string(LINK_KEYS[i]) + "v" + std::to_string(i) + (i + 1 < LINK_KEY_COUNT ? "\r\n" : "");
    WriteLinkFile(bytes);
    Read();
    for (int i = 0; i < LINK_KEY_COUNT; ++i)
        EXPECT_STREQ(m_links[i], ("v" + std::to_string(i)).c_str());
}

TEST_F(LinkFileTest, MissingFileLeavesAllEmptyAndDataCurrent)
{
    Read();
    ExpectOnly({});
    EXPECT_EQ(fs::path(GetCurrentDir().GetString()), m_root / "Data");
}

TEST_F(LinkFileTest, FoundEvenWhenDataIsMissing)
{
    fs::remove_all(m_root / "Data");
    WriteLinkFile("[version message]2.1\n");
    Read();
    ExpectOnly({{"[version message]", "2.1"}});
}
