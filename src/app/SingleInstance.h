#pragma once

#include <QObject>
#include <QString>

// One LumenQuill per journal on the session bus. The first to start owns a bus name made for
// its journal and answers Activate by bringing its window forward; a later launch on the same
// journal calls that instead of opening a window of its own.
//
// The bus only spares the user a refusal: the journal's lock still decides which process
// writes the journal. Without a session bus, or when the running one does not answer within
// a moment (stopped in a debugger, hung), a launch goes on as if it were the first, and the
// lock stops it with its usual message.
class SingleInstance : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "io.github.lumenquill.LumenQuill")

public:
    static constexpr int callTimeout = 1500;

    explicit SingleInstance(const QString &journalPath, QObject *parent = nullptr);
    // Gives the name back, so that the next LumenQuill on the journal can take it.
    ~SingleInstance() override;

    // The name on the session bus for the journal at path: io.github.lumenquill.LumenQuill for
    // the journal in the user's data folder, with a part made from the file's path for any
    // other.
    static QString serviceName(const QString &journalPath);

    // Asks the LumenQuill that owns the journal's name to bring its window forward, passing
    // on the desktop's token for this launch; true once it said it did.
    bool activateRunning(const QString &activationToken) const;
    // Takes the journal's name and answers calls on it; false without a bus or when another
    // process owns the name.
    bool claim();
    bool ownsName() const { return m_owned; }

    // The desktop's token for this launch: XDG_ACTIVATION_TOKEN on Wayland, the startup id on
    // X11. Read it before the QGuiApplication exists, whose platform plugin takes it away.
    static QString launchToken();

public Q_SLOTS:
    // Called over the bus: brings the window forward when the caller means this journal.
    Q_SCRIPTABLE bool Activate(const QString &journalPath, const QString &activationToken);

Q_SIGNALS:
    void activationRequested(const QString &activationToken);

private:
    QString m_journalPath;
    QString m_serviceName;
    bool m_owned = false;
    bool m_registered = false;
};
