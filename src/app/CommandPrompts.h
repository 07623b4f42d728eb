#pragma once
// The string table of the main menu's and the toolbar's commands: under
// each command id a status-bar prompt and, after a line break, the short
// name its toolbar button shows as a tooltip ("prompt\ntooltip"). The menus
// and the toolbar read both from here, so a command says the same thing
// wherever the player meets it.

// Registers every entry; the main frame calls it once before its menus and
// toolbar are built. Calling it again changes nothing.
void RegisterCommandPrompts();
