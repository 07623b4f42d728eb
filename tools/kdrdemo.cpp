// Writes the demo mission's data directory ("Data") and "link.txt" under the
// run directory named on the command line. Every data file goes through the
// same Serialize routine the game reads it with, so the demo never drifts
// from the file formats.
//
// The demo scenario holds the components that have their files so far:
// the game map naming the demo ground's picture, tile grid, elevation map
// and AI help map, the equipment database naming the weapon and vehicle
// lists and the piece array of their graphics, a units component naming
// the friendly and the enemy unit file, the formation templates, standing
// orders and both sides' hierarchies, the obstacles naming the own side's
// and the enemy's obstacle files, the dug positions naming the own side's
// "Demo.fho", the light conditions naming "Demo.env", and the missions
// component with its main mission, which is won when the enemy is worn down
// and lost with half the company team or after an hour. Beside them lie the
// game map's own "*.gmp" file, the lists, the piece array with its bitmaps,
// the two unit files and their hierarchies, the formation templates and
// standing orders, the obstacle files, the dug positions, the light
// conditions, the twenty bitmaps of the symbol catalogue that the game
// builds at start-up, and the HTML templates of its pages. The units are built from the lists as
// written, read back through the database.

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "app/KDRMissions.h"
#include "app/KDRScenario.h"
#include "battlefield/KDRGameMap.h"
#include "battlefield/KDRHoles.h"
#include "battlefield/KDRObstacles.h"
#include "database/KDRDatabase.h"
#include "demo_equipment.h"
#include "demo_fire.h"
#include "demo_hierarchy.h"
#include "demo_holes.h"
#include "demo_light.h"
#include "demo_map.h"
#include "demo_mission.h"
#include "demo_obstacles.h"
#include "demo_orders.h"
#include "demo_pieces.h"
#include "demo_sounds.h"
#include "demo_symbols.h"
#include "demo_templates.h"
#include "demo_terrain.h"
#include "demo_units.h"
#include "mission/Mission.h"
#include "platform/ui/ScriptedUi.h"
#include "platform/ui/UiService.h"
#include "platform/core/Core.h"
#include "units/KDRUnits.h"
#include "units/UnitArray.h"

#include <QApplication>

#include <cstdio>
#include <functional>
#include <memory>

namespace
{
const char* const SCENARIO_FILE = "demo.asc";
const char* const MISSION_FILE = "demo.msn";
const char* const ELEVATION_FILE = "Demo.emp";
const char* const MISSION_NAME = "Crossing at Kedravin";
const char* const MISSION_DESCRIPTION =
    "A mechanised company team must seize the river crossing east of Kedravin before the enemy's "
    "reserve arrives.\r\n\r\nThe demonstration mission: deploy your forces, then start the clock.";
const char* const VICTORY_TEXT = "The crossing is ours.";
const char* const LOSS_TEXT = "The crossing was not taken.";

// The About box's links.
const char* const LINK_FILE_TEXT = "[about icon link]https://kedravin.example/\n"
                                   "[about text link]https://kedravin.example/about\n";

// Dawn on 14 June 2002, UTC.
CTime MissionStart() { return CTime(2002, 6, 14, 5, 30, 0); }

// Writes one file through a storing archive; FALSE with a message on failure.
BOOL WriteArchive(const CString& path, const std::function<void(CArchive&)>& write)
{
    try
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        CArchive ar(&file, CArchive::store);
        write(ar);
        ar.Close();
        file.Close();
        return TRUE;
    }
    catch (const CException& e)
    {
        std::fprintf(stderr, "kdrdemo: cannot write %s: %s\n", path.GetString(), e.GetErrorText().GetString());
        return FALSE;
    }
}

BOOL WriteMission(const CString& dataDir)
{
    CMission mission;
    mission.m_strName = MISSION_NAME;
    mission.m_strDescription = MISSION_DESCRIPTION;
    mission.m_strVictoryText = VICTORY_TEXT;
    mission.m_strLossText = LOSS_TEXT;
    demo_mission::WriteDemoEvents(mission);
    return WriteArchive(JoinPath(dataDir, MISSION_FILE), [&](CArchive& ar) { mission.Serialize(ar); });
}

BOOL WriteScenario(const CString& dataDir)
{
    CKDRScenario scenario;
    scenario.m_tMissionStart = MissionStart();
    auto* pMap = new CKDRGameMap;
    demo_map::NameDemoMapFiles(*pMap, ELEVATION_FILE);
    scenario.SetGameMap(pMap);
    auto* pDatabase = new CKDRDatabase;
    pDatabase->m_strSoundList = demo_sounds::kSoundList;
    pDatabase->m_strWeaponList = demo_equipment::kWeaponFile;
    pDatabase->m_strVehicleList = demo_equipment::kVehicleFile;
    pDatabase->m_strPieceList = demo_pieces::kPieceFile;
    scenario.SetDatabase(pDatabase);
    auto* pUnits = new CKDRUnits;
    pUnits->m_strUnitFile = demo_units::kFriendlyFile;
    pUnits->m_pOpposingFileNames->AddTail(demo_units::kEnemyFile);
    pUnits->m_strFormationFile = demo_orders::FORMATION_FILE;
    pUnits->m_strSOPFile = demo_orders::SOP_FILE;
    pUnits->m_strHierarchyFile[demo_units::kFriendlySide] = demo_hierarchy::kFriendlyFile;
    pUnits->m_strHierarchyFile[demo_units::kEnemySide] = demo_hierarchy::kEnemyFile;
    scenario.SetUnits(pUnits);
    auto* pObstacles = new CKDRObstacles;
    pObstacles->m_strSide0Name = demo_obstacles::kFriendlyFile;
    pObstacles->m_strSide1Name = demo_obstacles::kEnemyFile;
    scenario.SetObstacles(pObstacles);
    auto* pHoles = new CKDRHoles;
    pHoles->m_strSide0Name = demo_holes::kFriendlyFile;
    scenario.SetHoles(pHoles);
    scenario.SetEnvironment(demo_light::BuildEnvironment());
    auto* pMissions = new CKDRMissions;
    pMissions->m_strSlot0File = MISSION_FILE;
    scenario.SetMissions(pMissions);
    return WriteArchive(JoinPath(dataDir, SCENARIO_FILE), [&](CArchive& ar) { scenario.SerializeScenario(ar); });
}

// Reports a failed step of the data directory; FALSE.
BOOL Failed(const char* what, const CString& errorText)
{
    std::fprintf(stderr, "kdrdemo: cannot write %s: %s\n", what, errorText.GetString());
    return FALSE;
}

BOOL WriteEquipment(const CString& dataDir)
{
    std::unique_ptr<CWeaponArray> pWeapons(demo_equipment::BuildWeapons());
    std::unique_ptr<CVehicleArray> pVehicles(demo_equipment::BuildVehicles());
    std::vector<demo_sounds::WeaponSound> weaponSounds;
    for (int i = 0; i < pWeapons->GetSize(); ++i)
    {
        const CWeapon* pWeapon = pWeapons->GetAt(i);
        weaponSounds.push_back({pWeapon->m_strName, pWeapon->m_nRoundsPerFire, pWeapon->m_nPenetration});
    }
    std::vector<CString> vehicleNames;
    for (int i = 0; i < pVehicles->GetSize(); ++i)
        vehicleNames.push_back(pVehicles->GetAt(i)->m_strName);
    CString errorText;
    if (!demo_sounds::WriteCombatSounds(dataDir, weaponSounds, vehicleNames, errorText))
        return Failed("the weapon and wreck sounds", errorText);
    return WriteArchive(JoinPath(dataDir, demo_equipment::kWeaponFile),
                        [&](CArchive& ar) { pWeapons->Serialize(ar); }) &&
           WriteArchive(JoinPath(dataDir, demo_equipment::kVehicleFile),
                        [&](CArchive& ar) { pVehicles->Serialize(ar); });
}

BOOL WritePieces(const CString& dataDir)
{
    CPieceArray pieces;
    CString errorText;
    if (!demo_pieces::WriteDemoPieces(dataDir, pieces, errorText))
    {
        std::fprintf(stderr, "kdrdemo: cannot write the piece bitmaps: %s\n", errorText.GetString());
        return FALSE;
    }
    return WriteArchive(JoinPath(dataDir, demo_pieces::kPieceFile), [&](CArchive& ar) { pieces.Serialize(ar); });
}

// The unit files, built against the database read from the lists just
// written (its pieces without pictures: no display here).
BOOL WriteUnits(const CString& dataDir)
{
    CKDRDatabase database;
    database.SetDirectories(dataDir, CString());
    database.m_strWeaponList = demo_equipment::kWeaponFile;
    database.m_strVehicleList = demo_equipment::kVehicleFile;
    database.m_strPieceList = demo_pieces::kPieceFile;
    if (!database.ReloadLists())
    {
        std::fprintf(stderr, "kdrdemo: cannot read back the equipment lists\n");
        return FALSE;
    }
    CKDRGameMap map;
    demo_units::LoadDemoGround(map);
    CString errorText;
    CUnitArray friendly;
    CUnitArray enemy;
    if (!demo_units::BuildFriendlyUnits(friendly, database, map, errorText) ||
        !demo_units::BuildEnemyUnits(enemy, database, map, errorText))
    {
        std::fprintf(stderr, "kdrdemo: cannot build the units: %s\n", errorText.GetString());
        return FALSE;
    }
    return WriteArchive(JoinPath(dataDir, demo_units::kFriendlyFile), [&](CArchive& ar) { friendly.Serialize(ar); }) &&
           WriteArchive(JoinPath(dataDir, demo_units::kEnemyFile), [&](CArchive& ar) { enemy.Serialize(ar); });
}

BOOL WriteHierarchies(const CString& dataDir)
{
    CHierarchyArray friendly;
    CHierarchyArray enemy;
    demo_hierarchy::BuildFriendly(friendly);
    demo_hierarchy::BuildEnemy(enemy);
    return WriteArchive(JoinPath(dataDir, demo_hierarchy::kFriendlyFile),
                        [&](CArchive& ar) { friendly.Serialize(ar); }) &&
           WriteArchive(JoinPath(dataDir, demo_hierarchy::kEnemyFile), [&](CArchive& ar) { enemy.Serialize(ar); });
}

BOOL WriteFormations(const CString& dataDir)
{
    CFormationTemplateArray templates;
    demo_orders::BuildTemplates(templates);
    return WriteArchive(JoinPath(dataDir, demo_orders::FORMATION_FILE), [&](CArchive& ar) { templates.Serialize(ar); });
}

BOOL WriteStandingOrders(const CString& dataDir)
{
    CUnitOrderArray orders;
    demo_orders::BuildStandingOrders(orders);
    return WriteArchive(JoinPath(dataDir, demo_orders::SOP_FILE), [&](CArchive& ar) { orders.Serialize(ar); });
}

BOOL WriteHoles(const CString& dataDir)
{
    std::unique_ptr<CHoleArray> pFriendly = demo_holes::BuildFriendlyHoles();
    return WriteArchive(JoinPath(dataDir, demo_holes::kFriendlyFile), [&](CArchive& ar) { pFriendly->Serialize(ar); });
}

BOOL WriteObstacles(const CString& dataDir)
{
    std::unique_ptr<CObstacleArray> pFriendly = demo_obstacles::BuildFriendlyObstacles();
    std::unique_ptr<CObstacleArray> pEnemy = demo_obstacles::BuildEnemyObstacles();
    return WriteArchive(JoinPath(dataDir, demo_obstacles::kFriendlyFile),
                        [&](CArchive& ar) { pFriendly->Serialize(ar); }) &&
           WriteArchive(JoinPath(dataDir, demo_obstacles::kEnemyFile), [&](CArchive& ar) { pEnemy->Serialize(ar); });
}

BOOL WriteEnvironment(const CString& dataDir)
{
    std::unique_ptr<CKDREnvironment> pEnvironment(demo_light::BuildEnvironment());
    return WriteArchive(JoinPath(dataDir, demo_light::ENVIRONMENT_FILE),
                        [&](CArchive& ar) { pEnvironment->Serialize(ar); });
}

BOOL WriteElevationMap(const CString& dataDir)
{
    const CString path = JoinPath(dataDir, ELEVATION_FILE);
    CString errorText;
    if (demo_terrain::WriteDemoElevationMap(path, errorText))
        return TRUE;
    std::fprintf(stderr, "kdrdemo: cannot write %s: %s\n", path.GetString(), errorText.GetString());
    return FALSE;
}

BOOL WriteMapPicture(const CString& dataDir)
{
    CString errorText;
    return demo_map::WriteDemoMapFiles(dataDir, ELEVATION_FILE, errorText) ? TRUE
                                                                           : Failed("the map picture", errorText);
}

BOOL WriteSymbols(const CString& dataDir)
{
    CString errorText;
    return demo_symbols::WriteDemoSymbols(dataDir, errorText) ? TRUE : Failed("the symbol bitmaps", errorText);
}

BOOL WriteTemplates(const CString& dataDir)
{
    CString errorText;
    return demo_templates::WriteDemoTemplates(dataDir, errorText) ? TRUE : Failed("the page templates", errorText);
}

BOOL WriteSounds(const CString& dataDir)
{
    CString errorText;
    return demo_sounds::WriteDemoSounds(dataDir, errorText) ? TRUE : Failed("the sounds", errorText);
}

BOOL WriteLinkFile(const CString& runDir)
{
    const CString path = JoinPath(runDir, "link.txt");
    std::FILE* f = std::fopen(path, "wb");
    if (f == nullptr)
    {
        std::fprintf(stderr, "kdrdemo: cannot write %s\n", path.GetString());
        return FALSE;
    }
    std::fputs(LINK_FILE_TEXT, f);
    return std::fclose(f) == 0;
}
// Answers every prompt of the mission's opening without showing it: the
// generator runs unattended (a machine without sound says so, and the
// saved game is written all the same).
class CNoPrompts : public CUiService
{
public:
    int MessageBox(CWnd*, const CString& text, const CString& caption, UINT type) override
    {
        std::fprintf(stderr, "kdrdemo: \"%s\": %s\n", caption.GetString(), text.GetString());
        const UINT buttons = type & MB_TYPEMASK;
        return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDNO : IDOK;
    }
    BOOL FileDialog(CWnd*, const CFileDialogRequest&, CString&) override { return FALSE; }
    int RunModalDialog(CDialog&) override { return IDCANCEL; }
    UINT TrackPopupMenu(CMenu&, CPoint, CWnd*) override { return 0; }
    void Beep(UINT) override {}
};

// "Fire at dawn": the scenario opened without a window and saved, with
// the mortars' fire on its way, through the document's own routine.
BOOL WriteFireAtDawn(const CString& runDir, const CString& dataDir)
{
    const CString saveDir = JoinPath(runDir, "Savegame");
    if (!CreateDir(saveDir))
        return Failed("the saved games' directory", saveDir);
    const CString oldDir = GetCurrentDir();
    CNoPrompts noPrompts;
    CUiServiceScope scope(&noPrompts);
    CKDRApp app;
    BOOL bWritten = FALSE;
    {
        CKDRDoc doc;
        doc.SetDirectories(dataDir, saveDir);
        if (doc.OnOpenDocument(JoinPath(dataDir, SCENARIO_FILE)) && doc.GetSmoke() != nullptr &&
            doc.GetFireMissions() != nullptr)
        {
            // The saved game names its scenario by the document's path, as
            // the framework sets it when it opens one.
            doc.SetPathName(JoinPath(dataDir, SCENARIO_FILE), FALSE);
            demo_fire::AddFire(*doc.GetFireMissions(), *doc.GetSmoke(), app.GetGameClock()->m_tStart);
            if (doc.GetUnits() != nullptr && doc.GetUnits()->m_pOwnUnits != nullptr)
                demo_fire::QueueMission(*doc.GetUnits()->m_pOwnUnits);
            bWritten = doc.OnSaveDocument(JoinPath(saveDir, demo_fire::SAVED_GAME));
        }
    }
    SetCurrentDir(oldDir);
    return bWritten ? TRUE : Failed(demo_fire::SAVED_GAME, "the demo mission did not open or save");
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        std::fprintf(stderr, "usage: kdrdemo RUN_DIRECTORY\n");
        return 2;
    }
    // Opening the mission for the saved game makes the shell's objects,
    // which need the widget system; nothing is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Nor does it play a sound: the equipment's sound list finds no sound
    // server and says so, rather than opening a stream it never uses.
    qputenv("PULSE_SERVER", "unix:/nonexistent/kdrdemo-plays-no-sound");
    QApplication qt(argc, argv);
    const CString runDir = ResolvePath(argv[1]);
    const CString dataDir = JoinPath(runDir, "Data");
    if (!CreateDir(dataDir))
    {
        std::fprintf(stderr, "kdrdemo: cannot create %s\n", dataDir.GetString());
        return 1;
    }
    if (!WriteElevationMap(dataDir) || !WriteMapPicture(dataDir) || !WriteSymbols(dataDir) ||
        !WriteTemplates(dataDir) || !WriteSounds(dataDir) || !WriteEquipment(dataDir) || !WritePieces(dataDir) ||
        !WriteUnits(dataDir) || !WriteHierarchies(dataDir) || !WriteFormations(dataDir) ||
        !WriteStandingOrders(dataDir) || !WriteObstacles(dataDir) || !WriteHoles(dataDir) || !WriteEnvironment(dataDir) ||
        !WriteMission(dataDir) || !WriteScenario(dataDir) || !WriteLinkFile(runDir) ||
        !WriteFireAtDawn(runDir, dataDir))
        return 1;
    return 0;
}
