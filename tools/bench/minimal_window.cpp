// The floor start-up is measured against: a Qt application that shows an
// empty window and quits as soon as its event loop runs.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QWidget window;
    window.resize(640, 480);
    window.show();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return application.exec();
}
