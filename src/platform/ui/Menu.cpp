#include "platform/ui/Command.h"

#include "platform/ui/CommandPrivate.h"
#include "platform/ui/QtBridge.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <map>

namespace
{
std::map<UINT, CMenuDesc>& MenuResources()
{
    static std::map<UINT, CMenuDesc> table;
    return table;
}
}  // namespace

// ---------------------------------------------------------------------------

CMenu::CMenu() = default;
CMenu::~CMenu() = default;

BOOL CMenu::CreateMenu()
{
    m_items.clear();
    m_bCreated = true;
    return TRUE;
}

BOOL CMenu::CreatePopupMenu() { return CreateMenu(); }

BOOL CMenu::DestroyMenu()
{
    const BOOL was = m_bCreated;
    m_items.clear();
    m_bCreated = false;
    return was;
}

void CMenu::RegisterMenuResource(UINT resourceId, CMenuDesc desc) { MenuResources()[resourceId] = std::move(desc); }

BOOL CMenu::IsMenuResourceRegistered(UINT resourceId) { return MenuResources().count(resourceId) != 0; }

BOOL CMenu::LoadMenu(UINT resourceId)
{
    auto it = MenuResources().find(resourceId);
    if (it == MenuResources().end())
        return FALSE;
    return LoadMenu(it->second);
}

BOOL CMenu::LoadMenu(const CMenuDesc& desc)
{
    CreateMenu();
    for (const CMenuItemDesc& d : desc)
        Append(d);
    return TRUE;
}

void CMenu::Append(const CMenuItemDesc& desc)
{
    Item item;
    item.text = desc.text;
    if (desc.separator)
    {
        item.separator = true;
    }
    else if (desc.popup)
    {
        item.id = kMenuPopupId;
        item.popup = std::make_unique<CMenu>();
        item.popup->CreatePopupMenu();
        for (const CMenuItemDesc& d : desc.items)
            item.popup->Append(d);
    }
    else
    {
        item.id = desc.id;
    }
    m_items.push_back(std::move(item));
}

UINT CMenu::GetMenuItemID(int position) const
{
    const Item* item = GetItem(position);
    if (!item)
        return kMenuPopupId;
    if (item->popup)
        return kMenuPopupId;
    return item->separator ? 0 : item->id;
}

CMenu* CMenu::GetSubMenu(int position) const
{
    const Item* item = GetItem(position);
    return item ? item->popup.get() : nullptr;
}

const CMenu::Item* CMenu::GetItem(int position) const
{
    if (position < 0 || position >= static_cast<int>(m_items.size()))
        return nullptr;
    return &m_items[static_cast<size_t>(position)];
}

CMenu::Item* CMenu::FindItem(UINT id, CMenu** owner, int* position)
{
    for (size_t i = 0; i < m_items.size(); ++i)
    {
        Item& item = m_items[i];
        if (item.popup)
        {
            if (Item* found = item.popup->FindItem(id, owner, position))
                return found;
        }
        else if (!item.separator && item.id == id)
        {
            if (owner)
                *owner = this;
            if (position)
                *position = static_cast<int>(i);
            return &item;
        }
    }
    return nullptr;
}

CMenu::Item* CMenu::Locate(UINT item, UINT flags, CMenu** owner, int* position)
{
    if (flags & MF_BYPOSITION)
    {
        if (item >= m_items.size())
            return nullptr;
        if (owner)
            *owner = this;
        if (position)
            *position = static_cast<int>(item);
        return &m_items[item];
    }
    return FindItem(item, owner, position);
}

const CMenu::Item* CMenu::Locate(UINT item, UINT flags) const
{
    return const_cast<CMenu*>(this)->Locate(item, flags, nullptr, nullptr);
}

int CMenu::GetMenuString(UINT item, CString& text, UINT flags) const
{
    const Item* found = Locate(item, flags);
    text = found ? found->text : CString();
    return text.GetLength();
}

CString CMenu::GetMenuString(UINT item, UINT flags) const
{
    CString text;
    GetMenuString(item, text, flags);
    return text;
}

UINT CMenu::GetMenuState(UINT item, UINT flags) const
{
    const Item* found = Locate(item, flags);
    if (!found)
        return 0xFFFFFFFF;
    UINT state = found->state;
    if (found->separator)
        state |= MF_SEPARATOR;
    if (found->popup)
        state |= MF_POPUP | (found->popup->GetMenuItemCount() << 8);
    return state;
}

BOOL CMenu::AppendMenu(UINT flags, UINT id, const char* text)
{
    if (!m_bCreated)
        CreateMenu();
    // The position past the last item is the end of this menu.
    return InsertMenu(0xFFFFFFFF, flags | MF_BYPOSITION, id, text);
}

CMenu* CMenu::AppendPopup(const char* text)
{
    AppendMenu(MF_POPUP, 0, text);
    return m_items.back().popup.get();
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT id, const char* text)
{
    CMenu* owner = this;
    int index = static_cast<int>(m_items.size());
    if (flags & MF_BYPOSITION)
    {
        if (position != 0xFFFFFFFF && position < m_items.size())
            index = static_cast<int>(position);
    }
    else if (!FindItem(position, &owner, &index))
    {
        return FALSE;
    }
    Item item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    item.id = item.separator ? 0 : id;
    item.text = text;
    item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    if (flags & MF_POPUP)
    {
        item.id = kMenuPopupId;
        item.popup = std::make_unique<CMenu>();
        item.popup->CreatePopupMenu();
    }
    owner->m_items.insert(owner->m_items.begin() + index, std::move(item));
    return TRUE;
}

CMenu* CMenu::InsertPopup(UINT position, UINT flags, const char* text)
{
    CMenu* owner = this;
    int index = static_cast<int>(m_items.size());
    if (flags & MF_BYPOSITION)
    {
        if (position != 0xFFFFFFFF && position < m_items.size())
            index = static_cast<int>(position);
    }
    else if (!FindItem(position, &owner, &index))
    {
        return nullptr;
    }
    Item item;
    item.id = kMenuPopupId;
    item.text = text;
    item.popup = std::make_unique<CMenu>();
    item.popup->CreatePopupMenu();
    CMenu* popup = item.popup.get();
    owner->m_items.insert(owner->m_items.begin() + index, std::move(item));
    return popup;
}

BOOL CMenu::ModifyMenu(UINT position, UINT flags, UINT id, const char* text)
{
    Item* item = Locate(position, flags, nullptr, nullptr);
    if (!item)
        return FALSE;
    item->separator = (flags & MF_SEPARATOR) != 0;
    if (!item->popup)
        item->id = item->separator ? 0 : id;
    if (text)
        item->text = text;
    item->state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT position, UINT flags)
{
    CMenu* owner = nullptr;
    int index = -1;
    if (!Locate(position, flags, &owner, &index) || !owner)
        return FALSE;
    owner->m_items.erase(owner->m_items.begin() + index);
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT item, UINT enable)
{
    Item* found = Locate(item, enable & MF_BYPOSITION, nullptr, nullptr);
    if (!found)
        return 0xFFFFFFFF;
    const UINT old = found->state & (MF_GRAYED | MF_DISABLED);
    found->state = (found->state & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return old;
}

UINT CMenu::CheckMenuItem(UINT item, UINT check)
{
    Item* found = Locate(item, check & MF_BYPOSITION, nullptr, nullptr);
    if (!found)
        return 0xFFFFFFFF;
    const UINT old = found->state & MF_CHECKED;
    found->state = (found->state & ~MF_CHECKED) | (check & MF_CHECKED);
    found->radio = false;
    return old;
}

BOOL CMenu::CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags)
{
    bool any = false;
    if (flags & MF_BYPOSITION)
    {
        for (UINT i = first; i <= last && i < m_items.size(); ++i)
        {
            m_items[i].state = (m_items[i].state & ~MF_CHECKED) | (i == item ? MF_CHECKED : 0);
            m_items[i].radio = true;
            any = true;
        }
        return any;
    }
    for (UINT id = first; id <= last; ++id)
    {
        if (Item* found = FindItem(id))
        {
            found->state = (found->state & ~MF_CHECKED) | (id == item ? MF_CHECKED : 0);
            found->radio = true;
            any = true;
        }
    }
    return any;
}

void CMenu::UpdateCommandStates(CCmdTarget* target, BOOL disableIfNoHandler)
{
    for (Item& item : m_items)
    {
        if (item.popup)
        {
            item.popup->UpdateCommandStates(target, disableIfNoHandler);
            continue;
        }
        if (item.separator || item.id == 0)
            continue;
        CCmdUI ui(item.id);
        ui.DoUpdate(target, disableIfNoHandler);
        if (ui.m_bEnableSet)
            item.state = (item.state & ~(MF_GRAYED | MF_DISABLED)) | (ui.m_bEnabled ? 0 : MF_GRAYED);
        if (ui.m_bCheckSet)
        {
            item.state = (item.state & ~MF_CHECKED) | (ui.m_nCheck ? MF_CHECKED : 0);
            item.radio = ui.m_bRadio;
        }
        if (ui.m_bTextSet)
            item.text = ui.m_strText;
    }
}

UINT CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, const CRect*)
{
    if (owner)
        UpdateCommandStates(owner, TRUE);
    const UINT chosen = GetUiService().TrackPopupMenu(*this, CPoint(x, y), owner);
    if (flags & TPM_RETURNCMD)
        return chosen;
    if (chosen && owner && !(flags & TPM_NONOTIFY))
        owner->PostCommand(chosen);
    return chosen ? TRUE : FALSE;
}

void CMenu::FillQMenu(QMenu* menu, const std::function<void(UINT)>& chosen) const
{
    if (!menu)
        return;
    QActionGroup* radioGroup = nullptr;
    for (const Item& item : m_items)
    {
        if (item.separator)
        {
            menu->addSeparator();
            radioGroup = nullptr;
            continue;
        }
        if (item.popup)
        {
            QMenu* sub = menu->addMenu(ToQString(item.text));
            sub->setEnabled(!(item.state & (MF_GRAYED | MF_DISABLED)));
            item.popup->FillQMenu(sub, chosen);
            continue;
        }
        QAction* action = menu->addAction(ToQString(item.text));
        action->setData(item.id);
        action->setEnabled(!(item.state & (MF_GRAYED | MF_DISABLED)));
        if (item.state & MF_CHECKED || item.radio)
        {
            action->setCheckable(true);
            action->setChecked((item.state & MF_CHECKED) != 0);
            if (item.radio)
            {
                if (!radioGroup)
                    radioGroup = new QActionGroup(menu);
                radioGroup->addAction(action);
            }
        }
        const CString prompt = PromptOf(item.id);
        if (!prompt.IsEmpty())
            action->setStatusTip(ToQString(prompt));
        if (chosen)
        {
            const UINT id = item.id;
            QObject::connect(action, &QAction::triggered, menu, [chosen, id] { chosen(id); });
        }
    }
}
