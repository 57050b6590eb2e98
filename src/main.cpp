#include "app/Application.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumenquill"));
    QApplication::setApplicationDisplayName(QStringLiteral("LumenQuill"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.lumenquill.LumenQuill"));
    Application application;
    return application.exec();
}
