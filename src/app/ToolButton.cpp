#include "app/ToolButton.h"

#include <QToolButton>

QToolButton *makeToolButton(const QString &objectName, const QString &accessibleName,
                            QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(objectName);
    button->setAccessibleName(accessibleName);
    button->setToolTip(accessibleName);
    button->setAutoRaise(true);
    return button;
}
