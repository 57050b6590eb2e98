#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication::setApplicationName(QStringLiteral("lumenquill"));
    if (const std::optional<int> status = runCommandLine(argc, argv))
        return *status;
    const QString launchToken = SingleInstance::launchToken();
    QApplication qtApplication(argc, argv);
    installTranslations();
    QApplication::setApplicationDisplayName(QStringLiteral("LumenQuill"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.lumenquill.LumenQuill"));
    Application application(QString(), launchToken);
    return application.exec();
}
