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
