#pragma once
// The running program on the demo mission for tests of the map view: the
// application started in a start directory of its own with a scripted UI,
// the demo mission opened, and the view driven by Qt events sent to its
// window (mouse buttons and moves at client points, keys, menu commands).

#include "ViewTestSupport.h"

#include "app/KDRCommandIds.h"
#include "battlefield/ElevationMap.h"
#include "battlefield/KDRObstacles.h"
#include "battlefield/Obstacle.h"
#include "battlefield/ObstacleArray.h"
#include "support/DemoInstall.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>

// The running application on the demo mission, with a scripted UI.
class CDemoMap
{
public:
    explicit CDemoMap(const char* tag) : m_demo(tag)
    {
        m_ui.SetFailureHandler([](const CString&) {});  // sound may be missing here
        m_pScope = std::make_unique<CUiServiceScope>(&m_ui);
        m_pApp = std::make_unique<CKDRApp>();
    }
    ~CDemoMap()
    {
        if (m_pApp != nullptr && m_pApp->m_pMainWnd != nullptr)
            m_pApp->m_pMainWnd->DestroyWindow();
        CWnd::FlushDeferredDeletes();
        m_pApp.reset();
        m_pScope.reset();
    }
    // Starts the program; with bOpen the demo mission is opened.
    bool Start(bool bOpen)
    {
        if (!m_demo.Write() || !m_pApp->InitInstance())
            return false;
        return !bOpen || m_pApp->OpenDocumentFile(m_demo.Scenario().string().c_str()) != nullptr;
    }

    CKDRApp& App() { return *m_pApp; }
    CKDRDoc& Doc() { return *m_pApp->GetActiveDocument(); }
    CKDRView& View() { return *m_pApp->GetActiveView(); }
    CMainFrame& Frame() { return *dynamic_cast<CMainFrame*>(m_pApp->GetMainFrame()); }
    QWidget* Widget() { return View().GetWidget(); }

    // The client point of a map point (the back surface is the client
    // area's size; two metres to a picture pixel).
    QPointF ClientOf(float fX, float fY)
    {
        CMapPicture* pPicture = Doc().GetGameMap()->GetMapPicture();
        CElevationMap* pElevation = Doc().GetGameMap()->GetElevationMap();
        const double zoom = View().GetZoom();
        const double px = fX / 2.0 - pPicture->GetScrollX();
        const double py = (pElevation->GetHeight() - fY) / 2.0 - pPicture->GetScrollY();
        return QPointF(px * zoom, py * zoom);
    }
    // Scrolls so that the map point lies near the window's middle.
    void CentreOn(float fX, float fY)
    {
        int px = 0, py = 0;
        Doc().GetGameMap()->GetElevationMap()->MapToPixel(fX, fY, &px, &py);
        View().CenterOnMapPoint(px, py);
    }

    void Mouse(QEvent::Type type, QPointF pt, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, pt, Widget()->mapToGlobal(pt), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                          mods);
        QCoreApplication::sendEvent(Widget(), &event);
    }
    void Press(QPointF pt, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Mouse(QEvent::MouseButtonPress, pt, Qt::LeftButton, mods);
    }
    void MoveTo(QPointF pt) { Mouse(QEvent::MouseMove, pt); }
    void Release(QPointF pt) { Mouse(QEvent::MouseButtonRelease, pt); }
    // After a press at the map point (fX, fY): a hundred moves of half a
    // metre east and half a metre south each (one client pixel at zoom 4),
    // then the release; (fX, fY) becomes the release point.
    void MoveHalfMetresAndRelease(float& fX, float& fY)
    {
        for (int i = 0; i < 100; ++i)
        {
            fX += 0.5f;
            fY -= 0.5f;
            MoveTo(ClientOf(fX, fY));
        }
        Release(ClientOf(fX, fY));
    }
    void Key(Qt::Key key, QEvent::Type type, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QKeyEvent event(type, key, mods);
        QCoreApplication::sendEvent(Widget(), &event);
    }
    void Click(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        Key(key, QEvent::KeyPress, mods);
        Key(key, QEvent::KeyRelease, mods);
        CViewShell::Spin();  // commands of accelerators arrive as posted messages
    }
    void Command(UINT nId)
    {
        Frame().SendCommand(nId);
        CViewShell::Spin();
    }
    // The update handler's answer for a command, as the menu shows it.
    CCmdUI Update(UINT nId)
    {
        CCmdUI ui(nId);
        ui.DoUpdate(&Frame(), TRUE);
        return ui;
    }

    CObstacle* OwnObstacle(int nIndex)
    {
        CObstacleArray* pArray = Doc().GetObstacles()->GetSideArray(0);
        return pArray != nullptr ? pArray->GetAt(nIndex) : nullptr;
    }

    CScriptedUi m_ui;

private:
    CDemoInstall m_demo;
    std::unique_ptr<CUiServiceScope> m_pScope;
    std::unique_ptr<CKDRApp> m_pApp;
};

#define START_DEMO(map, open)                                                                                          \
    if (!CDemoInstall::WriterBuilt())                                                                                  \
        GTEST_SKIP() << "the demo writer is not built";                                                                \
    ASSERT_TRUE(map.Start(open))
