#pragma once

#include <QString>

class QToolButton;
class QWidget;

// A flat tool button named for screen readers (which is also its tooltip) and for tests.
QToolButton *makeToolButton(const QString &objectName, const QString &accessibleName,
                            QWidget *parent);
