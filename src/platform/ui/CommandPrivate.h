#pragma once
// Internals shared by the menus and the control bars: the two parts of a
// command's string in the string table ("prompt\ntooltip").

#include "platform/core/CString.h"
#include "platform/core/Types.h"

CString TooltipOf(UINT id);
CString PromptOf(UINT id);
