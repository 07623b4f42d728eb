#pragma once
// Fixed-width scalar types in the shapes that the file formats and the rest
// of the program use. Widths are exact: the archive writes a WORD as two
// bytes and a DWORD/LONG as four, on every compiler.

#include "platform/core/Unset.h"

#include <cstdint>

typedef int BOOL;
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int16_t SHORT;
typedef unsigned int UINT;
typedef std::int32_t LONG;
typedef std::uint64_t ULONGLONG;
typedef char TCHAR;
typedef const char* LPCTSTR;
typedef const char* LPCSTR;
typedef char* LPTSTR;
typedef char* LPSTR;

// A colour as 0x00BBGGRR: red in the low byte.
typedef DWORD COLORREF;

constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
