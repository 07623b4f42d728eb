// Every test program runs inside one QApplication on the offscreen platform,
// so window, dialog and drawing tests need no display. Its profile (the
// recent-file list and the named values) lives in a folder of its own that
// goes with the program: no test writes the user's real settings.
//
// The program ends with _Exit once the results are written and the leak
// check has run: the PulseAudio client library, which Qt's audio output
// holds for the life of the process, can assert in its own exit-time
// teardown of its main loop (io_events_please_scan) after every test has
// passed. Nothing the tests own is left to release at that point, so
// skipping the libraries' exit-time teardown loses nothing and keeps a
// passed run passed.
#include "platform/ui/Profile.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QTemporaryDir profile;
    if (!profile.isValid())
        return 1;
    CProfile::SetStorageDirectory(profile.path().toUtf8().constData());
    const int result = RUN_ALL_TESTS();
    profile.remove();
    std::fflush(stdout);
    std::fflush(stderr);
#if defined(__SANITIZE_ADDRESS__)
    if (__lsan_do_recoverable_leak_check() != 0)
        std::_Exit(1);
#endif
    std::_Exit(result);
}
