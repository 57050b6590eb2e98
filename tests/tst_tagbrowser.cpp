// A tag's notes as cards: newest first in three columns, what a card shows, opening one.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/editor/NoteEditor.h"
#include "app/editor/NoteTextEdit.h"
#include "app/tagbrowser/NoteCardDelegate.h"
#include "app/tagbrowser/NoteCardGrid.h"
#include "app/tagbrowser/TagNotesPage.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;

class TagBrowserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    // Five notes tagged #trip, on the first five days of May, written in a muddled order.
    void init()
    {
        m_window.reset();
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        for (const int day : {3, 1, 5, 2, 4})
            m_store->write(QDate(2026, 5, day), u"Day %1 #trip\nmore"_s.arg(day));
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->resize(1100, 760);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    // Newest first in three equal columns; a click opens the card's note on its day.
    void cards_areNewestFirst_inThreeColumns_andOpenTheirNote()
    {
        m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
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
    NoteCardGrid *grid() const { return m_window->tagNotesPage()->grid(); }
    QRect cardRect(int row) const { return grid()->visualRect(grid()->model()->index(row, 0)); }

    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TagBrowserTest)
#include "tst_tagbrowser.moc"
