#include "ContentView.h"
#include "SelectionState.h"
#include "editor/CustomTextView.h"
#include "editor/NoteEditorView.h"
#include "editor/RepresentableTextView.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "sidebar/SidebarView.h"
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
#include <QSqlDatabase>
#include <QSqlQuery>
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

} // namespace

class TestTagNotesView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init();
    void cleanup();

    void grid_newestFirst_inThreeEqualColumns_data();
    void grid_newestFirst_inThreeEqualColumns();
    void emptyTag_showsHeadingOverEmptyGrid_followsRename();
    void grid_followsLinksTextsDatesAndDeletion();
    void cardClick_opensNoteInEditorOnItsDay_data();
    void cardClick_opensNoteInEditorOnItsDay();
    void anotherTag_replacesTheBrowser();
    void cardLayout_titlePreviewAndDate_data();
    void cardLayout_titlePreviewAndDate();
    void cardDate_isTheLocalesLongDateWithoutWeekday_data();
    void cardDate_isTheLocalesLongDateWithoutWeekday();
    void manyNotes_onlyVisibleCardsReadTheirText();

private:
    Tag *addTag(const QString &name);
    Note *addNote(QDate day, const QString &text, Tag *tag);
    TagNotesView *showView(Tag *tag, int width = 900);

    std::unique_ptr<lqtest::TemporaryStore> m_store;
    std::unique_ptr<SelectionState> m_selection;
    std::unique_ptr<TagNotesView> m_view;
};

void TestTagNotesView::init()
{
    m_store = std::make_unique<lqtest::TemporaryStore>();
    m_selection = std::make_unique<SelectionState>();
}

void TestTagNotesView::cleanup()
{
    m_view.reset();
    m_selection.reset();
    m_store.reset();
}

Tag *TestTagNotesView::addTag(const QString &name)
{
    auto *tag = new Tag(name, QDateTime::currentDateTime());
    m_store->context()->insert(tag);
    return tag;
}

Note *TestTagNotesView::addNote(QDate day, const QString &text, Tag *tag)
{
    auto *note = new Note(day.startOfDay(), text);
    m_store->context()->insert(note);
    if (tag)
        note->addTag(tag);
    return note;
}

TagNotesView *TestTagNotesView::showView(Tag *tag, int width)
{
    m_view = std::make_unique<TagNotesView>(tag, m_selection.get());
    attachTester(m_view->model());
    m_view->resize(width, 700);
    m_view->show();
    if (!QTest::qWaitForWindowExposed(m_view.get()))
        qWarning("the tag browser was never exposed");
    return m_view.get();
}

void TestTagNotesView::grid_newestFirst_inThreeEqualColumns_data()
{
    QTest::addColumn<QList<int>>("daysOfMay");
    QTest::addColumn<int>("width");

    QTest::newRow("3, 1 and 9 May fill the first row") << QList<int>{3, 1, 9} << 900;
    QTest::newRow("three plus one at the leading edge") << QList<int>{1, 2, 3, 4} << 900;
    QTest::newRow("seven notes, narrow pane") << QList<int>{5, 1, 7, 2, 6, 3, 4} << 420;
    QTest::newRow("seven notes, wide pane") << QList<int>{5, 1, 7, 2, 6, 3, 4} << 1400;
}

void TestTagNotesView::grid_newestFirst_inThreeEqualColumns()
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

void TestTagNotesView::emptyTag_showsHeadingOverEmptyGrid_followsRename()
{
    Tag *tag = addTag(u"quiet"_s);
    addNote(QDate(2026, 5, 1), u"untagged"_s, nullptr);
    TagNotesView *view = showView(tag);

    const auto *heading = view->findChild<QLabel *>(u"tagNotesHeading"_s);
    QVERIFY(heading && heading->isVisible());
    QCOMPARE(heading->text(), u"Notes tagged with #quiet"_s);
    QCOMPARE(view->windowTitle(), u"#quiet"_s);
    QVERIFY(heading->font().pointSizeF() > view->font().pointSizeF());
    QCOMPARE(view->grid()->model()->rowCount(), 0);

    tag->setName(u"hushed"_s);
    QCOMPARE(heading->text(), u"Notes tagged with #hushed"_s);
    QCOMPARE(view->windowTitle(), u"#hushed"_s);
}

void TestTagNotesView::grid_followsLinksTextsDatesAndDeletion()
{
    ModelContext *context = m_store->context();
    Tag *tag = addTag(u"trip"_s);
    Note *may1 = addNote(QDate(2026, 5, 1), u"first #trip"_s, tag);
    Note *may9 = addNote(QDate(2026, 5, 9), u"ninth #trip"_s, tag);
    Note *may5 = addNote(QDate(2026, 5, 5), u"fifth"_s, nullptr);
    TagNotesView *view = showView(tag);
    QTRY_VERIFY(view->cardRect(may1).isValid());

    // Linked and unlinked by saving texts, as the editor does.
    updateTags(context, may5, u"fifth #trip"_s);
    QTRY_VERIFY(view->cardRect(may5).isValid());
    QCOMPARE(view->cardRect(may5).left(), view->cardRect(may9).right() + 1 + gap);
    updateTags(context, may9, u"ninth, no longer tagged"_s);
    QTRY_VERIFY(!view->cardRect(may9).isValid());
    QCOMPARE(view->cardRect(may5).topLeft(), QPoint(0, 0));

    QSignalSpy changed(view->model(), &QAbstractItemModel::dataChanged);
    may1->setContent(u"changed #trip"_s);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().at(0).toModelIndex(), view->model()->indexOf(may1));
    QCOMPARE(view->model()->indexOf(may1).data().toString(), u"changed #trip"_s);

    may1->setDate(QDate(2026, 6, 1).startOfDay());
    QTRY_COMPARE(view->cardRect(may1).topLeft(), QPoint(0, 0));
    QVERIFY(view->cardRect(may5).left() > 0);

    context->deleteTag(tag);
    QCOMPARE(view->tag(), nullptr);
    QCOMPARE(view->model()->rowCount(), 0);
    QCOMPARE(view->headingText(), u"Notes tagged with #trip"_s);
}

void TestTagNotesView::cardClick_opensNoteInEditorOnItsDay_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("dayAlreadySelected");
    QTest::addColumn<bool>("opens");

    QTest::newRow("centre") << u"centre"_s << false << true;
    QTest::newRow("bottom trailing corner") << u"bottom trailing"_s << false << true;
    QTest::newRow("day already selected") << u"centre"_s << true << true;
    QTest::newRow("Enter on the current card") << u"enter"_s << false << true;
    QTest::newRow("gap beside the card") << u"beside"_s << false << false;
    QTest::newRow("gap below the card") << u"below"_s << false << false;
}

void TestTagNotesView::cardClick_opensNoteInEditorOnItsDay()
{
    QFETCH(QString, how);
    QFETCH(bool, dayAlreadySelected);
    QFETCH(bool, opens);
    Tag *tag = addTag(u"trip"_s);
    Note *may3 = addNote(QDate(2026, 5, 3), u"third\n#trip"_s, tag);
    addNote(QDate(2026, 5, 2), u"second\n#trip"_s, tag);
    addNote(QDate(2026, 5, 1), u"first\n#trip"_s, tag);
    addNote(QDate(2026, 4, 30), u"last of April\n#trip"_s, tag);
    ContentView window(m_store->context());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (dayAlreadySelected)
        window.selection()->setSelectedDate(may3->date());
    window.selection()->setSelectedTag(tag);
    QPointer<TagNotesView> browser = window.tagBrowser();
    QVERIFY(browser);
    QCOMPARE(window.editor(), nullptr);
    attachTester(browser->model());
    QTRY_VERIFY(browser->cardRect(may3).isValid());

    const QRect card = browser->cardRect(may3);
    QListView *grid = browser->grid();
    if (how == u"enter") {
        grid->setFocus();
        grid->setCurrentIndex(browser->model()->indexOf(may3));
        QTest::keyClick(grid, Qt::Key_Return);
    } else {
        const QPoint point = how == u"bottom trailing" ? card.bottomRight() - QPoint(1, 1)
                             : how == u"beside" ? QPoint(card.right() + gap / 2, card.center().y())
                             : how == u"below"  ? QPoint(card.center().x(), card.bottom() + gap / 2)
                                                : card.center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, point);
    }

    SelectionState *selection = window.selection();
    if (!opens) {
        QCOMPARE(window.tagBrowser(), browser.data());
        QCOMPARE(selection->selectedTag(), tag);
        QVERIFY(selection->selectedNoteToEdit() != may3);
        return;
    }
    QTRY_VERIFY(window.editor());
    QCOMPARE(window.tagBrowser(), nullptr);
    QCOMPARE(selection->selectedTag(), nullptr);
    QCOMPARE(selection->selectedNoteToEdit(), may3);
    QCOMPARE(selection->selectedDate(), may3->date());
    QCOMPARE(selection->highlightedDate(), std::optional(may3->date()));
    QCOMPARE(window.editor()->note(), may3);
    QCOMPARE(window.editor()->editorText(), u"third\n#trip"_s);
    QTRY_COMPARE(QApplication::focusWidget(), window.editor()->textSurface()->textView());
    const auto *splitter = window.findChild<QSplitter *>();
    QCOMPARE(splitter->count(), 2);
    QCOMPARE(splitter->widget(0), window.sidebar());
    QCOMPARE(splitter->widget(1), window.editor());
    QTRY_VERIFY(browser.isNull());
}

void TestTagNotesView::anotherTag_replacesTheBrowser()
{
    Tag *trip = addTag(u"trip"_s);
    Tag *food = addTag(u"food"_s);
    ContentView window(m_store->context());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto *splitter = window.findChild<QSplitter *>();

    window.selection()->setSelectedTag(trip);
    QPointer<TagNotesView> tripBrowser = window.tagBrowser();
    QVERIFY(tripBrowser);
    window.selection()->setSelectedTag(food);
    QVERIFY(window.tagBrowser() && window.tagBrowser() != tripBrowser);
    QCOMPARE(window.tagBrowser()->tag(), food);
    QCOMPARE(window.editor(), nullptr);
    QCOMPARE(splitter->count(), 2);
    QCOMPARE(splitter->widget(0), window.sidebar());
    QCOMPARE(splitter->widget(1), window.tagBrowser());
    QTRY_VERIFY(tripBrowser.isNull());
}

void TestTagNotesView::cardLayout_titlePreviewAndDate_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("title");
    // For a preview cut at four lines, only the ellipsis at its end is given.
    QTest::addColumn<QStringList>("preview");

    const QStringList cut{u"…"_s};
    QTest::newRow("single line") << u"Lunch with Sam"_s << u"Lunch with Sam"_s << QStringList();
    QTest::newRow("empty note") << QString() << QString() << QStringList();
    QTest::newRow("blank lines and spaces before the title")
        << u"\n \n   Lunch  \n  with Sam"_s << u"Lunch  "_s << QStringList{u"with Sam"_s};
    QTest::newRow("CR LF inside leaves an empty line")
        << u"Lunch\r\nwith\r\nSam"_s << u"Lunch"_s << QStringList{u"with"_s, u""_s, u"Sam"_s};
    QTest::newRow("CR LF at the ends")
        << u"\r\nLunch\r\nwith Sam\r\n"_s << u"Lunch"_s << QStringList{u"with Sam"_s};
    QTest::newRow("exactly four lines after the title")
        << u"T\n1\n2\n3\n4"_s << u"T"_s << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    QTest::newRow("five lines after the title")
        << u"T\n1\n2\n3\n4\n5"_s << u"T"_s << QStringList{u"1"_s, u"2"_s, u"3"_s, u"4…"_s};
    QTest::newRow("wrapped paragraph") << u"T\n"_s + u"word "_s.repeated(200) << u"T"_s << cut;
    QTest::newRow("one unbroken word") << u"T\n"_s + u"x"_s.repeated(600) << u"T"_s << cut;
    QTest::newRow("wrapped lines after a short one")
        << u"T\na\n"_s + u"long line "_s.repeated(60) << u"T"_s << cut;
}

void TestTagNotesView::cardDate_isTheLocalesLongDateWithoutWeekday_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("date");
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                             << u"May 9, 2026"_s;
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << u"9. Mai 2026"_s;
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << u"9 mai 2026"_s;
}

void TestTagNotesView::cardDate_isTheLocalesLongDateWithoutWeekday()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, date);
    QLocale::setDefault(locale);
    const Note note(QDate(2026, 5, 9).startOfDay(), u"text"_s);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 250, 180);
    option.font = QApplication::font();
    const QString shown = NoteCardView::cardLayout(option, &note).date.text;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(shown, date);
}

void TestTagNotesView::cardLayout_titlePreviewAndDate()
{
    QFETCH(QString, content);
    QFETCH(QString, title);
    QFETCH(QStringList, preview);
    const Note note(QDate(2026, 5, 9).startOfDay(), content);
    QStyleOptionViewItem option;
    option.rect = QRect(30, 200, 250, cardHeight);
    option.font = QApplication::font();

    const NoteCardView::Layout layout = NoteCardView::cardLayout(option, &note);

    QCOMPARE(layout.title.text, title);
    QStringList shown;
    for (const NoteCardView::Line &line : layout.preview)
        shown.append(line.text);
    if (preview == QStringList{u"…"_s}) {
        QCOMPARE(shown.size(), NoteCardView::previewLineLimit);
        QVERIFY(shown.last().endsWith(u'…'));
        const QFontMetrics metrics(NoteCardView::calloutFont(option.font));
        for (const QString &line : std::as_const(shown))
            QVERIFY(metrics.horizontalAdvance(line) <= layout.content.width());
    } else {
        QCOMPARE(shown, preview);
    }
    QCOMPARE(layout.date.text, u"May 9, 2026"_s);
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
void TestTagNotesView::manyNotes_onlyVisibleCardsReadTheirText()
{
    Tag *tag = addTag(u"daily"_s);
    for (int i = 0; i < 90; ++i)
        addNote(QDate(2026, 1, 1).addDays(i), u"day %1\nbody"_s.arg(i), tag);
    QVERIFY(m_store->context()->save());
    m_store->reopen();
    tag = m_store->context()->fetchTag(u"daily"_s).record;
    QVERIFY(tag);

    // No model tester here: it reads every row.
    m_view = std::make_unique<TagNotesView>(tag, m_selection.get());
    m_view->resize(900, 600);
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    m_view->grid()->viewport()->grab();
    {
        QSqlDatabase side = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"behind"_s);
        side.setDatabaseName(m_store->path());
        QVERIFY(side.open());
        QVERIFY(QSqlQuery(side).exec(u"UPDATE notes SET content = 'replaced'"_s));
    }
    QSqlDatabase::removeDatabase(u"behind"_s);

    const QRect visible = m_view->grid()->viewport()->rect();
    int read = 0;
    for (Note *note : tag->notes()) {
        const bool wasRead = note->content() != u"replaced"_s;
        QCOMPARE(wasRead, m_view->cardRect(note).intersects(visible));
        read += wasRead;
    }
    QVERIFY(read > 0);
}

QTEST_MAIN(TestTagNotesView)
#include "tst_tagnotesview.moc"
