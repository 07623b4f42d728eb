#pragma once
// A scripted UI service for one test. Installed while the object lives: a
// prompt nobody scripted (or one that differs from the script) becomes a
// test failure carrying the prompt's text, and script entries still unused
// when the object goes are a failure too.
//
//     ScopedScriptedUi ui;
//     ui->ExpectMessage("Warning!", "Starting the clock ...", IDYES);

#include "platform/ui/ScriptedUi.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

class ScopedScriptedUi
{
public:
    ScopedScriptedUi() : m_scope(&m_ui)
    {
        m_ui.SetFailureHandler([](const CString& message) { ADD_FAILURE() << message.GetString(); });
    }
    ~ScopedScriptedUi()
    {
        EXPECT_TRUE(m_ui.IsScriptDone()) << "Script entries never used: " << m_ui.DescribeRemaining().GetString();
    }
    ScopedScriptedUi(const ScopedScriptedUi&) = delete;
    ScopedScriptedUi& operator=(const ScopedScriptedUi&) = delete;

    CScriptedUi& operator*() { return m_ui; }
    CScriptedUi* operator->() { return &m_ui; }

private:
    CScriptedUi m_ui;
    CUiServiceScope m_scope;
};
