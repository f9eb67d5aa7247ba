// The floor start-up is measured against: a Qt application that shows an
// empty window and quits as soon as its event loop runs. With --text the
// window shows one line of text, the least a window a person reads draws:
// that second floor pays for the desktop's font database as the player does.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstring>

int main(int argc, char** argv)
{
    const bool text = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication application(argc, argv);
    QWidget window;
    window.resize(640, 480);
    QLabel line(QStringLiteral("Start"), &window);
    line.setVisible(text);
    window.show();
    QTimer::singleShot(0, &application, &QApplication::quit);
    return application.exec();
}
