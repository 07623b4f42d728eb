#pragma once
// Dialogs and their controls.
//
// A dialog is laid out in code. Its class describes its controls in
// BuildTemplate (positions and sizes in pixels, as a resource template
// would), or a builder is registered for its template id:
//
//     void CSaveGameDlg::BuildTemplate(CDialogTemplate& t)
//     {
//         t.Caption("Save Game").Size(300, 240);
//         t.Static(IDC_STATIC, "Save Name:", 10, 10, 200, 16);
//         t.Edit(1040, 10, 30, 280, 22);
//         t.ListBox(1026, 10, 60, 280, 130, LBS_NOTIFY | LBS_SORT);
//         t.DefPushButton(IDOK, "OK", 120, 200, 80, 26);
//         t.PushButton(IDCANCEL, "Cancel", 210, 200, 80, 26);
//     }
//
// Controls are found with GetDlgItem(id) (as CWnd*) or typed with
// GetDlgControl<CListBox>(id). A member control (a CTreeCtrl subclass, say)
// takes over the control of its id with DDX_Control in DoDataExchange or
// with BindControl in the constructor (before the window exists), so its
// virtual handlers see the control's events.
//
// Data exchange: DoDataExchange lists DDX_/DDV_ calls; UpdateData(FALSE)
// fills the controls (OnInitDialog does it), UpdateData(TRUE) reads and
// validates them (OnOK does it) and shows the framework's messages, such as
// "Please enter an integer between 1 and 10.", through the UI service.
//
// Modal dialogs run through the UI service (DoModal), so tests can answer
// them. Modeless dialogs (Create) hand accelerator keys on to the main
// frame, so the map's keys keep working while they have the focus; a
// modeless dialog ends with DestroyWindow, not EndDialog.
//
// Buttons: a click on button id runs, in order, a MapNotify(id, BN_CLICKED)
// handler, a MapCommand(id) handler, or for IDOK/IDCANCEL OnOK/OnCancel.
// Enter presses the default button, Escape and the close box run OnCancel.
//
// This header is free of Qt.
#include "platform/core/CString.h"
#include "platform/core/Geometry.h"
#include "platform/core/Types.h"
#include "platform/ui/Button.h"
#include "platform/ui/DC.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/SliderCtrl.h"
#include "platform/ui/TreeCtrl.h"
#include "platform/ui/UiService.h"
#include "platform/ui/Wnd.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class CDataExchange;
class CDialog;
class CFont;

// ---- Dialogs ----
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT templateId = 0, CWnd* parent = nullptr);
    ~CDialog() override;

    // The layout. The base uses the builder registered for the template id.
    virtual void BuildTemplate(CDialogTemplate& t);
    static void RegisterTemplate(UINT templateId, std::function<void(CDialogTemplate&)> builder);
    UINT GetTemplateId() const { return m_nTemplateId; }

    // Binds a member control to a template id before the window exists.
    void BindControl(UINT id, CWnd& control);
    // A control by id as its class (null when absent or of another class).
    template <class T>
    T* GetDlgControl(UINT id) const
    {
        return dynamic_cast<T*>(GetDlgItem(id));
    }

    virtual int DoModal();
    // Modeless: creates and shows the window (unless the template lacks
    // WS_VISIBLE... modeless dialogs are shown at once, as the program's are).
    virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(CWnd* parent = nullptr) { return Create(m_nTemplateId, parent); }
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    virtual void DoDataExchange(CDataExchange* pDX);
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    BOOL IsModal() const { return m_bModal; }

    // Acts on a control as the user would: a button click, Enter (the
    // default button) or Escape.
    BOOL PressButton(UINT id);
    void PressEnter();
    void PressEscape();

    // A click, selection or other notification from child control id.
    virtual BOOL OnCommand(UINT id, UINT code);
    BOOL OnCmdMsg(UINT id, CCmdUI* pCmdUI) override;
    // Modeless dialogs offer keys to the main frame's accelerator table first.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnClose() override;

    // ---- Modal protocol (used by the UI services) ----
    BOOL BeginModal();   // creates the window and runs OnInitDialog
    void ShowModal();    // shows it, blocking input to other windows
    int RunModalLoop();  // serves events until EndDialog
    bool IsModalEnded() const { return m_bEnded; }
    int GetModalResult() const { return m_nResult; }
    void FinishModal();  // destroys the window

    // Hands keys on to the main frame (default: modeless only).
    bool m_bForwardAccelerators = false;

protected:
    // Builds the window from the template: a top-level dialog, or (with
    // container) a child window inside it, as a property page is.
    BOOL CreateDialogWindow(CWnd* parent, bool modal, class QWidget* container = nullptr);
    CWnd* CreateControl(const CControlTemplate& ct);

    UINT m_nTemplateId;
    bool m_bModal = false;
    bool m_bEnded = false;
    int m_nResult = IDCANCEL;
    UINT m_nDefId = IDOK;
    std::map<UINT, CWnd*> m_bound;
    std::vector<std::unique_ptr<CWnd>> m_ownedControls;
    std::vector<UINT> m_groupStarts;  // ids of controls that start a group, in template order
    std::vector<UINT> m_order;        // control ids in template order
    class QEventLoop* m_pLoop = nullptr;

    friend void DDX_Radio(CDataExchange*, UINT, int&);
};
