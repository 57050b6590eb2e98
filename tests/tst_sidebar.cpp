// The sidebar in the window, clicked as a user would. The month calendar: days, chevrons,
// TODAY, the month picker, and the markers of the days that have notes. The tags: the search,
// the sort menu, the counts, the empty list's hint, picking a tag, and removing one after a
// confirmation. A picked tag's notes as cards: newest first in three columns, what a card
// shows, opening one.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/calendar/DayCell.h"
#include "app/calendar/MonthCalendar.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/sidebar/Sidebar.h"
#include "app/tagbrowser/NoteCardDelegate.h"
#include "app/tagbrowser/NoteCardGrid.h"
#include "app/tagbrowser/TagNotesPage.h"
#include "core/Journal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;

class SidebarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    // One note per tag, so that Most Recent has a clear order: beta, alps, also, alpha. Empty
    // notes on days around March 2026, which is shown from Monday 23 February to Sunday 5 April.
    void init()
    {
        m_window.reset();
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        for (const auto &[name, day] :
             {std::pair{u"alpha"_s, 1}, {u"alps"_s, 9}, {u"also"_s, 5}, {u"beta"_s, 10}})
            m_store->write(QDate(2026, 1, day), u"#"_s + name);
        for (const QDate day :
             {QDate(2026, 2, 23), QDate(2026, 3, 15), QDate(2026, 4, 5), QDate(2026, 4, 6)})
            QVERIFY(m_store->journal()->noteForDay(day));
        openWindow();
        // The afternoon of 10 March picked, and its month shown.
        const QDateTime picked(QDate(2026, 3, 10), QTime(15, 0));
        m_window->selection()->setSelectedDate(picked);
        calendar()->stepDay(0);
        m_window->selection()->setSelectedDate(picked);
    }

    // A click picks a day, even a grey one of the next month; the chevrons only turn the
    // month shown, a day step shows the day's month, and TODAY picks and shows today.
    void calendarClicks_pickDays_andTurnMonths()
    {
        SelectionState *selection = m_window->selection();
        click(QDate(2026, 3, 29));
        QCOMPARE(selection->highlightedDate(), std::optional(QDate(2026, 3, 29).startOfDay()));
        click(QDate(2026, 4, 2));
        QCOMPARE(selection->selectedDate(), QDate(2026, 4, 2).startOfDay());
        QCOMPARE(title(), u"March 2026"_s);
        // An accent that its highlighted text can be read on is drawn as it is.
        QPalette readable = calendar()->palette();
        readable.setColor(QPalette::Highlight, QColor(0x1c, 0x5f, 0xa8));
        calendar()->setPalette(readable);
        const QImage cell = calendar()->dayCell(QDate(2026, 4, 2))->grab().toImage();
        QCOMPARE(cell.pixelColor(2, cell.height() / 2), readable.color(QPalette::Highlight));

        click(u"nextMonthButton"_s);
        QCOMPARE(title(), u"April 2026"_s);
        click(u"previousMonthButton"_s);
        click(u"previousMonthButton"_s);
        QCOMPARE(title(), u"February 2026"_s);
        QCOMPARE(selection->selectedDate(), QDate(2026, 4, 2).startOfDay());
        QTest::keyClick(calendar(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(selection->highlightedDate(), std::optional(QDate(2026, 4, 1).startOfDay()));
        QCOMPARE(title(), u"April 2026"_s);

        click(u"todayButton"_s);
        const QDate today = selection->selectedDate().date();
        QCOMPARE(today, QDate::currentDate());
        QCOMPARE(selection->highlightedDate(), std::optional(selection->selectedDate()));
        QCOMPARE(calendar()->displayMonth(), QDate(today.year(), today.month(), 1));
    }

    // Each row's name is how the month is picked; like the chevrons, it leaves the day picked.
    void monthPicker_showsTheMonthPicked_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::newRow("clicks on 2016 and Jul") << QDate(2016, 7, 1);
        QTest::newRow("Enter, ten years up, Enter, two rows down, Enter") << QDate(2016, 9, 1);
        QTest::newRow("a click on 2016, then Escape") << QDate(2026, 3, 1);
    }

    void monthPicker_showsTheMonthPicked()
    {
        QFETCH(QDate, month);
        const QByteArray how = QTest::currentDataTag();
        if (how.startsWith("Enter"))
            QTest::keyClick(control(u"monthTitle"_s), Qt::Key_Return);
        else
            click(u"monthTitle"_s);
        QTRY_VERIFY(QApplication::activePopupWidget());
        const QPointer<QWidget> picker = QApplication::activePopupWidget();
        if (how.startsWith("Enter")) {
            for (int year = 0; year < 10; ++year)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
                QTest::keyClick(QApplication::focusWidget(), key);
        } else {
            auto *years = picker->findChild<QListWidget *>(u"yearList"_s);
            QListWidgetItem *year = years->findItems(u"2016"_s, Qt::MatchExactly).value(0);
            years->scrollToItem(year);
            QTest::mouseClick(years->viewport(), Qt::LeftButton, {},
                              years->visualItemRect(year).center());
            auto *months = picker->findChild<QTableWidget *>(u"monthGrid"_s);
            QTableWidgetItem *july = months->findItems(u"Jul"_s, Qt::MatchExactly).value(0);
            if (how.endsWith("Escape"))
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                QTest::mouseClick(months->viewport(), Qt::LeftButton, {},
                                  months->visualItemRect(july).center());
        }
        QTRY_VERIFY(!picker || !picker->isVisible());
        QCOMPARE(calendar()->displayMonth(), month);
        QCOMPARE(m_window->selection()->selectedDate(),
                 QDateTime(QDate(2026, 3, 10), QTime(15, 0)));
    }

    // As a screen reader hears them; the looks test sees that they are drawn.
    void markers_showTheDaysWithNotes_onEveryCellShown()
    {
        for (const QDate day : {QDate(2026, 2, 23), QDate(2026, 3, 15), QDate(2026, 4, 5)})
            QVERIFY2(hasMarker(day), qPrintable(day.toString(Qt::ISODate)));
        QVERIFY(!hasMarker(QDate(2026, 3, 16)));
        QCOMPARE(calendar()->dayCell(QDate(2026, 4, 6)), nullptr);
        // A day opened for the first time gains its marker at once.
        QVERIFY(m_store->journal()->noteForDay(QDate(2026, 3, 16)));
        QVERIFY(hasMarker(QDate(2026, 3, 16)));
        click(u"nextMonthButton"_s);
        QVERIFY(hasMarker(QDate(2026, 4, 6)));
    }

    // Each row's name is what is typed in the tag search; the first tag written, or the first
    // to match, takes the place of the hint, and cancelling brings every tag back.
    void search_narrowsAtEachKey_orSaysWhyTheListIsEmpty_data()
    {
        QTest::addColumn<QString>("listed");
        QTest::addColumn<QString>("hint");
        QTest::newRow("") << QString() << u"Type #word in a note to make a tag"_s;
        QTest::newRow("AL") << u"alpha alps also"_s << QString();
        QTest::newRow("ALP") << u"alpha alps"_s << QString();
        QTest::newRow("xyz") << QString() << u"No matching tags"_s;
    }

    void search_narrowsAtEachKey_orSaysWhyTheListIsEmpty()
    {
        QFETCH(QString, listed);
        QFETCH(QString, hint);
        const QString search = QString::fromLatin1(QTest::currentDataTag());
        if (search.isEmpty()) {
            m_window.reset();
            m_store = std::make_unique<lqtest::TemporaryJournal>();
            openWindow();
        }
        click(u"searchButton"_s);
        auto *field = control<QLineEdit>(u"searchField"_s);
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTest::keyClicks(field, search);
        QCOMPARE(this->listed(), listed);
        auto *shown = control<QLabel>(u"tagsHint"_s);
        QCOMPARE(shown->isVisible() ? shown->text() : QString(), hint);

        QTest::keyClicks(m_window->editor()->textEdit(), u"#alpxyz"_s);
        m_window->saveNow();
        QVERIFY(!shown->isVisible());
        QVERIFY(this->listed().split(u' ').contains(u"alpxyz"_s));
        click(u"cancelSearchButton"_s);
        QVERIFY(!field->isVisible());
        QCOMPARE(this->listed().split(u' ').size(), search.isEmpty() ? 1 : 5);
    }

    // Counted once the window is up, then followed as notes are saved (the looks test sees them
    // dimmed at the row's end).
    void rows_countTheirNotes_andSayThemAfterTheName()
    {
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 1 note"_s);
        QSignalSpy changed(list()->model(), &QAbstractItemModel::dataChanged);
        QTest::keyClicks(m_window->editor()->textEdit(), u"#alpha and #fresh"_s);
        m_window->saveNow();
        QCOMPARE(spoken(u"alpha"_s), u"alpha, 2 notes"_s);
        QCOMPARE(spoken(u"fresh"_s), u"fresh, 1 note"_s);
        // The rows on screen learn that their counts changed, and repaint.
        QVERIFY(!changed.isEmpty());
        QTest::keySequence(m_window->editor()->textEdit(), QKeySequence::SelectAll);
        QTest::keyClick(m_window->editor()->textEdit(), Qt::Key_Delete);
        m_window->saveNow();
        QCOMPARE(spoken(u"fresh"_s), u"fresh, 0 notes"_s);
    }

    // The picked tag's row stays marked in every order, until a day is picked.
    void sortMenu_putsTheListInTheChosenOrder_andThePickedRowFollows()
    {
        m_window->selection()->setSelectedTag(m_store->journal()->tags().value().at(1));
        click(u"sortButton"_s);
        choose(u"Most Recent"_s);
        QCOMPARE(listed(), u"beta alps also alpha"_s);
        click(u"sortButton"_s);
        choose(u"Z \u2192 A"_s);
        QCOMPARE(listed(), u"beta also alps alpha"_s);
        QCOMPARE(list()->selectionModel()->selectedIndexes().value(0).data().toString(), u"alps"_s);
        m_window->selection()->setSelectedDate(QDate(2026, 1, 3).startOfDay());
        QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
    }

    void removingATag_asksFirst_andKeepsItsNotes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("answer");
        QTest::newRow("Cancel keeps the tag")
            << u"alps"_s << u"Delete Tag \"alps\""_s << u"Cancel"_s;
        QTest::newRow("Delete removes it")
            << u"alps"_s << u"Delete Tag \"alps\""_s << u"Delete \"alps\""_s;
        QTest::newRow("A long name stretches neither the window nor the alert")
            << QString(100000, u'x') << u"Delete Tag \"%1\u2026\""_s.arg(QString(60, u'x'))
            << u"Cancel"_s;
    }

    void removingATag_asksFirst_andKeepsItsNotes()
    {
        QFETCH(QString, name);
        QFETCH(QString, entry);
        QFETCH(QString, answer);
        m_store->write(QDate(2026, 2, 1), u"#"_s + name);
        const QSize size = m_window->size();
        clickRow(name);
        QCOMPARE(m_window->selection()->selectedTag()->name, name);
        QCOMPARE(m_window->selection()->highlightedDate(), std::nullopt);
        QVERIFY(m_window->tagNotesPage());
        QApplication::processEvents();
        QCOMPARE(m_window->size(), size);
        clickRow(name, Qt::RightButton);
        choose(entry);
        QVERIFY(QApplication::activeModalWidget()->width() < size.width());
        choose(answer);
        QCOMPARE(listed().split(u' ').contains(name), answer == u"Cancel");
        QCOMPARE(lqtest::storedText(m_store->path(), u"2026-02-01"_s), u"#"_s + name);
        // A removed tag's notes are no longer shown: the editor comes back.
        QCOMPARE(m_window->editor() != nullptr, answer != u"Cancel");
    }

    // Five notes tagged #trip, on the first five days of May, written in a muddled order:
    // newest first in three equal columns; a click opens the card's note on its day.
    void cards_areNewestFirst_inThreeColumns_andOpenTheirNote()
    {
        for (const int day : {3, 1, 5, 2, 4})
            m_store->write(QDate(2026, 5, day), u"Day %1 #trip\nmore"_s.arg(day));
        m_window->resize(1100, 760);
        // The tags by name: alpha, alps, also, beta, trip.
        m_window->selection()->setSelectedTag(m_store->journal()->tags().value().last());
        QVERIFY(m_window->tagNotesPage());
        QCOMPARE(m_window->tagNotesPage()->headingText(), u"Notes tagged with #trip"_s);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(cardRect(row).top(), cardRect(0).top());
            QCOMPARE(cardRect(row).width(), cardRect(0).width());
        }
        QCOMPARE(cardRect(1).left() - cardRect(0).right() - 1, NoteCardGrid::spacing);
        QCOMPARE(cardRect(3).top() - cardRect(0).bottom() - 1, NoteCardGrid::spacing);
        QCOMPARE(cardRect(3).left(), cardRect(0).left());

        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cardRect(1).center());
        QTRY_VERIFY(m_window->editor());
        SelectionState *selection = m_window->selection();
        QCOMPARE(selection->selectedTag(), nullptr);
        QCOMPARE(selection->selectedDate(), QDate(2026, 5, 4).startOfDay());
        QCOMPARE(selection->highlightedDate(), std::optional(QDate(2026, 5, 4).startOfDay()));
        QCOMPARE(m_window->editor()->textEdit()->noteText(), u"Day 4 #trip\nmore"_s);
        QTRY_COMPARE(QApplication::focusWidget(), m_window->editor()->textEdit());
    }

    void card_showsTitlePreviewAndDay_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("preview");
        QTest::newRow("A single line is all title")
            << u"Lunch with Sam"_s << u"Lunch with Sam"_s << QStringList{};
        QTest::newRow("Four lines after the title are shown whole")
            << u"T\n1\n2\n3\n4"_s << u"T"_s << QStringList{"1", "2", "3", "4"};
        QTest::newRow("A fifth line cuts the fourth with an ellipsis")
            << u"T\n1\n2\n3\n4\n5"_s << u"T"_s << QStringList{"1", "2", "3", "4…"};
    }

    void card_showsTitlePreviewAndDay()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QStringList, preview);
        QStyleOptionViewItem option;
        option.rect = QRect(30, 200, 250, NoteCardDelegate::cardHeight);
        option.font = QApplication::font();
        const auto layout = NoteCardDelegate::cardLayout(option, text, QDate(2026, 5, 9));
        QCOMPARE(layout.title.text, title);
        QStringList lines;
        for (const NoteCardDelegate::Line &line : layout.preview) {
            lines.append(line.text);
            QVERIFY(line.rect.top() > layout.title.rect.bottom());
            QVERIFY(line.rect.bottom() < layout.date.rect.top());
        }
        QCOMPARE(lines, preview);
        QCOMPARE(layout.date.text, u"May 9, 2026"_s);
        QVERIFY(option.rect.contains(layout.date.rect));
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
    MonthCalendar *calendar() const { return m_window->sidebar()->calendar(); }
    void click(QDate day) { QTest::mouseClick(calendar()->dayCell(day), Qt::LeftButton); }
    QString title() const { return control(u"monthTitle"_s)->text(); }
    bool hasMarker(QDate day) const
    {
        return calendar()->dayCell(day)->accessibleName().endsWith(u", has a note"_s);
    }
    NoteCardGrid *grid() const { return m_window->tagNotesPage()->grid(); }
    QRect cardRect(int row) const { return grid()->visualRect(grid()->model()->index(row, 0)); }
    void click(const QString &button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    QString listed() const
    {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row)
            names.append(list()->model()->index(row, 0).data().toString());
        return names.join(u' ');
    }
    // What a screen reader says for the tag's row.
    QString spoken(const QString &name) const
    {
        const int row = int(listed().split(u' ').indexOf(name));
        return list()->model()->index(row, 0).data(Qt::AccessibleTextRole).toString();
    }
    // Through the window, as the desktop delivers it, so a context menu follows the press.
    void clickRow(const QString &name, Qt::MouseButton button = Qt::LeftButton)
    {
        const qsizetype row = listed().split(u' ').indexOf(name);
        QVERIFY2(row >= 0, qPrintable(name + u" is not listed"_s));
        const QRect rect = list()->visualRect(list()->model()->index(int(row), 0));
        const QPoint point(rect.left() + 10, rect.center().y());
        QTest::mouseClick(m_window->windowHandle(), button, {},
                          list()->viewport()->mapTo(m_window.get(), point));
    }
    // Clicks what reads text in the open menu or alert, and waits for it to close.
    void choose(const QString &text)
    {
        QTRY_VERIFY(QApplication::activePopupWidget() || QApplication::activeModalWidget());
        const QPointer<QWidget> open = QApplication::activePopupWidget()
                                           ? QApplication::activePopupWidget()
                                           : QApplication::activeModalWidget();
        if (const auto *menu = qobject_cast<QMenu *>(open.data())) {
            for (QAction *action : menu->actions()) {
                if (action->text() == text)
                    QTest::mouseClick(open, Qt::LeftButton, {},
                                      menu->actionGeometry(action).center());
            }
        }
        for (QAbstractButton *button : open->findChildren<QAbstractButton *>()) {
            if (button->text() == text)
                QTest::mouseClick(button, Qt::LeftButton);
        }
        QTRY_VERIFY2(!open || !open->isVisible(), qPrintable(text + u" was not there to choose"_s));
    }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(SidebarTest)
#include "tst_sidebar.moc"
