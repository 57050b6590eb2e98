#include "app/JournalMenu.h"

#include "core/Journal.h"
#include "core/JournalTransfer.h"

#include <QApplication>
#include <QFileDialog>
#include <QMainWindow>
#include <QProgressBar>
#include <QStatusBar>
#include <QThread>

#include <memory>

namespace {

constexpr int messageTimeout = 10000;

QString dayCount(qsizetype days)
{
    return days == 1 ? JournalMenu::tr("1 day") : JournalMenu::tr("%n days", nullptr, int(days));
}

} // namespace

JournalMenu::JournalMenu(Journal *journal, QMainWindow *window)
    : QMenu(tr("&Journal"), window), m_journal(journal), m_window(window),
      m_newWindowAction(addAction(tr("&New Window"))), m_searchAction(nullptr),
      m_exportAction(nullptr), m_importAction(nullptr), m_closeAction(nullptr),
      m_quitAction(nullptr), m_progress(new QProgressBar(window))
{
    setObjectName(QStringLiteral("journalMenu"));
    m_newWindowAction->setObjectName(QStringLiteral("newWindowAction"));
    m_newWindowAction->setShortcut(QKeySequence::New);
    addSeparator();
    m_searchAction = addAction(tr("&Search Notes"));
    m_searchAction->setObjectName(QStringLiteral("searchAction"));
    m_searchAction->setShortcut(QKeySequence::Find);
    addSeparator();
    m_exportAction = addAction(tr("&Export\u2026"));
    m_exportAction->setObjectName(QStringLiteral("exportAction"));
    m_importAction = addAction(tr("&Import\u2026"));
    m_importAction->setObjectName(QStringLiteral("importAction"));
    connect(m_exportAction, &QAction::triggered, this, [this] { chooseFolder(true); });
    connect(m_importAction, &QAction::triggered, this, [this] { chooseFolder(false); });
    addSeparator();
    m_closeAction = addAction(tr("&Close Window"));
    m_closeAction->setObjectName(QStringLiteral("closeAction"));
    m_closeAction->setShortcuts(QKeySequence::Close);
    connect(m_closeAction, &QAction::triggered, m_window, &QWidget::close);
    // Every window closes, saving as it does, and the program ends with the last.
    m_quitAction = addAction(tr("&Quit"));
    m_quitAction->setObjectName(QStringLiteral("quitAction"));
    // Ctrl+Q also where the platform's key scheme has no key for quitting.
    m_quitAction->setShortcuts(QKeySequence::keyBindings(QKeySequence::Quit));
    if (m_quitAction->shortcuts().isEmpty())
        m_quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quitAction->setMenuRole(QAction::QuitRole);
    connect(m_quitAction, &QAction::triggered, qApp, &QApplication::closeAllWindows,
            Qt::QueuedConnection);

    // The status bar is there only while it has something to say.
    QStatusBar *statusBar = m_window->statusBar();
    statusBar->setObjectName(QStringLiteral("windowStatusBar"));
    m_progress->setObjectName(QStringLiteral("exportProgress"));
    m_progress->setMaximumWidth(240);
    m_progress->hide();
    statusBar->addPermanentWidget(m_progress);
    statusBar->hide();
    connect(statusBar, &QStatusBar::messageChanged, this, [this](const QString &message) {
        if (message.isEmpty() && !isExporting())
            m_window->statusBar()->hide();
    });
}

JournalMenu::~JournalMenu()
{
    if (m_exportThread)
        m_exportThread->wait();
}

// Opened with open(), not exec(), so the event loop (and the journal's saves) run on.
void JournalMenu::chooseFolder(bool forExport)
{
    auto *dialog = new QFileDialog(m_window, forExport ? tr("Export the Journal to a Folder")
                                                       : tr("Import Days from a Folder"));
    dialog->setObjectName(forExport ? QStringLiteral("exportDialog")
                                    : QStringLiteral("importDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, forExport ? tr("Export") : tr("Import"));
    connect(dialog, &QFileDialog::fileSelected, this, [this, forExport](const QString &folder) {
        if (forExport)
            exportTo(folder);
        else
            importFrom(folder);
    });
    dialog->open();
}

void JournalMenu::exportTo(const QString &folder)
{
    if (isExporting())
        return;
    Q_EMIT transferStarting();
    m_journal->save();
    m_exportAction->setEnabled(false);
    m_progress->setRange(0, 0);
    m_progress->show();
    m_window->statusBar()->show();
    m_window->statusBar()->showMessage(tr("Exporting to %1\u2026").arg(folder));

    auto outcome = std::make_shared<Result<qsizetype>>(Failure{});
    const QString journalPath = m_journal->path();
    m_exportThread = QThread::create([this, outcome, journalPath, folder] {
        *outcome = exportJournal(journalPath, folder, [this](qsizetype done, qsizetype total) {
            QMetaObject::invokeMethod(
                m_progress,
                [this, done, total] {
                    m_progress->setRange(0, int(total));
                    m_progress->setValue(int(done));
                },
                Qt::QueuedConnection);
        });
    });
    m_exportThread->setObjectName(QStringLiteral("journal export"));
    connect(m_exportThread, &QThread::finished, this, [this, outcome, folder] {
        m_exportThread->deleteLater();
        m_exportThread = nullptr;
        m_progress->hide();
        m_exportAction->setEnabled(true);
        //: %1 the number of days ("5 days"), %2 the folder.
        showResult(*outcome ? tr("Exported %1 to %2").arg(dayCount(outcome->value()), folder)
                            : tr("The journal could not be exported: %1").arg(outcome->error()));
        Q_EMIT exportFinished(*outcome ? QString() : outcome->error());
    });
    m_exportThread->start();
}

void JournalMenu::importFrom(const QString &folder)
{
    Q_EMIT transferStarting();
    const auto days = readExportedDays(folder);
    const auto summary =
        days ? m_journal->importDays(*days) : Result<ImportSummary>(days.failure());
    if (!summary) {
        showResult(tr("Nothing was imported: %1").arg(summary.error()));
        return;
    }
    //: %1 the number of days ("5 days"), %2 the folder, then how many of them were
    //: new, added below the text already there, or the same as there.
    QString message =
        tr("Imported %1 from %2: %3 new, %4 merged below a separator, %5 already "
           "there.")
            .arg(dayCount(days->size()), folder, QString::number(summary->added),
                 QString::number(summary->merged), QString::number(summary->unchanged));
    if (!m_journal->saveError().isEmpty())
        message += u' ' + tr("Not saved yet: %1").arg(m_journal->saveError());
    showResult(message);
}

void JournalMenu::showResult(const QString &message)
{
    m_window->statusBar()->show();
    m_window->statusBar()->showMessage(message, messageTimeout);
}
