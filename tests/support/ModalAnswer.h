#pragma once
// Plays the user at a real (Qt) modal window from a timer: once a modal
// window is open that the answer takes, the answer works it and closes it.
//
// A window the answer waits for that does not open in time fails the test,
// and every modal window open at that moment is closed, so the call that
// waits for the answer returns: the test fails instead of hanging until
// CTest's timeout. An answer that never ran fails the test when the object
// goes, and its timer dies with it (it cannot fire in a later test).
//
//     CModalAnswer answer(
//         [](QWidget* modal)
//         {
//             auto* box = qobject_cast<QMessageBox*>(modal);
//             if (box == nullptr)
//                 return false;  // not the window expected: wait on
//             box->button(QMessageBox::Ok)->click();
//             return true;
//         });
//     owner.MessageBox("Text");

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

class CModalAnswer
{
public:
    // Answers true when it took the window (and worked it); false to wait
    // for another one.
    using Answer = std::function<bool(QWidget* modal)>;

    static constexpr int kDefaultTimeoutMs = 10000;
    static constexpr int kPollMs = 10;

    explicit CModalAnswer(Answer answer, int timeoutMs = kDefaultTimeoutMs)
        : m_answer(std::move(answer)), m_nTimeoutMs(timeoutMs)
    {
        m_clock.start();
        m_timer.setInterval(kPollMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    ~CModalAnswer()
    {
        m_timer.stop();
        if (!m_bAnswered && !m_bGaveUp)
            ADD_FAILURE() << "the window the test answers never opened";
    }
    CModalAnswer(const CModalAnswer&) = delete;
    CModalAnswer& operator=(const CModalAnswer&) = delete;

    bool IsAnswered() const { return m_bAnswered; }

    // Closes every modal window that is open, innermost first.
    static void CloseModalWindows()
    {
        while (QWidget* modal = QApplication::activeModalWidget())
        {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
            if (QApplication::activeModalWidget() == modal)
                modal->hide();
            QCoreApplication::processEvents();
        }
    }

private:
    void Poll()
    {
        if (m_bAnswered || m_bGaveUp)
            return;
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible() && m_answer(modal))
        {
            m_bAnswered = true;
            m_timer.stop();
            return;
        }
        if (m_clock.elapsed() < m_nTimeoutMs)
            return;
        m_bGaveUp = true;
        m_timer.stop();
        ADD_FAILURE() << "the window the test answers did not open within " << m_nTimeoutMs << " ms"
                      << (modal != nullptr ? "; another modal window was open and is closed" : "");
        CloseModalWindows();
    }

    Answer m_answer;
    int m_nTimeoutMs;
    QElapsedTimer m_clock;
    QTimer m_timer;
    bool m_bAnswered = false;
    bool m_bGaveUp = false;
};
