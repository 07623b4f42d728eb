#include "platform/ui/Command.h"

#include "platform/ui/App.h"
#include "platform/ui/DC.h"
#include "platform/ui/Frame.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/UiService.h"
#include "platform/ui/WndPrivate.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>

#include <map>

namespace
{
std::map<UINT, CString>& StringTable()
{
    static std::map<UINT, CString> table;
    return table;
}
std::map<UINT, CMenuDesc>& MenuResources()
{
    static std::map<UINT, CMenuDesc> table;
    return table;
}
std::map<UINT, std::vector<ACCEL>>& AccelResources()
{
    static std::map<UINT, std::vector<ACCEL>> table;
    return table;
}

// The tooltip part of a command's string ("prompt\ntooltip").
CString TooltipOf(UINT id)
{
    const CString s = LoadResourceString(id);
    const int nl = s.Find('\n');
    return nl >= 0 ? s.Mid(nl + 1) : CString();
}

CString PromptOf(UINT id)
{
    const CString s = LoadResourceString(id);
    const int nl = s.Find('\n');
    return nl >= 0 ? s.Left(nl) : s;
}
}  // namespace

void RegisterResourceString(UINT id, const char* text) { StringTable()[id] = text; }

CString LoadResourceString(UINT id)
{
    auto it = StringTable().find(id);
    return it == StringTable().end() ? CString() : it->second;
}

BOOL AfxLoadString(UINT id, CString& text)
{
    auto it = StringTable().find(id);
    if (it == StringTable().end())
        return FALSE;
    text = it->second;
    return TRUE;
}

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

// ---------------------------------------------------------------------------

void CAcceleratorTable::RegisterResource(UINT resourceId, std::vector<ACCEL> entries)
{
    AccelResources()[resourceId] = std::move(entries);
}

BOOL CAcceleratorTable::Load(UINT resourceId)
{
    auto it = AccelResources().find(resourceId);
    if (it == AccelResources().end())
        return FALSE;
    m_entries = it->second;
    return TRUE;
}

UINT CAcceleratorTable::Translate(UINT vk, bool shift, bool control, bool alt) const
{
    for (const ACCEL& a : m_entries)
    {
        if (a.key != vk)
            continue;
        if (((a.fVirt & FSHIFT) != 0) != shift || ((a.fVirt & FCONTROL) != 0) != control ||
            ((a.fVirt & FALT) != 0) != alt)
            continue;
        return a.cmd;
    }
    return 0;
}

// ---------------------------------------------------------------------------

CControlBar::~CControlBar()
{
    if (m_pFrame)
        m_pFrame->RemoveControlBar(this);
}

BOOL CControlBar::AttachToFrame(CWnd* parent)
{
    m_pFrame = dynamic_cast<CFrameWnd*>(parent);
    m_pParentWnd = parent;
    if (m_pFrame)
        m_pFrame->AddControlBar(this);
    return TRUE;
}

// ---------------------------------------------------------------------------

struct CToolBar::Impl
{
    std::vector<UINT> ids;
    std::vector<QImage> images;
    CSize imageSize{16, 15};
    QToolBar* bar = nullptr;
    std::map<UINT, QAction*> actions;
};

CToolBar::CToolBar() : m_p(std::make_unique<Impl>()) {}
CToolBar::~CToolBar() = default;

BOOL CToolBar::Create(CWnd* parent, DWORD style, UINT id) { return CreateEx(parent, TBSTYLE_FLAT, style, CRect(), id); }

BOOL CToolBar::CreateEx(CWnd* parent, DWORD, DWORD style, const CRect&, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* bar = new QToolBar(parent->GetWidget());
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_p->bar = bar;
    m_nID = id;
    m_dwStyle = style;
    AttachToFrame(parent);
    if (auto* main = qobject_cast<QMainWindow*>(parent->GetWidget()))
        main->addToolBar((style & CBRS_ALIGN_BOTTOM) ? Qt::BottomToolBarArea : Qt::TopToolBarArea, bar);
    Attach(bar, false);
    if (!(style & WS_VISIBLE))
        bar->hide();
    return TRUE;
}

void CToolBar::SetSizes(CSize, CSize image)
{
    if (image.cx > 0 && image.cy > 0)
        m_p->imageSize = image;
}

BOOL CToolBar::LoadBitmap(UINT resourceId)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(resourceId))
        return FALSE;
    return LoadBitmap(&bitmap);
}

BOOL CToolBar::LoadBitmap(CBitmap* bitmap)
{
    if (!bitmap || !bitmap->GetImage())
        return FALSE;
    const QImage& strip = *bitmap->GetImage();
    const int w = m_p->imageSize.cx;
    const int h = std::min<int>(m_p->imageSize.cy, strip.height());
    std::vector<QImage> images;
    for (int x = 0; x + w <= strip.width(); x += w)
    {
        QImage image = strip.copy(x, 0, w, h).convertToFormat(QImage::Format_ARGB32);
        // The strip's button face colour (light grey) shows the bar through.
        const QRgb face = qRgb(192, 192, 192);
        for (int yy = 0; yy < image.height(); ++yy)
            for (int xx = 0; xx < image.width(); ++xx)
                if ((image.pixel(xx, yy) & 0x00FFFFFF) == (face & 0x00FFFFFF))
                    image.setPixel(xx, yy, 0);
        images.push_back(image);
    }
    m_p->images = std::move(images);
    Rebuild();
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (count < 0 || (count > 0 && !ids))
        return FALSE;
    m_p->ids.assign(ids, ids + count);
    Rebuild();
    return TRUE;
}

void CToolBar::Rebuild()
{
    QToolBar* bar = m_p->bar;
    if (!bar)
        return;
    bar->clear();
    m_p->actions.clear();
    size_t imageIndex = 0;
    for (UINT id : m_p->ids)
    {
        if (id == ID_SEPARATOR)
        {
            bar->addSeparator();
            continue;
        }
        const CString tip = TooltipOf(id);
        QAction* action = bar->addAction(ToQString(tip.IsEmpty() ? CString() : tip));
        if (imageIndex < m_p->images.size())
            action->setIcon(QIcon(QPixmap::fromImage(m_p->images[imageIndex])));
        else if (tip.IsEmpty())
            action->setText(QString::number(id));
        ++imageIndex;
        action->setData(id);
        if (m_dwStyle & CBRS_TOOLTIPS || true)
            action->setToolTip(ToQString(tip));
        const CString prompt = PromptOf(id);
        action->setStatusTip(ToQString(prompt));
        QObject::connect(action, &QAction::triggered, bar,
                         [this, id]
                         {
                             CWnd* target = m_pFrame ? static_cast<CWnd*>(m_pFrame) : GetParent();
                             if (target)
                                 target->PostCommand(id);
                         });
        QObject::connect(action, &QAction::hovered, bar,
                         [this, id]
                         {
                             if (m_pFrame && (m_dwStyle & CBRS_FLYBY))
                                 m_pFrame->SetMessageText(PromptOf(id));
                         });
        m_p->actions[id] = action;
    }
}

int CToolBar::GetCount() const { return static_cast<int>(m_p->ids.size()); }

UINT CToolBar::GetItemID(int index) const
{
    if (index < 0 || index >= GetCount())
        return ID_SEPARATOR;
    return m_p->ids[static_cast<size_t>(index)];
}

int CToolBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_p->ids.size(); ++i)
        if (m_p->ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

BOOL CToolBar::IsButtonEnabled(UINT id) const
{
    auto it = m_p->actions.find(id);
    return it != m_p->actions.end() && it->second->isEnabled();
}

BOOL CToolBar::IsButtonChecked(UINT id) const
{
    auto it = m_p->actions.find(id);
    return it != m_p->actions.end() && it->second->isChecked();
}

CString CToolBar::GetButtonTooltip(UINT id) const
{
    auto it = m_p->actions.find(id);
    return it == m_p->actions.end() ? CString() : FromQString(it->second->toolTip());
}

CString CToolBar::GetButtonText(UINT id) const
{
    auto it = m_p->actions.find(id);
    return it == m_p->actions.end() ? CString() : FromQString(it->second->text());
}

BOOL CToolBar::PressButton(UINT id)
{
    auto it = m_p->actions.find(id);
    if (it == m_p->actions.end() || !it->second->isEnabled())
        return FALSE;
    it->second->trigger();
    return TRUE;
}

void CToolBar::OnUpdateCmdUI(CCmdTarget* target, BOOL disableIfNoHandler)
{
    for (auto& [id, action] : m_p->actions)
    {
        CCmdUI ui(id);
        ui.DoUpdate(target, disableIfNoHandler);
        if (ui.m_bEnableSet)
            action->setEnabled(ui.m_bEnabled);
        if (ui.m_bCheckSet)
        {
            action->setCheckable(true);
            action->setChecked(ui.m_nCheck != 0);
        }
    }
}

// ---------------------------------------------------------------------------

struct CStatusBar::Impl
{
    QStatusBar* bar = nullptr;
    std::vector<UINT> ids;
    std::vector<QLabel*> panes;
};

CStatusBar::CStatusBar() : m_p(std::make_unique<Impl>()) {}
CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id)
{
    if (m_pWidget || !parent || !parent->GetWidget())
        return FALSE;
    auto* bar = new QStatusBar(parent->GetWidget());
    bar->setSizeGripEnabled(false);
    m_p->bar = bar;
    m_nID = id;
    m_dwStyle = style;
    AttachToFrame(parent);
    if (auto* main = qobject_cast<QMainWindow*>(parent->GetWidget()))
        main->setStatusBar(bar);
    Attach(bar, false);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count)
{
    if (!m_p->bar || count < 0 || (count > 0 && !ids))
        return FALSE;
    for (QLabel* pane : m_p->panes)
    {
        m_p->bar->removeWidget(pane);
        delete pane;
    }
    m_p->panes.clear();
    m_p->ids.assign(ids, ids + count);
    for (int i = 0; i < count; ++i)
    {
        auto* label = new QLabel(m_p->bar);
        const UINT id = m_p->ids[static_cast<size_t>(i)];
        if (i == 0 && id == ID_SEPARATOR)
        {
            label->setText(QStringLiteral("Ready"));
            m_p->bar->addWidget(label, 1);
        }
        else
        {
            label->setFrameShape(QFrame::Panel);
            label->setFrameShadow(QFrame::Sunken);
            const char* sample = id == ID_INDICATOR_CAPS   ? "CAP"
                                 : id == ID_INDICATOR_NUM  ? "NUM"
                                 : id == ID_INDICATOR_SCRL ? "SCRL"
                                                           : "";
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QString::fromLatin1(sample)) + 8);
            m_p->bar->addPermanentWidget(label);
        }
        m_p->panes.push_back(label);
    }
    return TRUE;
}

BOOL CStatusBar::SetPaneText(int index, const char* text, BOOL)
{
    if (index < 0 || index >= GetCount())
        return FALSE;
    m_p->panes[static_cast<size_t>(index)]->setText(ToQString(text));
    return TRUE;
}

CString CStatusBar::GetPaneText(int index) const
{
    if (index < 0 || index >= GetCount())
        return CString();
    return FromQString(m_p->panes[static_cast<size_t>(index)]->text());
}

void CStatusBar::SetPaneInfo(int index, UINT id, UINT style, int width)
{
    if (index < 0 || index >= GetCount())
        return;
    m_p->ids[static_cast<size_t>(index)] = id;
    QLabel* pane = m_p->panes[static_cast<size_t>(index)];
    if (!(style & SBPS_STRETCH) && width > 0)
        pane->setMinimumWidth(width);
    pane->setFrameShape((style & SBPS_NOBORDERS) ? QFrame::NoFrame : QFrame::Panel);
}

int CStatusBar::CommandToIndex(UINT id) const
{
    for (size_t i = 0; i < m_p->ids.size(); ++i)
        if (m_p->ids[i] == id)
            return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int index) const
{
    if (index < 0 || index >= GetCount())
        return 0;
    return m_p->ids[static_cast<size_t>(index)];
}

int CStatusBar::GetCount() const { return static_cast<int>(m_p->ids.size()); }

void CStatusBar::OnUpdateCmdUI(CCmdTarget* target, BOOL)
{
    for (size_t i = 0; i < m_p->ids.size(); ++i)
    {
        const UINT id = m_p->ids[i];
        if (id == ID_SEPARATOR)
            continue;
        if (id == ID_INDICATOR_CAPS || id == ID_INDICATOR_NUM || id == ID_INDICATOR_SCRL)
        {
            const UINT vk = id == ID_INDICATOR_CAPS ? VK_CAPITAL : id == ID_INDICATOR_NUM ? VK_NUMLOCK : VK_SCROLL;
            const char* text = id == ID_INDICATOR_CAPS ? "CAP" : id == ID_INDICATOR_NUM ? "NUM" : "SCRL";
            m_p->panes[i]->setText((GetKeyState(static_cast<int>(vk)) & 0x8000) ? QString::fromLatin1(text)
                                                                                : QString());
            continue;
        }
        CCmdUI ui(id);
        ui.DoUpdate(target, FALSE);
        if (ui.m_bTextSet)
            m_p->panes[i]->setText(ToQString(ui.m_strText));
        if (ui.m_bEnableSet)
            m_p->panes[i]->setEnabled(ui.m_bEnabled);
    }
}
