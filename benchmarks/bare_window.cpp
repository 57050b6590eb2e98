// The yardstick for start-up: a Qt Widgets window with nothing in it.

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare"));
    window.resize(1100, 760);
    window.show();
    return QApplication::exec();
}
