#pragma once
// Keeps the desktop from blanking the screen while a window of the game is
// in front: a battle runs for long stretches with nobody touching the mouse.
//
// The desktop is asked over the session bus named by
// DBUS_SESSION_BUS_ADDRESS, through the freedesktop ScreenSaver service
// ("Inhibit" with the program's name and a reason, "UnInhibit" with the
// cookie it gave). Without a session bus, or without the service on it,
// nothing happens and nothing is shown: the screen saver simply works as
// it would without the game. The calls never wait for the service; a
// cookie that arrives after the window has gone is handed back at once.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <memory>

class CWnd;

class CScreenSaverInhibitor
{
public:
    CScreenSaverInhibitor(const char* pszApplication, const char* pszReason);
    // Releases what is still held.
    ~CScreenSaverInhibitor();
    CScreenSaverInhibitor(const CScreenSaverInhibitor&) = delete;
    CScreenSaverInhibitor& operator=(const CScreenSaverInhibitor&) = delete;

    // Inhibits while the window is the active window, and releases when it
    // is deactivated, hidden or destroyed. The window must outlive this
    // object or be destroyed before it; either order is safe.
    void FollowWindow(CWnd* pWnd);
    // Asks for the inhibition (once; again after a release).
    void Inhibit();
    // Gives the inhibition back.
    void Release();
    // Whether the inhibition is wanted now (it may not be granted yet, or
    // at all when there is no service).
    BOOL IsInhibiting() const;

private:
    class CImpl;
    std::unique_ptr<CImpl> m_pImpl;
};
