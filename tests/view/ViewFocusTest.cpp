// The map keeps the keyboard once a dialog closes: whichever window the
// player answered (a modal dialog, a message box, a modeless window), the
// main window is active again and the map view has the focus, so the arrow
// and page keys scroll the map and so does resting the mouse at an edge,
// without a click on the map first. Real (Qt) windows on the offscreen
// screen, which activates nothing by itself when a window goes.
#include "ViewTestSupport.h"

#include "platform/ui/Dialog.h"
#include "support/ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>

#include <functional>

namespace
{
constexpr UINT kTestDialog = 7301;

void RegisterTestDialog()
{
    CDialog::RegisterTemplate(kTestDialog,
                              [](CDialogTemplate& t)
                              {
                                  t.Caption("Orders").Size(220, 90);
                                  t.DefPushButton(IDOK, "OK", 10, 50, 80, 26);
                                  t.PushButton(IDCANCEL, "Cancel", 110, 50, 80, 26);
                              });
}

// The player closes a window in one of the ways the program shows them.
struct CloseCase
{
    const char* what;
    std::function<void(CViewShell&)> showAndClose;
};

// Presses a key on whatever has the keyboard now.
bool PressKey(Qt::Key key)
{
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr)
        return false;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(focus, &release);
    return true;
}
}  // namespace

TEST(ViewFocus, TheMapHasTheKeysAgainOnceAnyDialogCloses)
{
    RegisterTestDialog();
    const std::vector<CloseCase> cases = {
        {"a modal dialog",
         [](CViewShell&)
         {
             CDialog dialog(kTestDialog);
             CModalAnswer answer(
                 [&](QWidget* modal)
                 {
                     if (modal != dialog.GetWidget())
                         return false;
                     dialog.PressButton(IDOK);
                     return true;
                 });
             EXPECT_EQ(dialog.DoModal(), IDOK);
         }},
        {"a message box",
         [](CViewShell& shell)
         {
             CModalAnswer answer(
                 [](QWidget* modal)
                 {
                     auto* box = qobject_cast<QMessageBox*>(modal);
                     if (box == nullptr)
                         return false;
                     box->buttons().front()->click();
                     return true;
                 });
             shell.View().MessageBox("The mission is over.", "Attention", MB_OK);
         }},
        {"a modeless window",
         [](CViewShell& shell)
         {
             CDialog dialog(kTestDialog);
             ASSERT_TRUE(dialog.Create(kTestDialog, shell.App().GetMainFrame()));
             CViewShell::Spin();
             EXPECT_EQ(QApplication::activeWindow(), dialog.GetWidget()) << "the window took the keyboard";
             dialog.PressButton(IDCANCEL);
             dialog.DestroyWindow();
         }},
    };

    CStartDir dir;
    CViewShell shell(dir.Path(), 640, 480);
    ASSERT_TRUE(shell.OpenTestMap());
    CMapPicture* pPicture = shell.Doc().GetGameMap()->GetMapPicture();
    CUiServiceScope realWindows(nullptr);
    for (const CloseCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        shell.View().SetScrollClamped(0, 0);
        pPicture->SetScroll(0, 0);
        c.showAndClose(shell);
        CViewShell::Spin();

        EXPECT_NE(CWnd::GetActiveWindow(), nullptr) << "no window is active: the edge scrolling stays off";
        EXPECT_EQ(CWnd::GetActiveWindow(), shell.App().GetMainFrame());
        EXPECT_EQ(CWnd::GetFocus(), &shell.View());
        const int before = pPicture->GetScrollY();
        ASSERT_TRUE(PressKey(Qt::Key_Down)) << "no window has the keyboard";
        EXPECT_GT(pPicture->GetScrollY(), before) << "the down arrow did not scroll the map";
        const int afterLine = pPicture->GetScrollY();
        ASSERT_TRUE(PressKey(Qt::Key_PageDown));
        EXPECT_GT(pPicture->GetScrollY(), afterLine) << "page down did not scroll the map";
    }
}
