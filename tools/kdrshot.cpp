// Starts the game the way a player does, for a screenshot of what the
// player sees: the About box is closed, the start menu's "New Mission" is
// pressed and the first mission of the list is opened, each as if clicked;
// any message box before the mission is open takes its default answer.
// From then on the game runs as usual, with real prompts.
//
// Usage (from a run directory that holds "Data", as "make run" uses):
//   kdrshot [ZOOM_STEPS [OUTPUT.png [X Y]]]
// ZOOM_STEPS: how many zoom levels to step in (positive) or out (negative)
// once the mission is open; X Y: a map point in metres to centre the view
// on after the zoom steps. When the map is shown, "ready" is written to
// standard output; the program then runs until it is closed or two minutes
// have passed. tools/screenshot.sh starts it under a virtual X screen and
// takes the picture. With OUTPUT.png the program takes the picture of its
// own main window itself and ends, which needs no X screen: it works on
// Qt's offscreen platform too (QT_QPA_PLATFORM=offscreen).

#include "app/AboutDlg.h"
#include "app/KDRApp.h"
#include "app/KDRDoc.h"
#include "app/MissionSelectDlg.h"
#include "app/StartMenuDlg.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRGameMap.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frame.h"
#include "platform/ui/ScriptedUi.h"
#include "view/KDRView.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace
{
// How long the program runs at most once the map is shown.
constexpr int kRunMilliseconds = 120000;
// How often the start is checked, and the time the map gets to be painted
// before it counts as shown.
constexpr int kPollMilliseconds = 200;
constexpr int kSettleMilliseconds = 1000;

// Answers the start-up prompts; everything else goes to the real service.
class CStartAnswers : public CUiService
{
public:
    explicit CStartAnswers(CUiService* pReal) : m_pReal(pReal)
    {
        m_script.SetFailureHandler([](const CString& message)
                                   { std::fprintf(stderr, "kdrshot: %s\n", message.GetString()); });
        m_script.ExpectDialog(IDD_ABOUTBOX, IDOK);
        m_script.ExpectDialog(IDD_START_MENU, IDCANCEL, [](CDialog& menu) { menu.PressButton(IDC_START_NEW_MISSION); });
        m_script.ExpectDialog(IDD_MISSION_SELECT, IDOK,
                              [](CDialog& dialog)
                              {
                                  if (CListBox* pList = dialog.GetDlgControl<CListBox>(IDC_MISSION_LIST);
                                      pList && pList->GetCount() > 0)
                                      pList->ClickItem(0);
                              });
    }

    bool IsStartDone() const { return m_script.IsScriptDone(); }
    // From now on message boxes are the player's.
    void SetMissionShown() { m_bMissionShown = true; }

    int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override
    {
        // The mission opens after the last start dialog has closed, and a
        // missing sound device is reported while it opens.
        if (m_bMissionShown)
            return m_pReal->MessageBox(owner, text, caption, type);
        std::fprintf(stderr, "kdrshot: answered \"%s\": %s\n", caption.GetString(), text.GetString());
        const UINT buttons = type & MB_TYPEMASK;
        return buttons == MB_YESNO || buttons == MB_YESNOCANCEL ? IDYES : IDOK;
    }
    BOOL FileDialog(CWnd* owner, const CFileDialogRequest& request, CString& path) override
    {
        return m_pReal->FileDialog(owner, request, path);
    }
    int RunModalDialog(CDialog& dialog) override
    {
        if (!IsStartDone())
            return m_script.RunModalDialog(dialog);
        return m_pReal->RunModalDialog(dialog);
    }
    UINT TrackPopupMenu(CMenu& menu, CPoint screenPoint, CWnd* owner) override
    {
        return m_pReal->TrackPopupMenu(menu, screenPoint, owner);
    }
    void Beep(UINT type) override { m_pReal->Beep(type); }

private:
    CUiService* m_pReal;
    CScriptedUi m_script;
    bool m_bMissionShown = false;
};
}  // namespace

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    const int nZoomSteps = argc > 1 ? std::atoi(argv[1]) : 0;
    const char* pszOutput = argc > 2 && argv[2][0] != '\0' ? argv[2] : nullptr;
    const bool bCentre = argc > 4;
    const float fCentreX = bCentre ? static_cast<float>(std::atof(argv[3])) : 0.0f;
    const float fCentreY = bCentre ? static_cast<float>(std::atof(argv[4])) : 0.0f;

    CKDRApp app;
    CStartAnswers answers(&GetUiService());
    CUiServiceScope scope(&answers);

    // Once the mission is open: the zoom steps, a moment to paint, "ready".
    QTimer poll;
    bool bShown = false;
    QObject::connect(&poll, &QTimer::timeout,
                     [&]
                     {
                         CKDRView* pView = app.GetActiveView();
                         CKDRDoc* pDoc = app.GetActiveDocument();
                         if (bShown || !answers.IsStartDone() || !app.m_bDocumentOpened || pView == nullptr ||
                             pDoc == nullptr || pDoc->GetGameMap() == nullptr)
                             return;
                         bShown = true;
                         answers.SetMissionShown();
                         poll.stop();
                         for (int i = 0; i < std::abs(nZoomSteps); ++i)
                             pView->SetZoom(nZoomSteps > 0 ? 1 : -1, FALSE);
                         if (CElevationMap* pElevation = pDoc->GetGameMap()->GetElevationMap(); bCentre && pElevation)
                         {
                             int px = 0;
                             int py = 0;
                             pElevation->MapToPixel(fCentreX, fCentreY, &px, &py);
                             pView->CenterOnMapPoint(px, py);
                         }
                         pView->RedrawMap(FALSE);
                         QTimer::singleShot(kSettleMilliseconds,
                                            [&app, pszOutput]
                                            {
                                                std::printf("ready\n");
                                                std::fflush(stdout);
                                                if (pszOutput == nullptr || app.m_pMainWnd == nullptr)
                                                    return;
                                                const QImage shot = app.m_pMainWnd->GetWidget()->grab().toImage();
                                                if (!shot.save(QString::fromLocal8Bit(pszOutput), "PNG"))
                                                    std::fprintf(stderr, "kdrshot: cannot write %s\n", pszOutput);
                                                app.m_pMainWnd->OnClose();
                                            });
                         QTimer::singleShot(kRunMilliseconds,
                                            [&app]
                                            {
                                                if (app.m_pMainWnd != nullptr)
                                                    app.m_pMainWnd->OnClose();
                                            });
                     });
    poll.start(kPollMilliseconds);

    // The zoom steps are ours: the game itself sees no file to open.
    return AfxWinMain(1, argv);
}
