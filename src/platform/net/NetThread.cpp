#include "platform/net/NetThread.h"

#include "platform/net/NetLog.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <mutex>

namespace
{
class CNetThread
{
public:
    CNetThread()
    {
        m_thread.setObjectName(QStringLiteral("kdr-net"));
        m_thread.start();
        m_context.moveToThread(&m_thread);
    }
    ~CNetThread()
    {
        // What still lingers goes on its own thread, before the loop stops.
        if (m_thread.isRunning())
            QMetaObject::invokeMethod(
                &m_context, [this] { qDeleteAll(m_context.children()); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    QObject* Context() { return &m_context; }
    QThread* Thread() { return &m_thread; }

private:
    QThread m_thread;
    QObject m_context;
};

CNetThread& NetThread()
{
    static CNetThread thread;
    return thread;
}
}  // namespace

void RunOnNetThread(std::function<void()> work)
{
    QMetaObject::invokeMethod(NetThread().Context(), std::move(work), Qt::QueuedConnection);
}

void CallOnNetThread(const std::function<void()>& work)
{
    if (IsNetThread())
    {
        work();
        return;
    }
    QMetaObject::invokeMethod(NetThread().Context(), [&work] { work(); }, Qt::BlockingQueuedConnection);
}

void StartNetThread() { NetThread(); }

void KeepUntilNetThreadEnds(QObject* pObject)
{
    if (pObject != nullptr && IsNetThread())
        pObject->setParent(NetThread().Context());
}

bool IsNetThread() { return QThread::currentThread() == NetThread().Thread(); }

void PostToMainThread(std::function<void()> work)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
    {
        NetLog("no application to post to; a notice is dropped");
        return;
    }
    QMetaObject::invokeMethod(app, std::move(work), Qt::QueuedConnection);
}
