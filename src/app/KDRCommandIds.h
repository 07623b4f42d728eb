#pragma once
// Command identifiers of the main menu that more than one window handles or
// shows: the menu, the accelerators and the toolbar name them by these ids.

#include "platform/core/Types.h"
#include "platform/ui/Command.h"

// Time menu: the game loop runs inside Time/Start and ends with Time/Stop.
constexpr UINT ID_TIME_START = 32868;
constexpr UINT ID_TIME_STOP = 32869;
// Time/Compression: 1/1, 2/1, 4/1 and 8/1, in this order.
constexpr UINT ID_TIME_COMPRESSION_1 = 33400;
constexpr UINT ID_TIME_COMPRESSION_2 = 33401;
constexpr UINT ID_TIME_COMPRESSION_4 = 33402;
constexpr UINT ID_TIME_COMPRESSION_8 = 33403;
// View/Zoom: Zoom In, Zoom Out and Zoom 1:1 (the map view handles them).
constexpr UINT ID_VIEW_ZOOM_IN = 32781;
constexpr UINT ID_VIEW_ZOOM_OUT = 32782;
constexpr UINT ID_VIEW_ZOOM_NORMAL = 32774;
// File/Save Game... is the framework's save-as command, which the document
// serves by asking for a saved-game name.
constexpr UINT ID_FILE_SAVE_GAME = ID_FILE_SAVE_AS;
// File/Quit Mission is the framework's exit command.
constexpr UINT ID_QUIT_MISSION = ID_APP_EXIT;
// Help/Vehicle Specs...: the equipment pages of the mission (the document
// handles it).
constexpr UINT ID_HELP_VEHICLE_SPECS = 33112;
// View/Spot Reports: Last Spot Report and Spot Report Log (key R).
constexpr UINT ID_VIEW_LAST_SPOT_REPORT = 32904;
constexpr UINT ID_VIEW_SPOT_REPORT_LOG = 32905;

// ---- The map view's menus (View, Edit, Actions, Orders, SOP) ----
// View/Echelon: which levels the map shows.
constexpr UINT ID_VIEW_ECHELON_VEHICLES = 33213;
constexpr UINT ID_VIEW_ECHELON_PLATOONS = 33214;
constexpr UINT ID_VIEW_ECHELON_COMPANIES = 33215;
// View/Map: the map picture's style.
constexpr UINT ID_VIEW_MAP_COLOR = 33420;
constexpr UINT ID_VIEW_MAP_CONTOUR = 33421;
constexpr UINT ID_VIEW_MAP_CONTOUR_OVER_COLOR = 33422;
// View/Zoom: the jumps to the greatest and least scale.
constexpr UINT ID_VIEW_ZOOM_MAX_IN = 33423;
constexpr UINT ID_VIEW_ZOOM_MAX_OUT = 33424;
constexpr UINT ID_VIEW_OVERVIEW_MAP = 33048;
// View/LOS.
constexpr UINT ID_VIEW_GROUP_LOS = 33425;
constexpr UINT ID_VIEW_LOS_FAN = 33028;
constexpr UINT ID_VIEW_OPTIONS = 32934;
// Companion windows the command gate also rules on.
constexpr UINT ID_VIEW_ORDER = 33109;
constexpr UINT ID_VIEW_HIERARCHY_TREE = 33116;
// Edit: the path being edited.
constexpr UINT ID_EDIT_UNDO = 0xE12B;
constexpr UINT ID_EDIT_SHOW_PATH = 32862;
constexpr UINT ID_EDIT_PASTE_IN_LINE = 32863;
constexpr UINT ID_EDIT_DELETE_NODES = 32864;
// Actions.
constexpr UINT ID_ACTIONS_FIRE_ORDER = 32825;
constexpr UINT ID_ACTIONS_FIRE_MISSION = 32833;
constexpr UINT ID_ACTIONS_MOUNT = 32874;
constexpr UINT ID_ACTIONS_DISMOUNT = 32875;
constexpr UINT ID_ACTIONS_FM_LOG = 33105;
constexpr UINT ID_ACTIONS_UPLOAD = 33338;
constexpr UINT ID_ACTIONS_DEPLOY_MINES = 33426;
// Orders: each puts the view into the mode of its order; the next click on
// a unit gives it the order.
constexpr UINT ID_ORDERS_STOP = 33030;
constexpr UINT ID_ORDERS_SPRINT = 33031;
constexpr UINT ID_ORDERS_HOLD_FIRE = 33032;
constexpr UINT ID_ORDERS_DEFILADE = 33033;
constexpr UINT ID_ORDERS_SMOKE = 33427;
constexpr UINT ID_ORDERS_CREEP = 33428;  // shown, never enabled
// SOP: standing orders, by mode the same way.
constexpr UINT ID_SOP_MAX_RANGE = 33037;
constexpr UINT ID_SOP_FIELD_OF_FIRE = 33038;
constexpr UINT ID_SOP_FC_COPY = 33429;
constexpr UINT ID_SOP_FC_PASTE = 33430;
constexpr UINT ID_SOP_FC_DELETE = 33431;
constexpr UINT ID_SOP_MARCH_SPEED = 33042;
constexpr UINT ID_SOP_HIDE_ON_CONTACT = 33043;
constexpr UINT ID_SOP_ENGAGE_ON_CONTACT = 33044;
constexpr UINT ID_SOP_BYPASS_OBSTACLES = 33045;
constexpr UINT ID_SOP_DISMOUNT_ON_CONTACT = 33432;
constexpr UINT ID_SOP_DO_NOT_EMPLACE = 33433;
constexpr UINT ID_SOP_SUPPRESS = 33279;
// The Escape key: ends whatever interaction is in progress. No menu item.
constexpr UINT ID_CANCEL_INTERACTION = 33367;

// File: Open... is the framework's open command (a scenario of the data
// directory), New the framework's new-document command (no menu item;
// Restart and Quit Mission run it). Open Saved Game... and Restart Mission
// are also the toolbar's first two buttons; Save Game is the framework's
// Save As, Help its help index.
constexpr UINT ID_FILE_OPEN_SCENARIO = ID_FILE_OPEN;
constexpr UINT ID_FILE_OPEN_SAVED_GAME = 33107;
constexpr UINT ID_FILE_RESTART_MISSION = 33108;
// View: the application's switches.
constexpr UINT ID_VIEW_AUTO_SCROLL = 33434;
constexpr UINT ID_VIEW_SOUND = 33435;
// Multiplayer: the chat window, the team-mates to pass units to (a submenu
// the session fills) and the surrender.
constexpr UINT ID_MULTIPLAYER_CHAT_LOG = 33344;
constexpr UINT ID_MULTIPLAYER_SURRENDER = 33345;
// The hierarchy tree's element commands the document serves: Detach, and
// Recall Detached (Rejoin on an element) of a platoon or company.
constexpr UINT ID_HIERARCHY_DETACH = 33329;
constexpr UINT ID_HIERARCHY_RECALL_DETACHED = 33212;
// The tree's TACSOP submenu: AI order k of the element's list as its
// TACSOP, k from 1 to 20.
constexpr UINT ID_TACSOP_FIRST = 33289;
constexpr UINT ID_TACSOP_LAST = 33308;
