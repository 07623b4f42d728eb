// Commands: menus built from a description, the update protocol on menu
// items, toolbar buttons and status panes, accelerators (also from a
// modeless dialog), and popup menus built at run time.
#include "platform/ui/App.h"
#include "platform/ui/Command.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Frame.h"
#include "platform/ui/View.h"
#include "support/ScriptedUi.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace
{
constexpr UINT kResource = 200;
constexpr UINT ID_TIME_START = 32868;
constexpr UINT ID_TIME_STOP = 32869;
constexpr UINT ID_ZOOM_IN = 32781;
constexpr UINT ID_SHOW_PATH = 32862;
constexpr UINT ID_ESCAPE = 33367;
constexpr UINT ID_NOBODY = 33999;  // no handler anywhere
constexpr UINT ID_UNIT1 = 32993;

// A view that knows whether the clock runs, as the game's does.
class ClockView : public CScrollView
{
public:
    ClockView()
    {
        MapCommand(ID_TIME_START,
                   [this]
                   {
                       running = true;
                       ++starts;
                   });
        MapUpdate(ID_TIME_START,
                  [this](CCmdUI* ui)
                  {
                      ui->Enable(!running);
                      ui->SetCheck(running);
                  });
        MapCommand(ID_TIME_STOP,
                   [this]
                   {
                       running = false;
                       ++stops;
                   });
        MapUpdate(ID_TIME_STOP, [this](CCmdUI* ui) { ui->Enable(running); });
        MapCommand(ID_ZOOM_IN, [this] { ++zooms; });  // no update handler: enabled
        MapCommand(ID_SHOW_PATH, [] {});
        MapUpdate(ID_SHOW_PATH, [this](CCmdUI* ui) { ui->SetText(running ? "Hide &Path" : "Show &Path"); });
        MapCommand(ID_ESCAPE, [this] { ++escapes; });
        MapCommandRange(ID_UNIT1, ID_UNIT1 + 7, [this](UINT id) { picked = static_cast<int>(id - ID_UNIT1) + 1; });
    }
    bool running = false;
    int starts = 0;
    int stops = 0;
    int zooms = 0;
    int escapes = 0;
    int picked = 0;
};

class MainFrame : public CFrameWnd
{
public:
    int OnCreate() override
    {
        if (!toolbar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_TOOLTIPS | CBRS_FLYBY))
            return -1;
        static const UINT buttons[] = {ID_ZOOM_IN, ID_SEPARATOR, ID_TIME_START, ID_TIME_STOP, ID_NOBODY};
        toolbar.SetButtons(buttons, 5);
        static const UINT panes[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_SHOW_PATH};
        if (!status.Create(this) || !status.SetIndicators(panes, 3))
            return -1;
        return 0;
    }
    CToolBar toolbar;
    CStatusBar status;
};

struct Fixture
{
    Fixture()
    {
        RegisterResourceString(ID_TIME_START, "Start the game clock\nTime Start");
        RegisterResourceString(ID_TIME_STOP, "Stop the game clock\nTime Stop");
        RegisterResourceString(ID_ZOOM_IN, "Zoom in\nZoom In");
        CMenu::RegisterMenuResource(
            kResource, {
                           MenuPopup("&File", {MenuItem("E&xit", ID_APP_EXIT)}),
                           MenuPopup("&View", {MenuItem("Zoom &In", ID_ZOOM_IN), MenuItem("Show &Path", ID_SHOW_PATH)}),
                           MenuPopup("&Time", {MenuItem("&Start\tG", ID_TIME_START), MenuItem("S&top\tS", ID_TIME_STOP),
                                               MenuSeparator(), MenuItem("Nothing", ID_NOBODY)}),
                           MenuPopup("&Multiplayer", {MenuPopup("&Pass Units", {})}),
                           MenuPopup("&Help", {MenuItem("&About Kedravin...", ID_APP_ABOUT)}),
                       });
        CAcceleratorTable::RegisterResource(kResource, {{FVIRTKEY, 'G', ID_TIME_START},
                                                        {FVIRTKEY, 'S', ID_TIME_STOP},
                                                        {FVIRTKEY, VK_ESCAPE, ID_ESCAPE},
                                                        {FVIRTKEY | FCONTROL, 'Z', ID_ZOOM_IN}});
        CCreateContext context;
        context.m_newView = [] { return new ClockView; };
        EXPECT_TRUE(frame.LoadFrame(kResource, WS_OVERLAPPEDWINDOW, nullptr, &context));
        frame.ShowWindow(SW_SHOW);
        view = static_cast<ClockView*>(frame.GetActiveView());
    }
    ~Fixture() { CWnd::FlushDeferredDeletes(); }

    // Opens a top-level menu (the update protocol runs) and answers it.
    QMenu* OpenMenu(int position)
    {
        QMenu* menu = frame.GetQMenu(position);
        if (menu)
            emit menu->aboutToShow();
        return menu;
    }
    static QAction* Find(QMenu* menu, const char* text)
    {
        for (QAction* a : menu->actions())
            if (a->text() == QString::fromLatin1(text))
                return a;
        return nullptr;
    }
    void Pump()
    {
        while (app.PumpWaitingMessage())
        {
        }
    }

    CWinApp app{"Kedravin"};
    MainFrame frame;
    ClockView* view = nullptr;
};
}  // namespace

TEST(WinCommandTest, MenuBarKeepsTheDescribedOrder)
{
    Fixture f;
    auto* main = qobject_cast<QMainWindow*>(f.frame.GetWidget());
    ASSERT_NE(main, nullptr);
    QStringList titles;
    for (QAction* a : main->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&View", "&Time", "&Multiplayer", "&Help"}));
    CMenu* time = f.frame.GetMenu()->GetSubMenu(2);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->GetMenuItemCount(), 4u);
    EXPECT_EQ(time->GetMenuItemID(0), ID_TIME_START);
    EXPECT_EQ(time->GetMenuItemID(2), 0u);
    EXPECT_EQ(f.frame.GetMenu()->GetMenuItemID(3), kMenuPopupId);
    EXPECT_EQ(f.frame.GetMenu()->GetMenuString(ID_TIME_STOP, MF_BYCOMMAND), "S&top\tS");
}

TEST(WinCommandTest, UpdateProtocolEnablesChecksAndRenamesMenuItemsAndButtons)
{
    Fixture f;
    // Clock stopped: Start usable and unchecked, Stop disabled; a command
    // nobody handles is disabled; a handled one without update handler is enabled.
    QMenu* time = f.OpenMenu(2);
    QAction* start = Fixture::Find(time, "&Start\tG");
    QAction* stop = Fixture::Find(time, "S&top\tS");
    QAction* nothing = Fixture::Find(time, "Nothing");
    ASSERT_TRUE(start && stop && nothing);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(start->isChecked());
    EXPECT_FALSE(stop->isEnabled());
    EXPECT_FALSE(nothing->isEnabled());
    QMenu* view = f.OpenMenu(1);
    ASSERT_NE(Fixture::Find(view, "Zoom &In"), nullptr);
    EXPECT_TRUE(Fixture::Find(view, "Zoom &In")->isEnabled());
    EXPECT_NE(Fixture::Find(view, "Show &Path"), nullptr);

    f.app.OnIdle(0);
    EXPECT_TRUE(f.frame.toolbar.IsButtonEnabled(ID_TIME_START));
    EXPECT_FALSE(f.frame.toolbar.IsButtonEnabled(ID_TIME_STOP));
    EXPECT_FALSE(f.frame.toolbar.IsButtonEnabled(ID_NOBODY));
    EXPECT_TRUE(f.frame.toolbar.IsButtonEnabled(ID_ZOOM_IN));

    // Start the clock from the menu: the states turn round.
    start->trigger();
    f.Pump();
    EXPECT_TRUE(f.view->running);
    time = f.OpenMenu(2);
    start = Fixture::Find(time, "&Start\tG");
    stop = Fixture::Find(time, "S&top\tS");
    ASSERT_TRUE(start && stop);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(start->isChecked());
    EXPECT_TRUE(stop->isEnabled());
    EXPECT_NE(Fixture::Find(f.OpenMenu(1), "Hide &Path"), nullptr);
    f.app.OnIdle(0);
    EXPECT_FALSE(f.frame.toolbar.IsButtonEnabled(ID_TIME_START));
    EXPECT_TRUE(f.frame.toolbar.IsButtonChecked(ID_TIME_START));
    EXPECT_TRUE(f.frame.toolbar.IsButtonEnabled(ID_TIME_STOP));
    EXPECT_EQ(f.frame.status.GetPaneText(2), "Hide &Path");

    // A disabled button does nothing; an enabled one posts its command.
    EXPECT_FALSE(f.frame.toolbar.PressButton(ID_TIME_START));
    EXPECT_TRUE(f.frame.toolbar.PressButton(ID_TIME_STOP));
    f.Pump();
    EXPECT_FALSE(f.view->running);
    EXPECT_EQ(f.view->starts, 1);
    EXPECT_EQ(f.view->stops, 1);
}

TEST(WinCommandTest, ToolbarButtonSetsSwapAndCarryTooltips)
{
    Fixture f;
    EXPECT_EQ(f.frame.toolbar.GetCount(), 5);
    EXPECT_EQ(f.frame.toolbar.GetButtonTooltip(ID_TIME_START), "Time Start");
    EXPECT_EQ(f.frame.toolbar.CommandToIndex(ID_TIME_STOP), 3);
    EXPECT_EQ(f.frame.toolbar.GetItemID(1), ID_SEPARATOR);

    const UINT other[] = {ID_TIME_STOP, ID_SEPARATOR, ID_ZOOM_IN};
    ASSERT_TRUE(f.frame.toolbar.SetButtons(other, 3));
    EXPECT_EQ(f.frame.toolbar.GetCount(), 3);
    EXPECT_EQ(f.frame.toolbar.CommandToIndex(ID_TIME_START), -1);
    EXPECT_EQ(f.frame.toolbar.GetButtonTooltip(ID_ZOOM_IN), "Zoom In");
    EXPECT_FALSE(f.frame.toolbar.LoadBitmap(99999u));  // unknown bitmap: buttons kept
    EXPECT_EQ(f.frame.toolbar.GetCount(), 3);
    f.frame.SetMessageText("Zoom in");
    EXPECT_EQ(f.frame.status.GetPaneText(0), "Zoom in");
}

TEST(WinCommandTest, AcceleratorReachesTheViewFromAModelessDialog)
{
    Fixture f;
    CDialog::RegisterTemplate(7101,
                              [](CDialogTemplate& t)
                              {
                                  t.Caption("Unit").Size(200, 80);
                                  t.Edit(1001, 10, 10, 180, 22);
                              });
    CDialog tool(7101, &f.frame);
    ASSERT_TRUE(tool.Create());
    EXPECT_TRUE(tool.IsWindowVisible());
    QWidget* edit = tool.GetDlgItem(1001)->GetWidget();

    QKeyEvent g(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, "g");
    QCoreApplication::sendEvent(edit, &g);
    f.Pump();
    EXPECT_EQ(f.view->starts, 1);
    EXPECT_EQ(tool.GetDlgItemText(1001), "");  // the key went to the map, not the edit

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &esc);
    f.Pump();
    EXPECT_EQ(f.view->escapes, 1);
    EXPECT_TRUE(tool.IsWindowVisible());  // Escape was the map's, the dialog stays

    // Z alone is no accelerator; with Ctrl held it is.
    QKeyEvent z(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, "z");
    QCoreApplication::sendEvent(edit, &z);
    f.Pump();
    EXPECT_EQ(f.view->zooms, 0);
    EXPECT_EQ(tool.GetDlgItemText(1001), "z");
    QKeyEvent ctrlz(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    QCoreApplication::sendEvent(edit, &ctrlz);
    QKeyEvent ctrlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
    QCoreApplication::sendEvent(edit, &ctrlUp);
    f.Pump();
    EXPECT_EQ(f.view->zooms, 1);
    tool.SetDlgItemText(1001, "");

    // A key the table does not know is the edit's.
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QCoreApplication::sendEvent(edit, &x);
    EXPECT_EQ(tool.GetDlgItemText(1001), "x");

    // And from the view itself.
    QKeyEvent s(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, "s");
    QCoreApplication::sendEvent(f.view->GetWidget(), &s);
    f.Pump();
    EXPECT_EQ(f.view->stops, 1);
    tool.DestroyWindow();
}

TEST(WinCommandTest, PopupMenuBuiltAtRunTimeReturnsTheScriptedChoice)
{
    Fixture f;
    ScopedScriptedUi ui;
    CMenu pick;
    pick.CreatePopupMenu();
    for (int k = 0; k < 9; ++k)
    {
        CString name;
        name.Format("Unit %d", k + 1);
        if (k < 8)
            pick.AppendMenu(MF_STRING, ID_UNIT1 + static_cast<UINT>(k), name);
    }
    pick.AppendMenu(MF_SEPARATOR);
    pick.AppendMenu(MF_STRING, ID_NOBODY, "Nobody");
    EXPECT_EQ(pick.GetMenuItemCount(), 10u);

    ui->ExpectPopupMenu(ID_UNIT1 + 2,
                        [](CMenu& shown)
                        {
                            // Shown after the update protocol: handled items usable, the other not.
                            EXPECT_EQ(shown.GetMenuState(ID_UNIT1, MF_BYCOMMAND) & MF_GRAYED, 0u);
                            EXPECT_EQ(shown.GetMenuState(ID_NOBODY, MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED);
                        });
    EXPECT_TRUE(pick.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 100, 100, &f.frame));
    EXPECT_EQ(f.view->picked, 0);  // the command comes as a message after the menu
    f.Pump();
    EXPECT_EQ(f.view->picked, 3);

    ui->ExpectPopupMenu(ID_UNIT1 + 7).ExpectPopupMenu(0);
    EXPECT_EQ(pick.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &f.frame), ID_UNIT1 + 7);
    EXPECT_EQ(pick.TrackPopupMenu(TPM_RETURNCMD, 0, 0, &f.frame), 0u);

    // Choosing a disabled item is a fault of the script.
    EXPECT_NONFATAL_FAILURE(
        {
            CMenu menu;
            menu.CreatePopupMenu();
            menu.AppendMenu(MF_STRING | MF_GRAYED, 5, "Off");
            CScriptedUi scripted;
            scripted.SetFailureHandler([](const CString& m) { ADD_FAILURE() << m.GetString(); });
            CUiServiceScope scope(&scripted);
            scripted.ExpectPopupMenu(5);
            EXPECT_EQ(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, nullptr), 0u);
        },
        "disabled");
}

TEST(WinCommandTest, MenusChangeAtRunTime)
{
    Fixture f;
    CMenu* multiplayer = f.frame.GetMenu()->GetSubMenu(3);
    CMenu* pass = multiplayer->GetSubMenu(0);
    ASSERT_NE(pass, nullptr);
    pass->AppendMenu(MF_STRING, 33347, "Alice");
    pass->AppendMenu(MF_STRING, 33348, "Bob");
    EXPECT_EQ(pass->GetMenuItemCount(), 2u);
    EXPECT_TRUE(pass->RemoveMenu(33347, MF_BYCOMMAND));
    EXPECT_EQ(pass->GetMenuString(0, MF_BYPOSITION), "Bob");

    // Insert before a placeholder, then remove the placeholder.
    CMenu popup;
    popup.LoadMenu({MenuItem("&None", 1), MenuSeparator()});
    EXPECT_TRUE(popup.InsertMenu(1, MF_BYPOSITION | MF_STRING, 33287, "&SBF/Defense"));
    EXPECT_TRUE(popup.RemoveMenu(2, MF_BYPOSITION));
    popup.AppendMenu(MF_STRING, 33187, "Wedge");
    EXPECT_EQ(popup.GetMenuItemCount(), 3u);
    EXPECT_EQ(popup.GetMenuItemID(1), 33287u);
    EXPECT_EQ(popup.GetMenuItemID(2), 33187u);
    EXPECT_FALSE(popup.RemoveMenu(7, MF_BYPOSITION));
    EXPECT_EQ(popup.CheckMenuItem(33187, MF_CHECKED), static_cast<UINT>(MF_UNCHECKED));
    EXPECT_EQ(popup.GetMenuState(33187, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(popup.EnableMenuItem(99, MF_GRAYED), 0xFFFFFFFFu);

    // The frame's Qt menu shows the change when it opens.
    QMenu* menu = f.frame.GetQMenu(3);
    emit menu->aboutToShow();
    ASSERT_EQ(menu->actions().size(), 1);
    QMenu* passMenu = menu->actions().front()->menu();
    ASSERT_NE(passMenu, nullptr);
    ASSERT_EQ(passMenu->actions().size(), 1);
    EXPECT_EQ(passMenu->actions().front()->text(), "Bob");
}
