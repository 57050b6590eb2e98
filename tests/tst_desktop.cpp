// How the window meets the desktop: its keys, the calendar's days as one stop of the Tab order,
// each pane's Tab order and names for a screen reader and the list of keys under Help; no
// English text left in German, with days, counts and Qt's own buttons in its words and order;
// the calendar, a card, the tag counts and the status bar standing out on three palettes,
// symbols as sharp as the screen and texts whole, at scale 1 and 2.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/ShortcutsDialog.h"
#include "app/Translations.h"
#include "app/calendar/DayCell.h"
#include "app/calendar/MonthCalendar.h"
#include "app/editor/EditorStatusBar.h"
#include "app/editor/NoteTextEdit.h"
#include "app/sidebar/Sidebar.h"
#include "app/tagbrowser/NoteCardDelegate.h"
#include "app/tagbrowser/NoteCardGrid.h"
#include "core/DateText.h"
#include "core/Journal.h"
#include "core/TextCounts.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QDate march9(2026, 3, 9);
const QDate march10 = march9.addDays(1);
const QString noteText = u"  Walk by the river\nCold, #outside\n\nHome late\n"_s;

// Every control under iface that a screen reader presents, by its role, without a name.
void findUnnamed(QAccessibleInterface *iface, QStringList &unnamed)
{
    static const QList<QAccessible::Role> named = {
        QAccessible::Button,       QAccessible::PushButton, QAccessible::ButtonMenu,
        QAccessible::EditableText, QAccessible::List,       QAccessible::ListItem,
        QAccessible::Cell,         QAccessible::ComboBox,   QAccessible::CheckBox};
    if (iface->state().invisible)
        return;
    if (named.contains(iface->role()) && iface->text(QAccessible::Name).trimmed().isEmpty())
        unnamed.append(iface->object() ? iface->object()->objectName() : u"item"_s);
    for (int i = 0; i < iface->childCount(); ++i)
        findUnnamed(iface->child(i), unnamed);
}

// The English texts that the German translation changes, as one pattern with their arguments
// left open; read from the translation, so that every text added there is looked for.
QRegularExpression changedEnglishTexts()
{
    QFile file(QStringLiteral(LQ_TRANSLATIONS_DIR "/lumenquill_de.ts"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    static const QRegularExpression argument(u"%[1-9n]"_s);
    static const QRegularExpression word(u"[A-Za-z]{2}"_s);
    QStringList patterns;
    QString source;
    for (QXmlStreamReader xml(&file); !xml.atEnd();) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"source") {
            source = xml.readElementText().remove(u'&');
        } else if (xml.isStartElement() && xml.name() == u"translation" &&
                   xml.readElementText(QXmlStreamReader::IncludeChildElements).remove(u'&') !=
                       source &&
                   QString(source).remove(argument).contains(word)) {
            patterns.append(QRegularExpression::escape(source).replace(
                QRegularExpression(u"\\\\%[1-9n]"_s), u".*"_s));
        }
    }
    if (patterns.size() < 50)
        qFatal("%s has too few changed texts", qPrintable(file.fileName()));
    return QRegularExpression(QRegularExpression::anchoredPattern(patterns.join(u'|')));
}

// Every text a visible widget shows or gives a screen reader, with its menus' entries and
// its rows.
QStringList shownTexts()
{
    QStringList texts;
    const auto add = [&texts](const QVariant &text) {
        texts.append(text.toString().remove(u'&'));
    };
    for (QWidget *widget : QApplication::allWidgets()) {
        if (!widget->isVisible())
            continue;
        for (const char *property : {"windowTitle", "toolTip", "accessibleName",
                                     "accessibleDescription", "text", "placeholderText"})
            add(widget->property(property));
        QList<QAction *> actions = widget->actions();
        for (const QAction *action : widget->actions()) {
            if (action->menu())
                actions += action->menu()->actions();
        }
        for (const QAction *action : std::as_const(actions)) {
            add(action->text());
            add(action->toolTip());
        }
        if (const auto *view = qobject_cast<QAbstractItemView *>(widget); view && view->model()) {
            const QAbstractItemModel *model = view->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                for (int column = 0; column < model->columnCount(); ++column) {
                    for (int role : {Qt::DisplayRole, Qt::ToolTipRole, Qt::AccessibleTextRole})
                        add(model->index(row, column).data(role));
                }
            }
        }
    }
    return texts;
}

// The WCAG contrast ratio, from 1 (the same luminance) to 21 (black on white).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto linear = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) +
               0.0722 * linear(c.blueF()) + 0.05;
    };
    return std::max(luminance(a), luminance(b)) / std::min(luminance(a), luminance(b));
}

// The contrast of the most distinct pixel of region (in logical pixels) with the colour that
// most of the region has.
double standsOut(const QImage &image, const QRectF &region)
{
    const qreal ratio = image.devicePixelRatio();
    const QRect pixels = QRectF(region.topLeft() * ratio, region.size() * ratio).toRect();
    QHash<QRgb, int> counts;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    const QColor background(
        std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
            return a.second < b.second;
        })->first);
    double most = 1;
    for (auto pixel = counts.keyBegin(); pixel != counts.keyEnd(); ++pixel)
        most = std::max(most, contrast(QColor(*pixel), background));
    return most;
}

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        lqtest::pinEnvironment();
        QApplication::setQuitOnLastWindowClosed(false);
        m_english = changedEnglishTexts();
        m_light = QApplication::palette();
        // Strokes several pixels wide reach their full colour, so the grab shows it.
        QFont large = QApplication::font();
        large.setPixelSize(20);
        QApplication::setFont(large);
    }
    // A window on a note on March 9 and another on April 1, with March 10 picked.
    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        m_store->write(march9, noteText);
        QVERIFY(m_store->journal()->noteForDay(QDate(2026, 4, 1)));
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        // March shown, as the keys would show it.
        calendar()->selectDay(march9);
        calendar()->stepDay(1);
        QTRY_COMPARE(QApplication::focusWidget(), text());
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
        QApplication::setPalette(m_light);
        useLanguage(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    // Each row's name is its keys.
    void windowKeys_workFromTheText_data()
    {
        QTest::addColumn<int>("days");      // from March 10 to the day picked afterwards
        QTest::addColumn<int>("months");    // from the picked day's month to the month shown
        QTest::addColumn<QString>("focus"); // none: the window has closed
        for (const char *key : {"Ctrl+PgUp", "Alt+Left"})
            QTest::newRow(key) << -1 << 0 << u"noteText"_s;
        for (const char *key : {"Ctrl+PgDown", "Alt+Right"})
            QTest::newRow(key) << 1 << 0 << u"noteText"_s;
        QTest::newRow("Ctrl+T") << int(march10.daysTo(QDate::currentDate())) << 0 << u"noteText"_s;
        for (const char *key : {"Alt+Up", "Ctrl+Shift+PgUp"})
            QTest::newRow(key) << 0 << -1 << u"noteText"_s;
        for (const char *key : {"Alt+Down", "Ctrl+Shift+PgDown"})
            QTest::newRow(key) << 0 << 1 << u"noteText"_s;
        QTest::newRow("Ctrl+Shift+F") << 0 << 0 << u"searchField"_s;
        QTest::newRow("Ctrl+W") << 0 << 0 << QString();
        QTest::newRow("Ctrl+Q") << 0 << 0 << QString();
    }

    void windowKeys_workFromTheText()
    {
        QFETCH(int, days);
        QFETCH(int, months);
        QFETCH(QString, focus);
        QTest::keySequence(text(),
                           QKeySequence::fromString(QLatin1String(QTest::currentDataTag())));
        if (focus.isEmpty()) {
            QTRY_VERIFY(!m_window->isVisible());
            return;
        }
        const QDate picked = march10.addDays(days);
        QCOMPARE(m_window->selection()->selectedDate().date(), picked);
        QCOMPARE(calendar()->displayMonth(),
                 QDate(picked.year(), picked.month(), 1).addMonths(months));
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focus);
    }

    // Each row's name is the keys pressed on the picked day, March 10.
    void calendarDays_takeTheKeyboardAsOne_data()
    {
        QTest::addColumn<QDate>("focused");
        QTest::addColumn<bool>("opened");
        QTest::newRow("Right") << QDate(2026, 3, 11) << false;
        QTest::newRow("Left") << QDate(2026, 3, 9) << false;
        QTest::newRow("Down") << QDate(2026, 3, 17) << false;
        QTest::newRow("Up, Up") << QDate(2026, 2, 24) << false;
        QTest::newRow("PgDown") << QDate(2026, 4, 10) << false;
        // February shows its 10th in the cell that showed March's.
        QTest::newRow("PgUp") << QDate(2026, 2, 10) << false;
        QTest::newRow("Right, Return") << QDate(2026, 3, 11) << true;
        QTest::newRow("Down, Space") << QDate(2026, 3, 17) << true;
    }

    void calendarDays_takeTheKeyboardAsOne()
    {
        QFETCH(QDate, focused);
        QFETCH(bool, opened);
        calendar()->findChild<QWidget *>(u"nextMonthButton"_s)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), calendar()->dayCell(march10));
        const QKeySequence keys = QKeySequence::fromString(QLatin1String(QTest::currentDataTag()));
        for (int i = 0; i < keys.count(); ++i)
            QTest::keyClick(QApplication::focusWidget(), keys[i].key());
        QCOMPARE(calendar()->displayMonth(), QDate(focused.year(), focused.month(), 1));
        QCOMPARE(m_window->selection()->selectedDate().date(), opened ? focused : march10);
        if (opened) {
            // As after a click, the keyboard goes on to the text.
            QTRY_COMPARE(QApplication::focusWidget(), text());
            return;
        }
        // The one stop of the Tab order, what a screen reader is told has the focus, and
        // ringed in the accent colour.
        DayCell *cell = calendar()->dayCell(focused);
        QCOMPARE(QApplication::focusWidget(), cell);
        const QList<DayCell *> cells = calendar()->findChildren<DayCell *>();
        QCOMPARE(std::count_if(cells.cbegin(), cells.cend(),
                               [](DayCell *day) { return day->focusPolicy() != Qt::NoFocus; }),
                 1);
        QVERIFY(QAccessible::queryAccessibleInterface(cell)
                    ->text(QAccessible::Name)
                    .startsWith(focused.toString(u"MMMM d, yyyy"_s)));
        QCOMPARE(cell->grab().toImage().pixelColor(1, cell->height() / 2),
                 cell->palette().color(QPalette::Highlight));
    }

    void everyPane_isReachedByTab_andNamed_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::newRow("The editor") << u"noteText"_s;
        QTest::newRow("A tag's notes") << u"noteCardGrid"_s;
        QTest::newRow("The note search") << u"noteSearchField searchResults"_s;
    }

    void everyPane_isReachedByTab_andNamed()
    {
        QFETCH(QString, pane);
        if (pane == u"noteCardGrid")
            m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        else if (pane.startsWith(u"noteSearchField"))
            m_window->openSearch();
        const QStringList order = QString(u"monthTitle previousMonthButton todayButton "
                                          u"nextMonthButton dayCell sortButton searchButton "
                                          u"tagList "_s +
                                          pane + u" noteSearchButton monthTitle"_s)
                                      .split(u' ');
        calendar()->findChild<QWidget *>(u"monthTitle"_s)->setFocus(Qt::TabFocusReason);
        QStringList visited;
        while (visited.size() < order.size()) {
            QWidget *focused = QApplication::focusWidget();
            visited.append(focused->objectName());
            // Tab writes a tab into the text; Ctrl+Tab goes on from there.
            QTest::keyClick(focused, Qt::Key_Tab,
                            focused == text() ? Qt::ControlModifier : Qt::NoModifier);
        }
        QCOMPARE(visited, order);

        QAccessibleInterface *root = QAccessible::queryAccessibleInterface(m_window.get());
        QCOMPARE(root->text(QAccessible::Name), u"journal"_s);
        QStringList unnamed;
        findUnnamed(root, unnamed);
        QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", "_s)));
        if (auto *grid = m_window->findChild<NoteCardGrid *>()) {
            // A card is heard as its first line, then the rest of the text and its day.
            QAccessibleInterface *card = QAccessible::queryAccessibleInterface(grid)->child(0);
            QCOMPARE(card->text(QAccessible::Name), u"Walk by the river"_s);
            QCOMPARE(card->text(QAccessible::Description),
                     u"Cold, #outside\n\nHome late\nMarch 9, 2026"_s);
        }
    }

    void shortcutsDialog_listsTheWindowsKeys()
    {
        // Added after the window was built, as any later command would be.
        auto *later = new QAction(u"&Later && Sooner"_s, m_window.get());
        later->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L));
        m_window->addAction(later);
        m_window->menuBar()->findChild<QMenu *>(u"helpMenu"_s)->actions().first()->trigger();
        ShortcutsDialog *dialog = nullptr;
        QTRY_VERIFY((dialog = m_window->findChild<ShortcutsDialog *>()) && dialog->isVisible());
        QStringList rows;
        for (QTreeWidgetItemIterator row(dialog->list()); *row; ++row)
            rows.append((*row)->text(0) + u" = "_s + (*row)->text(1));
        for (const QString &row :
             {u"Search Notes = Ctrl+F"_s, u"Find Tag = Ctrl+Shift+F"_s,
              u"Previous Day = Ctrl+PgUp, Alt+Left"_s, u"Later & Sooner = Ctrl+Alt+L"_s,
              u"Month before / after = PgUp / PgDown"_s, u"Open the day = Enter / Space"_s})
            QVERIFY2(rows.contains(row), qPrintable(row + u" not in:\n"_s + rows.join(u'\n')));
    }

    // Days, counts and Qt's own buttons in German words and order.
    void daysCountsAndQtsButtons_readInGerman()
    {
        useLanguage(QLocale(QLocale::German, QLocale::Germany));
        const QDate day(2026, 12, 6);
        const QDialogButtonBox buttons(QDialogButtonBox::Cancel);
        const QStringList shown = {DateText::header(day),
                                   DateText::monthTitle(day),
                                   DateText::fullDay(day),
                                   DateText::longDay(day),
                                   countsText(1, 1),
                                   countsText(5, 2),
                                   buttons.button(QDialogButtonBox::Cancel)->text().remove(u'&')};
        QCOMPARE(shown.join(u" | "), u"So., 6. Dezember 2026 | Dezember 2026 | 6. Dezember 2026 | "
                                     u"6. Dezember 2026 | 1 Wort 1 Zeichen | 5 Wörter 2 Zeichen | "
                                     u"Abbrechen"_s);
    }

    // Each step brings texts into view; in English each shows English, which proves that the
    // walk sees them; in German none does.
    void window_showsNoEnglishText_inAnotherLanguage_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("weekdays");
        QTest::newRow("C locale, English with numbered days") << QLocale::c() << u"M T W T F S S"_s;
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << u"M D M D F S S"_s;
    }

    void window_showsNoEnglishText_inAnotherLanguage()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, weekdays);
        const bool english = locale.language() != QLocale::German;
        // A window of its own, built in the language, on a journal of its own.
        m_window.reset();
        useLanguage(locale);
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        m_store->write(QDate::currentDate(), u"Am See #reise"_s);
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        m_seen.clear();

        QStringList heads;
        for (const QLabel *head : m_window->sidebar()->findChildren<QLabel *>(u"weekdayHead"_s))
            heads.append(head->text());
        QCOMPARE(heads.join(u' '), weekdays);

        auto *tags = m_window->sidebar()->findChild<QListView *>(u"tagList"_s);
        QTRY_VERIFY(!tags->model()->index(0, 0).data(Qt::AccessibleTextRole).isNull());
        click(u"searchButton"_s);
        expect(english, u"the window"_s);

        for (const QString &button : {u"sortButton"_s, u"monthTitle"_s}) {
            click(button);
            QTRY_VERIFY(QApplication::activePopupWidget());
            expect(english, button);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        }

        const QRect row = tags->visualRect(tags->model()->index(0, 0));
        const QPoint point = tags->viewport()->mapTo(m_window.get(), row.center());
        QTest::mouseClick(m_window->windowHandle(), Qt::LeftButton, {}, point);
        QTRY_VERIFY(m_window->tagNotesPage());
        expect(english, u"the tag's notes"_s);

        QTest::mouseClick(m_window->windowHandle(), Qt::RightButton, {}, point);
        QTRY_VERIFY(QApplication::activePopupWidget());
        expect(english, u"the tag's menu"_s);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Return})
            QTest::keyClick(QApplication::activePopupWidget(), key);
        QTRY_VERIFY(QApplication::activeModalWidget());
        expect(english, u"the alert"_s);
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!QApplication::activeModalWidget());

        click(u"noteSearchButton"_s);
        QTRY_VERIFY(m_window->searchPage());
        auto *field = m_window->searchPage()->findChild<QLineEdit *>(u"noteSearchField"_s);
        QTest::keyClicks(field, u"See"_s);
        expect(english, u"the search's results"_s, false);
        QTest::keyClicks(field, u"xyz"_s);
        expect(english, u"the search"_s);
    }

    void drawnThings_standOut_data()
    {
        QTest::addColumn<QPalette>("palette");
        QPalette dark(QColor(0x2a, 0x2a, 0x2a), QColor(0x20, 0x20, 0x20));
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
            dark.setColor(role, QColor(0xee, 0xee, 0xee));
        dark.setColor(QPalette::Base, QColor(0x18, 0x18, 0x18));
        dark.setColor(QPalette::PlaceholderText, QColor(0xee, 0xee, 0xee, 128));
        dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
        dark.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QPalette pale = m_light;
        pale.setColor(QPalette::Highlight, QColor(0xf6, 0xd3, 0x2d));
        pale.setColor(QPalette::HighlightedText, Qt::white);
        QTest::newRow("Light") << m_light;
        QTest::newRow("Dark") << dark;
        QTest::newRow("Light with a pale accent") << pale;
    }

    void drawnThings_standOut()
    {
        QFETCH(QPalette, palette);
        openMarch9_withASaveError();
        QApplication::setPalette(palette);
        // The window's widgets hear of it by posted events.
        QTRY_VERIFY(m_window->palette() == palette);
        // What is drawn in a rectangle of a widget, and the contrast it needs.
        QList<std::tuple<QString, QWidget *, QRect, double>> drawn;
        // A day's number over its marker, within the rounded corners of its square.
        const auto addDay = [&](const QString &what, QDate day, bool marker) {
            DayCell *cell = calendar()->dayCell(day);
            const int split = cell->fontMetrics().height() + 3;
            drawn.append({what, cell, QRect(5, 0, cell->width() - 10, split), 4.5});
            if (marker)
                drawn.append({what + u" marker"_s, cell,
                              QRect(5, split, cell->width() - 10, cell->height() - split), 3});
        };
        addDay(u"A day"_s, march10, false);
        addDay(u"A day of the next month, with a note"_s, QDate(2026, 4, 1), true);
        addDay(u"The open day"_s, march9, true);
        // A tag's count, dimmed in the last quarter of its row, picked or not.
        auto *tags = m_window->findChild<QAbstractItemView *>(u"tagList"_s);
        const QRect tag = tags->visualRect(tags->model()->index(0, 0));
        const QRect count = tag.adjusted(tag.width() * 3 / 4, 0, 0, 0);
        drawn.append({u"A tag's count"_s, tags->viewport(), count, 4.5});
        for (auto *label : m_window->editor()->statusBar()->findChildren<QLabel *>())
            drawn.append({label->objectName(), label, label->rect().adjusted(8, 0, -8, 0), 4.5});
        const auto ratioOf = [this](const QWidget *widget, const QRect &rect) {
            return standsOut(m_window->grab().toImage(),
                             QRect(widget->mapTo(m_window.get(), rect.topLeft()), rect.size()));
        };
        const auto check = [&] {
            for (const auto &[what, widget, rect, least] : std::as_const(drawn)) {
                const double ratio = ratioOf(widget, rect);
                QVERIFY2(ratio >= least, qPrintable(u"%1: %2"_s.arg(what).arg(ratio)));
            }
        };
        check();
        const QRect name = tag.adjusted(0, 0, -tag.width() / 2, 0);
        QVERIFY2(ratioOf(tags->viewport(), count) < ratioOf(tags->viewport(), name),
                 "the count is not dimmed");
        if (QTest::currentTestFailed())
            return;

        m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        auto *grid = m_window->findChild<NoteCardGrid *>();
        QStyleOptionViewItem option;
        option.initFrom(grid);
        option.rect = grid->visualRect(grid->model()->index(0, 0));
        const auto card = NoteCardDelegate::cardLayout(option, noteText, march9);
        QCOMPARE(card.preview.size(), 3);
        drawn = {{u"A card's title"_s, grid->viewport(), card.title.rect, 4.5},
                 {u"A card's lines"_s, grid->viewport(), card.preview.first().rect, 4.5},
                 {u"A card's day"_s, grid->viewport(), card.date.rect, 4.5},
                 {u"A picked tag's count"_s, tags->viewport(), count, 4.5}};
        check();
    }

    void symbolsAreSharp_andTextsWhole()
    {
        openMarch9_withASaveError();
        const qreal ratio = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2 ? 2 : 1;
        QCOMPARE(m_window->devicePixelRatio(), ratio);
        // A symbol painted straight on the screen, as the tag list paints its own, is as sharp
        // as the pixmap of the screen's density.
        const QSize size(16, 16);
        const auto *tags = m_window->findChild<QAbstractItemView *>(u"tagList"_s);
        const auto icon = tags->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
        QImage painted(size * ratio, QImage::Format_ARGB32_Premultiplied);
        painted.setDevicePixelRatio(ratio);
        painted.fill(Qt::transparent);
        QPainter painter(&painted);
        icon.paint(&painter, QRect(QPoint(), size));
        painter.end();
        QCOMPARE(painted, icon.pixmap(size, ratio).toImage().convertToFormat(painted.format()));

        QList<QWidget *> texts = calendar()->findChildren<QWidget *>();
        texts += m_window->editor()->statusBar()->findChildren<QWidget *>();
        for (const QWidget *widget : std::as_const(texts)) {
            QVERIFY2(widget->isHidden() || (widget->width() >= widget->sizeHint().width() &&
                                            widget->height() >= widget->sizeHint().height()),
                     qPrintable(widget->objectName() + u' ' + widget->accessibleName()));
        }
    }

private:
    MonthCalendar *calendar() const { return m_window->sidebar()->calendar(); }
    NoteTextEdit *text() const
    {
        return m_window->editor() ? m_window->editor()->textEdit() : nullptr;
    }

    // The note's day open, and the status bar showing an error beside the counts.
    void openMarch9_withASaveError()
    {
        calendar()->stepDay(-1);
        m_window->editor()->statusBar()->setSaveError(u"disk full"_s);
    }

    void useLanguage(const QLocale &locale)
    {
        QLocale::setDefault(locale);
        installTranslations(locale);
    }

    void click(const QString &name)
    {
        QTest::mouseClick(m_window->findChild<QAbstractButton *>(name), Qt::LeftButton);
    }

    // The English among the texts that came into view since the last look.
    void expect(bool english, const QString &step, bool checkedInEnglish = true)
    {
        QStringList found;
        for (const QString &text : shownTexts()) {
            if (!m_seen.contains(text) && m_english.match(text).hasMatch())
                found.append(text);
            m_seen.insert(text);
        }
        if (english && checkedInEnglish)
            QVERIFY2(!found.isEmpty(), qPrintable(u"no English text in "_s + step));
        if (!english)
            QVERIFY2(found.isEmpty(),
                     qPrintable(step + u" shows English: "_s + found.join(u" | ")));
    }

    QPalette m_light;
    QRegularExpression m_english;
    QSet<QString> m_seen;
    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
