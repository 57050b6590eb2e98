#pragma once

#include <QWidget>

class QLabel;

// The strip under the text: live word and character counts, and a warning while the
// note's latest text has not reached the disk.
class EditorStatusBar : public QWidget
{
    Q_OBJECT

public:
    explicit EditorStatusBar(QWidget *parent = nullptr);

    void setCounts(qsizetype words, qsizetype characters);
    QString countsText() const;

    // An empty error clears the warning.
    void setSaveError(const QString &error);
    bool showsSaveError() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void applyColours();

    QLabel *m_saveWarning;
    QLabel *m_counts;
};
