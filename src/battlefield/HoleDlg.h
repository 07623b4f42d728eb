#pragma once
// CHoleDlg: the modal "Hole Properties" dialog. It shows a dug position's
// type ("Vehicle" or "Dismount") and lets the player set the direction it
// faces in whole mils (0 to 6400, checked on OK with the framework's
// message). For several positions at once the type is greyed out and shown
// as "********".
//
// The caller sets the facing (radians), the kind and the several-positions
// flag; on OK m_fFacing holds the new facing.

#include "platform/ui/Dialog.h"

constexpr UINT IDD_HOLE_PROPERTIES = 140;
constexpr UINT IDC_HOLE_TYPE = 1236;
constexpr UINT IDC_HOLE_DIRECTION = 1108;

class CHoleDlg : public CDialog
{
public:
    explicit CHoleDlg(CWnd* pParent = nullptr);

    void BuildTemplate(CDialogTemplate& t) override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    BOOL m_bSeveral = FALSE;
    int m_nDirection = 0;  // mils
    CString m_strType;
    float m_fFacing = 0.0f;  // radians
    int m_nKind = 1;
};
