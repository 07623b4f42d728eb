#pragma once
// CMessageBoxDlg: the modeless "Message Box" the document opens at a point
// of the map (messages from the other player, the AI-order editor's
// prompts). It is placed at its point in the owner's client area, moved
// back onto the screen when it would cross the right or bottom edge, and
// centred when it has no point (x below 1 or y 0 or less). While it is open
// the application's idle step does not scroll the map.
//
// The object deletes itself after its window is destroyed (OK, Cancel or
// the close box); the pointer it was given to clear (the document's) is
// cleared then, so nobody keeps a dangling box.

#include "platform/ui/Dialog.h"

constexpr UINT IDD_MESSAGE_BOX = 318;
constexpr UINT IDC_MESSAGE_BOX_TEXT = 1454;

class CMessageBoxDlg : public CDialog
{
public:
    // ppHolder, when given, is cleared when the box goes.
    CMessageBoxDlg(CWnd* pOwner, CMessageBoxDlg** ppHolder);
    ~CMessageBoxDlg() override;

    // Creates the window once; a second call does nothing.
    BOOL CreateBox();

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    int m_nResult = 2;
    BOOL m_bReportBack = FALSE;
    CWnd* m_pOwner;
    BOOL m_bCreated = FALSE;
    int m_nX = 0;  // in the owner's client area
    int m_nY = 0;
    CString m_strCaption;
    CString m_strText;

protected:
    void PostNcDestroy() override;

private:
    // The hold on the map's edge scrolling goes, and the AI-order edit is
    // left unless the box reported back.
    void Close();

    CMessageBoxDlg** m_ppHolder;
    BOOL m_bHoldTaken = FALSE;
};
