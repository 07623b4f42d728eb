#include "platform/ui/ScreenSaver.h"

#include "platform/ui/Wnd.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace
{
const char* const SERVICE = "org.freedesktop.ScreenSaver";
const char* const OBJECT_PATH = "/org/freedesktop/ScreenSaver";
const char* const INTERFACE = "org.freedesktop.ScreenSaver";
// A service that does not answer within this time has given no cookie.
constexpr int CALL_TIMEOUT_MS = 5000;

// What a call in flight needs after the inhibitor has gone: the answer may
// come later, and its cookie must still be handed back.
struct SInhibitState
{
    QString busName;
    bool wanted = false;
    bool pending = false;  // an Inhibit call waits for its cookie
    bool haveCookie = false;
    uint cookie = 0;
};

void SendRelease(SInhibitState& state)
{
    if (!state.haveCookie)
        return;
    state.haveCookie = false;
    QDBusConnection connection(state.busName);
    if (!connection.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createMethodCall(SERVICE, OBJECT_PATH, INTERFACE, "UnInhibit");
    message << state.cookie;
    connection.send(message);
}

// The session bus of the environment, one connection per address for the
// whole process. An empty name when there is no bus: the address is not
// guessed (nor a bus launched) when the environment names none.
QString SessionBusName()
{
    const QString address = QString::fromLocal8Bit(qgetenv("DBUS_SESSION_BUS_ADDRESS"));
    if (address.isEmpty())
        return QString();
    const QString name = QStringLiteral("kdr-screensaver:") + address;
    QDBusConnection connection = QDBusConnection(name).isConnected() ? QDBusConnection(name)
                                                                     : QDBusConnection::connectToBus(address, name);
    return connection.isConnected() ? name : QString();
}
}  // namespace

class CScreenSaverInhibitor::CImpl : public QObject
{
public:
    CImpl(const char* pszApplication, const char* pszReason)
        : m_strApplication(QString::fromUtf8(pszApplication)),
          m_strReason(QString::fromUtf8(pszReason)),
          m_pState(std::make_shared<SInhibitState>())
    {
    }
    ~CImpl() override
    {
        if (m_pWindow != nullptr)
            m_pWindow->removeEventFilter(this);
        Release();
    }

    void Follow(QWidget* pWindow)
    {
        if (m_pWindow != nullptr)
            m_pWindow->removeEventFilter(this);
        m_pWindow = pWindow;
        if (pWindow == nullptr)
            return;
        pWindow->installEventFilter(this);
        QObject::connect(pWindow, &QObject::destroyed, this, [this] { Release(); });
        if (pWindow->isVisible() && pWindow->isActiveWindow())
            Inhibit();
    }

    void Inhibit()
    {
        SInhibitState& state = *m_pState;
        if (state.wanted)
            return;
        state.wanted = true;
        if (state.haveCookie || state.pending)
            return;
        state.busName = SessionBusName();
        if (state.busName.isEmpty())
            return;
        QDBusMessage message = QDBusMessage::createMethodCall(SERVICE, OBJECT_PATH, INTERFACE, "Inhibit");
        message << m_strApplication << m_strReason;
        QDBusPendingCall call = QDBusConnection(state.busName).asyncCall(message, CALL_TIMEOUT_MS);
        state.pending = true;
        // The watcher belongs to the application, not to this object, so
        // that a late cookie is handed back after the window has gone.
        auto* pWatcher = new QDBusPendingCallWatcher(call, QCoreApplication::instance());
        std::shared_ptr<SInhibitState> pState = m_pState;
        QObject::connect(pWatcher, &QDBusPendingCallWatcher::finished, pWatcher,
                         [pState](QDBusPendingCallWatcher* pFinished)
                         {
                             pFinished->deleteLater();
                             pState->pending = false;
                             QDBusPendingReply<uint> reply = *pFinished;
                             if (reply.isError())
                                 return;
                             pState->cookie = reply.value();
                             pState->haveCookie = true;
                             if (!pState->wanted)
                                 SendRelease(*pState);
                         });
    }

    void Release()
    {
        m_pState->wanted = false;
        SendRelease(*m_pState);
    }

    BOOL IsWanted() const { return m_pState->wanted ? TRUE : FALSE; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_pWindow)
        {
            switch (event->type())
            {
            case QEvent::WindowActivate: Inhibit(); break;
            case QEvent::WindowDeactivate:
            case QEvent::Hide: Release(); break;
            default: break;
            }
        }
        return false;
    }

private:
    QString m_strApplication;
    QString m_strReason;
    QPointer<QWidget> m_pWindow;
    std::shared_ptr<SInhibitState> m_pState;
};

CScreenSaverInhibitor::CScreenSaverInhibitor(const char* pszApplication, const char* pszReason)
    : m_pImpl(std::make_unique<CImpl>(pszApplication, pszReason))
{
}

CScreenSaverInhibitor::~CScreenSaverInhibitor() = default;

void CScreenSaverInhibitor::FollowWindow(CWnd* pWnd)
{
    QWidget* pWidget = pWnd != nullptr ? pWnd->GetWidget() : nullptr;
    m_pImpl->Follow(pWidget != nullptr ? pWidget->window() : nullptr);
}

void CScreenSaverInhibitor::Inhibit() { m_pImpl->Inhibit(); }

void CScreenSaverInhibitor::Release() { m_pImpl->Release(); }

BOOL CScreenSaverInhibitor::IsInhibiting() const { return m_pImpl->IsWanted(); }
