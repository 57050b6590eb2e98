// The sidebar's tags as the user meets them in the window: the search, the sort menu, the
// count of notes on each row, what an empty list says, picking a tag, and removing one after
// a confirmation.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/sidebar/Sidebar.h"
#include "core/Journal.h"
#include "core/TagListModel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class SidebarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    // One note per tag, so that Most Recent has a clear order: beta, alps, also, alpha.
    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        Journal *journal = m_store->journal();
        for (const auto &[name, day] :
             {std::pair{u"alpha"_s, 1}, {u"alps"_s, 9}, {u"also"_s, 5}, {u"beta"_s, 10}})
            journal->setText(journal->noteForDay(QDate(2026, 1, day)).value(), u"#"_s + name);
        openWindow();
    }

    void cleanup()
    {
        m_window.reset();
        m_store.reset();
    }

    void search_narrowsAtEachKey_untilCancelled()
    {
        click(u"searchButton"_s);
        auto *field = control<QLineEdit>(u"searchField"_s);
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClicks(field, u"AL"_s);
        QCOMPARE(listed(), u"alpha alps also"_s);
        QTest::keyClicks(field, u"P"_s);
        QCOMPARE(listed(), u"alpha alps"_s);
        click(u"cancelSearchButton"_s);
        QVERIFY(!field->isVisible());
        QCOMPARE(listed(), u"alpha alps also beta"_s);
    }

    void emptyList_saysWhy_untilATagComes_data()
    {
        QTest::addColumn<bool>("newJournal");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("hint");
        QTest::newRow("A new journal says how a tag is made")
            << true << QString() << u"Type #word in a note to make a tag"_s;
        QTest::newRow("A search that matches no tag says so")
            << false << u"xyz"_s << u"No matching tags"_s;
        QTest::newRow("A list with rows says nothing") << false << u"al"_s << QString();
    }

    void emptyList_saysWhy_untilATagComes()
    {
        QFETCH(bool, newJournal);
        QFETCH(QString, search);
        QFETCH(QString, hint);
        if (newJournal) {
            m_window.reset();
            m_store = std::make_unique<lqtest::TemporaryJournal>();
            openWindow();
        }
        if (!search.isEmpty()) {
            click(u"searchButton"_s);
            QTest::keyClicks(control<QLineEdit>(u"searchField"_s), search);
        }
        auto *shown = control<QLabel>(u"tagsHint"_s);
        QCOMPARE(shown->isVisible() ? shown->text() : QString(), hint);

        // The first tag written, or the first to match, takes the place of the hint.
        QTest::keyClicks(m_window->editor()->textEdit(), u"#alxyz"_s);
        m_window->saveNow();
        QVERIFY(!shown->isVisible());
        QVERIFY(listed().split(u' ').contains(u"alxyz"_s));
    }

    // Counted from the links once the window is up, then followed as notes change.
    void rows_countTheirNotes_dimmedAtTheEnd_andSpokenAfterTheName()
    {
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 1 note"_s);
        QSignalSpy changed(list()->model(), &QAbstractItemModel::dataChanged);
        NoteTextEdit *text = m_window->editor()->textEdit();
        QTest::keyClicks(text, u"#alpha and #fresh"_s);
        m_window->saveNow();
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 2 notes"_s);
        QCOMPARE(spoken(u"fresh"_s), u"fresh, 1 note"_s);
        // The rows on screen learn that their counts changed, and repaint.
        QVERIFY(!changed.isEmpty());
        QVERIFY(changed.last().at(2).value<QList<int>>().contains(TagListModel::NoteCountRole));

        // The count sits in the row's last quarter, lighter than the name.
        const qsizetype row = listed().split(u' ').indexOf(u"alpha"_s);
        const QRect rect = list()->visualRect(list()->model()->index(int(row), 0));
        const QImage image = list()->viewport()->grab(rect).toImage();
        const auto darkest = [&image](int from, int to) {
            int lightness = 255;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = from; x < to; ++x)
                    lightness = std::min(lightness, image.pixelColor(x, y).lightness());
            }
            return lightness;
        };
        const int width = image.width();
        const int background = image.pixelColor(width * 5 / 8, 0).lightness();
        const int count = darkest(width * 3 / 4, width);
        QVERIFY2(count < background, "no count at the end of the row");
        QVERIFY2(count > darkest(width / 5, width / 2) + 50, "the count is not dimmed");

        // A list built afresh counts the same.
        openWindow();
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 2 notes"_s);
        text = m_window->editor()->textEdit();
        QTest::keySequence(text, QKeySequence::SelectAll);
        QTest::keyClick(text, Qt::Key_Delete);
        m_window->saveNow();
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 1 note"_s);
        QCOMPARE(spoken(u"fresh"_s), u"fresh, 0 notes"_s);
    }

    void sortMenu_putsTheListInTheChosenOrder()
    {
        click(u"sortButton"_s);
        choose(u"Most Recent"_s);
        QCOMPARE(listed(), u"beta alps also alpha"_s);
        click(u"sortButton"_s);
        choose(u"Z \u2192 A"_s);
        QCOMPARE(listed(), u"beta also alps alpha"_s);
    }

    void pickingATag_showsItsNotes_andTheRowFollowsTheSelection()
    {
        clickRow(u"alps"_s);
        SelectionState *selection = m_window->selection();
        QCOMPARE(selection->selectedTag()->name, u"alps"_s);
        QVERIFY(m_window->tagNotesPage());
        QCOMPARE(selection->highlightedDate(), std::nullopt);

        selection->setSelectedTag(m_store->journal()->tags().value().last());
        QCOMPARE(list()->selectionModel()->selectedIndexes().value(0).data().toString(), u"beta"_s);
        selection->setSelectedDate(QDate(2026, 1, 3).startOfDay());
        QVERIFY(m_window->editor());
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
    }

    void longTagName_neverStretchesTheWindow()
    {
        const QString name(100000, u'x');
        m_store->journal()->setText(m_store->journal()->noteForDay(QDate(2026, 2, 1)).value(),
                                    u"#"_s + name);
        const QSize size = m_window->size();
        clickRow(name);
        QVERIFY(m_window->tagNotesPage());
        QApplication::processEvents();
        QCOMPARE(m_window->size(), size);
        clickRow(name, Qt::RightButton);
        choose(u"Delete Tag \"%1\u2026\""_s.arg(name.left(60)));
        QVERIFY(QApplication::activeModalWidget()->width() < size.width());
        choose(u"Cancel"_s);
    }

    void removingATag_asksFirst_andKeepsItsNotes_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("left");
        QTest::newRow("Cancel keeps the tag") << u"Cancel"_s << u"alpha alps also beta"_s;
        QTest::newRow("Delete removes the tag") << u"Delete \"alps\""_s << u"alpha also beta"_s;
    }

    void removingATag_asksFirst_andKeepsItsNotes()
    {
        QFETCH(QString, answer);
        QFETCH(QString, left);
        clickRow(u"alps"_s);
        clickRow(u"alps"_s, Qt::RightButton);
        choose(u"Delete Tag \"alps\""_s);
        choose(answer);
        QCOMPARE(listed(), left);
        QCOMPARE(lqtest::storedText(m_store->path(), u"2026-01-09"_s), u"#alps"_s);
        // A removed tag's notes are no longer shown: the editor comes back.
        QCOMPARE(m_window->editor() != nullptr, !left.contains(u"alps"_s));
    }

private:
    void openWindow()
    {
        m_window.reset();
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    template<typename T = QAbstractButton>
    T *control(const QString &name) const
    {
        return m_window->sidebar()->findChild<T *>(name);
    }
    QListView *list() const { return control<QListView>(u"tagList"_s); }
    void click(const QString &button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    QString listed() const;
    // What a screen reader says for the tag's row.
    QString spoken(const QString &name) const;
    // Through the window, as the desktop delivers it, so a context menu follows the press.
    void clickRow(const QString &name, Qt::MouseButton button = Qt::LeftButton);
    // Clicks what reads text in the open menu or alert, and waits for it to close.
    void choose(const QString &text);

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QString SidebarTest::listed() const
{
    QStringList names;
    for (int row = 0; row < list()->model()->rowCount(); ++row)
        names.append(list()->model()->index(row, 0).data().toString());
    return names.join(u' ');
}

QString SidebarTest::spoken(const QString &name) const
{
    const qsizetype row = listed().split(u' ').indexOf(name);
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(list());
    if (row < 0 || !view || !view->tableInterface())
        return QString();
    QAccessibleInterface *cell = view->tableInterface()->cellAt(int(row), 0);
    return cell ? cell->text(QAccessible::Name) : QString();
}

void SidebarTest::clickRow(const QString &name, Qt::MouseButton button)
{
    const qsizetype row = listed().split(u' ').indexOf(name);
    QVERIFY2(row >= 0, qPrintable(name + u" is not listed"_s));
    const QRect rect = list()->visualRect(list()->model()->index(int(row), 0));
    const QPoint point(rect.left() + 10, rect.center().y());
    QTest::mouseClick(m_window->windowHandle(), button, {},
                      list()->viewport()->mapTo(m_window.get(), point));
}

void SidebarTest::choose(const QString &text)
{
    const auto alert = [] {
        return qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    };
    QTRY_VERIFY(QApplication::activePopupWidget() || alert());
    QPointer<QWidget> open = QApplication::activePopupWidget();
    if (!open)
        open = alert();
    if (const auto *menu = qobject_cast<QMenu *>(open.data())) {
        for (QAction *action : menu->actions()) {
            if (action->text() == text)
                QTest::mouseClick(open, Qt::LeftButton, {}, menu->actionGeometry(action).center());
        }
    }
    for (QAbstractButton *button : open->findChildren<QAbstractButton *>()) {
        if (button->text() == text)
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QTRY_VERIFY2(!open || !open->isVisible(), qPrintable(text + u" was not there to choose"_s));
}

QTEST_MAIN(SidebarTest)
#include "tst_sidebar.moc"
