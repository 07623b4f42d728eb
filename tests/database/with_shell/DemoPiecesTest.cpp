// The demo mission's piece array: the demo database names "Demo.pca", every
// graphic its vehicles, capabilities and munitions name is there (the
// database's piece check finds nothing undefined and every bitmap loads),
// the heading sheets turn clockwise from north, frame by frame, and the
// types, their hit and destroyed looks and their outlines stand apart.

#include "../tools/demo_equipment.h"
#include "app/DocTestSupport.h"

#include "database/IFAmmo.h"
#include "database/KDRDatabase.h"
#include "database/Piece.h"
#include "database/PieceArray.h"
#include "database/VCapTurret.h"
#include "database/Vehicle.h"
#include "database/VehicleArray.h"
#include "platform/ui/Display.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace
{
constexpr COLORREF kMagenta = RGB(255, 0, 255);

class DemoPiecesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::filesystem::path tool = std::filesystem::path(KDR_BINARY_DIR) / "kdrdemo";
        if (!std::filesystem::exists(tool))
            GTEST_SKIP() << "the demo writer is not built";
        const std::string command = "\"" + tool.string() + "\" \"" + m_shell.StartDir().string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0);
        ASSERT_TRUE(m_shell.Open("demo.asc"));
        m_pDatabase = m_shell.Doc().GetDatabase();
        ASSERT_NE(m_pDatabase, nullptr);
        m_pPieces = m_pDatabase->GetPieceArray();
        ASSERT_NE(m_pPieces, nullptr);
    }

    // The single piece of that name, loaded.
    const CPiece* Single(const CString& name) const
    {
        const CPiece* pPiece = m_pPieces->GetPiece(m_pPieces->FindGraphic(CPieceArray::kSinglePiece, name));
        EXPECT_NE(pPiece, nullptr) << name.GetString();
        EXPECT_TRUE(pPiece != nullptr && pPiece->IsLoaded()) << name.GetString();
        return pPiece;
    }

    CDocShell m_shell;
    CKDRDatabase* m_pDatabase = nullptr;
    CPieceArray* m_pPieces = nullptr;
};
}  // namespace

TEST_F(DemoPiecesTest, TheDatabaseNamesThePieceArrayAndFindsEveryGraphicInIt)
{
    EXPECT_EQ(m_pDatabase->m_strPieceList, "Demo.pca");
    EXPECT_EQ(m_pPieces->GetFileName(), "Demo.pca");
    EXPECT_EQ(m_pDatabase->BuildGraphicsReport(), "");
    EXPECT_EQ(m_pPieces->BuildMissingFilesReport(), "");
    EXPECT_TRUE(m_shell.Ui().IsScriptDone());

    const int nTypes = m_pDatabase->GetVehicleCount();
    ASSERT_GE(nTypes, 7);
    for (int i = 0; i < nTypes; ++i)
    {
        const CVehicle* pVehicle = m_pDatabase->GetVehicle(i);
        SCOPED_TRACE(pVehicle->m_strName.GetString());
        // The unit's picture: 36 headings of 96 pixels, 6 by 6.
        const CPiece* pPiece = m_pDatabase->GetVehiclePiece(i);
        ASSERT_NE(pPiece, nullptr);
        ASSERT_TRUE(pPiece->IsLoaded());
        EXPECT_EQ(pPiece->GetFrameCount(), 36);
        EXPECT_EQ(pPiece->GetSurface()->GetColumns(), 6);
        EXPECT_EQ(pPiece->GetSurface()->GetRows(), 6);
        EXPECT_EQ(pPiece->GetSurface()->GetFrameWidth(), 96);
        EXPECT_TRUE(pPiece->HasFrame(35));
        for (const CString& name : {pVehicle->m_strHitGraphic, pVehicle->m_strDestroyedGraphic})
        {
            ASSERT_FALSE(name.IsEmpty());
            const CPiece* pState = Single(name);
            EXPECT_TRUE(pState != nullptr && pState->HasFrame(35));
        }
        // The NATO symbols share one list, in vehicle-list order.
        int nPosition = -1;
        const int nList = m_pPieces->FindInLists(pVehicle->m_strNatoPiece, &nPosition);
        ASSERT_NE(nList, kUnset);
        EXPECT_EQ(nPosition, i);
        EXPECT_TRUE(m_pPieces->GetPiece(nList)->HasFrame(nPosition));
    }

    // Each munition's burst and the two frames after it.
    const CIFAmmoArray* pAmmo = m_pDatabase->GetVehicleArray()->GetAmmo();
    ASSERT_GE(pAmmo->GetSize(), 5);
    for (int i = 0; i < pAmmo->GetSize(); ++i)
    {
        int nPosition = -1;
        const int nList = m_pPieces->FindInLists(pAmmo->GetAt(i)->m_strBurstGraphic, &nPosition);
        ASSERT_NE(nList, kUnset) << i;
        EXPECT_TRUE(m_pPieces->GetPiece(nList)->HasFrame(nPosition + 2)) << i;
    }
}

TEST_F(DemoPiecesTest, HeadingSheetsTurnClockwiseFromNorthOnMagenta)
{
    // The turret's gun shows the turn plainly: frame k points k x 10 degrees
    // clockwise from north, north up.
    CVehicle* pTank = m_pDatabase->GetVehicle(0);
    auto* pTurretCap = static_cast<CVCapTurret*>(pTank->FindCapability(0x1));
    ASSERT_NE(pTurretCap, nullptr);
    const CPiece* pTurret = Single(pTurretCap->m_strPiece);
    ASSERT_NE(pTurret, nullptr);
    const CFrameSurface* pSheet = pTurret->GetSurface();
    struct Case
    {
        int nFrame;
        int dx, dy;  // where the gun lies from the frame's centre
    };
    const Case cases[] = {{0, 0, -36}, {9, 36, 0}, {18, 0, 36}, {27, -36, 0}};
    for (const Case& c : cases)
    {
        const CRect frame = pSheet->GetFrameRect(c.nFrame);
        const CPoint centre = frame.CenterPoint();
        EXPECT_NE(pSheet->GetPixel(centre.x + c.dx, centre.y + c.dy), kMagenta) << c.nFrame;
        // A quarter turn further round there is no gun.
        EXPECT_EQ(pSheet->GetPixel(centre.x - c.dy, centre.y + c.dx), kMagenta) << c.nFrame;
    }

    // Every heading sheet keeps its pictures off the frames' corners, so no
    // heading cuts them.
    for (int i = 0; i < m_pPieces->GetSize(); ++i)
    {
        const CPiece* pPiece = m_pPieces->GetPiece(i);
        if (pPiece->GetFrameCount() != 36)
            continue;
        const CFrameSurface* pFrames = pPiece->GetSurface();
        for (int k = 0; k < 36; ++k)
        {
            const CRect r = pFrames->GetFrameRect(k);
            for (const CPoint& corner : {r.TopLeft(), CPoint(r.right - 1, r.top), CPoint(r.left, r.bottom - 1),
                                         CPoint(r.right - 1, r.bottom - 1)})
                EXPECT_EQ(pFrames->GetPixel(corner.x, corner.y), kMagenta) << pPiece->GetName().GetString() << " " << k;
        }
    }
}

// What sets the pictures apart: each type's own picture, a hit and a
// destroyed picture plainly unlike the whole one, and a dark outline
// between the picture and the key, so that it holds on light ground.
TEST_F(DemoPiecesTest, TypesLooksAndOutlinesAreToldApart)
{
    // The share of two frames' picture pixels (frame 0, heading north) that
    // differ between them.
    const auto apart = [](const CPiece* pOne, const CPiece* pOther)
    {
        const CFrameSurface* a = pOne->GetSurface();
        const CFrameSurface* b = pOther->GetSurface();
        const CRect r = a->GetFrameRect(0);
        int nSet = 0, nChanged = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
            {
                if (a->GetPixel(x, y) == kMagenta && b->GetPixel(x, y) == kMagenta)
                    continue;
                ++nSet;
                nChanged += a->GetPixel(x, y) != b->GetPixel(x, y) ? 1 : 0;
            }
        return nSet > 0 ? double(nChanged) / nSet : 0.0;
    };

    const int nTypes = 7;
    for (int i = 0; i < nTypes; ++i)
    {
        const CVehicle* pVehicle = m_pDatabase->GetVehicle(i);
        SCOPED_TRACE(pVehicle->m_strName.GetString());
        const CPiece* pWhole = m_pDatabase->GetVehiclePiece(i);
        ASSERT_TRUE(pWhole != nullptr && pWhole->IsLoaded());
        for (const CString& name : {pVehicle->m_strHitGraphic, pVehicle->m_strDestroyedGraphic})
        {
            const CPiece* pState = Single(name);
            ASSERT_NE(pState, nullptr);
            EXPECT_GT(apart(pWhole, pState), 0.4) << name.GetString();
        }

        // Scanning each row from the left, the first pixel of the picture
        // is dark.
        const CFrameSurface* pSheet = pWhole->GetSurface();
        const CRect r = pSheet->GetFrameRect(0);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
            {
                const COLORREF c = pSheet->GetPixel(x, y);
                if (c == kMagenta)
                    continue;
                EXPECT_LT(GetRValue(c) + GetGValue(c) + GetBValue(c), 3 * 64) << "row " << y - r.top;
                break;
            }
    }
    for (int i = 0; i < nTypes; ++i)
        for (int j = i + 1; j < nTypes; ++j)
            EXPECT_GT(apart(m_pDatabase->GetVehiclePiece(i), m_pDatabase->GetVehiclePiece(j)), 0.3) << i << " and " << j;
}

// The enemy's types follow the own ones, each the twin of an own type in
// its values and silhouette, in colours of its own: every pixel of its
// picture differs from its twin's, and only the enemy's coloured pictures
// carry the flag that frames a unit as the enemy's in the symbol style.
// Scorched or burnt out, both sides look the same.
TEST_F(DemoPiecesTest, TheEnemyTypesWearTheirOwnFlaggedColours)
{
    using demo_equipment::kOwnTypeCount;
    using demo_equipment::kTwinOf;
    using demo_equipment::kVehicleCount;
    struct Twin
    {
        int nEnemy;
        int nTwin;
    };
    std::vector<Twin> twins;
    for (int nType = kOwnTypeCount; nType < kVehicleCount; ++nType)
        twins.push_back({nType, kTwinOf[nType]});
    ASSERT_EQ(m_pDatabase->GetVehicleCount(), kVehicleCount);
    for (int i = 0; i < kOwnTypeCount; ++i)
        EXPECT_FALSE(m_pDatabase->GetVehiclePiece(i)->GetFlag()) << i;
    // The share of picture pixels of frame 0 that are set in both and
    // differ, against those set in either.
    const auto recoloured = [](const CPiece* pOne, const CPiece* pOther)
    {
        const CFrameSurface* a = pOne->GetSurface();
        const CFrameSurface* b = pOther->GetSurface();
        const CRect r = a->GetFrameRect(0);
        int nSet = 0, nChanged = 0, nShapeApart = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
            {
                const bool bOne = a->GetPixel(x, y) != kMagenta;
                const bool bOther = b->GetPixel(x, y) != kMagenta;
                if (!bOne && !bOther)
                    continue;
                ++nSet;
                nShapeApart += bOne != bOther ? 1 : 0;
                nChanged += bOne && bOther && a->GetPixel(x, y) != b->GetPixel(x, y) ? 1 : 0;
            }
        EXPECT_EQ(nShapeApart, 0) << "the same silhouette";
        return nSet > 0 ? double(nChanged) / nSet : 0.0;
    };
    for (const auto& t : twins)
    {
        const CVehicle* pEnemy = m_pDatabase->GetVehicle(t.nEnemy);
        const CVehicle* pTwin = m_pDatabase->GetVehicle(t.nTwin);
        SCOPED_TRACE(pEnemy->m_strName.GetString());
        EXPECT_NE(pEnemy->m_strName, pTwin->m_strName);
        EXPECT_EQ(pEnemy->m_fSpeed, pTwin->m_fSpeed);
        EXPECT_EQ(pEnemy->m_nProtectionValue, pTwin->m_nProtectionValue);
        EXPECT_EQ(pEnemy->GetCapabilities()->GetSize(), pTwin->GetCapabilities()->GetSize());

        const CPiece* pPicture = m_pDatabase->GetVehiclePiece(t.nEnemy);
        ASSERT_TRUE(pPicture != nullptr && pPicture->IsLoaded());
        EXPECT_TRUE(pPicture->GetFlag());
        EXPECT_GT(recoloured(pPicture, m_pDatabase->GetVehiclePiece(t.nTwin)), 0.95);
        EXPECT_EQ(pEnemy->m_strHitGraphic, pTwin->m_strHitGraphic);
        EXPECT_EQ(pEnemy->m_strDestroyedGraphic, pTwin->m_strDestroyedGraphic);
    }

    // The enemy tank's turret and the enemy carrier's open picture are its own.
    auto* pTurret =
        static_cast<CVCapTurret*>(m_pDatabase->GetVehicle(demo_equipment::kEnemyTank)->FindCapability(0x1));
    auto* pOwnTurret = static_cast<CVCapTurret*>(m_pDatabase->GetVehicle(demo_equipment::kTank)->FindCapability(0x1));
    ASSERT_TRUE(pTurret != nullptr && pOwnTurret != nullptr);
    const CPiece* pEnemyTurret = Single(pTurret->m_strPiece);
    ASSERT_NE(pEnemyTurret, nullptr);
    EXPECT_TRUE(pEnemyTurret->GetFlag());
    EXPECT_GT(recoloured(pEnemyTurret, Single(pOwnTurret->m_strPiece)), 0.5);
}
