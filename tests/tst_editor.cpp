// The editor and the window around it, driven through the real widgets: the day's note,
// the header and counts, the debounced save, and the ways out that must not lose a word.

#include "TestEnvironment.h"

#include "ContentView.h"
#include "SelectionState.h"
#include "editor/CustomTextView.h"
#include "editor/EditorStatusBarView.h"
#include "editor/NoteEditorView.h"
#include "editor/RepresentableTextView.h"
#include "lumenquillApp.h"
#include "model/ModelContainer.h"
#include "model/ModelContext.h"
#include "sidebar/SidebarView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QSplitter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString storedContent(const QString &path, QDate day)
{
    return lqtest::queryFile(path, QStringLiteral("SELECT content FROM notes WHERE day = '%1'")
                                       .arg(day.toString(Qt::ISODate)))
        .value(0)
        .toString();
}

QDate today()
{
    return QDate::currentDate();
}

} // namespace

class EditorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init();
    void cleanup();

    void window_opensOnTodaysEmptyNoteWithTheKeyboardInTheText();
    void header_followsTheLocale_data();
    void header_followsTheLocale();
    void counts_followTheTypedText();
    void burstOfKeys_makesOneWriteAndOneSave();
    void textChangedAndChangedBack_writesNothing();
    void loadingNotes_neverWritesThem();
    void undoAfterSwitchingDays_neverBringsBackTheOtherNotesText();
    void visitingDays_leavesOneEmptyNotePerDay();
    void failingLookup_leavesNoNoteOpenAndNoDayHighlighted();
    void switchingDayWithinHalfASecond_savesTheTextToItsOwnNote();
    void pickingATagWithinHalfASecond_savesTheTextAtOnce();
    void closingTheWindowWithinHalfASecond_savesTheText();
    void quittingWithinHalfASecond_savesTheText();
    void quittingWhileTheJournalStaysLocked_keepsTheTextBesideIt();
    void failedSave_isShownAndRetriedUntilTheTextIsOnDisk();

private:
    void typeIntoEditor(const QString &text);
    CustomTextView *textView() const;

    std::unique_ptr<lqtest::TemporaryStore> m_store;
    std::unique_ptr<ContentView> m_window;
};

void EditorTest::init()
{
    m_store = std::make_unique<lqtest::TemporaryStore>();
    m_window = std::make_unique<ContentView>(m_store->context());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void EditorTest::cleanup()
{
    m_window.reset();
    m_store.reset();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

CustomTextView *EditorTest::textView() const
{
    return m_window->editor()->textSurface()->textView();
}

void EditorTest::typeIntoEditor(const QString &text)
{
    QTest::keyClicks(textView(), text);
    QTRY_COMPARE(m_window->editor()->editorText().endsWith(text), true);
}

void EditorTest::window_opensOnTodaysEmptyNoteWithTheKeyboardInTheText()
{
    SelectionState *selection = m_window->selection();
    QVERIFY(selection->selectedNoteToEdit());
    QCOMPARE(selection->selectedNoteToEdit()->day(), today());
    QCOMPARE(selection->highlightedDate(), std::optional<QDateTime>(today().startOfDay()));
    QCOMPARE(selection->selectedNoteToEdit()->content(), QString());
    QCOMPARE(m_store->context()->noteDaysBetween(today(), today()), QSet<QDate>{today()});
    QTRY_COMPARE(QApplication::focusWidget(), textView());
    QCOMPARE(m_window->sidebar()->width(), 250);

    // Another day keeps the keyboard in the text as well.
    selection->setSelectedDate(today().addDays(-3).startOfDay());
    QCOMPARE(m_window->editor()->note()->day(), today().addDays(-3));
    QTRY_COMPARE(QApplication::focusWidget(), textView());
}

void EditorTest::header_followsTheLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("header");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                             << QStringLiteral("March 1, 2026, Sun");
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany)
                            << QStringLiteral("März 1, 2026, So.");
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France)
                            << QStringLiteral("mars 1, 2026, dim.");
}

void EditorTest::header_followsTheLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, header);
    QLocale::setDefault(locale);
    m_window->selection()->setSelectedDate(QDateTime(QDate(2026, 3, 1), QTime(23, 59)));
    QCOMPARE(m_window->editor()->headerText(), header);
}

void EditorTest::counts_followTheTypedText()
{
    typeIntoEditor(QStringLiteral("Two words"));
    QCOMPARE(m_window->editor()->statusBar()->countsText(), QStringLiteral("2 words 9 characters"));
    QTest::keyClick(textView(), Qt::Key_Return);
    QTest::keyClicks(textView(), QStringLiteral("#more"));
    QTRY_COMPARE(m_window->editor()->statusBar()->countsText(),
                 QStringLiteral("3 words 15 characters"));
}

void EditorTest::burstOfKeys_makesOneWriteAndOneSave()
{
    Note *note = m_window->editor()->note();
    QSignalSpy writes(note, &Note::contentChanged);
    QSignalSpy saves(m_store->context(), &ModelContext::saveFinished);
    QTest::keyClicks(textView(), QStringLiteral("abc #tag"));
    QCOMPARE(writes.count(), 0);
    QTRY_COMPARE(writes.count(), 1);
    QTRY_VERIFY(!m_window->editor()->hasPendingSave());
    QCOMPARE(saves.count(), 1);
    QCOMPARE(note->content(), QStringLiteral("abc #tag"));
    QCOMPARE(note->tags().size(), 1);
    QCOMPARE(storedContent(m_store->path(), today()), QStringLiteral("abc #tag"));
}

void EditorTest::textChangedAndChangedBack_writesNothing()
{
    Note *note = m_window->editor()->note();
    QSignalSpy writes(note, &Note::contentChanged);
    typeIntoEditor(QStringLiteral("x"));
    QTest::keyClick(textView(), Qt::Key_Backspace);
    QTRY_COMPARE(m_window->editor()->editorText(), QString());
    QVERIFY(m_window->editor()->hasPendingSave());
    QTRY_VERIFY(!m_window->editor()->hasPendingSave());
    QCOMPARE(writes.count(), 0);
}

void EditorTest::loadingNotes_neverWritesThem()
{
    ModelContext *context = m_store->context();
    auto *written = new Note(QDate(2026, 1, 10).startOfDay(), QStringLiteral("from before #old"));
    context->insert(written);
    QVERIFY(context->save());
    QSignalSpy writes(written, &Note::contentChanged);
    QSignalSpy saves(context, &ModelContext::saveFinished);

    m_window->selection()->setSelectedDate(QDate(2026, 1, 10).startOfDay());
    QCOMPARE(textView()->text(), QStringLiteral("from before #old"));
    QCOMPARE(m_window->editor()->headerText(), QStringLiteral("January 10, 2026, Sat"));
    m_window->selection()->setSelectedDate(today().startOfDay());
    QCOMPARE(textView()->text(), QString());
    QTRY_VERIFY(!m_window->editor()->hasPendingSave());
    QCOMPARE(writes.count(), 0);
    QCOMPARE(saves.count(), 0);
}

void EditorTest::undoAfterSwitchingDays_neverBringsBackTheOtherNotesText()
{
    typeIntoEditor(QStringLiteral("secret #private"));
    QTest::keyClick(textView(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(textView(), Qt::Key_Delete);
    QTRY_COMPARE(m_window->editor()->editorText(), QString());
    // Both notes are empty now, so switching replaces no text in the surface.
    m_window->selection()->setSelectedDate(today().addDays(-1).startOfDay());
    QTest::keyClick(textView(), Qt::Key_Z, Qt::ControlModifier);
    m_window->editor()->flushPendingSave();
    QCOMPARE(textView()->text(), QString());
    QCOMPARE(m_store->context()->fetchNote(today().addDays(-1)).record->content(), QString());
    QCOMPARE(m_store->context()->fetchTag(QStringLiteral("private")).record, nullptr);
}

void EditorTest::visitingDays_leavesOneEmptyNotePerDay()
{
    for (int i = 1; i <= 5; ++i)
        m_window->selection()->setSelectedDate(QDateTime(QDate(2026, 2, i), QTime(i, 30)));
    // A day visited twice keeps its one note.
    m_window->selection()->setSelectedDate(QDate(2026, 2, 1).startOfDay());
    QVERIFY(m_store->context()->save());
    QCOMPARE(lqtest::queryFile(m_store->path(),
                               QStringLiteral("SELECT count(*) FROM notes WHERE day LIKE"
                                              " '2026-02-0_' AND content = ''"))
                 .value(0)
                 .toInt(),
             5);
    QCOMPARE(m_store->context()->noteDaysBetween(QDate(2026, 2, 1), QDate(2026, 2, 28)).size(), 5);
}

void EditorTest::failingLookup_leavesNoNoteOpenAndNoDayHighlighted()
{
    lqtest::queryFile(m_store->path(), QStringLiteral("ALTER TABLE notes RENAME TO notes_gone"));
    m_window->selection()->setSelectedDate(QDate(2025, 7, 7).startOfDay());
    QCOMPARE(m_window->selection()->selectedNoteToEdit(), nullptr);
    QCOMPARE(m_window->selection()->highlightedDate(), std::nullopt);
    QVERIFY(!m_window->editor()->textSurface()->isVisible());
    lqtest::queryFile(m_store->path(), QStringLiteral("ALTER TABLE notes_gone RENAME TO notes"));
}

void EditorTest::switchingDayWithinHalfASecond_savesTheTextToItsOwnNote()
{
    typeIntoEditor(QStringLiteral("late words #late"));
    QVERIFY(m_window->editor()->hasPendingSave());
    const QDate other = today().addDays(-1);
    m_window->selection()->setSelectedDate(other.startOfDay());

    QCOMPARE(storedContent(m_store->path(), today()), QStringLiteral("late words #late"));
    QCOMPARE(m_store->context()->fetchTag(QStringLiteral("late")).record->notes().first()->day(),
             today());
    QCOMPARE(textView()->text(), QString());
    QTRY_VERIFY(!m_window->editor()->hasPendingSave());
    QCOMPARE(m_store->context()->fetchNote(other).record->content(), QString());
}

void EditorTest::pickingATagWithinHalfASecond_savesTheTextAtOnce()
{
    auto *tag = new Tag(QStringLiteral("elsewhere"), QDateTime::currentDateTime());
    m_store->context()->insert(tag);
    typeIntoEditor(QStringLiteral("typed before picking"));
    m_window->selection()->setSelectedTag(tag);
    QCOMPARE(storedContent(m_store->path(), today()), QStringLiteral("typed before picking"));
}

void EditorTest::closingTheWindowWithinHalfASecond_savesTheText()
{
    typeIntoEditor(QStringLiteral("closing now"));
    QVERIFY(m_window->close());
    QCOMPARE(storedContent(m_store->path(), today()), QStringLiteral("closing now"));
}

void EditorTest::quittingWithinHalfASecond_savesTheText()
{
    m_window.reset();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    {
        LumenquillApp app(path);
        QTimer::singleShot(0, [&app] {
            QTest::keyClicks(app.window()->editor()->textSurface()->textView(),
                             QStringLiteral("quit #fast"));
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        });
        QCOMPARE(app.exec(), 0);
    }
    QCOMPARE(storedContent(path, today()), QStringLiteral("quit #fast"));
    QCOMPARE(
        lqtest::queryFile(path, QStringLiteral("SELECT count(*) FROM note_tags")).value(0).toInt(),
        1);
}

void EditorTest::quittingWhileTheJournalStaysLocked_keepsTheTextBesideIt()
{
    m_window.reset();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    {
        LumenquillApp app(path);
        std::unique_ptr<lqtest::WriteLock> lock;
        QTimer::singleShot(0, [&] {
            lock = std::make_unique<lqtest::WriteLock>(path);
            QTest::keyClicks(app.window()->editor()->textSurface()->textView(),
                             QStringLiteral("words under lock"));
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        });
        QCOMPARE(app.exec(), 0);
        lock.reset();
    }
    const QStringList kept = QDir(dir.path()).entryList({QStringLiteral("unsaved-*.txt")});
    QCOMPARE(kept.size(), 1);
    QFile file(dir.filePath(kept.first()));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()),
             QStringLiteral("# %1\nwords under lock\n\n").arg(today().toString(Qt::ISODate)));
}

void EditorTest::failedSave_isShownAndRetriedUntilTheTextIsOnDisk()
{
    ModelContext *context = m_store->context();
    context->setRetryDelay(100);
    EditorStatusBarView *statusBar = m_window->editor()->statusBar();
    {
        lqtest::WriteLock lock(m_store->path());
        typeIntoEditor(QStringLiteral("kept while the disk is busy"));
        QTRY_VERIFY_WITH_TIMEOUT(statusBar->showsSaveError(), 10000);
        QVERIFY(context->hasChanges());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!statusBar->showsSaveError(), 10000);
    QCOMPARE(storedContent(m_store->path(), today()),
             QStringLiteral("kept while the disk is busy"));
}

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
