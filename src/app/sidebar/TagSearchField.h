#pragma once

#include <QIcon>
#include <QWidget>

class QLineEdit;
class QToolButton;

// The tag search box: a magnifier, a frameless text field and a clear button that shows
// only while there is text, on a rounded background of the palette's base colour.
class TagSearchField : public QWidget
{
    Q_OBJECT

public:
    explicit TagSearchField(QWidget *parent = nullptr);

    QString text() const;
    void clear();
    void focusInput();

Q_SIGNALS:
    void textChanged(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void applyIcons();

    // Room for the magnifier, which is painted at the density of the screen it is on.
    QWidget *m_magnifier;
    QIcon m_magnifierIcon;
    QLineEdit *m_input;
    QToolButton *m_clearButton;
};
