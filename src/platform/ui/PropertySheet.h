#pragma once
// Property sheets: a window of tabbed pages, each page a dialog (laid out in
// BuildTemplate like any CDialog). Pages can be added and removed while the
// sheet is open. A page's window is made when it is first shown (its
// OnInitDialog runs then); OnSetActive / OnKillActive run as pages change,
// and a page whose OnKillActive answers FALSE keeps the focus.
//
// Modal sheets (DoModal, through the UI service) have OK, Cancel and, unless
// PSH_NOAPPLYNOW is set, Apply buttons; OK and Apply ask every created page
// to validate and apply. Modeless sheets (Create) have no buttons and hand
// accelerator keys on to the main frame.
//
// This header is free of Qt.

#include "platform/ui/Dialog.h"

#include <vector>

constexpr DWORD PSH_NOAPPLYNOW = 0x0080;
constexpr UINT ID_APPLY_NOW = 0x3021;

class CPropertySheet;

class CPropertyPage : public CDialog
{
public:
    explicit CPropertyPage(UINT templateId = 0, const char* caption = nullptr);
    ~CPropertyPage() override;

    virtual BOOL OnSetActive();   // base: fills the controls when first shown
    virtual BOOL OnKillActive();  // base: UpdateData(TRUE)
    virtual BOOL OnApply();       // base: OnOK, TRUE
    void OnOK() override;         // pages do not end anything
    void OnCancel() override;
    void SetModified(BOOL changed = TRUE);
    BOOL IsModified() const { return m_bChanged; }
    void CancelToClose();
    CPropertySheet* GetSheet() const { return m_pSheet; }
    const CString& GetPageCaption() const { return m_strCaption; }

    // For the sheet: creates the page's window inside its tab.
    BOOL CreatePage(CPropertySheet* sheet, class QWidget* tab);
    void SetSheet(CPropertySheet* sheet) { m_pSheet = sheet; }
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    CString m_strCaption;
    CPropertySheet* m_pSheet = nullptr;
    bool m_bChanged = false;
};

class CPropertySheet : public CWnd
{
public:
    explicit CPropertySheet(const char* caption = nullptr, CWnd* parent = nullptr, UINT selectPage = 0);
    ~CPropertySheet() override;

    void AddPage(CPropertyPage* page);  // not owned
    void RemovePage(CPropertyPage* page);
    void RemovePage(int index);
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    CPropertyPage* GetPage(int index) const;
    int GetPageIndex(CPropertyPage* page) const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int index);
    BOOL SetActivePage(CPropertyPage* page);
    void SetTitle(const char* title);
    CString GetTitle() const { return m_strCaption; }

    virtual int DoModal();
    virtual BOOL Create(CWnd* parent = nullptr, DWORD style = 0, DWORD exStyle = 0);
    virtual BOOL OnInitDialog();
    void EndDialog(int result);
    // As the user would: OK, Cancel, Apply.
    BOOL PressButton(UINT id);
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void OnClose() override;

    DWORD m_dwFlags = 0;  // PSH_ flags
    bool m_bForwardAccelerators = false;

    // ---- Modal protocol (through the UI service's dialog runner) ----
    class CSheetDialog* GetModalDialog() { return m_pModal.get(); }

private:
    friend class CSheetDialog;
    friend class CPropertyPage;
    BOOL BuildWindow(CWnd* parent, bool modal);
    void RebuildTabs();
    void OnTabChanged(int index);
    BOOL ApplyAll();
    class QTabWidget* Tabs() const;

    CString m_strCaption;
    CWnd* m_pParent;
    int m_nStartPage;
    int m_nActive = -1;
    std::vector<CPropertyPage*> m_pages;
    std::vector<class QWidget*> m_tabs;
    std::unique_ptr<class CSheetDialog> m_pModal;
    bool m_bModal = false;
};

// The modal dialog that carries a modal sheet through the UI service; a
// test's dialog action reaches the sheet with GetSheet().
class CSheetDialog : public CDialog
{
public:
    explicit CSheetDialog(CPropertySheet* sheet);
    CPropertySheet* GetSheet() const { return m_pSheet; }

    void BuildTemplate(CDialogTemplate& t) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(UINT id, UINT code) override;

private:
    CPropertySheet* m_pSheet;
};
