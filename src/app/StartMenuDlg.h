#pragma once
// CStartMenuDlg: the start menu shown after start-up and after every Quit
// Mission: begin a new mission, load a saved mission, set up a multiplayer
// game, launch the separate scenario builder, or exit. Each choice but the
// builder ends the dialog with OK and leaves its number in m_nChoice; the
// builder is started through the shell and the menu stays up.

#include "platform/ui/Dialog.h"

class CKDRApp;

constexpr UINT IDD_START_MENU = 254;
constexpr UINT IDC_START_NEW_MISSION = 1249;
constexpr UINT IDC_START_LOAD_MISSION = 1250;
constexpr UINT IDC_START_BUILDER = 1145;
constexpr UINT IDC_START_MULTIPLAYER = 1146;
constexpr UINT IDC_START_EXIT = 1147;

// The start menu's choices.
constexpr int START_NEW_MISSION = 1;
constexpr int START_LOAD_MISSION = 2;
constexpr int START_MULTIPLAYER = 4;
constexpr int START_EXIT = 8;

// The separate scenario-building program the start menu launches.
extern const char* const SCENARIO_BUILDER_PROGRAM;

class CStartMenuDlg : public CDialog
{
public:
    explicit CStartMenuDlg(CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;

    int m_nChoice = START_NEW_MISSION;

private:
    void Choose(int nChoice);
    void OnScenarioBuilder();
};

// Runs the start menu until a mission is opened or the player leaves;
// 0 when the player chose Exit, 1 otherwise.
int RunStartMenu(CKDRApp& app);

// Creates the multiplayer session and runs its set-up flow; FALSE when the
// player gave up (the menu shows again).
BOOL StartMultiplayer(CKDRApp& app);
