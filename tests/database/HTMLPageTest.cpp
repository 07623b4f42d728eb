// The page writer: templates, placeholders, the body cut, writing pages,
// and page names that stay inside the saved-game directory.
#include "DatabaseTestSupport.h"

#include "database/HTMLPage.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(HTMLPage, FloatsIntegersAndTextReplaceEveryOccurrence)
{
    struct Case
    {
        float value;
        const char* text;
    } cases[] = {
        {12.5f, "12.50"}, {0.5f, ".50"},    {-1.25f, "-1.25"}, {2000.0f, "2000.00"}, {0.0f, ".00"},
        {-0.5f, "-.50"},  {3.999f, "4.00"}, {0.05f, ".05"},    {1.0f, "1.00"},
    };
    for (const Case& c : cases)
    {
        CHTMLPage page;
        page.SetText("<P>*v*</P>");
        EXPECT_EQ(page.ReplaceTagFloat("*v*", c.value), 1) << c.value;
        EXPECT_EQ(page.GetText(), CString("<P>") + c.text + "</P>") << c.value;
    }

    CHTMLPage page;
    page.SetText("*speed* and *speed*, *Speed*; *speed*");
    EXPECT_EQ(page.ReplaceTag("*absent*", "x"), 0);
    EXPECT_EQ(page.GetText(), "*speed* and *speed*, *Speed*; *speed*");
    EXPECT_EQ(page.ReplaceTagInt("*speed*", -45), 3);
    EXPECT_EQ(page.GetText(), "-45 and -45, *Speed*; -45");
    EXPECT_EQ(page.ReplaceTag("*Speed*", "fast"), 1);
    EXPECT_EQ(page.GetText(), "-45 and -45, fast; -45");
}

TEST(HTMLPage, BodyIsCutOnlyByCapitalTags)
{
    struct Case
    {
        const char* text;
        const char* body;
    } cases[] = {
        {"<HTML><HEAD>h</HEAD><BODY>inside</BODY>after</HTML>", "inside"},
        {"<html><body>small</body></html>", "<html><body>small</body></html>"},  // unchanged
        {"<BODY>open to the end", "open to the end"},
        {"before<BODY>a</BODY>b<BODY>c</BODY>", "a"},
        {"", ""},
    };
    for (const Case& c : cases)
    {
        CHTMLPage page;
        page.SetText(c.text);
        page.ExtractBody();
        EXPECT_EQ(page.GetText(), c.body) << c.text;
    }
}

TEST(HTMLPage, TemplatesAppendAndPagesEndAtTheirHtmlTag)
{
    CDatabaseTestApp t;
    t.WriteText(t.DataDir() / "head.htm", "<HTML><BODY>*name*");
    t.WriteText(t.DataDir() / "tail.htm", "</BODY></HTML>\r\nstray text after the page");
    // A NUL byte ends its chunk's text; the next chunk reads on.
    std::string withNul(2500, 'a');
    withNul[10] = '\0';
    t.WriteText(t.DataDir() / "nul.htm", withNul);

    CHTMLPage page;
    EXPECT_FALSE(page.LoadTemplate("missing.htm"));
    EXPECT_EQ(page.GetText(), "");
    ASSERT_TRUE(page.LoadTemplate("head.htm"));
    ASSERT_TRUE(page.LoadTemplate("tail.htm"));
    EXPECT_EQ(page.GetText(), "<HTML><BODY>*name*</BODY></HTML>\r\nstray text after the page");
    EXPECT_EQ(page.ReplaceTag("*name*", "M1A1"), 1);

    SetCurrentDir(t.App().m_strSavegameDir);
    ASSERT_TRUE(page.WritePage("m1.htm"));
    // Everything after the first "</HTML>" is cut; the text before is whole.
    EXPECT_EQ(CDatabaseTestApp::ReadText(t.SavegameDir() / "m1.htm"), "<HTML><BODY>M1A1</BODY></HTML>");

    CHTMLPage open;
    open.SetText("<P>no closing tag</P>\r\n");
    ASSERT_TRUE(open.WritePage("open.htm"));
    EXPECT_EQ(CDatabaseTestApp::ReadText(t.SavegameDir() / "open.htm"), "<P>no closing tag</P>\r\n");

    SetCurrentDir(t.App().m_strDataDir);
    CHTMLPage chunks;
    ASSERT_TRUE(chunks.LoadTemplate("nul.htm"));
    EXPECT_EQ(chunks.GetText(), CString(std::string(10, 'a').c_str()) + CString(std::string(500, 'a').c_str()));
}

TEST(HTMLPage, RecordNamesCannotReachOutsideTheSavedGameDirectory)
{
    struct Case
    {
        const char* name;
        const char* page;
    } cases[] = {
        {"M1A1 Abrams", "M1A1 Abrams.htm"},
        {"../../evil", "_.__._evil.htm"},
        {"..\\..\\Data\\index", "_.__._Data_index.htm"},
        {"/etc/passwd", "_etc_passwd.htm"},
        {"..", "__.htm"},
        {"name.", "name_.htm"},
        {"T-72 (1985)", "T-72 (1985).htm"},
        {"7.62mm MG", "7.62mm MG.htm"},
    };
    for (const Case& c : cases)
    {
        const CString page = CHTMLPage::MakePageName(c.name);
        EXPECT_EQ(page, c.page) << c.name;
        EXPECT_EQ(page.Find('/'), -1);
        EXPECT_EQ(page.Find('\\'), -1);
        EXPECT_EQ(page.Find(".."), -1) << page.GetString();
    }

    // Written under such a name, the page lands in the saved-game directory
    // and nowhere else; a name with a directory part is refused outright.
    CDatabaseTestApp t;
    t.WriteText(t.DataDir() / "index.htm", "keep me");
    SetCurrentDir(t.App().m_strSavegameDir);
    CHTMLPage page;
    page.SetText("<HTML>x</HTML>");
    const CString name = CHTMLPage::MakePageName("../Data/index");
    ASSERT_TRUE(page.WritePage(name));
    EXPECT_TRUE(fs::exists(t.SavegameDir() / name.GetString()));
    EXPECT_EQ(CDatabaseTestApp::ReadText(t.DataDir() / "index.htm"), "keep me");
    EXPECT_FALSE(page.WritePage("../Data/index.htm"));
    EXPECT_FALSE(page.WritePage("..\\Data\\index.htm"));
    EXPECT_FALSE(page.WritePage(""));
    EXPECT_EQ(CDatabaseTestApp::ReadText(t.DataDir() / "index.htm"), "keep me");
    // Deleting by the same name deletes the page written, nothing else.
    EXPECT_TRUE(DeleteFile(name));
    EXPECT_FALSE(fs::exists(t.SavegameDir() / name.GetString()));
    EXPECT_TRUE(fs::exists(t.DataDir() / "index.htm"));
}
