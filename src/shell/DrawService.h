#pragma once
// What the simulation's drawing code asks of the shell: the display whose
// back surface the map is drawn on and a device context lent on it, the
// catalogue of map symbols, the display choices (pieces shown, the sides'
// frames swapped, the other colour scheme), a redraw of the map view, and
// the map view window itself for the tool windows that sit beside it and
// pass it their keys.
//
// The application object installs itself while it lives; tests, tools and
// benchmarks install a CHeadlessShell, which lends contexts on a display of
// its own when one is handed to it and redraws nothing. With none
// installed nothing is lent and nothing is redrawn.

#include "platform/core/Types.h"

class CDC;
class CDisplay;
class CPieceArray;
class CWnd;

class CDrawService
{
public:
    virtual ~CDrawService() = default;

    // ---- Display and back-surface device context ----
    // The shell's display, ready or not; null when it has none.
    virtual CDisplay* GetDisplay() const = 0;
    // The display has been made for a window (or offscreen) and may draw.
    virtual BOOL IsDisplayReady() const = 0;
    // Lends a device context on the display's back surface; one still lent
    // is released first.
    virtual CDC* GetSurfaceDC() = 0;
    // FALSE when none was lent.
    virtual BOOL ReleaseSurfaceDC() = 0;

    // ---- Symbols and display choices ----
    // The catalogue of unit, order and marker symbols; null before it is built.
    virtual CPieceArray* GetSymbolCatalogue() const = 0;
    // The own units show their pieces (the document finds it when a
    // mission opens): the obstacles and holes then take the other colours.
    virtual BOOL ArePiecesShown() const = 0;
    virtual void SetPiecesShown(BOOL bShown) = 0;
    // The friendly and enemy echelon frames and wreck markers change
    // places while the player plays the opposing side.
    virtual BOOL IsSideSwapDisplay() const = 0;
    virtual void SetSideSwapDisplay(BOOL bSwapped) = 0;
    // The map's data tips in the other colour scheme.
    virtual BOOL IsAlternateColors() const = 0;

    // ---- The map view ----
    virtual void RedrawView() = 0;
    // The map view's window; null when there is none.
    virtual CWnd* GetMapViewWnd() const = 0;
    // A modeless window that covers the map opens (+1) or closes (-1): the
    // map does not scroll at the window edge while one is open.
    virtual void HoldAutoScroll(int nDelta) = 0;
};

// The installed service; null when none is.
CDrawService* GetDrawService();
// Installs a service (null: none) and answers the one it replaces.
CDrawService* SetDrawService(CDrawService* pService);
