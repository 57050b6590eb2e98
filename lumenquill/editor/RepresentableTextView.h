#pragma once

#include <QFont>
#include <QSize>
#include <QWidget>

class CustomTextView;

// Binds one string two-way to a CustomTextView: refreshes bring the view in line with the
// bound values, touching only what differs, and the user's edits are written back one turn
// of the event loop later through textEdited().
class RepresentableTextView : public QWidget
{
    Q_OBJECT

public:
    explicit RepresentableTextView(QWidget *parent = nullptr);

    CustomTextView *textView() const { return m_textView; }

    void setFont(const QFont &font);
    void setLineHeightMultiple(qreal multiple);
    // width goes to the left and right, height to the top and bottom.
    void setTextContainerInset(QSize inset);
    void setText(const QString &text);

    bool hasPendingWriteBack() const { return m_writeBackPending; }
    // Delivers a pending write-back now, e.g. before the binding moves to another note.
    void flushWriteBack();
    void clearUndoHistory();

Q_SIGNALS:
    void textEdited(const QString &text);

private:
    void onTextChanged();
    void deliverWriteBack();
    void applyLineHeight();

    CustomTextView *m_textView = nullptr;
    qreal m_lineHeightMultiple = 1.0;
    bool m_applying = false;
    bool m_writeBackPending = false;
};
