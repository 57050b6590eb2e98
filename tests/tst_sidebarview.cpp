#include "sidebar/SidebarView.h"

#include "ContentView.h"
#include "SelectionState.h"
#include "calendar/CustomCalendarView.h"
#include "editor/NoteEditorView.h"
#include "model/ModelContext.h"
#include "model/Note.h"
#include "model/Tag.h"
#include "tags/TagSync.h"

#include "TestEnvironment.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int SidebarWidth = 250;

const QString ascending = u"A \u2192 Z"_s;
const QString descending = u"Z \u2192 A"_s;
const QString recent = u"Most Recent"_s;

// One note per tag, dated that many days from today, so "Most Recent" has a clear order.
const QList<std::pair<QString, int>> journal = {
    {u"alpha"_s, -9}, {u"alps"_s, -1}, {u"also"_s, -5}, {u"beta"_s, 0}};

QStringList journalNames()
{
    QStringList names;
    for (const auto &[name, day] : journal)
        names.append(name);
    return names;
}

} // namespace

class TestSidebarView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init() { m_store = std::make_unique<lqtest::TemporaryStore>(); }
    void cleanup();

    void emptyStore_showsHeadingAndHeaderOverEmptyList();
    void search_narrowsListAtEachKey();
    void search_clearOrCancel_bringsBackAllTags_data();
    void search_clearOrCancel_bringsBackAllTags();
    void sortMenu_choosingOption_reordersAtOnce_data();
    void sortMenu_choosingOption_reordersAtOnce();
    void storeChange_showsAtOnce_data();
    void storeChange_showsAtOnce();
    void deleteAlert_answer_decidesFateOfTag_data();
    void deleteAlert_answer_decidesFateOfTag();
    void deletingSelectedTag_clearsSelection_editorReturns();
    void pickingRow_selectsTag_clearsHighlight_dayClickClearsIt();
    void searchHidingSelectedTag_keepsSelection();

private:
    void fillJournal();
    void showSidebar();
    void showWindow();
    void attachTester();
    template<typename T>
    T *control(const QString &objectName) const;
    QListView *list() const { return control<QListView>(u"tagList"_s); }
    QStringList listed() const;
    QRect rowRect(const QString &name) const;
    void clickRow(const QString &name);
    void rightClickRow(const QString &name);
    void typeSearch(const QString &text);
    void chooseFromMenu(const QString &text);
    void chooseSort(const QString &raw);
    QMessageBox *alert() const;
    void answerAlert(const QString &buttonText);

    std::unique_ptr<lqtest::TemporaryStore> m_store;
    std::unique_ptr<SelectionState> m_selection;
    std::unique_ptr<QWidget> m_window;
    SidebarView *m_view = nullptr;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

void TestSidebarView::cleanup()
{
    m_tester.reset();
    m_window.reset();
    m_view = nullptr;
    m_selection.reset();
    m_store.reset();
}

void TestSidebarView::fillJournal()
{
    ModelContext *context = m_store->context();
    for (const auto &[name, day] : journal) {
        const QString text = u"A day with #"_s + name + u" in it."_s;
        auto *note = new Note(QDate::currentDate().addDays(day).startOfDay(), text);
        context->insert(note);
        updateTags(context, note, text);
    }
}

void TestSidebarView::showSidebar()
{
    m_selection = std::make_unique<SelectionState>();
    m_window = std::make_unique<SidebarView>(m_store->context(), m_selection.get());
    m_view = static_cast<SidebarView *>(m_window.get());
    m_window->resize(SidebarWidth, 720);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    attachTester();
}

void TestSidebarView::showWindow()
{
    auto window = std::make_unique<ContentView>(m_store->context());
    m_view = window->sidebar();
    m_window = std::move(window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    attachTester();
}

void TestSidebarView::attachTester()
{
    m_tester = std::make_unique<QAbstractItemModelTester>(
        list()->model(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

template<typename T>
T *TestSidebarView::control(const QString &objectName) const
{
    T *found = m_view->findChild<T *>(objectName);
    if (!found)
        qWarning("no control %s", qPrintable(objectName));
    return found;
}

QStringList TestSidebarView::listed() const
{
    QStringList names;
    const QAbstractItemModel *model = list()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        names.append(model->index(row, 0).data().toString());
    return names;
}

QRect TestSidebarView::rowRect(const QString &name) const
{
    const QAbstractItemModel *model = list()->model();
    const QModelIndexList found =
        model->match(model->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
    return found.isEmpty() ? QRect() : list()->visualRect(found.first());
}

void TestSidebarView::clickRow(const QString &name)
{
    const QRect rect = rowRect(name);
    QVERIFY2(rect.isValid(), qPrintable(name + u" is not listed"_s));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
}

// Through the window, as the desktop delivers it, so the context menu follows the press.
void TestSidebarView::rightClickRow(const QString &name)
{
    const QRect rect = rowRect(name);
    QVERIFY2(rect.isValid(), qPrintable(name + u" is not listed"_s));
    QWidget *viewport = list()->viewport();
    QTest::mouseClick(viewport->window()->windowHandle(), Qt::RightButton, {},
                      viewport->mapTo(viewport->window(), rect.center()));
}

void TestSidebarView::typeSearch(const QString &text)
{
    if (!m_view->isSearchingTags())
        QTest::mouseClick(control<QAbstractButton>(u"searchButton"_s), Qt::LeftButton);
    QTest::keyClicks(control<QLineEdit>(u"searchField"_s), text);
}

void TestSidebarView::chooseFromMenu(const QString &text)
{
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    QPointer<QMenu> menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QAction *chosen = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            chosen = action;
    }
    QVERIFY2(chosen, qPrintable(u"no menu item "_s + text));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    QTRY_VERIFY(!menu || !menu->isVisible());
}

void TestSidebarView::chooseSort(const QString &raw)
{
    QTest::mouseClick(control<QAbstractButton>(u"sortButton"_s), Qt::LeftButton);
    chooseFromMenu(raw);
}

QMessageBox *TestSidebarView::alert() const
{
    return qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
}

void TestSidebarView::answerAlert(const QString &buttonText)
{
    QTRY_VERIFY(alert());
    QPointer<QMessageBox> box = alert();
    QAbstractButton *answer = nullptr;
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == buttonText)
            answer = button;
    }
    QVERIFY2(answer, qPrintable(u"no button "_s + buttonText));
    QTest::mouseClick(answer, Qt::LeftButton);
    QTRY_VERIFY(!box || !box->isVisible());
}

void TestSidebarView::emptyStore_showsHeadingAndHeaderOverEmptyList()
{
    showSidebar();
    const auto *heading = m_view->findChild<QLabel *>(u"tagsHeading"_s);
    QVERIFY(heading);
    QCOMPARE(heading->text(), u"Tags"_s);
    const auto *sort = control<QAbstractButton>(u"sortButton"_s);
    const auto *search = control<QAbstractButton>(u"searchButton"_s);
    const QList<const QWidget *> header = {heading, sort, search, list()};
    for (const QWidget *shown : header) {
        QVERIFY(shown->isVisible());
        QVERIFY(m_view->rect().contains(shown->geometry()));
    }
    QCOMPARE(list()->model()->rowCount(), 0);
    QVERIFY(heading->geometry().bottom() < sort->geometry().top());
    QVERIFY(sort->geometry().bottom() < list()->geometry().top());
    QVERIFY(sort->geometry().right() < search->geometry().left());
}

void TestSidebarView::search_narrowsListAtEachKey()
{
    fillJournal();
    showSidebar();
    QTest::mouseClick(control<QAbstractButton>(u"searchButton"_s), Qt::LeftButton);
    auto *field = control<QLineEdit>(u"searchField"_s);
    auto *clear = control<QAbstractButton>(u"clearSearchButton"_s);
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(field->placeholderText(), u"Search Tags"_s);
    QVERIFY(!clear->isVisible());
    QVERIFY(m_view->rect().contains(control<QWidget>(u"cancelSearchButton"_s)->geometry()));

    const QList<std::pair<QChar, QStringList>> steps = {
        {u'A', journalNames()},
        {u'l', {u"alpha"_s, u"alps"_s, u"also"_s}},
        {u'P', {u"alpha"_s, u"alps"_s}},
        {u's', {u"alps"_s}},
        {u'x', {}},
    };
    for (const auto &[key, expected] : steps) {
        QTest::keyClick(field, key.toLatin1());
        QCOMPARE(listed(), expected);
        QVERIFY(clear->isVisible());
    }
    for (qsizetype left = steps.size(); left > 0; --left)
        QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(listed(), journalNames());
    QVERIFY(!clear->isVisible());
}

void TestSidebarView::search_clearOrCancel_bringsBackAllTags_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("staysOpen");

    QTest::newRow("clear") << u"clearSearchButton"_s << true;
    QTest::newRow("cancel") << u"cancelSearchButton"_s << false;
}

void TestSidebarView::search_clearOrCancel_bringsBackAllTags()
{
    QFETCH(QString, button);
    QFETCH(bool, staysOpen);

    fillJournal();
    showSidebar();
    typeSearch(u"alp"_s);
    QCOMPARE(listed().size(), 2);

    QTest::mouseClick(control<QAbstractButton>(button), Qt::LeftButton);
    auto *field = control<QLineEdit>(u"searchField"_s);
    QCOMPARE(listed(), journalNames());
    QVERIFY(field->text().isEmpty());
    QCOMPARE(field->isVisible(), staysOpen);
    QCOMPARE(control<QWidget>(u"cancelSearchButton"_s)->isVisible(), staysOpen);
    QCOMPARE(control<QWidget>(u"searchButton"_s)->isVisible(), !staysOpen);
    QVERIFY(!control<QWidget>(u"clearSearchButton"_s)->isVisible());
}

void TestSidebarView::sortMenu_choosingOption_reordersAtOnce_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("searchText");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("descending") << descending << QString()
                                << QStringList{u"beta"_s, u"also"_s, u"alps"_s, u"alpha"_s};
    QTest::newRow("recent") << recent << QString()
                            << QStringList{u"beta"_s, u"alps"_s, u"also"_s, u"alpha"_s};
    QTest::newRow("recent, searching")
        << recent << u"al"_s << QStringList{u"alps"_s, u"also"_s, u"alpha"_s};
    QTest::newRow("back to ascending") << ascending << QString() << journalNames();
}

void TestSidebarView::sortMenu_choosingOption_reordersAtOnce()
{
    QFETCH(QString, option);
    QFETCH(QString, searchText);
    QFETCH(QStringList, expected);

    fillJournal();
    showSidebar();
    if (!searchText.isEmpty())
        typeSearch(searchText);
    // Start from another order, so that each row really changes it.
    const QString start = option == ascending ? recent : ascending;
    chooseSort(start);

    chooseSort(option);
    QCOMPARE(listed(), expected);

    QTest::mouseClick(control<QAbstractButton>(u"sortButton"_s), Qt::LeftButton);
    QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    const QList<QAction *> actions = menu->actions();
    QCOMPARE(actions.size(), 4);
    QVERIFY(actions.at(0)->isSeparator());
    QCOMPARE(actions.at(0)->text(), u"Sort Order"_s);
    QStringList texts;
    QStringList checked;
    for (const QAction *action : actions.mid(1)) {
        texts.append(action->text());
        if (action->isChecked())
            checked.append(action->text());
    }
    QCOMPARE(texts, (QStringList{ascending, descending, recent}));
    QCOMPARE(checked, QStringList{option});
    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
}

void TestSidebarView::storeChange_showsAtOnce_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("inserted") << u"insert"_s << ascending
                              << QStringList{u"aardvark"_s, u"alpha"_s, u"alps"_s, u"also"_s,
                                             u"beta"_s};
    QTest::newRow("renamed") << u"rename"_s << ascending
                             << QStringList{u"alpha"_s, u"also"_s, u"beta"_s, u"zulu"_s};
    QTest::newRow("linked, most recent")
        << u"link"_s << recent << QStringList{u"alpha"_s, u"beta"_s, u"alps"_s, u"also"_s};
    QTest::newRow("deleted elsewhere")
        << u"delete"_s << descending << QStringList{u"beta"_s, u"also"_s, u"alpha"_s};
}

void TestSidebarView::storeChange_showsAtOnce()
{
    QFETCH(QString, change);
    QFETCH(QString, order);
    QFETCH(QStringList, expected);

    fillJournal();
    showSidebar();
    if (order != ascending)
        chooseSort(order);
    ModelContext *context = m_store->context();
    if (change == u"insert")
        context->insert(new Tag(u"aardvark"_s, QDateTime::currentDateTime()));
    else if (change == u"rename")
        context->fetchTag(u"alps"_s).record->setName(u"zulu"_s);
    else if (change == u"link")
        context->fetchNote(QDate::currentDate())
            .record->addTag(context->fetchTag(u"alpha"_s).record);
    else
        context->deleteTag(context->fetchTag(u"alps"_s).record);
    // Not waited for: the list follows within the same turn of the event loop.
    QCOMPARE(listed(), expected);
}

void TestSidebarView::deleteAlert_answer_decidesFateOfTag_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("deleted");

    QTest::newRow("cancel") << u"Cancel"_s << false;
    QTest::newRow("delete") << u"Delete \"alps\""_s << true;
}

void TestSidebarView::deleteAlert_answer_decidesFateOfTag()
{
    QFETCH(QString, answer);
    QFETCH(bool, deleted);

    fillJournal();
    showSidebar();
    rightClickRow(u"alps"_s);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
    QCOMPARE(menu->actions().size(), 1);
    // A secondary click opens the menu without picking the row.
    QCOMPARE(m_selection->selectedTag(), nullptr);
    chooseFromMenu(u"Delete Tag \"alps\""_s);

    QTRY_VERIFY(alert());
    QCOMPARE(alert()->objectName(), u"deleteTagAlert"_s);
    QCOMPARE(alert()->windowTitle(), u"Delete Tag"_s);
    QCOMPARE(alert()->text(),
             u"Are you sure you want to delete the tag \"alps\"? This cannot be undone."_s);
    const QAbstractButton *byDefault = alert()->defaultButton();
    const QAbstractButton *onEscape = alert()->escapeButton();
    QVERIFY(byDefault && onEscape);
    QCOMPARE(byDefault->text(), u"Cancel"_s);
    QCOMPARE(onEscape, byDefault);
    answerAlert(answer);

    QStringList remaining = journalNames();
    if (deleted)
        remaining.removeOne(u"alps"_s);
    QCOMPARE(listed(), remaining);

    const QDate day = QDate::currentDate().addDays(-1);
    m_window.reset();
    m_store->context()->save();
    m_store->reopen();
    ModelContext *context = m_store->context();
    QCOMPARE(context->fetchTag(u"alps"_s).record == nullptr, deleted);
    Note *note = context->fetchNote(day).record;
    QVERIFY(note);
    QVERIFY(note->content().contains(u"#alps"_s));
    QCOMPARE(note->tags().isEmpty(), deleted);
}

void TestSidebarView::deletingSelectedTag_clearsSelection_editorReturns()
{
    fillJournal();
    showWindow();
    clickRow(u"alps"_s);
    auto *window = static_cast<ContentView *>(m_window.get());
    QCOMPARE(window->selection()->selectedTag()->name(), u"alps"_s);

    rightClickRow(u"alps"_s);
    chooseFromMenu(u"Delete Tag \"alps\""_s);
    answerAlert(u"Delete \"alps\""_s);

    QCOMPARE(window->selection()->selectedTag(), nullptr);
    QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
    QTRY_VERIFY(window->editor() && window->editor()->isVisible());
}

void TestSidebarView::pickingRow_selectsTag_clearsHighlight_dayClickClearsIt()
{
    fillJournal();
    showWindow();
    auto *window = static_cast<ContentView *>(m_window.get());
    SelectionState *selection = window->selection();
    QVERIFY(selection->highlightedDate());

    clickRow(u"beta"_s);
    QCOMPARE(selection->selectedTag()->name(), u"beta"_s);
    QCOMPARE(selection->highlightedDate(), std::nullopt);

    QSignalSpy picks(selection, &SelectionState::selectedTagChanged);
    clickRow(u"beta"_s);
    QCOMPARE(picks.count(), 0);
    QCOMPARE(list()->selectionModel()->selectedIndexes().size(), 1);

    const QDate today = QDate::currentDate();
    const QDate other(today.year(), today.month(), today.day() == 15 ? 16 : 15);
    CustomCalendarView *calendar = m_view->calendar();
    const QPoint cell = calendar->dayCellRect(other).center();
    QWidget *target = calendar->childAt(cell);
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(calendar, cell));
    QTRY_COMPARE(selection->selectedTag(), nullptr);
    QVERIFY(list()->selectionModel()->selectedIndexes().isEmpty());
}

void TestSidebarView::searchHidingSelectedTag_keepsSelection()
{
    fillJournal();
    showSidebar();
    clickRow(u"beta"_s);
    Tag *beta = m_selection->selectedTag();
    QVERIFY(beta);

    typeSearch(u"al"_s);
    QVERIFY(!listed().contains(u"beta"_s));
    QCOMPARE(m_selection->selectedTag(), beta);

    QTest::mouseClick(control<QAbstractButton>(u"cancelSearchButton"_s), Qt::LeftButton);
    const QModelIndexList selected = list()->selectionModel()->selectedIndexes();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().data().toString(), u"beta"_s);
}

QTEST_MAIN(TestSidebarView)
#include "tst_sidebarview.moc"
