// Entry point of the game: one application object, one main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow frame;
    frame.setWindowTitle("Kedravin");
    frame.showMaximized();
    return app.exec();
}
