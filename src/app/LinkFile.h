#pragma once
// "link.txt": the web addresses and the version message that the About box,
// the results posting and the lobby use. The file lies in the start
// directory (the parent of the data directory). Each line may carry one or
// more bracketed keys; a key's value is what is left of the line once the
// keys before it in the table (and the key itself) are removed. Reading
// stops at the end of the file or at the first empty line. A missing file
// is no error: every value stays "".

#include "platform/core/CString.h"

constexpr int LINK_KEY_COUNT = 11;

// The keys in the order they are removed from a line; index i fills the
// application's i-th link string (about icon link ... version message).
extern const char* const LINK_KEYS[LINK_KEY_COUNT];

// Removes every key of the table, in order, from the line; a key that was
// found gives its target what is left of the line at that moment.
void ApplyLinkLine(CString line, CString* const apTargets[LINK_KEY_COUNT]);

// Reads "link.txt" from the parent of the data directory into the targets
// (which the caller has set to ""). Leaves the data directory current.
void ReadLinkFile(const CString& strDataDir, CString* const apTargets[LINK_KEY_COUNT]);
