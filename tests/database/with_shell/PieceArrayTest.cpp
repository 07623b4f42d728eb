// Pieces, piece lists and piece arrays: look-ups by name and member, the
// frame checks, the report of missing bitmaps and the "*.pca" file.
#include "database/DatabaseTestSupport.h"

#include "database/Piece.h"
#include "database/PieceArray.h"

#include <gtest/gtest.h>

#include <fstream>

#include <vector>

namespace
{
CStringArray Names(std::initializer_list<const char*> names)
{
    CStringArray array;
    for (const char* name : names)
        array.Add(name);
    return array;
}

// Little-endian bytes of an archive laid out by hand.
struct Bytes
{
    std::vector<BYTE> data;
    Bytes& Word(unsigned v)
    {
        data.push_back(static_cast<BYTE>(v & 0xFF));
        data.push_back(static_cast<BYTE>((v >> 8) & 0xFF));
        return *this;
    }
    Bytes& Str(const char* s)
    {
        const CString text(s);
        data.push_back(static_cast<BYTE>(text.GetLength()));
        data.insert(data.end(), s, s + text.GetLength());
        return *this;
    }
    Bytes& Raw(const char* s)
    {
        const CString text(s);
        data.insert(data.end(), s, s + text.GetLength());
        return *this;
    }
};

// "Smoke Grey" (a single piece), a list carrying "Smoke Grey" among its
// members, a list named "Twin" and a single piece named "Twin".
struct Catalogue
{
    CPieceArray array;

    explicit Catalogue(CDatabaseTestApp& t)
    {
        t.WriteSheet("smoke.bmp", 1, 1);
        t.WriteSheet("markers.bmp", 3, 1);
        t.WriteSheet("twin.bmp", 2, 1);
        const CStringArray markers = Names({"Go", "Smoke Grey", "Stop"});
        const CStringArray twins = Names({"A", "B"});
        // As the application does for its symbol catalogue.
        array.SetDataDir(t.App().m_strDataDir);
        array.Add(new CPiece("smoke.bmp", "Smoke Grey", 1, 1, 1, 0));
        array.Add(new CPieceList("markers.bmp", "Markers", 1, 3, 3, 0, &markers));
        array.Add(new CPieceList("twin.bmp", "Twin", 1, 2, 2, 0, &twins));
        array.Add(new CPiece("twin.bmp", "Twin", 1, 2, 2, 1));
    }
};
}  // namespace

TEST(PieceArray, LookUpsByNameByKindAndByMember)
{
    CDatabaseTestApp t;
    Catalogue c(t);
    const CPieceArray& a = c.array;

    EXPECT_EQ(a.FindPiece("Smoke Grey"), 0);
    EXPECT_EQ(a.FindPiece("Twin"), 2);              // lists are compared by their own name too
    EXPECT_EQ(a.FindPiece("Go"), PIECE_NOT_FOUND);  // only a list member carries it
    EXPECT_EQ(a.FindPiece("smoke grey"), PIECE_NOT_FOUND);

    EXPECT_EQ(a.FindGraphic(CPieceArray::kSinglePiece, "Twin"), 3);  // skips the list of that name
    EXPECT_EQ(a.FindGraphic(CPieceArray::kSinglePiece, "Smoke Grey"), 0);
    EXPECT_EQ(a.FindGraphic(CPieceArray::kListMember, "Stop"), 1);
    EXPECT_EQ(a.FindGraphic(CPieceArray::kListMember, "Smoke Grey"), 1);
    EXPECT_EQ(a.FindGraphic(CPieceArray::kListMember, "Markers"), PIECE_NOT_FOUND);  // members only

    struct Case
    {
        const char* name;
        int list;
        int position;
    } cases[] = {{"Go", 1, 0}, {"Smoke Grey", 1, 1}, {"Stop", 1, 2}, {"B", 2, 1}, {"Nothing", -99, -99}};
    for (const Case& k : cases)
    {
        int position = 12345;
        EXPECT_EQ(a.FindInLists(k.name, &position), k.list) << k.name;
        EXPECT_EQ(position, k.position) << k.name;
    }

    EXPECT_EQ(a.GetPiece(-1), nullptr);
    EXPECT_EQ(a.GetPiece(a.GetSize()), nullptr);
    ASSERT_NE(a.GetPiece(1), nullptr);
    EXPECT_NE(a.GetPiece(1)->GetMemberNames(), nullptr);
    EXPECT_EQ(a.GetPiece(0)->GetMemberNames(), nullptr);
    EXPECT_EQ(a.GetPiece(1)->GetMemberNames()->GetAt(2), "Stop");
    CStringArray appended = Names({"first"});
    a.GetPiece(1)->AppendMemberNames(appended);
    a.GetPiece(0)->AppendMemberNames(appended);
    EXPECT_EQ(appended.GetSize(), 4);
    EXPECT_EQ(appended[3], "Stop");
    EXPECT_TRUE(a.GetPiece(3)->GetFlag());
}

TEST(PieceArray, FramesAreCheckedAgainstTheCountAndTheSheet)
{
    CDatabaseTestApp t;
    Catalogue c(t);
    t.WriteSheet("four.bmp", 2, 2);
    // A record that claims more frames than its sheet holds.
    c.array.Add(new CPiece("four.bmp", "Boastful", 2, 2, 40, 0));
    const CPieceArray& a = c.array;

    const CPiece* pList = a.GetPiece(1);
    ASSERT_TRUE(pList->IsLoaded());
    EXPECT_TRUE(pList->HasFrame(0));
    EXPECT_TRUE(pList->HasFrame(2));
    EXPECT_FALSE(pList->HasFrame(3));
    EXPECT_FALSE(pList->HasFrame(-1));
    const CPiece* pBoastful = a.GetPiece(4);
    EXPECT_TRUE(pBoastful->HasFrame(3));
    EXPECT_FALSE(pBoastful->HasFrame(4));
    EXPECT_FALSE(pBoastful->HasFrame(39));

    struct Case
    {
        const char* member;
        int offset;
        int frame;  // -1: refused
    } cases[] = {{"Go", 0, 0},   {"Go", 2, 2},         {"Stop", 0, 2},     {"Stop", 1, -1},
                 {"Go", -1, -1}, {"Smoke Grey", 1, 2}, {"Nothing", 0, -1}, {"Stop", 2147483647, -1}};
    for (const Case& k : cases)
    {
        int frame = -7;
        CPiece* pFound = a.FindListFrame(k.member, k.offset, &frame);
        if (k.frame < 0)
        {
            EXPECT_EQ(pFound, nullptr) << k.member << " + " << k.offset;
            EXPECT_EQ(frame, -7);
        }
        else
        {
            EXPECT_EQ(pFound, pList) << k.member << " + " << k.offset;
            EXPECT_EQ(frame, k.frame) << k.member << " + " << k.offset;
        }
    }
}

TEST(PieceArray, MissingBitmapsAreReportedAndTheirPiecesStay)
{
    CDatabaseTestApp t;
    {
        Catalogue c(t);
        EXPECT_EQ(c.array.BuildMissingFilesReport(), "");
        EXPECT_FALSE(c.array.ReportMissingFiles());
        EXPECT_TRUE(CReportDlg::GetOpenReports().empty());
        EXPECT_EQ(t.App().m_nAutoScrollHold, 0);
    }

    CPieceArray array;
    t.WriteSheet("here.bmp", 1, 1);
    array.Add(new CPiece("gone.bmp", "Gone Piece", 1, 1, 1, 0));
    array.Add(new CPiece("here.bmp", "Here", 1, 1, 1, 0));
    const CStringArray members = Names({"M"});
    array.Add(new CPieceList("lost.bmp", "Lost List", 1, 1, 1, 0, &members));
    EXPECT_FALSE(array.GetPiece(0)->IsLoaded());
    EXPECT_EQ(array.GetPiece(0)->GetSurface(), nullptr);
    EXPECT_FALSE(array.GetPiece(0)->HasFrame(0));
    // Still found by name: callers draw nothing for it.
    EXPECT_EQ(array.FindPiece("Gone Piece"), 0);
    int position = 0;
    EXPECT_EQ(array.FindInLists("M", &position), 2);

    EXPECT_TRUE(array.ReportMissingFiles());
    ASSERT_EQ(CReportDlg::GetOpenReports().size(), 1u);
    CReportDlg* pReport = CReportDlg::GetOpenReports().front();
    const CString expected = "FILES NAMED IN PIECE ARRAY NOT FOUND!\r\n\r\n"
                             "The file, 'gone.bmp', named in the piece, 'Gone Piece', was not found.\r\n"
                             "The file, 'lost.bmp', named in the piece, 'Lost List', was not found.\r\n";
    EXPECT_EQ(pReport->GetText(), expected);
    EXPECT_EQ(pReport->GetWindowText(), "KDR Builder");
    EXPECT_EQ(pReport->GetDlgItemText(IDC_REPORT_TEXT), expected);
    EXPECT_TRUE(pReport->IsWindowVisible());
    // While the report is open the map does not scroll by itself.
    EXPECT_EQ(t.App().m_nAutoScrollHold, 1);

    // OK closes the window and the report goes with it.
    pReport->PressButton(IDOK);
    CWnd::FlushDeferredDeletes();
    EXPECT_TRUE(CReportDlg::GetOpenReports().empty());
    EXPECT_EQ(t.App().m_nAutoScrollHold, 0);
}

TEST(PieceArray, LostSurfacesAreRestoredWhenFetched)
{
    CDatabaseTestApp t;
    Catalogue c(t);
    CPiece* pPiece = c.array.GetPiece(1);
    const COLORREF before = pPiece->GetSurface()->GetPixel(8 + 4, 4);
    ASSERT_EQ(before, RGB(11, 11, 11));
    t.App().m_pDisplay->LoseSurfaces();
    ASSERT_TRUE(pPiece->GetSurface()->IsLost());
    // The data directory need not be current: restoring makes it so.
    SetCurrentDir(t.SavegameDir().string().c_str());
    EXPECT_EQ(c.array.GetPiece(1), pPiece);
    EXPECT_FALSE(pPiece->GetSurface()->IsLost());
    EXPECT_EQ(pPiece->GetSurface()->GetPixel(8 + 4, 4), before);

    // The member search and the report restore what they pass as well.
    t.App().m_pDisplay->LoseSurfaces();
    int position = 0;
    c.array.FindInLists("A", &position);
    EXPECT_FALSE(c.array.GetPiece(2)->GetSurface()->IsLost());
    EXPECT_FALSE(c.array.ReportMissingFiles());
    EXPECT_FALSE(c.array.GetPiece(0)->GetSurface()->IsLost());
}

TEST(PieceArray, NoDisplayNoPiece)
{
    CDatabaseTestApp t;
    t.WriteSheet("smoke.bmp", 1, 1);
    t.App().m_bDisplayReady = FALSE;
    CPiece piece("smoke.bmp", "Smoke Grey", 1, 1, 1, 0);
    EXPECT_FALSE(piece.IsLoaded());
    EXPECT_EQ(piece.GetName(), "");
}

TEST(PieceArray, FileLayoutReadsWritesAndLoadsItsBitmaps)
{
    CDatabaseTestApp t;
    t.WriteSheet("tank.bmp", 4, 2);
    t.WriteSheet("nodes.bmp", 2, 1);
    // The object array: a piece, then a list (new classes, tagged 0xFFFF with
    // schema and name), then the file name.
    Bytes b;
    b.Word(2);
    b.Word(0xFFFF).Word(1).Word(6).Raw("CPiece");
    b.Str("tank.bmp").Str("Tank Blue").Word(2).Word(4).Word(8).Word(1);
    b.Word(0xFFFF).Word(1).Word(10).Raw("CPieceList");
    b.Str("nodes.bmp").Str("Nodes").Word(1).Word(2).Word(2).Word(0);
    b.Word(2).Str("Go").Str("Stop");
    b.Str("demo.pca");
    t.WriteText(t.DataDir() / "demo.pca", std::string(b.data.begin(), b.data.end()));

    CPieceArray array;
    ASSERT_TRUE(array.LoadFromFile("demo.pca", t.App().m_strDataDir));
    ASSERT_EQ(array.GetSize(), 2);
    const CPiece* pTank = array.GetPiece(0);
    EXPECT_EQ(pTank->GetBitmapFile(), "tank.bmp");
    EXPECT_EQ(pTank->GetName(), "Tank Blue");
    EXPECT_EQ(pTank->GetRows(), 2);
    EXPECT_EQ(pTank->GetColumns(), 4);
    EXPECT_EQ(pTank->GetFrameCount(), 8);
    EXPECT_TRUE(pTank->GetFlag());
    ASSERT_TRUE(pTank->IsLoaded());
    EXPECT_EQ(pTank->GetSurface()->GetFrameWidth(), 8);
    EXPECT_EQ(pTank->GetSurface()->GetFrameHeight(), 8);
    int position = 0;
    EXPECT_EQ(array.FindInLists("Stop", &position), 1);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(array.GetFileName(), "demo.pca");

    // Written back, the same bytes.
    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        array.Serialize(ar);
        ar.Close();
    }
    EXPECT_EQ(out.GetData(), b.data);

    // A negative word is sign-extended; a cut file leaves the array as it was.
    Bytes cut;
    cut.Word(1).Word(0xFFFF).Word(1).Word(6).Raw("CPiece").Str("tank.bmp").Str("x").Word(0xFFFF);
    t.WriteText(t.DataDir() / "cut.pca", std::string(cut.data.begin(), cut.data.end()));
    EXPECT_THROW(array.LoadFromFile("cut.pca", t.App().m_strDataDir), CArchiveException);
    EXPECT_EQ(array.GetSize(), 2);
    EXPECT_EQ(array.GetFileName(), "demo.pca");
}

TEST(PieceArray, AFileThatDoesNotOpenIsAskedForUntilCancelled)
{
    CDatabaseTestApp t;
    {
        CPieceArray filled;
        t.WriteSheet("a.bmp", 1, 1);
        filled.Add(new CPiece("a.bmp", "A", 1, 1, 1, 0));
        filled.SetFileName("other.pca");
        CFile file((t.DataDir() / "other.pca").string().c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        filled.Serialize(ar);
        ar.Close();
        file.Close();
    }
    // Cancel at once: the load fails.
    t.Ui().ExpectFileDialog(TRUE, "");
    CPieceArray array;
    EXPECT_FALSE(array.LoadFromFile("missing.pca", t.App().m_strDataDir));
    ASSERT_EQ(t.Ui().GetShown().size(), 1u);
    EXPECT_EQ(t.Ui().GetShown()[0].file.defaultExt, "pca");
    EXPECT_EQ(t.Ui().GetShown()[0].file.fileName, "*.pca");
    EXPECT_TRUE(t.Ui().GetShown()[0].file.flags & OFN_HIDEREADONLY);

    // A chosen file that does not open either is asked for again; a cancel
    // then ends the load instead of trying the failed name for ever.
    t.Ui().ExpectFileDialog(TRUE, (t.DataDir() / "nothere.pca").string().c_str());
    t.Ui().ExpectFileDialog(TRUE, "");
    EXPECT_FALSE(array.LoadFromFile("missing.pca", t.App().m_strDataDir));

    // A chosen file that opens is read, and its name kept.
    const CString chosen = (t.DataDir() / "other.pca").string().c_str();
    t.Ui().ExpectFileDialog(TRUE, chosen);
    EXPECT_TRUE(array.LoadFromFile("missing.pca", t.App().m_strDataDir));
    EXPECT_EQ(array.GetFileName(), chosen);
    EXPECT_EQ(array.FindPiece("A"), 0);
    EXPECT_EQ(GetCurrentDir(), t.App().m_strDataDir);
}

// A bitmap that is there but is no picture is not reported as missing: the
// report says it could not be read, and why.
TEST(PieceArray, UnreadableBitmapsAreReportedWithTheirReason)
{
    CDatabaseTestApp t;
    {
        std::ofstream out(t.DataDir() / "bad.bmp", std::ios::binary);
        out << "BM this is not a bitmap";
    }
    CPieceArray array;
    array.Add(new CPiece("bad.bmp", "Bad Piece", 1, 1, 1, 0));
    array.Add(new CPiece("gone.bmp", "Gone Piece", 1, 1, 1, 0));
    EXPECT_FALSE(array.GetPiece(0)->IsLoaded());
    EXPECT_FALSE(array.GetPiece(0)->GetLoadError().IsEmpty());
    EXPECT_EQ(array.GetPiece(1)->GetLoadError(), "");
    EXPECT_EQ(array.BuildMissingFilesReport(),
              "FILES NAMED IN PIECE ARRAY NOT FOUND!\r\n\r\n"
              "The file, 'bad.bmp', named in the piece, 'Bad Piece', could not be read: " +
                  array.GetPiece(0)->GetLoadError() +
                  ".\r\n"
                  "The file, 'gone.bmp', named in the piece, 'Gone Piece', was not found.\r\n");
}
