#pragma once

#include <QWidget>

class Journal;
class QLabel;
class QLineEdit;
class QListView;
class SearchResultsModel;
struct Note;

// The note search: a field, and the notes that match what it holds, newest day first, as
// the user types. Enter or a click opens a result; Escape leaves the search.
class SearchPage : public QWidget
{
    Q_OBJECT

public:
    explicit SearchPage(Journal *journal, QWidget *parent = nullptr);

    QLineEdit *field() const { return m_field; }
    QListView *results() const { return m_results; }
    SearchResultsModel *model() const { return m_model; }
    // Puts the keyboard in the field, its text selected, so that typing starts a new search.
    void focusField();

Q_SIGNALS:
    void resultChosen(const Note *note, const QString &typed);
    void closeRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search(const QString &typed);
    void choose(const QModelIndex &index);

    QLineEdit *m_field;
    QListView *m_results;
    QLabel *m_status;
    SearchResultsModel *m_model;
};
