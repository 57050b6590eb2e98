#pragma once

#include <QMenu>

class Journal;
class QMainWindow;
class QProgressBar;
class QThread;

// The window's Journal menu: a new window on the journal, the note search, the journal's
// export and import as a folder of plain Markdown files, closing the window and quitting. An
// export runs on a thread of its own while the user goes on writing, with a progress bar in
// the window's status bar; an import is written in one save, and the status bar says what it
// did.
class JournalMenu : public QMenu
{
    Q_OBJECT

public:
    JournalMenu(Journal *journal, QMainWindow *window);
    // Waits for an export under way.
    ~JournalMenu() override;

    // The Application opens the window: the menu only offers it.
    QAction *newWindowAction() const { return m_newWindowAction; }
    QAction *searchAction() const { return m_searchAction; }
    QAction *exportAction() const { return m_exportAction; }
    QAction *importAction() const { return m_importAction; }
    QAction *closeAction() const { return m_closeAction; }
    QAction *quitAction() const { return m_quitAction; }

    void exportTo(const QString &folder);
    void importFrom(const QString &folder);
    bool isExporting() const { return m_exportThread != nullptr; }

Q_SIGNALS:
    // Text typed in the last half second must reach the journal now.
    void transferStarting();
    void exportFinished(const QString &error);

private:
    void chooseFolder(bool forExport);
    void showResult(const QString &message);

    Journal *m_journal;
    QMainWindow *m_window;
    QAction *m_newWindowAction;
    QAction *m_searchAction;
    QAction *m_exportAction;
    QAction *m_importAction;
    QAction *m_closeAction;
    QAction *m_quitAction;
    QProgressBar *m_progress;
    QThread *m_exportThread = nullptr;
};
