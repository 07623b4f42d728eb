// The symbol catalogue's table and its build at start-up.
#include "app/SymbolCatalogue.h"

#include "app/KDRApp.h"
#include "database/PieceArray.h"
#include "platform/core/File.h"
#include "platform/ui/UiService.h"
#include "platform/ui/Wnd.h"

#include <iterator>

namespace
{
// The names are matched exactly as written, "Obastacles" included.
const char* const UNIT_MARKERS[] = {"TaskOrg Marker Green",
                                    "Dismount Mounting Grey",
                                    "Carrier Mounting Grey",
                                    "Carrier Dismounting Grey",
                                    "Function Unit Yellow",
                                    "Function Circle Blue",
                                    "Road Crater Fired Grey",
                                    "Road Crater Unfired Grey",
                                    "Road Crater Fired Red",
                                    "Road Crater Unfired Red",
                                    "Road Crater Fired Blue",
                                    "Road Crater Unfired Blue",
                                    "Max Range Blue",
                                    "Field Of Fire Blue",
                                    "Stop Red",
                                    "Sprint Purple",
                                    "Hold Fire Red",
                                    "Hide On Contact Grey",
                                    "Engage On Contact Black",
                                    "Bypass Obastacles Green",
                                    "Defilade Grey",
                                    "March Speed Green",
                                    "Dismount On Contact Grey",
                                    "TaskOrg Marker Blue",
                                    "Formation Column Red",
                                    "Formation Wedge Red",
                                    "Formation Echelon Right Red",
                                    "Formation Echelon Left Red",
                                    "Formation Vee Red",
                                    "Formation Y Red",
                                    "Formation Line Red",
                                    "Formation Diamond Red",
                                    "Formation Box Red",
                                    "Formation Staggered Column Red",
                                    "Formation Support By Fire Red",
                                    "TaskOrg Marker Yellow",
                                    "Graphic Unit Disk Green",
                                    "Graphic Unit Disk Orange",
                                    "Do Not Emplace Blue",
                                    "Suppress Yellow",
                                    "Formation Position Area Red",
                                    "Breaching Grey",
                                    "NATO TaskOrg Marker Green",
                                    "NATO TaskOrg Marker Blue",
                                    "NATO TaskOrg Marker Yellow",
                                    "Smoke Grey",
                                    "Deploy Mines Green"};

const char* const PATH_MARKERS[] = {"Go Node Red",
                                    "Stop Node Red",
                                    "Blocked Path Green",
                                    "Start Time Icon",
                                    "Vehicle Hole Marker Green",
                                    "Dismount Hole Marker Green",
                                    "Vehicle Hole Marker Orange",
                                    "Dismount Hole Marker Orange",
                                    "Vehicle Hole Marker Blue",
                                    "Dismount Hole Marker Blue",
                                    "Fire Mission Red",
                                    "Fire Mission Grey",
                                    "Mine Contact Green",
                                    "Tank Ditch Contact Green",
                                    "Wire Contact Grey",
                                    "Road Crater Contact Grey",
                                    "Shot Target Red",
                                    "Destroyed Unit Blue",
                                    "Destroyed Unit Red",
                                    "Destroyed Unit Green",
                                    "Destroyed Unit Orange",
                                    "Go Node Grey",
                                    "Stop Node Grey",
                                    "Go Node Blue",
                                    "Stop Node Blue",
                                    "Go Node Light Blue",
                                    "Stop Node Light Blue",
                                    "Go Node Light Yellow",
                                    "Stop Node Light Yellow",
                                    "Go Node Yellow",
                                    "Stop Node Yellow",
                                    "Node Max Range Blue",
                                    "Node Field Of Fire Blue",
                                    "Node Defilade Grey",
                                    "Node March Speed Green",
                                    "Node Dismount On Contact Grey",
                                    "Node Sprint Purple",
                                    "Node Hold Fire Red",
                                    "Node Hide On Contact Grey",
                                    "Node Engage On Contact Black",
                                    "Node Bypass Obastacles Green",
                                    "Node Do Not Emplace Blue",
                                    "Node Dismount Mounting Grey",
                                    "Node Carrier Dismounting Grey",
                                    "Node Formation Column Red",
                                    "Node Formation Wedge Red",
                                    "Node Formation Echelon Right Red",
                                    "Node Formation Echelon Left Red",
                                    "Node Formation Vee Red",
                                    "Node Formation Y Red",
                                    "Node Formation Line Red",
                                    "Node Formation Diamond Red",
                                    "Node Formation Box Red",
                                    "Node Formation Staggered Column Red",
                                    "Node Formation Support By Fire Red",
                                    "Node Order Turn Off Red",
                                    "Node Formation Position Area Red",
                                    "Chem Contact Purple",
                                    "Node Smoke Grey",
                                    "Echelon Locked Yellow"};

const char* const NATO_MARKERS[] = {"Friendly Vehicle",
                                    "Enemy Vehicle",
                                    "Friendly Neutral Vehicle",
                                    "Enemy Neutral Vehicle",
                                    "Friendly Platoon",
                                    "Enemy Platoon",
                                    "Friendly Neutral Platoon",
                                    "Enemy Neutral Platoon",
                                    "Friendly Company",
                                    "Enemy Company",
                                    "Friendly Neutral Company",
                                    "Enemy Neutral Company",
                                    "Mounted Grey",
                                    "Destroyed Grey",
                                    "Friendly Battalion",
                                    "Enemy Battalion",
                                    "Friendly Neutral Battalion",
                                    "Enemy Neutral Battalion"};

const char* const UNIDENTIFIED_NATO_ICONS[] = {"Unidentified Vehicle",     "Unidentified Dismount",
                                               "Unidentified Artillery",   "Unidentified Observer",
                                               "Unidentified Rotary Wing", "Unidentified Fixed Wing"};

// A list of n members: columns min(n, 5), rows n / 5 rounded up.
constexpr int ListColumns(int n) { return n < 5 ? n : 5; }
constexpr int ListRows(int n) { return n / 5 + (n % 5 != 0 ? 1 : 0); }

#define KDR_LIST(name, file, members)                                                                                  \
    {                                                                                                                  \
        TRUE, name, file, ListRows(static_cast<int>(std::size(members))),                                              \
            ListColumns(static_cast<int>(std::size(members))), static_cast<int>(std::size(members)), 0, members        \
    }
#define KDR_PIECE(name, file, rows, columns, frames, flag)                                                             \
    {                                                                                                                  \
        FALSE, name, file, rows, columns, frames, flag, nullptr                                                        \
    }

const SymbolCatalogueEntry CATALOGUE[SYMBOL_CATALOGUE_SIZE] = {
    KDR_LIST("Unit Markers", "admin_UnitMarker.bmp", UNIT_MARKERS),
    KDR_LIST("Path Markers", "admin_PathMarker.bmp", PATH_MARKERS),
    KDR_LIST("Nato Markers", "admin_NatoMarker.bmp", NATO_MARKERS),
    KDR_LIST("Unidentified Nato Icons", "admin_unidentified_nato.bmp", UNIDENTIFIED_NATO_ICONS),
    KDR_PIECE("Suppression Marker Yellow", "admin_SuppressionMarker.bmp", 2, 5, 10, 0),
    KDR_PIECE("Smoke Grey", "admin_Smoke.bmp", 1, 1, 1, 0),
    KDR_PIECE("Illum Yellow", "admin_Illum.bmp", 1, 1, 1, 0),
    KDR_PIECE("Chem Purple", "admin_Chem.bmp", 1, 1, 1, 0),
    KDR_PIECE("MOPP Marker Purple", "admin_MOPPMarker.bmp", 2, 5, 10, 0),
    KDR_PIECE("Hole Marker Green", "admin_HoleMarkerGreen.bmp", 3, 12, 36, 0),
    KDR_PIECE("Hole Marker Orange", "admin_HoleMarkerOrange.bmp", 3, 12, 36, 1),
    KDR_PIECE("Hole Marker Blue", "admin_HoleMarkerBlue.bmp", 3, 12, 36, 1),
    KDR_PIECE("Hull Direction Arrow Blue", "admin_HullDirectionBlue.bmp", 3, 12, 36, 0),
    KDR_PIECE("Turret Direction Arrow Green", "admin_TurretDirectionGreen.bmp", 4, 9, 36, 0),
    KDR_PIECE("Unknown Artillery Green", "admin_unknown_artillery.bmp", 9, 4, 36, 0),
    KDR_PIECE("Unknown Dismount Green", "admin_unknown_dismount.bmp", 6, 6, 36, 0),
    KDR_PIECE("Unknown Observer Green", "admin_unknown_observer.bmp", 6, 6, 36, 1),
    KDR_PIECE("Unknown Vehicle Green", "admin_unknown_vehicle.bmp", 6, 6, 36, 1),
    KDR_PIECE("Unknown Rotary Wing Green", "admin_unknown_rotary_wing.bmp", 12, 3, 36, 1),
    KDR_PIECE("Unknown Fixed Wing Green", "admin_unknown_fixed_wing.bmp", 12, 3, 36, 1),
};

#undef KDR_LIST
#undef KDR_PIECE

static_assert(std::size(UNIT_MARKERS) == 47);
static_assert(std::size(PATH_MARKERS) == 60);
static_assert(std::size(NATO_MARKERS) == 18);
static_assert(std::size(UNIDENTIFIED_NATO_ICONS) == 6);
}  // namespace

const SymbolCatalogueEntry* GetSymbolCatalogueTable() { return CATALOGUE; }

BOOL CKDRApp::BuildPieceCatalogue()
{
    delete m_pSymbolCatalogue;
    m_pSymbolCatalogue = new CPieceArray;
    m_pSymbolCatalogue->SetDataDir(m_strDataDir);

    if (!SetCurrentDir(m_strDataDir))
    {
        if (m_pMainWnd != nullptr)
            m_pMainWnd->MessageBox("Invalid Directory");
        else
            AfxMessageBox("Invalid Directory");
        return FALSE;
    }

    // Each piece loads its bitmap from the data directory as it is made; a
    // missing one stays in the catalogue, not loaded, and is not drawn.
    for (const SymbolCatalogueEntry& entry : CATALOGUE)
    {
        if (entry.bList)
        {
            CStringArray members;
            for (int k = 0; k < entry.nFrames; ++k)
                members.Add(entry.apszMembers[k]);
            m_pSymbolCatalogue->Add(new CPieceList(entry.pszBitmapFile, entry.pszName, entry.nRows, entry.nColumns,
                                                   entry.nFrames, entry.nFlag, &members));
        }
        else
        {
            m_pSymbolCatalogue->Add(new CPiece(entry.pszBitmapFile, entry.pszName, entry.nRows, entry.nColumns,
                                               entry.nFrames, entry.nFlag));
        }
    }

    m_pSymbolCatalogue->ReportMissingFiles();
    return TRUE;
}
