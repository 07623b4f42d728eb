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
