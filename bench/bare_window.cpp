// A bare Qt window the size of the main window, shown and left running: what
// any Qt program's start-up costs before it does anything of its own, the
// baseline of scripts/startup-run.sh.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(647, 540);
    window.show();
    return QApplication::exec();
}
