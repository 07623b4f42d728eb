#pragma once
// Keeps a window of the program active while any of its windows is shown.
//
// When a window goes away (a dialog closes, a message box is answered, a
// modeless tool window is closed) and nothing of the program is active any
// more, a window is made active again: a modal window still open, else the
// window the one that went belonged to, else the main window; and a frame
// whose keyboard focus is nowhere hands it to its view. So the map's keys
// and its edge scrolling work again at once, as under a desktop that
// activates a dialog's owner. Without a window manager (a virtual or
// offscreen screen) nothing else would, and every key would go nowhere
// until the map was clicked.
//
// The decision waits for the next turn of the event loop, so that a window
// shown right after (the next dialog of a sequence) keeps the activation it
// takes.

class QWidget;

// A top-level window of the program was hidden (the window bridge calls it).
void ReactivateAfterHiding(QWidget* window);
// A modal loop (dialog, message box, file dialog, menu) has ended.
void ReactivateAfterModalLoop();
