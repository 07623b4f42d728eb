#include "app/CommandPrompts.h"

#include "app/KDRCommandIds.h"
#include "platform/ui/Command.h"

namespace
{
struct CommandPrompt
{
    UINT nId;
    const char* pszText;
};

const CommandPrompt kPrompts[] = {
    // File.
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN_SCENARIO, "Choose a mission and open it\nOpen"},
    {ID_FILE_RESTART_MISSION, "Start this mission again from its beginning\nRestart Mission"},
    {ID_FILE_OPEN_SAVED_GAME, "Open a saved game\nOpen Saved Game"},
    {ID_FILE_SAVE_GAME, "Save the mission as it stands now\nSave Game"},
    {ID_QUIT_MISSION, "Leave this mission\nQuit Mission"},
    // View.
    {ID_VIEW_ZOOM_IN, "Show the map at twice the scale\nZoom In"},
    {ID_VIEW_ZOOM_NORMAL, "Show the map one picture pixel to a screen pixel\nZoom 1:1"},
    {ID_VIEW_ZOOM_OUT, "Show the map at half the scale\nZoom Out"},
    {ID_VIEW_ZOOM_MAX_IN, "Show the map at its greatest scale\nMax In"},
    {ID_VIEW_ZOOM_MAX_OUT, "Show the whole map at its least scale\nMax Out"},
    {ID_VIEW_OVERVIEW_MAP, "Show or hide the overview map\nOverview Map"},
    {ID_VIEW_ECHELON_VEHICLES, "Show or hide single vehicles and teams\nVehicles"},
    {ID_VIEW_ECHELON_PLATOONS, "Show or hide the platoon symbols\nPlatoons"},
    {ID_VIEW_ECHELON_COMPANIES, "Show or hide the company symbols\nCompanies"},
    {ID_VIEW_MAP_COLOR, "Show the map in colour\nColor Map"},
    {ID_VIEW_MAP_CONTOUR, "Show the map's contour lines\nContour Map"},
    {ID_VIEW_MAP_CONTOUR_OVER_COLOR, "Show the contour lines over the colour map\nContour Over Color"},
    {ID_VIEW_GROUP_LOS, "Show the fields of fire of the selected group\nGroup LOS"},
    {ID_VIEW_LOS_FAN, "Show what can be seen from a unit or a point: click it on the map\nLOS Fan"},
    {ID_VIEW_LAST_SPOT_REPORT, "Show where the last spot report came from\nLast Spot Report"},
    {ID_VIEW_SPOT_REPORT_LOG, "Show or hide the spot report log\nSpot Report Log"},
    {ID_VIEW_OPTIONS, "Choose what the map shows at this zoom\nOptions"},
    {ID_VIEW_ORDER, "Show or hide the operations order\nOrder"},
    {ID_VIEW_HIERARCHY_TREE, "Show or hide the hierarchy tree of your units\nHierarchy Tree"},
    {ID_VIEW_AUTO_SCROLL, "Scroll the map when the mouse rests at an edge of the window\nAuto Scroll"},
    {ID_VIEW_SOUND, "Play the sounds of the battle or keep silent\nSound"},
    // Edit.
    {ID_EDIT_UNDO, "Take back the changes to the path being edited\nUndo"},
    {ID_EDIT_CUT, "Cut the path being edited down to the unit's position\nCut"},
    {ID_EDIT_COPY, "Copy the path being edited\nCopy"},
    {ID_EDIT_PASTE, "Give the copied path to the selected units\nPaste"},
    {ID_EDIT_PASTE_IN_LINE, "Give the copied path to the selected units, to travel in column\nPaste In Line"},
    {ID_EDIT_DELETE_NODES, "Remove nodes of the path being edited: click them on the map\nDelete Nodes"},
    {ID_EDIT_SHOW_PATH, "Show and edit the path of the selected unit or group\nShow Path"},
    // Actions.
    {ID_ACTIONS_FIRE_MISSION, "Plan a fire mission: click the firing unit, then the target\nFire Mission"},
    {ID_ACTIONS_FIRE_ORDER, "Open the fire order window\nFire Order"},
    {ID_ACTIONS_FM_LOG, "Show the fire mission log\nFM Log"},
    {ID_ACTIONS_UPLOAD, "Pass ammunition: click the carrier, then the units to receive it\nUpload"},
    {ID_ACTIONS_MOUNT, "Mount teams: click the carrier, then the teams to board it\nMount"},
    {ID_ACTIONS_DISMOUNT, "Dismount teams: click the carrier\nDismount"},
    {ID_ACTIONS_DEPLOY_MINES, "Lay a minefield: click the mine layer, then the place\nDeploy Mines"},
    // Orders.
    {ID_ORDERS_STOP, "Stop or start units: click them on the map\nStop"},
    {ID_ORDERS_SPRINT, "Make units sprint or stop sprinting: click them on the map\nSprint"},
    {ID_ORDERS_HOLD_FIRE, "Make units hold fire or fire again: click them on the map\nHold Fire"},
    {ID_ORDERS_DEFILADE, "Send stopped units into defilade or out of it: click them on the map\nDefilade"},
    {ID_ORDERS_SMOKE, "Make units start or stop their smoke: click them on the map\nSmoke"},
    {ID_ORDERS_CREEP, "Creep\nCreep"},
    // SOP.
    {ID_SOP_MAX_RANGE, "Set a unit's greatest engagement range: click the unit, then the range\nMax Range"},
    {ID_SOP_FIELD_OF_FIRE, "Set a unit's left and right engagement limits: click the unit, then the arc\nField of Fire"},
    {ID_SOP_FC_COPY, "Copy the fire control measures of the chosen unit\nFC Copy"},
    {ID_SOP_FC_PASTE, "Give the copied fire control measures to the selected units\nFC Paste"},
    {ID_SOP_FC_DELETE, "Remove the fire control measures of the selected units\nFC Delete"},
    {ID_SOP_SUPPRESS, "Suppress an area with direct fire: click the unit, then the area\nSuppress"},
    {ID_SOP_MARCH_SPEED, "Hold units to a march speed or free them: click them on the map\nMarch Speed"},
    {ID_SOP_HIDE_ON_CONTACT, "Make units hide when engaged: click them on the map\nHide On Contact"},
    {ID_SOP_ENGAGE_ON_CONTACT, "Make units stop and fire back when engaged: click them on the map\nEngage On Contact"},
    {ID_SOP_BYPASS_OBSTACLES, "Make units go round the obstacles they meet: click them on the map\nBypass Obstacles"},
    {ID_SOP_DISMOUNT_ON_CONTACT, "Make carriers dismount their teams when engaged: click them\nDismount On Contact"},
    {ID_SOP_DO_NOT_EMPLACE, "Keep units from emplacing when they stop: click them on the map\nDo Not Emplace"},
    // Time.
    {ID_TIME_START, "Start the game clock (ends the deployment phase)\nStart Clock"},
    {ID_TIME_STOP, "Stop the game clock\nStop Clock"},
    {ID_TIME_COMPRESSION_1, "Run the clock at real time\n1/1"},
    {ID_TIME_COMPRESSION_2, "Run the clock at twice real time\n2/1"},
    {ID_TIME_COMPRESSION_4, "Run the clock at four times real time\n4/1"},
    {ID_TIME_COMPRESSION_8, "Run the clock at eight times real time\n8/1"},
    // Multiplayer and help.
    {ID_MULTIPLAYER_CHAT_LOG, "Show the chat with your opponent\nChat Log"},
    {ID_MULTIPLAYER_SURRENDER, "Give up this mission to your opponent\nSurrender"},
    // The hierarchy tree's element commands.
    {ID_HIERARCHY_DETACH, "Detach the selected element from its platoon\nDetach"},
    {ID_HIERARCHY_RECALL_DETACHED, "Bring the detached elements back to their platoon\nRecall Detached"},
    {ID_HELP_INDEX, "Show the help contents\nHelp"},
    {ID_CONTEXT_HELP, "Show help on the next thing clicked\nContext Help"},
    {ID_HELP_VEHICLE_SPECS,
     "Display the contents of the vehicle, weapon, and ammunition database for this scenario\nVehicle Specs"},
    {ID_APP_ABOUT, "Show the program's version and links\nAbout"},
};
}  // namespace

void RegisterCommandPrompts()
{
    for (const CommandPrompt& prompt : kPrompts)
        RegisterResourceString(prompt.nId, prompt.pszText);
}
