#pragma once
// Runs the current test again in a child process of this test program, for
// what only a whole process shows: that it ends, or how it starts with an
// environment of its own (a sound server out of reach). The child runs
// only that test; inside it IsTestChild() answers true, so the test body
// tells its two roles apart:
//
//     if (!IsTestChild())
//     {
//         const CChildRun run = RunCurrentTestInChild({{"PULSE_SERVER", "unix:/nowhere"}});
//         EXPECT_TRUE(run.Passed()) << run.output;
//         return;
//     }
//     ... what the child checks ...

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

inline constexpr const char* kTestChildVariable = "KDR_TEST_CHILD";

inline bool IsTestChild() { return qEnvironmentVariableIsSet(kTestChildVariable); }

struct CChildRun
{
    bool finished = false;  // ended by itself within the time
    int exitCode = -1;      // -1 when it crashed or did not end
    bool skipped = false;   // the child skipped the test
    std::string output;     // standard output and error

    bool Passed() const { return finished && exitCode == 0; }
};

inline CChildRun RunCurrentTestInChild(const std::vector<std::pair<QString, QString>>& environment = {},
                                       int timeoutMs = 60000)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(info->test_suite_name(), info->name());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kTestChildVariable, QStringLiteral("1"));
    for (const auto& [name, value] : environment)
        env.insert(name, value);

    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {filter});
    CChildRun run;
    if (!child.waitForStarted(10000))
    {
        run.output = "the child did not start";
        return run;
    }
    run.finished = child.waitForFinished(timeoutMs);
    if (!run.finished)
    {
        child.kill();
        child.waitForFinished(5000);
    }
    run.output = child.readAll().toStdString();
    if (run.finished && child.exitStatus() == QProcess::NormalExit)
        run.exitCode = child.exitCode();
    run.skipped = run.output.find("[  SKIPPED ]") != std::string::npos;
    return run;
}

// The current test run again in a child that works beside this process (a
// second player of a network test): started at once, its output read while
// it runs, ended by itself, or killed.
class CChildProcess
{
public:
    CChildProcess() = default;
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;
    ~CChildProcess()
    {
        if (m_process.state() != QProcess::NotRunning)
        {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    bool Start(const std::vector<std::pair<QString, QString>>& environment)
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const QString filter = QStringLiteral("--gtest_filter=%1.%2").arg(info->test_suite_name(), info->name());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kTestChildVariable, QStringLiteral("1"));
        for (const auto& [name, value] : environment)
            env.insert(name, value);
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QCoreApplication::applicationFilePath(), {filter});
        return m_process.waitForStarted(10000);
    }

    // Waits until the child's output holds the text; false at the time-out
    // or when the child ended without it.
    bool WaitForOutput(const std::string& text, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;)
        {
            m_output += m_process.readAll().toStdString();
            if (m_output.find(text) != std::string::npos)
                return true;
            if (timer.elapsed() > timeoutMs || m_process.state() == QProcess::NotRunning)
                return false;
            m_process.waitForReadyRead(50);
        }
    }

    // Waits for the end (killing the child when it does not come).
    CChildRun Finish(int timeoutMs)
    {
        CChildRun run;
        run.finished = m_process.waitForFinished(timeoutMs);
        if (!run.finished)
        {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
        m_output += m_process.readAll().toStdString();
        run.output = m_output;
        if (run.finished && m_process.exitStatus() == QProcess::NormalExit)
            run.exitCode = m_process.exitCode();
        return run;
    }

    // SIGKILL: the child ends without a word to anyone.
    void Kill() { m_process.kill(); m_process.waitForFinished(5000); }
    const std::string& Output() const { return m_output; }

private:
    QProcess m_process;
    std::string m_output;
};
