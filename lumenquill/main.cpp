#include "lumenquillApp.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lumenquill"));
    QApplication::setApplicationDisplayName(QStringLiteral("LumenQuill"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.lumenquill.LumenQuill"));
    LumenquillApp app;
    return app.exec();
}
