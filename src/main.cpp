// Entry point of the game: the Qt application, then the one application
// object, which starts the program and runs its message loop.
//
// The application object goes first, and with it the sound manager, its
// buffers and their streams, and then its connection to the sound server:
// nothing of the sound outlives the Qt application or reaches the exit-time
// teardown of the libraries.
#include "app/KDRApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    int result = 0;
    {
        CKDRApp app;
        result = AfxWinMain(argc, argv);
    }
    return result;
}
