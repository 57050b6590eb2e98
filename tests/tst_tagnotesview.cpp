#include "ContentView.h"
#include "SelectionState.h"
#include "editor/CustomTextView.h"
#include "editor/NoteEditorView.h"
#include "editor/RepresentableTextView.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "tagbrowser/NoteCardView.h"
#include "tagbrowser/TagNotesModel.h"
#include "tagbrowser/TagNotesView.h"
#include "tags/TagSync.h"

#include "TestEnvironment.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QSignalSpy>
#include <QSplitter>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int cardHeight = 180;
constexpr int gap = 24;

void attachTester(QAbstractItemModel *model)
{
    new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest,
                                 model);
}

// What a card of the usual size shows of a note with this text on 9 May 2026.
NoteCardView::Layout cardOf(const QString &content)
{
    const Note note(QDate(2026, 5, 9).startOfDay(), content);
    QStyleOptionViewItem option;
    option.rect = QRect(30, 200, 250, cardHeight);
    option.font = QApplication::font();
    return NoteCardView::cardLayout(option, &note);
}

} // namespace

class TestTagNotesView : public QObject
{
    Q_OBJECT

    Tag *addTag(const QString &name)
    {
        auto *tag = new Tag(name, QDateTime::currentDateTime());
        m_store->context()->insert(tag);
        return tag;
    }

    Note *addNote(QDate day, const QString &text, Tag *tag)
    {
        auto *note = new Note(day.startOfDay(), text);
        m_store->context()->insert(note);
        if (tag)
            note->addTag(tag);
        return note;
    }

    TagNotesView *showView(Tag *tag, int width = 900, bool tested = true)
    {
        m_view = std::make_unique<TagNotesView>(tag, &m_selection);
        if (tested)
            attachTester(m_view->model());
        m_view->resize(width, 700);
        m_view->show();
        if (!QTest::qWaitForWindowExposed(m_view.get()))
            qWarning("the tag browser was never exposed");
        return m_view.get();
    }

    std::unique_ptr<lqtest::TemporaryStore> m_store;
    SelectionState m_selection;
    std::unique_ptr<TagNotesView> m_view;

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init() { m_store = std::make_unique<lqtest::TemporaryStore>(); }

    void cleanup()
    {
        m_view.reset();
        m_store.reset();
    }

    void grid_newestFirst_inThreeEqualColumns_data()
    {
        QTest::addColumn<QList<int>>("daysOfMay");
        QTest::addColumn<int>("width");

        QTest::newRow("Four notes make a row of three and one at the leading edge")
            << QList<int>{1, 2, 3, 4} << 900;
        QTest::newRow("Seven notes in any order fill a narrow pane")
            << QList<int>{5, 1, 7, 2, 6, 3, 4} << 420;
        QTest::newRow("Seven notes in any order fill a wide pane")
            << QList<int>{5, 1, 7, 2, 6, 3, 4} << 1400;
    }

    void grid_newestFirst_inThreeEqualColumns()
    {
        QFETCH(QList<int>, daysOfMay);
        QFETCH(int, width);
        Tag *tag = addTag(u"trip"_s);
        QList<Note *> notes;
        for (int day : daysOfMay)
            notes.append(addNote(QDate(2026, 5, day), u"note"_s, tag));
        std::sort(notes.begin(), notes.end(), [](Note *a, Note *b) { return a->day() > b->day(); });
        TagNotesView *view = showView(tag, width);
        QTRY_VERIFY(view->cardRect(notes.last()).isValid());

        const QRect first = view->cardRect(notes.first());
        for (qsizetype i = 0; i < notes.size(); ++i) {
            const QRect card = view->cardRect(notes.at(i));
            QCOMPARE(card.size(), QSize(first.width(), cardHeight));
            QCOMPARE(card.top(), first.top() + (i / 3) * (cardHeight + gap));
            QCOMPARE(card.left(), first.left() + (i % 3) * (first.width() + gap));
        }
        // Flush with the heading, and three columns fill the width less room for a scroll bar.
        QCOMPARE(view->grid()->viewport()->mapTo(view, first.topLeft()).x(),
                 view->findChild<QLabel *>(u"tagNotesHeading"_s)->x());
        const int scrollBar = view->grid()->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        QVERIFY(3 * first.width() + 2 * gap >=
                view->grid()->maximumViewportSize().width() - scrollBar - 3);
    }

    void grid_followsNameLinksTextsDatesAndDeletion()
    {
        ModelContext *context = m_store->context();
        Tag *tag = addTag(u"trip"_s);
        Note *may1 = addNote(QDate(2026, 5, 1), u"first #trip"_s, tag);
        Note *may9 = addNote(QDate(2026, 5, 9), u"ninth #trip"_s, tag);
        Note *may5 = addNote(QDate(2026, 5, 5), u"fifth"_s, nullptr);
        TagNotesView *view = showView(tag);
        QTRY_VERIFY(view->cardRect(may1).isValid());
        QVERIFY(!view->cardRect(may5).isValid());
        const auto *heading = view->findChild<QLabel *>(u"tagNotesHeading"_s);
        QVERIFY(heading && heading->isVisible());
        QCOMPARE(heading->text(), u"Notes tagged with #trip"_s);
        QVERIFY(heading->font().pointSizeF() > view->font().pointSizeF());
        tag->setName(u"journey"_s);
        QCOMPARE(heading->text(), u"Notes tagged with #journey"_s);

        // Linked and unlinked by saving texts, as the editor does.
        updateTags(context, may5, u"fifth #journey"_s);
        QTRY_VERIFY(view->cardRect(may5).isValid());
        QCOMPARE(view->cardRect(may5).left(), view->cardRect(may9).right() + 1 + gap);
        updateTags(context, may9, u"ninth, no longer tagged"_s);
        QTRY_VERIFY(!view->cardRect(may9).isValid());
        QCOMPARE(view->cardRect(may5).topLeft(), QPoint(0, 0));

        QSignalSpy changed(view->model(), &QAbstractItemModel::dataChanged);
        may1->setContent(u"changed #journey"_s);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().at(0).toModelIndex(), view->model()->indexOf(may1));
        QCOMPARE(view->model()->indexOf(may1).data().toString(), u"changed #journey"_s);

        may1->setDate(QDate(2026, 6, 1).startOfDay());
        QTRY_COMPARE(view->cardRect(may1).topLeft(), QPoint(0, 0));
        QVERIFY(view->cardRect(may5).left() > 0);

        // A deleted tag leaves an empty browser that still says what it showed.
        context->deleteTag(tag);
        QCOMPARE(view->tag(), nullptr);
        QCOMPARE(view->model()->rowCount(), 0);
        QCOMPARE(view->headingText(), u"Notes tagged with #journey"_s);
    }

    void cardClick_opensNoteInEditorOnItsDay_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("dayAlreadySelected");

        QTest::newRow("A click in the middle opens the note") << u"centre"_s << false;
        QTest::newRow("A click in the bottom trailing corner opens the note")
            << u"bottom trailing"_s << false;
        QTest::newRow("A click opens the note of the day already selected") << u"centre"_s << true;
        QTest::newRow("Enter opens the current card's note") << u"enter"_s << false;
        QTest::newRow("A click in the gap beside the card opens nothing") << u"beside"_s << false;
        QTest::newRow("A click in the gap below the card opens nothing") << u"below"_s << false;
    }

    void cardClick_opensNoteInEditorOnItsDay()
    {
        QFETCH(QString, how);
        QFETCH(bool, dayAlreadySelected);
        const bool opens = how != u"beside" && how != u"below";
        Tag *tag = addTag(u"trip"_s);
        Note *may3 = addNote(QDate(2026, 5, 3), u"third\n#trip"_s, tag);
        for (const QDate day : {QDate(2026, 5, 2), QDate(2026, 5, 1), QDate(2026, 4, 30)})
            addNote(day, u"another day\n#trip"_s, tag);
        ContentView window(m_store->context());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        SelectionState *selection = window.selection();
        if (dayAlreadySelected)
            selection->setSelectedDate(may3->date());
        // Another tag's browser first: the one of the tag picked next replaces it.
        selection->setSelectedTag(addTag(u"food"_s));
        QPointer<TagNotesView> previous = window.tagBrowser();
        selection->setSelectedTag(tag);
        QPointer<TagNotesView> browser = window.tagBrowser();
        QVERIFY(browser && browser != previous && browser->tag() == tag);
        QTRY_VERIFY(previous.isNull());
        attachTester(browser->model());
        QTRY_VERIFY(browser->cardRect(may3).isValid());

        const QRect card = browser->cardRect(may3);
        QListView *grid = browser->grid();
        if (how == u"enter") {
            grid->setFocus();
            grid->setCurrentIndex(browser->model()->indexOf(may3));
            QTest::keyClick(grid, Qt::Key_Return);
        } else {
            const QPoint point =
                how == u"bottom trailing" ? card.bottomRight() - QPoint(1, 1)
                : how == u"beside"        ? QPoint(card.right() + gap / 2, card.center().y())
                : how == u"below"         ? QPoint(card.center().x(), card.bottom() + gap / 2)
                                          : card.center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
        }

        if (!opens) {
            QCOMPARE(window.tagBrowser(), browser.data());
            return;
        }
        QTRY_VERIFY(window.editor());
        QCOMPARE(window.findChild<QSplitter *>()->widget(1), window.editor());
        QCOMPARE(selection->selectedTag(), nullptr);
        QCOMPARE(selection->selectedDate(), may3->date());
        QCOMPARE(selection->highlightedDate(), std::optional(may3->date()));
        QCOMPARE(window.editor()->note(), may3);
        QCOMPARE(window.editor()->editorText(), u"third\n#trip"_s);
        QTRY_COMPARE(QApplication::focusWidget(), window.editor()->textSurface()->textView());
        QTRY_VERIFY(browser.isNull());
    }

    void cardLayout_titlePreviewAndDate_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("title");
        // For a preview cut at four lines, only the ellipsis at its end is given.
        QTest::addColumn<QStringList>("preview");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("date");

        const QStringList cut{u"…"_s};
        const auto row = [](const char *name, const QString &content, const QString &title,
                            const QStringList &preview) {
            QTest::newRow(name) << content << title << preview
                                << QLocale(QLocale::English, QLocale::UnitedStates)
                                << u"May 9, 2026"_s;
        };
        row("A single line is all title", u"Lunch with Sam"_s, u"Lunch with Sam"_s, {});
        row("An empty note shows only its date", QString(), QString(), {});
        row("Blank lines and spaces before the title are skipped", u"\n \n   Lunch  \n  with Sam"_s,
            u"Lunch  "_s, {u"with Sam"_s});
        row("CR LF inside the rest leaves an empty line", u"Lunch\r\nwith\r\nSam"_s, u"Lunch"_s,
            {u"with"_s, u""_s, u"Sam"_s});
        row("Exactly four lines after the title are shown whole", u"T\n1\n2\n3\n4"_s, u"T"_s,
            {u"1"_s, u"2"_s, u"3"_s, u"4"_s});
        row("A fifth line after the title cuts the fourth", u"T\n1\n2\n3\n4\n5"_s, u"T"_s,
            {u"1"_s, u"2"_s, u"3"_s, u"4…"_s});
        row("A long paragraph wraps and is cut", u"T\n"_s + u"word "_s.repeated(200), u"T"_s, cut);
        row("One unbroken word wraps anywhere and is cut", u"T\n"_s + u"x"_s.repeated(600), u"T"_s,
            cut);
        row("Wrapped lines after a short one are cut", u"T\na\n"_s + u"long line "_s.repeated(60),
            u"T"_s, cut);
        // The locale's long date without the weekday.
        QTest::newRow("A German card writes the day first")
            << u"T"_s << u"T"_s << QStringList() << QLocale(QLocale::German, QLocale::Germany)
            << u"9. Mai 2026"_s;
        QTest::newRow("A French card writes the month in lower case")
            << u"T"_s << u"T"_s << QStringList() << QLocale(QLocale::French, QLocale::France)
            << u"9 mai 2026"_s;
    }

    void cardLayout_titlePreviewAndDate()
    {
        QFETCH(QString, content);
        QFETCH(QString, title);
        QFETCH(QStringList, preview);
        QFETCH(QLocale, locale);
        QFETCH(QString, date);
        QLocale::setDefault(locale);
        const NoteCardView::Layout layout = cardOf(content);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

        QCOMPARE(layout.title.text, title);
        QStringList shown;
        for (const NoteCardView::Line &line : layout.preview)
            shown.append(line.text);
        if (preview == QStringList{u"…"_s}) {
            QCOMPARE(shown.size(), NoteCardView::previewLineLimit);
            QVERIFY(shown.last().endsWith(u'…'));
            const QFontMetrics metrics(NoteCardView::calloutFont(QApplication::font()));
            for (const QString &line : std::as_const(shown))
                QVERIFY(metrics.horizontalAdvance(line) <= layout.content.width());
        } else {
            QCOMPARE(shown, preview);
        }
        QCOMPARE(layout.date.text, date);
        // Title at the top, date at the bottom, the preview between them.
        QCOMPARE(layout.title.rect.top(), layout.content.top());
        QCOMPARE(layout.date.rect.bottom(), layout.content.bottom());
        if (!layout.preview.isEmpty()) {
            QCOMPARE(layout.preview.first().rect.top(),
                     layout.title.rect.bottom() + 1 + NoteCardView::stackSpacing);
            QVERIFY(layout.preview.last().rect.bottom() < layout.date.rect.top());
        }
    }

    // Texts are changed in the file behind the store's back: a text read before keeps its old
    // value, one never read shows the new one.
    void manyNotes_onlyVisibleCardsReadTheirText()
    {
        Tag *tag = addTag(u"daily"_s);
        for (int i = 0; i < 90; ++i)
            addNote(QDate(2026, 1, 1).addDays(i), u"day %1\nbody"_s.arg(i), tag);
        m_store->reopen();
        tag = m_store->context()->fetchTag(u"daily"_s).record;
        QVERIFY(tag);

        // No model tester here: it reads every row.
        showView(tag, 900, false)->grid()->viewport()->grab();
        lqtest::queryFile(m_store->path(), u"UPDATE notes SET content = 'replaced'"_s);

        const QRect visible = m_view->grid()->viewport()->rect();
        int read = 0;
        for (Note *note : tag->notes()) {
            const bool wasRead = note->content() != u"replaced"_s;
            QCOMPARE(wasRead, m_view->cardRect(note).intersects(visible));
            read += wasRead;
        }
        QVERIFY(read > 0);
    }
};

QTEST_MAIN(TestTagNotesView)
#include "tst_tagnotesview.moc"
