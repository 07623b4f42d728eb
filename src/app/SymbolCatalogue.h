#pragma once
// The symbol catalogue: the fixed set of symbols every drawing routine
// needs besides a mission's own vehicle graphics (unit and task-organisation
// markers, order and formation icons, path nodes, NATO symbols, dug
// positions, clouds, direction arrows and unidentified contacts). The
// application builds it once at start-up (CKDRApp::BuildPieceCatalogue) as a
// piece array of twenty elements, in the order of the table below, from
// bitmaps in the data directory; drawing code finds a symbol by its name.
//
// A list's frames are its members in order (member k is frame k); its
// layout follows from its number of members n: columns min(n, 5), rows n / 5
// rounded up.

#include "platform/core/Types.h"

struct SymbolCatalogueEntry
{
    BOOL bList;
    const char* pszName;
    const char* pszBitmapFile;
    int nRows;
    int nColumns;
    int nFrames;
    int nFlag;
    const char* const* apszMembers;  // lists only
};

constexpr int SYMBOL_CATALOGUE_SIZE = 20;
constexpr int SYMBOL_LIST_COUNT = 4;

// The twenty entries in catalogue order: the four lists, then the sixteen
// single pieces.
const SymbolCatalogueEntry* GetSymbolCatalogueTable();
