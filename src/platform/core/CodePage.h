#pragma once
// The program's text is Windows-1252: its stored files hold it, and every
// CString carries it. The system speaks UTF-8 (file names on disk) and the
// toolkit Unicode; these are the crossings, in one place so that both
// directions agree on every character.
//
// Nothing here allocates more than its result, and no input makes it fail:
// a character the code page lacks becomes '?' and is reported, so a caller
// can refuse it by name rather than store a silent '?'.

#include "platform/core/CString.h"

#include <string>
#include <string_view>

// The Unicode character a code-page byte stands for (the five codes
// Windows-1252 leaves unused map to themselves, as the system's own
// conversion does).
char16_t CodePageToUnicode(unsigned char c);
// The code-page byte for a Unicode character; -1 when the page lacks it.
int UnicodeToCodePage(char32_t u);

// Code-page text as UTF-8.
std::string CodePageToUtf8(std::string_view text);

// UTF-8 as code-page text. Answers TRUE when every character has a place
// in the code page. Otherwise each missing one becomes '?' and
// *unencodable (when given) holds the first of them, as UTF-8.
//
// A byte that begins no well-formed UTF-8 sequence is taken as a code-page
// byte itself: names written on disk before they were stored as UTF-8
// ("caf\xE9.asg") keep reading as they were written.
BOOL Utf8ToCodePage(std::string_view utf8, CString& text, std::string* unencodable = nullptr);
