#include "platform/ui/DialogTemplate.h"

CDialogTemplate& CDialogTemplate::Caption(const char* caption)
{
    m_strCaption = caption;
    return *this;
}

CDialogTemplate& CDialogTemplate::Size(int width, int height)
{
    m_size = CSize(width, height);
    return *this;
}

CDialogTemplate& CDialogTemplate::Style(DWORD style)
{
    m_dwStyle = style;
    return *this;
}

CDialogTemplate& CDialogTemplate::Control(CControlKind kind, UINT id, const char* text, const CRect& rect, DWORD style)
{
    CControlTemplate ct;
    ct.kind = kind;
    ct.id = id;
    ct.text = text;
    ct.rect = rect;
    ct.style = style;
    m_controls.push_back(ct);
    return *this;
}

CDialogTemplate& CDialogTemplate::PushButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::PushButton, id, text, CRect(x, y, x + w, y + h), style | BS_PUSHBUTTON);
}

CDialogTemplate& CDialogTemplate::DefPushButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::DefPushButton, id, text, CRect(x, y, x + w, y + h), style | BS_DEFPUSHBUTTON);
}

CDialogTemplate& CDialogTemplate::CheckBox(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::CheckBox, id, text, CRect(x, y, x + w, y + h), style | BS_AUTOCHECKBOX);
}

CDialogTemplate& CDialogTemplate::RadioButton(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::RadioButton, id, text, CRect(x, y, x + w, y + h), style | BS_AUTORADIOBUTTON);
}

CDialogTemplate& CDialogTemplate::GroupBox(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::GroupBox, id, text, CRect(x, y, x + w, y + h), style | BS_GROUPBOX);
}

CDialogTemplate& CDialogTemplate::Static(UINT id, const char* text, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Static, id, text, CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::Edit(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Edit, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::ListBox(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::ListBox, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::ComboBox(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::ComboBox, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::TreeCtrl(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::TreeCtrl, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::Slider(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Slider, id, "", CRect(x, y, x + w, y + h), style);
}

CDialogTemplate& CDialogTemplate::PageView(UINT id, int x, int y, int w, int h)
{
    return Control(CControlKind::PageView, id, "", CRect(x, y, x + w, y + h), 0);
}

CDialogTemplate& CDialogTemplate::Custom(UINT id, int x, int y, int w, int h, DWORD style)
{
    return Control(CControlKind::Custom, id, "", CRect(x, y, x + w, y + h), style);
}
