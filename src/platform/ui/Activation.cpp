#include "platform/ui/Activation.h"

#include "platform/ui/App.h"
#include "platform/ui/Frame.h"
#include "platform/ui/View.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace
{
// Windows that never take the activation, so their going changes nothing.
bool IsPassing(const QWidget* window)
{
    switch (window->windowType())
    {
    case Qt::Popup:
    case Qt::ToolTip:
    case Qt::SplashScreen:
    case Qt::Desktop: return true;
    default: return false;
    }
}

QWidget* MainWindow()
{
    CWnd* main = AfxGetMainWnd();
    return main != nullptr && main->GetWidget() != nullptr ? main->GetWidget()->window() : nullptr;
}

void Reactivate(const QPointer<QWidget>& owner)
{
    QWidget* active = QApplication::activeWindow();
    if (active != nullptr && active->isVisible())
        return;
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr || !target->isVisible())
        target = owner;
    if (target == nullptr || !target->isVisible())
        target = MainWindow();
    if (target == nullptr || !target->isVisible())
        return;
    if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromWidget(target)))
    {
        CView* view = frame->GetActiveView();
        QWidget* focus = target->focusWidget();
        if (view != nullptr && view->GetWidget() != nullptr && (focus == nullptr || !focus->isVisible()))
            view->GetWidget()->setFocus(Qt::ActiveWindowFocusReason);
    }
    target->activateWindow();
}

void ReactivateLater(QWidget* owner)
{
    if (QCoreApplication::instance() == nullptr)
        return;
    QTimer::singleShot(0, QCoreApplication::instance(), [owner = QPointer<QWidget>(owner)] { Reactivate(owner); });
}
}  // namespace

void ReactivateAfterHiding(QWidget* window)
{
    if (window == nullptr || !window->isWindow() || IsPassing(window))
        return;
    ReactivateLater(window->parentWidget() != nullptr ? window->parentWidget()->window() : nullptr);
}

void ReactivateAfterModalLoop() { ReactivateLater(nullptr); }
