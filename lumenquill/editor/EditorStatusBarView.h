#pragma once

#include <QWidget>

class QLabel;

// The strip under the text: live word and character counts, and a warning while the
// note's latest text has not reached the disk.
class EditorStatusBarView : public QWidget
{
    Q_OBJECT

public:
    explicit EditorStatusBarView(QWidget *parent = nullptr);

    void setText(const QString &text);
    QString countsText() const;

    // An empty error clears the warning.
    void setSaveError(const QString &error);
    bool showsSaveError() const;

private:
    QLabel *m_saveWarning;
    QLabel *m_counts;
};
