#pragma once

#include <QString>

#include <memory>

class ContentView;
class ModelContainer;
class QSocketNotifier;

// The application: opens the journal (or stops the process when it cannot), shows the main
// window on it and makes sure that pending edits are saved however the process is asked
// to end: closing the window, quitting, or a termination signal such as a session logout.
class LumenquillApp
{
public:
    explicit LumenquillApp(const QString &storePath = QString());
    ~LumenquillApp();

    ModelContainer *sharedModelContainer() const { return m_sharedModelContainer.get(); }
    ContentView *window() const { return m_window.get(); }

    // Shows the window and runs the event loop; returns the process's exit status.
    int exec();

private:
    void watchTerminationSignals();
    void saveBeforeExit();
    void keepUnsavedText();

    std::unique_ptr<ModelContainer> m_sharedModelContainer;
    std::unique_ptr<ContentView> m_window;
    QSocketNotifier *m_signalNotifier = nullptr;
};
