#pragma once
// CAboutDlg: the About box, shown once as a splash before the first start
// menu and from Help/About. Its two links (the text line and the program
// icon) take their addresses from "link.txt" through the application.

#include "app/StaticLink.h"
#include "platform/ui/Dialog.h"

constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDC_ABOUT_TEXT_LINK = 1251;
constexpr UINT IDC_ABOUT_ICON_LINK = 1252;

class CAboutDlg : public CDialog
{
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;

    CStaticLink m_textLink;
    CStaticLink m_iconLink;
};

// Shows the About box modally over the main window.
void ShowAboutBox();
