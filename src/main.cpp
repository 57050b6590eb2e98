#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("lumenquill"));
    if (const std::optional<int> status = runCommandLine(argc, argv))
        return *status;
    QApplication qtApplication(argc, argv);
    installTranslations();
    QApplication::setApplicationDisplayName(QStringLiteral("LumenQuill"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.lumenquill.LumenQuill"));
    Application application;
    return application.exec();
}
