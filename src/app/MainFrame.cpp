#include "app/MainFrame.h"

#include "app/GameClock.h"
#include "app/KDRApp.h"
#include "app/KDRCommandIds.h"
#include "app/KDRDoc.h"
#include "net/MultiplayerSession.h"
#include "platform/ui/UiService.h"
#include "view/KDRView.h"

namespace
{
const char* const CLOCK_RUNNING_TEXT =
    "You must turn off the clock\r\n(with Stop from the Time Menu)\r\nbefore you can "
    "quit KDR.";
}

CMainFrame::CMainFrame() = default;
CMainFrame::~CMainFrame() = default;

CMenuDesc CMainFrame::MainMenu()
{
    return {
        MenuPopup("&File", {MenuItem("&Save Game...", ID_FILE_SAVE_GAME), MenuSeparator(),
                             MenuItem("&Quit Mission", ID_QUIT_MISSION)}),
        MenuPopup("&View",
                  {MenuPopup("&Zoom", {MenuItem("Zoom &In", ID_VIEW_ZOOM_IN), MenuItem("Zoom &Out", ID_VIEW_ZOOM_OUT),
                                       MenuItem("Zoom &1:1", ID_VIEW_ZOOM_NORMAL)}),
                   MenuPopup("Spot &Reports", {MenuItem("&Last Spot Report", ID_VIEW_LAST_SPOT_REPORT),
                                               MenuItem("Spot Report &Log\tR", ID_VIEW_SPOT_REPORT_LOG)})}),
        MenuPopup("&Time",
                  {MenuItem("&Start\tG", ID_TIME_START), MenuItem("S&top\tS", ID_TIME_STOP), MenuSeparator(),
                   MenuPopup("&Compression",
                             {MenuItem("&1/1", ID_TIME_COMPRESSION_1), MenuItem("&2/1", ID_TIME_COMPRESSION_2),
                              MenuItem("&4/1", ID_TIME_COMPRESSION_4), MenuItem("&8/1", ID_TIME_COMPRESSION_8)})}),
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
    };
}

BOOL CMainFrame::LoadFrame(UINT resourceId, DWORD style, CWnd* parent, CCreateContext* context)
{
    if (!CMenu::IsMenuResourceRegistered(resourceId))
    {
        CMenu::RegisterMenuResource(resourceId, MainMenu());
        CAcceleratorTable::RegisterResource(resourceId, MainAccelerators());
        RegisterResourceString(ID_HELP_VEHICLE_SPECS,
                               "Display the contents of the vehicle, weapon, and ammunition database for this "
                               "scenario\nVehicle Specs");
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
