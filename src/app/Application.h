#pragma once

#include <QCoreApplication>
#include <QString>

#include <memory>

class Journal;
class MainWindow;
class QSocketNotifier;

// The running program: opens the journal (or stops the process when it cannot), shows the
// main window on it and makes sure that pending edits are saved however the process is
// asked to end: closing the window, quitting, or a termination signal such as a logout.
class Application
{
    Q_DECLARE_TR_FUNCTIONS(Application)

public:
    // The journal in the user's data folder unless another path is given.
    explicit Application(const QString &journalPath = QString());
    ~Application();

    Journal *journal() const { return m_journal.get(); }
    MainWindow *window() const { return m_window.get(); }

    // Shows the window and runs the event loop; returns the process's exit status.
    int exec();
    // The last thing before the process ends: saves what is pending, or keeps it in the
    // unsaved-text file when the journal cannot be written.
    void saveBeforeExit();

private:
    void watchTerminationSignals();
    void keepUnsavedText();

    std::unique_ptr<Journal> m_journal;
    std::unique_ptr<MainWindow> m_window;
    QSocketNotifier *m_signalNotifier = nullptr;
};
