// Several windows on one journal in one process: New Window, each window's own selection, the
// program ending with the last window, and two windows on the same note never losing what
// was typed in either.

#include "TestEnvironment.h"

#include "app/Application.h"
#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "core/Journal.h"

#include <QApplication>
#include <QDir>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QDate today()
{
    return QDate::currentDate();
}

NoteTextEdit *textOf(const MainWindow *window)
{
    return window->editor()->textEdit();
}

} // namespace

class WindowsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void newWindow_hasItsOwnSelection_andTheLastOneClosedEndsTheProgram()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"journal.sqlite"_s);
        {
            Application app(path);
            QTimer::singleShot(0, &app, [&] {
                // However the checks end, the windows close and the event loop returns.
                const auto closeAll = qScopeGuard([&] {
                    for (MainWindow *window : app.windows())
                        window->close();
                });
                MainWindow *first = app.windows().value(0);
                QVERIFY(QTest::qWaitForWindowActive(first));
                QTest::keySequence(first, QKeySequence::New);
                QCOMPARE(app.windows().size(), 2);
                MainWindow *second = app.windows().last();
                QVERIFY(QTest::qWaitForWindowActive(second));
                QCOMPARE(second->selection()->openNote()->day, today());

                // Leaving a window saves what was typed in it.
                QTest::keyClicks(textOf(second), u"from the second "_s);
                first->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(first));
                QVERIFY(!second->editor()->hasPendingSave());
                QCOMPARE(app.windows().last(), first);

                // A day stepped back and a tag picked in the first window stay there.
                QTest::keyClick(textOf(first), Qt::Key_Left, Qt::AltModifier);
                QCOMPARE(first->selection()->openNote()->day, today().addDays(-1));
                QTest::keyClicks(textOf(first), u"#yesterday"_s);
                first->saveNow();
                first->selection()->setSelectedTag(app.journal()->tags().value().first());
                QCOMPARE(second->selection()->openNote()->day, today());
                QCOMPARE(second->selection()->selectedTag(), nullptr);

                // Closing one window leaves the program running with the other.
                QVERIFY(first->close());
                QTRY_COMPARE(app.windows(), QList<MainWindow *>{second});
                // Typed just before the last window closes.
                QTest::keyClicks(textOf(second), u"last words #kept"_s);
                QVERIFY(second->editor()->hasPendingSave());
            });
            QCOMPARE(app.exec(), 0);
        }
        QCOMPARE(lqtest::storedText(path, today().toString(Qt::ISODate)),
                 u"from the second last words #kept"_s);
        QCOMPARE(lqtest::storedText(path, today().addDays(-1).toString(Qt::ISODate)),
                 u"#yesterday"_s);
        // All was saved: no text is kept beside the journal.
        QVERIFY(QDir(dir.path()).entryList({u"unsaved-*.txt"_s}).isEmpty());
    }

    // Both windows on today's note, which says "middle"; the insertion point of the second at
    // its end. Text goes in at the start of the first window, and maybe at the end of the
    // second within the same half second.
    void twoWindowsOnOneNote_keepWhatWasTypedInEither_data()
    {
        QTest::addColumn<QString>("typedInSecond");
        QTest::addColumn<QString>("expected");
        QTest::newRow("The second window, with nothing pending, follows the first")
            << QString() << u"Early #both middle"_s;
        QTest::newRow("Edits pending in both are merged")
            << u" late"_s << u"Early #both middle late"_s;
    }

    void twoWindowsOnOneNote_keepWhatWasTypedInEither()
    {
        QFETCH(QString, typedInSecond);
        QFETCH(QString, expected);
        lqtest::TemporaryJournal store;
        MainWindow first(store.journal());
        MainWindow second(store.journal());
        for (MainWindow *window : {&first, &second}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
        }
        QTest::keyClicks(textOf(&first), u"middle"_s);
        QTRY_COMPARE(textOf(&second)->noteText(), u"middle"_s);
        textOf(&second)->moveCursor(QTextCursor::End);

        textOf(&first)->moveCursor(QTextCursor::Start);
        QTest::keyClicks(textOf(&first), u"Early #both "_s);
        QTest::keyClicks(textOf(&second), typedInSecond);
        QTRY_COMPARE(lqtest::storedText(store.path(), today().toString(Qt::ISODate)), expected);
        QTRY_COMPARE(textOf(&second)->noteText(), expected);
        QTRY_COMPARE(textOf(&first)->noteText(), expected);
        QVERIFY(!first.editor()->hasPendingSave() && !second.editor()->hasPendingSave());
        // Each insertion point stays after the text typed before it.
        QCOMPARE(textOf(&second)->textCursor().position(), expected.size());
        QCOMPARE(textOf(&first)->textCursor().position(), 12);
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
