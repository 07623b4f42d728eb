// Entry point of the game: the Qt application, then the one application
// object, which starts the program and runs its message loop.
#include "app/KDRApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    CKDRApp app;
    return AfxWinMain(argc, argv);
}
