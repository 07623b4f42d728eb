#pragma once
// Shell execution: opening an address or starting a program, in place of
// the system's shell. With the verb "open" (or none): an address
// ("http://...", "https://...", "mailto:...", "www...") goes to the
// desktop's browser; a program is started with its parameters in the given
// directory; another existing file is opened with the desktop's handler.
// A program named "name.exe" that does not exist is also looked for as
// "name", the form programs take here.
//
// The result is above 32 on success; on failure it is one of the codes
// below (2 when the file is not found).

#include "platform/core/Types.h"
#include "platform/ui/Wnd.h"

#include <cstdint>

typedef std::intptr_t HINSTANCE;

constexpr HINSTANCE SE_ERR_FNF = 2;  // file not found
constexpr HINSTANCE SE_ERR_PNF = 3;  // path not found
constexpr HINSTANCE SE_ERR_ACCESSDENIED = 5;
constexpr HINSTANCE SE_ERR_NOASSOC = 31;  // nothing opens it
constexpr HINSTANCE SE_SUCCESS = 42;

HINSTANCE ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                       int showCommand);
