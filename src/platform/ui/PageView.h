#pragma once
// A page view in place of the web-browser control: shows the simple HTML
// pages the program writes, follows their links, and keeps a history.
//
// Navigate takes a "file:" address ("file:\\C:\\Game\\Savegame\\results.htm",
// "file:///home/.../index.htm" or a plain path); the path is found as the
// platform's files are (current directory, either separator, any case).
// Owners hear when Back or Forward becomes possible or impossible (command
// CSC_NAVIGATEBACK / CSC_NAVIGATEFORWARD) and when the page's title changes.
//
// This header is free of Qt.

#include "platform/core/CString.h"
#include "platform/core/Types.h"
#include "platform/ui/Wnd.h"

#include <functional>

constexpr long CSC_NAVIGATEFORWARD = 1;
constexpr long CSC_NAVIGATEBACK = 2;

class CPageView : public CWnd
{
public:
    CPageView();
    ~CPageView() override;

    BOOL Create(const CRect& rect, CWnd* parent, UINT id);

    // FALSE when the page cannot be found or read (the view then shows a
    // short notice naming the address).
    BOOL Navigate(const char* address);
    void GoBack();
    void GoForward();
    BOOL CanGoBack() const;
    BOOL CanGoForward() const;
    void Refresh();
    // The file name of the page shown ("results.htm"); empty before the first page.
    CString GetLocationName() const;
    // The full address of the page shown ("file:///...").
    CString GetLocationURL() const;
    // The page's <title>, or its file name when it has none.
    CString GetTitle() const;
    // The page's text without markup (for tests and copying).
    CString GetPlainText() const;

    std::function<void(long command, BOOL enable)> m_onCommandStateChange;
    std::function<void(const CString& title)> m_onTitleChange;
};

// The local path a "file:" address names (resolved as the platform's files
// are); empty when the address is not a file address.
CString PathFromFileAddress(const char* address);
