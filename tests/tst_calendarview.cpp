#include "calendar/CustomCalendarView.h"

#include "SelectionState.h"

#include "TestEnvironment.h"

#include <QImage>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int SidebarWidth = 250;

// The blue of the highlighted day and of the note markers.
bool isAccent(QColor c, int tolerance = 12)
{
    const QColor blue = CustomCalendarView::accentColor();
    return qAbs(c.red() - blue.red()) <= tolerance && qAbs(c.green() - blue.green()) <= tolerance &&
           qAbs(c.blue() - blue.blue()) <= tolerance;
}

} // namespace

class TestCalendarView : public QObject
{
    Q_OBJECT

    void showCalendar(const QDateTime &selectedDate)
    {
        m_selection = std::make_unique<SelectionState>();
        m_selection->setSelectedDate(selectedDate);
        // Answers only for the days asked about, as the store does.
        m_view = std::make_unique<CustomCalendarView>(
            m_selection.get(), [this](QDate first, QDate last) {
                QSet<QDate> shown = m_noteDays;
                shown.removeIf([&](QDate day) { return day < first || day > last; });
                return shown;
            });
        m_view->resize(SidebarWidth, m_view->sizeHint().height());
        m_view->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    }

    void clickDay(QDate day)
    {
        const QPoint centre = m_view->dayCellRect(day).center();
        QWidget *target = m_view->childAt(centre);
        QVERIFY2(target, qPrintable(day.toString(Qt::ISODate) + u" is not shown"_s));
        QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(m_view.get(), centre));
    }

    QString title() const { return m_view->findChild<QLabel *>(u"monthTitle"_s)->text(); }

    QImage cellImage(QDate day) const
    {
        const QRect cell = m_view->dayCellRect(day);
        return cell.isNull() ? QImage() : m_view->grab(cell).toImage();
    }

    QList<QDate> highlightedCells() const
    {
        QList<QDate> blue;
        for (const DayInfo &info : m_view->generateDays()) {
            const QImage image = cellImage(*info.date);
            // Beside the centred number, where only the cell's background shows.
            if (isAccent(image.pixelColor(2, image.height() / 2)))
                blue.append(*info.date);
        }
        return blue;
    }

    // The most that measure gives for a pixel of the day's cell, from top to bottom given as
    // fractions of its height.
    template<typename Measure>
    int most(QDate day, qreal top, qreal bottom, Measure measure) const
    {
        const QImage image = cellImage(day);
        int highest = 0;
        for (int y = int(top * image.height()); y < int(bottom * image.height()); ++y) {
            for (int x = 0; x < image.width(); ++x)
                highest = qMax(highest, int(measure(image.pixelColor(x, y))));
        }
        return highest;
    }

    // A blue dot below the number.
    bool hasMarker(QDate day) const
    {
        return most(day, 0.5, 1, [](QColor c) { return isAccent(c, 4); }) > 0;
    }

    // How far the day number stands out from its cell's background, 0 to 255.
    int numberContrast(QDate day) const
    {
        const int background = qGray(cellImage(day).pixel(1, 1));
        const auto contrast = [&](QColor c) {
            return qAbs(qGray(c.rgb()) - background);
        };
        return most(day, 0, 0.5, contrast);
    }

    std::unique_ptr<SelectionState> m_selection;
    QSet<QDate> m_noteDays;
    std::unique_ptr<CustomCalendarView> m_view;

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }

    void cleanup()
    {
        m_view.reset();
        m_selection.reset();
        m_noteDays.clear();
        lqtest::pinEnvironment();
    }

    void dayClick_selectsAndHighlightsDayStart_keepsMonth_data()
    {
        QTest::addColumn<QByteArray>("timeZone");
        QTest::addColumn<QDate>("day");

        const QByteArray berlin("Europe/Berlin");
        QTest::newRow("A grey trailing day of the next month") << berlin << QDate(2025, 4, 3);
        QTest::newRow("A grey leading day of the previous month") << berlin << QDate(2025, 2, 24);
        QTest::newRow("A day of the month") << berlin << QDate(2025, 3, 19);
        QTest::newRow("The day the clocks go forward") << berlin << QDate(2025, 3, 30);
        QTest::newRow("The day the clocks go forward in New York")
            << QByteArray("America/New_York") << QDate(2025, 3, 9);
    }

    void dayClick_selectsAndHighlightsDayStart_keepsMonth()
    {
        QFETCH(QByteArray, timeZone);
        QFETCH(QDate, day);
        lqtest::setTimeZone(timeZone);
        const QDate selectedDay(2025, 3, 10);
        showCalendar(QDateTime(selectedDay, QTime(15, 45)));
        // As while a tag is browsed: a selected day, but nothing highlighted.
        QTRY_VERIFY(highlightedCells().isEmpty());
        m_selection->setHighlightedDate(QDateTime(selectedDay, QTime(23, 59)));
        QTRY_COMPARE(highlightedCells(), QList<QDate>{selectedDay});

        clickDay(day);

        const QDateTime selected = m_selection->selectedDate();
        QCOMPARE(selected.toLocalTime().date(), day);
        QCOMPARE(selected.toLocalTime().time(), QTime(0, 0));
        QCOMPARE(m_selection->highlightedDate(), std::optional(selected));
        QCOMPARE(title(), u"March 2025"_s);
        QTRY_COMPARE(highlightedCells(), QList<QDate>{day});
        // A white number on the blue square: light pixels, and none as dark as normal text.
        const auto darkness = [](QColor c) {
            return 255 - qMax(c.red(), qMax(c.green(), c.blue()));
        };
        QVERIFY(most(day, 0, 1, [](QColor c) { return c.red(); }) > 200);
        QVERIFY(most(day, 0, 1, darkness) <= 155);

        // A day picked elsewhere, e.g. from a note card, leaves the month on screen.
        const QDateTime elsewhere(QDate(2024, 8, 14), QTime(0, 0));
        m_selection->setSelectedDate(elsewhere);
        m_selection->setHighlightedDate(elsewhere);
        QTRY_VERIFY(highlightedCells().isEmpty());
        QCOMPARE(title(), u"March 2025"_s);
    }

    void today_fromAnotherMonth_selectsNowAndShowsCurrentMonth()
    {
        showCalendar(QDateTime::currentDateTime().addMonths(-5));
        const QDateTime before = QDateTime::currentDateTime();

        QTest::mouseClick(m_view->findChild<QToolButton *>(u"todayButton"_s), Qt::LeftButton);

        const QDateTime after = QDateTime::currentDateTime();
        const QDateTime selected = m_selection->selectedDate();
        QVERIFY(selected >= before && selected <= after);
        QCOMPARE(m_selection->highlightedDate(), std::optional(selected));
        const QDate today = selected.toLocalTime().date();
        QCOMPARE(m_view->displayMonth(), QDate(today.year(), today.month(), 1));
        QTRY_COMPARE(highlightedCells(), QList<QDate>{today});
    }

    void chevron_stepsMonth_anywhereInItsPaddedSquare_data()
    {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<QPointF>("where"); // fraction of the button's size
        QTest::addColumn<QString>("expectedTitle");

        for (const QPointF where : {QPointF(0.05, 0.05), QPointF(0.95, 0.95)}) {
            QTest::addRow("Back from January 2026, clicked at (%g, %g)", where.x(), where.y())
                << QDate(2026, 1, 20) << u"previousMonthButton"_s << where << u"December 2025"_s;
            QTest::addRow("Forward from December 2025, clicked at (%g, %g)", where.x(), where.y())
                << QDate(2025, 12, 5) << u"nextMonthButton"_s << where << u"January 2026"_s;
        }
    }

    void chevron_stepsMonth_anywhereInItsPaddedSquare()
    {
        QFETCH(QDate, start);
        QFETCH(QString, buttonName);
        QFETCH(QPointF, where);
        QFETCH(QString, expectedTitle);
        const QDateTime selected(start, QTime(10, 0));
        showCalendar(selected);
        m_selection->setHighlightedDate(selected);
        auto *chevron = m_view->findChild<QToolButton *>(buttonName);
        // The glyph sits inside a padding of 5 that takes the click as well.
        QVERIFY(chevron && chevron->width() >= chevron->iconSize().width() + 10);
        QVERIFY(chevron->height() >= chevron->iconSize().height() + 10);

        QTest::mouseClick(
            chevron, Qt::LeftButton, {},
            QPointF(where.x() * chevron->width(), where.y() * chevron->height()).toPoint());

        QCOMPARE(title(), expectedTitle);
        QCOMPARE(m_selection->selectedDate(), selected);
        QCOMPARE(m_selection->highlightedDate(), std::optional(selected));
    }

    void noteMarker_inMonthAndGreyCells_appearsOnRefresh_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<bool>("dark");

        for (const bool dark : {false, true}) {
            const char *look = dark ? "dark" : "light";
            QTest::addRow("A grey leading day shows its dot, %s palette", look)
                << QDate(2025, 2, 25) << dark;
            QTest::addRow("A grey trailing day shows its dot, %s palette", look)
                << QDate(2025, 4, 4) << dark;
        }
    }

    void noteMarker_inMonthAndGreyCells_appearsOnRefresh()
    {
        QFETCH(QDate, day);
        QFETCH(bool, dark);
        const QDate inMonth(2025, 3, 18);
        const QDate later(2025, 3, 12);
        m_noteDays = {day, inMonth};
        showCalendar(QDateTime(QDate(2025, 3, 5), QTime(12, 0)));
        if (dark) {
            QPalette palette;
            palette.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
            palette.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
            palette.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
            m_view->setPalette(palette);
        }

        QTRY_VERIFY(hasMarker(day));
        QVERIFY(hasMarker(inMonth));
        QVERIFY(!hasMarker(day.addDays(1)));
        // Grey: the number stands out less than one of the month, yet still shows.
        const int grey = numberContrast(day);
        const int primary = numberContrast(inMonth);
        QVERIFY2(grey > 40 && grey + 40 < primary,
                 qPrintable(u"grey %1, primary %2"_s.arg(grey).arg(primary)));

        // A note added later shows once the markers are refreshed, and so tells its name.
        QVERIFY(!hasMarker(later));
        const QWidget *cell = m_view->childAt(m_view->dayCellRect(later).center());
        QCOMPARE(cell->accessibleName(), u"March 12, 2025"_s);
        m_noteDays.insert(later);
        m_view->refreshNoteMarkers();
        QTRY_VERIFY(hasMarker(later));
        QVERIFY(hasMarker(inMonth));
        QCOMPARE(cell->accessibleName(), u"March 12, 2025, has a note"_s);
    }

    void layout_fitsSidebar_data()
    {
        QTest::addColumn<QDate>("month");

        QTest::newRow("The longest title, five rows") << QDate(2025, 9, 1);
        QTest::newRow("Six rows") << QDate(2025, 3, 1);
        QTest::newRow("Five rows") << QDate(2025, 11, 1);
    }

    void layout_fitsSidebar()
    {
        QFETCH(QDate, month);
        showCalendar(QDateTime(month, QTime(12, 0)));
        QVERIFY(m_view->minimumSizeHint().width() <= SidebarWidth);
        QCOMPARE(m_view->width(), SidebarWidth);

        const QRect bounds = m_view->rect();
        for (const auto *child : m_view->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (child->isVisible())
                QVERIFY2(bounds.contains(child->geometry()), qPrintable(child->objectName()));
        }
        // The month title is shown whole, not elided.
        const auto *titleLabel = m_view->findChild<QLabel *>(u"monthTitle"_s);
        QVERIFY(titleLabel->width() >= titleLabel->sizeHint().width());

        const QList<DayInfo> days = m_view->generateDays();
        const int columnWidth = m_view->dayCellRect(*days.first().date).width();
        QVERIFY(columnWidth >= m_view->fontMetrics().horizontalAdvance(u"28"_s));
        for (const DayInfo &info : days)
            QVERIFY(qAbs(m_view->dayCellRect(*info.date).width() - columnWidth) <= 1);
    }
};

QTEST_MAIN(TestCalendarView)
#include "tst_calendarview.moc"
