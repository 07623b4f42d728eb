#include "platform/ui/DataExchange.h"

#include "platform/ui/Dialog.h"

#include <QRadioButton>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

// ---------------------------------------------------------------------------
// Data exchange

CWnd* CDataExchange::PrepareCtrl(UINT id)
{
    m_idLastControl = id;
    m_bEditLastControl = false;
    return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

CWnd* CDataExchange::PrepareEditCtrl(UINT id)
{
    CWnd* ctl = PrepareCtrl(id);
    m_bEditLastControl = true;
    return ctl;
}

void CDataExchange::Fail()
{
    if (m_pDlgWnd && m_bSaveAndValidate)
    {
        if (CWnd* ctl = m_pDlgWnd->GetDlgItem(m_idLastControl))
        {
            ctl->SetFocus();
            if (m_bEditLastControl)
                if (auto* edit = dynamic_cast<CEdit*>(ctl))
                    edit->SetSel(0, -1);
        }
    }
    throw CUserException();
}

namespace
{
void Complain(CDataExchange* pDX, const CString& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

// Exchanges with the control of id when it is a Control: save reads the
// member from the control, fill puts the member into it.
template <class Control, class Save, class Fill>
void Exchange(CDataExchange* pDX, UINT id, Save save, Fill fill)
{
    auto* control = dynamic_cast<Control*>(pDX->PrepareCtrl(id));
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate)
        save(*control);
    else
        fill(*control);
}
}  // namespace

void DDX_Text(CDataExchange* pDX, UINT id, CString& value)
{
    CWnd* ctl = pDX->PrepareEditCtrl(id);
    if (!ctl)
        return;
    if (pDX->m_bSaveAndValidate)
        value = ctl->GetWindowText();
    else
        ctl->SetWindowText(value);
}

namespace
{
template <class T>
bool ParseInteger(const CString& text, T& out, bool isSigned)
{
    CString s = text;
    s.Trim();
    if (s.IsEmpty())
        return false;
    errno = 0;
    char* end = nullptr;
    if (isSigned)
    {
        const long long v = std::strtoll(s.GetString(), &end, 10);
        if (errno || *end || v < static_cast<long long>(std::numeric_limits<T>::min()) ||
            v > static_cast<long long>(std::numeric_limits<T>::max()))
            return false;
        out = static_cast<T>(v);
    }
    else
    {
        if (s[0] == '-')
            return false;
        const unsigned long long v = std::strtoull(s.GetString(), &end, 10);
        if (errno || *end || v > static_cast<unsigned long long>(std::numeric_limits<T>::max()))
            return false;
        out = static_cast<T>(v);
    }
    return true;
}

template <class T>
void IntegerText(CDataExchange* pDX, UINT id, T& value, bool isSigned)
{
    CWnd* ctl = pDX->PrepareEditCtrl(id);
    if (!ctl)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        T parsed{};
        if (!ParseInteger(ctl->GetWindowText(), parsed, isSigned))
            Complain(pDX, isSigned ? "Please enter an integer." : "Please enter a positive integer.");
        value = parsed;
    }
    else
    {
        CString s;
        if (isSigned)
            s.Format("%lld", static_cast<long long>(value));
        else
            s.Format("%llu", static_cast<unsigned long long>(value));
        ctl->SetWindowText(s);
    }
}

template <class T>
void FloatText(CDataExchange* pDX, UINT id, T& value, int digits)
{
    CWnd* ctl = pDX->PrepareEditCtrl(id);
    if (!ctl)
        return;
    if (pDX->m_bSaveAndValidate)
    {
        CString s = ctl->GetWindowText();
        s.Trim();
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(s.GetString(), &end);
        if (s.IsEmpty() || errno || *end || !std::isfinite(v))
            Complain(pDX, "Please enter a number.");
        value = static_cast<T>(v);
    }
    else
    {
        CString s;
        s.Format("%.*g", digits, static_cast<double>(value));
        ctl->SetWindowText(s);
    }
}
}  // namespace

void DDX_Text(CDataExchange* pDX, UINT id, int& value) { IntegerText(pDX, id, value, true); }
void DDX_Text(CDataExchange* pDX, UINT id, UINT& value) { IntegerText(pDX, id, value, false); }
void DDX_Text(CDataExchange* pDX, UINT id, float& value) { FloatText(pDX, id, value, 6); }
void DDX_Text(CDataExchange* pDX, UINT id, double& value) { FloatText(pDX, id, value, 15); }

void DDX_Check(CDataExchange* pDX, UINT id, int& value)
{
    const auto save = [&](CButton& button) { value = button.GetCheck(); };
    const auto fill = [&](CButton& button) { button.SetCheck(value); };
    Exchange<CButton>(pDX, id, save, fill);
}

void DDX_Radio(CDataExchange* pDX, UINT firstId, int& value)
{
    auto* dlg = dynamic_cast<CDialog*>(pDX->m_pDlgWnd);
    if (!dlg)
        return;
    pDX->PrepareCtrl(firstId);
    // The group: firstId and the radio buttons after it up to the next
    // control that starts a group.
    std::vector<CButton*> group;
    bool inGroup = false;
    for (UINT id : dlg->m_order)
    {
        const bool starts =
            std::find(dlg->m_groupStarts.begin(), dlg->m_groupStarts.end(), id) != dlg->m_groupStarts.end();
        if (!inGroup)
        {
            if (id == firstId)
                inGroup = true;
            else
                continue;
        }
        else if (starts)
        {
            break;
        }
        auto* button = dynamic_cast<CButton*>(dlg->GetDlgItem(id));
        if (!button || !qobject_cast<QRadioButton*>(button->GetWidget()))
            break;
        group.push_back(button);
    }
    if (pDX->m_bSaveAndValidate)
    {
        value = -1;
        for (size_t i = 0; i < group.size(); ++i)
            if (group[i]->GetCheck() == BST_CHECKED)
                value = static_cast<int>(i);
    }
    else
    {
        for (size_t i = 0; i < group.size(); ++i)
            group[i]->SetCheck(static_cast<int>(i) == value ? BST_CHECKED : BST_UNCHECKED);
    }
}

namespace
{
// The chosen entry of a list or combo box of the class Box, by index.
template <class Box>
void ExchangeIndex(CDataExchange* pDX, UINT id, int& index)
{
    const auto save = [&](Box& box) { index = box.GetCurSel(); };
    const auto fill = [&](Box& box) { box.SetCurSel(index); };
    Exchange<Box>(pDX, id, save, fill);
}

// The chosen entry's text; empty when none is chosen.
CString ChosenText(const CListBox& list)
{
    const int sel = list.GetCurSel();
    return sel >= 0 ? list.GetText(sel) : CString();
}
}  // namespace

void DDX_LBIndex(CDataExchange* pDX, UINT id, int& index) { ExchangeIndex<CListBox>(pDX, id, index); }

void DDX_LBString(CDataExchange* pDX, UINT id, CString& value)
{
    const auto save = [&](CListBox& list) { value = ChosenText(list); };
    const auto fill = [&](CListBox& list)
    {
        if (list.SelectString(-1, value) < 0)
            list.SetCurSel(-1);
    };
    Exchange<CListBox>(pDX, id, save, fill);
}

void DDX_LBStringExact(CDataExchange* pDX, UINT id, CString& value)
{
    const auto save = [&](CListBox& list) { value = ChosenText(list); };
    const auto fill = [&](CListBox& list) { list.SetCurSel(list.FindStringExact(-1, value)); };
    Exchange<CListBox>(pDX, id, save, fill);
}

void DDX_CBIndex(CDataExchange* pDX, UINT id, int& index) { ExchangeIndex<CComboBox>(pDX, id, index); }

// A combo box exchanges its text: an entry the text begins (or, for the
// exact form, equals) is chosen, any other text is typed in.
void DDX_CBString(CDataExchange* pDX, UINT id, CString& value)
{
    const auto save = [&](CComboBox& combo) { value = combo.GetWindowText(); };
    const auto fill = [&](CComboBox& combo)
    {
        if (combo.SelectString(-1, value) < 0)
            combo.SetWindowText(value);
    };
    Exchange<CComboBox>(pDX, id, save, fill);
}

void DDX_CBStringExact(CDataExchange* pDX, UINT id, CString& value)
{
    const auto save = [&](CComboBox& combo) { value = combo.GetWindowText(); };
    const auto fill = [&](CComboBox& combo)
    {
        const int index = combo.FindStringExact(-1, value);
        if (index >= 0)
            combo.SetCurSel(index);
        else
            combo.SetWindowText(value);
    };
    Exchange<CComboBox>(pDX, id, save, fill);
}

void DDX_Slider(CDataExchange* pDX, UINT id, int& value)
{
    const auto save = [&](CSliderCtrl& slider) { value = slider.GetPos(); };
    const auto fill = [&](CSliderCtrl& slider) { slider.SetPos(value); };
    Exchange<CSliderCtrl>(pDX, id, save, fill);
}

void DDX_Control(CDataExchange* pDX, UINT id, CWnd& control)
{
    if (control.GetWidget())
        return;
    control.SubclassDlgItem(id, pDX->m_pDlgWnd);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int maxChars)
{
    if (pDX->m_bSaveAndValidate)
    {
        if (value.GetLength() > maxChars)
        {
            CString text;
            text.Format("Enter no more than %d characters.", maxChars);
            Complain(pDX, text);
        }
    }
    else if (auto* edit = dynamic_cast<CEdit*>(pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl)))
    {
        edit->LimitText(maxChars);
    }
    else if (auto* combo = dynamic_cast<CComboBox*>(pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl)))
    {
        combo->LimitText(maxChars);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter an integer between %d and %d.", minValue, maxValue);
        Complain(pDX, text);
    }
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter an integer between %u and %u.", minValue, maxValue);
        Complain(pDX, text);
    }
}

void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minValue, LONG maxValue)
{
    DDV_MinMaxInt(pDX, static_cast<int>(value), static_cast<int>(minValue), static_cast<int>(maxValue));
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter a number between %g and %g.", static_cast<double>(minValue),
                    static_cast<double>(maxValue));
        Complain(pDX, text);
    }
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue)
{
    if (pDX->m_bSaveAndValidate && (value < minValue || value > maxValue))
    {
        CString text;
        text.Format("Please enter a number between %g and %g.", minValue, maxValue);
        Complain(pDX, text);
    }
}
