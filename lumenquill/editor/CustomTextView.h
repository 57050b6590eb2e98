#pragma once

#include <QBasicTimer>
#include <QRect>
#include <QTextEdit>

// The journal's plain-text editing surface: transparent, plain text only, with its own
// insertion point (a 1-px bar drawn at the bottom of the line) instead of Qt's caret.
class CustomTextView : public QTextEdit
{
    Q_OBJECT

public:
    explicit CustomTextView(QWidget *parent = nullptr);

    // The text's inset: the document has no margin of its own.
    using QTextEdit::setViewportMargins;
    using QTextEdit::viewportMargins;

    // The text as the user wrote it: unlike toPlainText(), no-break spaces and line
    // separators survive, so counts and hashtags see the real characters.
    QString text() const;

    // Where the insertion point is drawn, in viewport coordinates.
    QRect insertionPointRect() const;

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    static QString plainTextOf(const QMimeData *source);
    bool showsInsertionPoint() const;
    void restartBlinking();
    void stopBlinking();
    void repaintInsertionPoint();

    QBasicTimer m_blinkTimer;
    bool m_blinkOn = false;
    QRect m_paintedInsertionPoint;
};
