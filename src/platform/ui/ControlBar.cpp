#include "platform/ui/Command.h"

#include "platform/ui/App.h"
#include "platform/ui/CommandPrivate.h"
#include "platform/ui/DC.h"
#include "platform/ui/Frame.h"
#include "platform/ui/QtBridge.h"
#include "platform/ui/WndPrivate.h"

#include <QAction>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>

#include <functional>

namespace
{
// What the message pane says when nothing is hovered.
const char* const kIdleMessage = "Ready";
}  // namespace

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
    QObject* flyByEnd = nullptr;  // owned by the bar
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
    WatchFlyByEnd();
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
        // The tooltip is the short name after the prompt's line break;
        // the prompt itself goes to the status bar's message pane while the
        // button is hovered (the fly-by below), not as Qt's own status tip,
        // which would cover the pane and leave it blank when empty.
        action->setToolTip(ToQString(tip));
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

namespace
{
// Puts the frame's idle message back when the cursor leaves the toolbar
// after a fly-by prompt.
class CFlyByEnd : public QObject
{
public:
    CFlyByEnd(QObject* parent, std::function<void()> end) : QObject(parent), m_end(std::move(end)) {}
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Leave)
            m_end();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_end;
};
}  // namespace

void CToolBar::WatchFlyByEnd()
{
    if (!m_p->bar || m_p->flyByEnd)
        return;
    m_p->flyByEnd = new CFlyByEnd(m_p->bar,
                                  [this]
                                  {
                                      if (m_pFrame && (m_dwStyle & CBRS_FLYBY))
                                          m_pFrame->SetMessageText(kIdleMessage);
                                  });
    m_p->bar->installEventFilter(m_p->flyByEnd);
}

BOOL CToolBar::HoverButton(UINT id)
{
    auto it = m_p->actions.find(id);
    QWidget* button = it != m_p->actions.end() && m_p->bar ? m_p->bar->widgetForAction(it->second) : nullptr;
    if (!button)
        return FALSE;
    const QPointF centre(button->width() / 2.0, button->height() / 2.0);
    QEnterEvent enter(centre, button->mapTo(m_p->bar, centre), button->mapToGlobal(centre));
    QCoreApplication::sendEvent(button, &enter);
    return TRUE;
}

void CToolBar::LeaveBar()
{
    if (!m_p->bar)
        return;
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(m_p->bar, &leave);
}

CString CToolBar::GetButtonShownTooltip(UINT id) const
{
    auto it = m_p->actions.find(id);
    QWidget* button = it != m_p->actions.end() && m_p->bar ? m_p->bar->widgetForAction(it->second) : nullptr;
    return button ? FromQString(button->toolTip()) : CString();
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
            label->setText(ToQString(kIdleMessage));
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
