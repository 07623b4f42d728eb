#include "app/MainFrame.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "app/CommandPrompts.h"
#include "app/ToolbarImages.h"
#include "net/MultiplayerSession.h"
#include "platform/ui/Bitmap.h"
#include "platform/ui/ScreenSaver.h"
#include "platform/ui/UiService.h"
#include "view/KDRView.h"

#include <iterator>

namespace
{
const char* const CLOCK_RUNNING_TEXT =
    "You must turn off the clock\r\n(with Stop from the Time Menu)\r\nbefore you can "
    "quit KDR.";

// Resource numbers of the four toolbars' images.
constexpr UINT kBitmapPathEdit = 134;
constexpr UINT kBitmapFireMission = 147;
constexpr UINT kBitmapOrders = 148;
constexpr UINT kBitmapNormal = 150;

// The status bar: the message pane and the three lock indicators.
const UINT kIndicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
}  // namespace

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    cs.style = WS_MAXIMIZE | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX | FWS_ADDTOTITLE;
    return TRUE;
}

CMenuDesc CMainFrame::MainMenu()
{
    return {
        MenuPopup("&File", {MenuItem("&Open...", ID_FILE_OPEN_SCENARIO),
                             MenuItem("Open Sa&ved Game...", ID_FILE_OPEN_SAVED_GAME),
                             MenuItem("&Restart Mission", ID_FILE_RESTART_MISSION), MenuSeparator(),
                             MenuItem("&Save Game...", ID_FILE_SAVE_GAME), MenuSeparator(),
                             MenuItem("&Quit Mission", ID_QUIT_MISSION)}),
        MenuPopup(
            "&View",
            {MenuPopup("&Echelon", {MenuItem("&Companies", ID_VIEW_ECHELON_COMPANIES),
                                    MenuItem("&Platoons", ID_VIEW_ECHELON_PLATOONS),
                                    MenuItem("&Vehicles", ID_VIEW_ECHELON_VEHICLES)}),
             MenuPopup("&Map", {MenuItem("&Color", ID_VIEW_MAP_COLOR), MenuItem("C&ontour", ID_VIEW_MAP_CONTOUR),
                                MenuItem("Contour &Over Color", ID_VIEW_MAP_CONTOUR_OVER_COLOR)}),
             MenuPopup("&Zoom", {MenuItem("Max In", ID_VIEW_ZOOM_MAX_IN), MenuItem("Max Out", ID_VIEW_ZOOM_MAX_OUT),
                                 MenuItem("Zoom &1:1", ID_VIEW_ZOOM_NORMAL), MenuItem("Zoom &In", ID_VIEW_ZOOM_IN),
                                 MenuItem("Zoom &Out", ID_VIEW_ZOOM_OUT)}),
             MenuItem("O&verview Map", ID_VIEW_OVERVIEW_MAP),
             MenuPopup("&LOS", {MenuItem("&Group LOS", ID_VIEW_GROUP_LOS), MenuItem("LOS &Fan", ID_VIEW_LOS_FAN)}),
             MenuPopup("Spot &Reports", {MenuItem("&Last Spot Report", ID_VIEW_LAST_SPOT_REPORT),
                                         MenuItem("Spot Report &Log\tR", ID_VIEW_SPOT_REPORT_LOG)}),
             MenuSeparator(), MenuItem("Or&der", ID_VIEW_ORDER), MenuItem("&Hierarchy Tree\tH", ID_VIEW_HIERARCHY_TREE),
             MenuSeparator(), MenuItem("&Auto Scroll", ID_VIEW_AUTO_SCROLL), MenuItem("&Sound", ID_VIEW_SOUND),
             MenuSeparator(), MenuItem("O&ptions...", ID_VIEW_OPTIONS)}),
        MenuPopup("&Edit",
                  {MenuItem("&Undo", ID_EDIT_UNDO), MenuSeparator(), MenuItem("Cu&t", ID_EDIT_CUT),
                   MenuItem("&Copy", ID_EDIT_COPY), MenuItem("&Paste", ID_EDIT_PASTE),
                   MenuItem("Paste &In Line", ID_EDIT_PASTE_IN_LINE), MenuItem("&Delete", ID_EDIT_DELETE_NODES),
                   MenuSeparator(), MenuItem("&Show Path", ID_EDIT_SHOW_PATH)}),
        MenuPopup("&Actions",
                  {MenuItem("&Fire Mission", ID_ACTIONS_FIRE_MISSION),
                   MenuItem("Fire &Order...", ID_ACTIONS_FIRE_ORDER), MenuItem("FM &Log...\tL", ID_ACTIONS_FM_LOG),
                   MenuSeparator(), MenuItem("&Upload", ID_ACTIONS_UPLOAD), MenuItem("&Mount", ID_ACTIONS_MOUNT),
                   MenuItem("&Dismount", ID_ACTIONS_DISMOUNT), MenuItem("D&eploy Mines", ID_ACTIONS_DEPLOY_MINES)}),
        MenuPopup("&Orders", {MenuItem("&Stop", ID_ORDERS_STOP), MenuItem("S&print", ID_ORDERS_SPRINT),
                              MenuItem("&Hold Fire", ID_ORDERS_HOLD_FIRE), MenuItem("&Defilade", ID_ORDERS_DEFILADE),
                              MenuItem("S&moke", ID_ORDERS_SMOKE), MenuItem("&Creep", ID_ORDERS_CREEP)}),
        MenuPopup("&SOP", {MenuPopup("&Fire Control",
                                     {MenuItem("&Max Range", ID_SOP_MAX_RANGE),
                                      MenuItem("&Field of Fire", ID_SOP_FIELD_OF_FIRE), MenuSeparator(),
                                      MenuItem("FC &Copy", ID_SOP_FC_COPY), MenuItem("FC &Paste", ID_SOP_FC_PASTE),
                                      MenuItem("FC &Delete", ID_SOP_FC_DELETE)}),
                           MenuItem("&Suppress", ID_SOP_SUPPRESS), MenuItem("&March Speed", ID_SOP_MARCH_SPEED),
                           MenuItem("&Hide On Contact", ID_SOP_HIDE_ON_CONTACT),
                           MenuItem("&Engage On Contact", ID_SOP_ENGAGE_ON_CONTACT),
                           MenuItem("&Bypass Obstacles", ID_SOP_BYPASS_OBSTACLES),
                           MenuItem("D&ismount On Contact", ID_SOP_DISMOUNT_ON_CONTACT),
                           MenuItem("Do &Not Emplace", ID_SOP_DO_NOT_EMPLACE)}),
        MenuPopup("&Time",
                  {MenuItem("&Start\tG", ID_TIME_START), MenuItem("S&top\tS", ID_TIME_STOP), MenuSeparator(),
                   MenuPopup("&Compression",
                             {MenuItem("&1/1", ID_TIME_COMPRESSION_1), MenuItem("&2/1", ID_TIME_COMPRESSION_2),
                              MenuItem("&4/1", ID_TIME_COMPRESSION_4), MenuItem("&8/1", ID_TIME_COMPRESSION_8)})}),
        // The session fills Pass Units with the team-mates' names.
        MenuPopup("&Multiplayer", {MenuItem("&Chat Log", ID_MULTIPLAYER_CHAT_LOG), MenuPopup("&Pass Units", {}),
                                   MenuItem("&Surrender...", ID_MULTIPLAYER_SURRENDER)}),
        MenuPopup("&Help",
                  {MenuItem("&Vehicle Specs...", ID_HELP_VEHICLE_SPECS), MenuItem("&About Kedravin...", ID_APP_ABOUT)}),
    };
}

std::vector<ACCEL> CMainFrame::MainAccelerators()
{
    return {
        ACCEL{FVIRTKEY, 'G', static_cast<WORD>(ID_TIME_START)},
        ACCEL{FVIRTKEY, 'S', static_cast<WORD>(ID_TIME_STOP)},
        ACCEL{FVIRTKEY, 'R', static_cast<WORD>(ID_VIEW_SPOT_REPORT_LOG)},
        ACCEL{FVIRTKEY, 'H', static_cast<WORD>(ID_VIEW_HIERARCHY_TREE)},
        ACCEL{FVIRTKEY, 'L', static_cast<WORD>(ID_ACTIONS_FM_LOG)},
        ACCEL{FVIRTKEY, VK_ESCAPE, static_cast<WORD>(ID_CANCEL_INTERACTION)},
    };
}

std::vector<UINT> CMainFrame::ToolbarButtons(int nMode)
{
    std::vector<UINT> buttons = {
        ID_FILE_RESTART_MISSION,  ID_FILE_OPEN_SAVED_GAME,  ID_FILE_SAVE_AS,           ID_SEPARATOR,
        ID_VIEW_ZOOM_IN,          ID_VIEW_ZOOM_NORMAL,      ID_VIEW_ZOOM_OUT,          ID_VIEW_OVERVIEW_MAP,
        ID_VIEW_ECHELON_VEHICLES, ID_VIEW_ECHELON_PLATOONS, ID_VIEW_ECHELON_COMPANIES, ID_SEPARATOR,
        ID_VIEW_LOS_FAN,          ID_VIEW_LAST_SPOT_REPORT, ID_VIEW_SPOT_REPORT_LOG,   ID_SEPARATOR,
        ID_EDIT_SHOW_PATH};
    std::vector<UINT> middle;
    switch (nMode)
    {
    case CKDRView::kToolbarPathEdit:
        middle = {ID_EDIT_CUT,          ID_EDIT_COPY,        ID_EDIT_PASTE,           ID_EDIT_PASTE_IN_LINE,
                  ID_EDIT_DELETE_NODES, ID_SEPARATOR,        ID_ACTIONS_FIRE_MISSION, ID_SEPARATOR,
                  ID_ACTIONS_MOUNT,     ID_ACTIONS_DISMOUNT, ID_ACTIONS_UPLOAD,       ID_SEPARATOR,
                  ID_ORDERS_STOP,       ID_ORDERS_HOLD_FIRE, ID_ORDERS_DEFILADE,      ID_SEPARATOR};
        break;
    case CKDRView::kToolbarFireMission:
        middle = {ID_SEPARATOR, ID_ACTIONS_FIRE_MISSION, ID_ACTIONS_FIRE_ORDER, ID_ACTIONS_FM_LOG,
                  ID_SEPARATOR, ID_ACTIONS_MOUNT,        ID_ACTIONS_DISMOUNT,   ID_ACTIONS_UPLOAD,
                  ID_SEPARATOR, ID_ORDERS_STOP,          ID_ORDERS_HOLD_FIRE,   ID_ORDERS_DEFILADE,
                  ID_SEPARATOR};
        break;
    case CKDRView::kToolbarOrders:
        middle = {ID_SEPARATOR,
                  ID_ACTIONS_FIRE_MISSION,
                  ID_SEPARATOR,
                  ID_ACTIONS_MOUNT,
                  ID_ACTIONS_DISMOUNT,
                  ID_ACTIONS_UPLOAD,
                  ID_SEPARATOR,
                  ID_ORDERS_STOP,
                  ID_ORDERS_SPRINT,
                  ID_ORDERS_HOLD_FIRE,
                  ID_ORDERS_DEFILADE,
                  ID_SOP_MAX_RANGE,
                  ID_SOP_FIELD_OF_FIRE,
                  ID_SOP_SUPPRESS,
                  ID_SOP_MARCH_SPEED,
                  ID_SOP_HIDE_ON_CONTACT,
                  ID_SOP_ENGAGE_ON_CONTACT,
                  ID_SOP_BYPASS_OBSTACLES,
                  ID_SEPARATOR};
        break;
    default:
        middle = {ID_SEPARATOR,        ID_ACTIONS_FIRE_MISSION, ID_SEPARATOR, ID_ACTIONS_MOUNT,
                  ID_ACTIONS_DISMOUNT, ID_ACTIONS_UPLOAD,       ID_SEPARATOR, ID_ORDERS_STOP,
                  ID_ORDERS_HOLD_FIRE, ID_ORDERS_DEFILADE,      ID_SEPARATOR};
        break;
    }
    buttons.insert(buttons.end(), middle.begin(), middle.end());
    const UINT end[] = {ID_TIME_START, ID_TIME_STOP,  ID_SEPARATOR,   ID_MULTIPLAYER_CHAT_LOG,
                        ID_SEPARATOR,  ID_HELP_INDEX, ID_CONTEXT_HELP};
    buttons.insert(buttons.end(), std::begin(end), std::end(end));
    return buttons;
}

UINT CMainFrame::ToolbarBitmap(int nMode)
{
    switch (nMode)
    {
    case CKDRView::kToolbarPathEdit: return kBitmapPathEdit;
    case CKDRView::kToolbarFireMission: return kBitmapFireMission;
    case CKDRView::kToolbarOrders: return kBitmapOrders;
    default: return kBitmapNormal;
    }
}

int CMainFrame::OnCreate()
{
    if (CFrameWnd::OnCreate() == -1)
        return -1;
    m_pToolBar = std::make_unique<CToolBar>();
    if (!m_pToolBar->CreateEx(this, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !SetToolbarForMode(CKDRView::kToolbarNormal))
        return -1;
    m_pToolBar->SetBarStyle(m_pToolBar->GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_pStatusBar = std::make_unique<CStatusBar>();
    if (!m_pStatusBar->Create(this) ||
        !m_pStatusBar->SetIndicators(kIndicators, static_cast<int>(std::size(kIndicators))))
        return -1;
    m_pScreenSaver = std::make_unique<CScreenSaverInhibitor>("Kedravin", "A mission is being played");
    m_pScreenSaver->FollowWindow(this);
    return 0;
}

void CMainFrame::OnDestroy()
{
    if (m_pScreenSaver != nullptr)
        m_pScreenSaver->Release();
    CFrameWnd::OnDestroy();
}

BOOL CMainFrame::SetToolbarForMode(int nMode)
{
    if (m_pToolBar == nullptr)
        return FALSE;
    if (nMode == m_nToolbarMode)
        return TRUE;
    const std::vector<UINT> buttons = ToolbarButtons(nMode);
    const UINT nBitmap = ToolbarBitmap(nMode);
    if (!IsBitmapResourceRegistered(nBitmap) &&
        !RegisterToolbarImages(nBitmap, buttons.data(), static_cast<int>(buttons.size())))
        return FALSE;
    m_pToolBar->SetSizes(CSize(TOOLBAR_IMAGE_WIDTH + 7, TOOLBAR_IMAGE_HEIGHT + 7),
                         CSize(TOOLBAR_IMAGE_WIDTH, TOOLBAR_IMAGE_HEIGHT));
    if (!m_pToolBar->LoadBitmap(nBitmap))
        return FALSE;
    m_pToolBar->SetButtons(buttons.data(), static_cast<int>(buttons.size()));
    m_nToolbarMode = nMode;
    return TRUE;
}

BOOL CMainFrame::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    RegisterCommandPrompts();
    if (!CMenu::IsMenuResourceRegistered(resourceId))
    {
        CMenu::RegisterMenuResource(resourceId, MainMenu());
        CAcceleratorTable::RegisterResource(resourceId, MainAccelerators());
    }
    return CFrameWnd::LoadFrame(resourceId, style, parent, context);
}

void CMainFrame::OnClose()
{
    CKDRApp* pApp = GetKDRApp();
    if (pApp == nullptr)
    {
        CFrameWnd::OnClose();
        return;
    }
    if (pApp->IsClockRunning())
    {
        GetUiService().MessageBox(this, CLOCK_RUNNING_TEXT, "Error!", MB_OK | MB_ICONSTOP);
        return;
    }
    CKDRDoc* pDoc = dynamic_cast<CKDRDoc*>(GetActiveDocument());
    if (pDoc != nullptr && pDoc->IsModified() && !pApp->m_bMultiplayer && !pDoc->SaveModified())
        return;
    CKDRView* pView = dynamic_cast<CKDRView*>(GetActiveView());
    if (pDoc != nullptr && (pView == nullptr || !pView->m_bMissionOver))
        pDoc->OfferResults(pApp->GetGameClock()->m_tsElapsed, 0);
    if (pApp->m_bMultiplayer && pApp->m_pSession != nullptr)
        pApp->m_pSession->LeaveGame();
    CFrameWnd::OnClose();
}
