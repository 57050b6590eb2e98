#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class Journal;
class MainWindow;
class SingleInstance;
class QSocketNotifier;
class QWindow;

// The running program: opens the journal (or stops the process when it cannot), shows its
// windows on it and makes sure that pending edits are saved however the process is asked to
// end: closing the last window, quitting, or a termination signal such as a logout.
//
// One LumenQuill runs per journal: launched again, the program brings the running one's
// window forward and ends (see SingleInstance). The journal may be shown in several windows,
// each with its own day and tag; the program ends when the last of them closes.
class Application : public QObject
{
    Q_OBJECT

public:
    // The journal in the user's data folder unless another path is given. The token is the
    // desktop's for this launch (SingleInstance::launchToken()), passed on to a LumenQuill
    // already running on the journal.
    explicit Application(const QString &journalPath = QString(),
                         const QString &launchToken = QString());
    ~Application() override;

    Journal *journal() const { return m_journal.get(); }
    // The open windows, the one active most recently last.
    QList<MainWindow *> windows() const;
    // Opens another window on the journal, on today's note.
    MainWindow *openWindow();

    // Shows the window and runs the event loop; returns the process's exit status.
    int exec();
    // The last thing before the process ends: saves what is pending, or keeps it in the
    // unsaved-text file when the journal cannot be written.
    void saveBeforeExit();

private:
    MainWindow *addWindow();
    void windowActivated(QWindow *focusWindow);
    void bringWindowForward(const QString &activationToken);
    void watchTerminationSignals();
    void keepUnsavedText();

    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<Journal> m_journal;
    // Deleted when closed; the most recently active last.
    QList<QPointer<MainWindow>> m_windows;
    QSocketNotifier *m_signalNotifier = nullptr;
};
