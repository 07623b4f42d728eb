// Every test program runs inside one QApplication on the offscreen platform,
// so window, dialog and drawing tests need no display. Its profile (the
// recent-file list and the named values) lives in a folder of its own that
// goes with the program: no test writes the user's real settings.
//
// Sound goes to the silent output, so that a test that opens the demo or
// starts the application behaves alike with and without a sound server; the
// sound tests choose the server's output themselves (ScopedSoundServer) and
// skip where none runs.
#include "platform/ui/Audio.h"
#include "platform/ui/Profile.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    CAudioOutput::SetDefaultKind(AudioOutputKind::Silent);
    QApplication app(argc, argv);
    QTemporaryDir profile;
    if (!profile.isValid())
        return 1;
    CProfile::SetStorageDirectory(profile.path().toUtf8().constData());
    return RUN_ALL_TESTS();
}
