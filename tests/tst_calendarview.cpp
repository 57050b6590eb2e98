#include "calendar/CustomCalendarView.h"

#include "SelectionState.h"
#include "model/Note.h"
#include "model/Tag.h"

#include "TestEnvironment.h"

#include <QImage>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int SidebarWidth = 250;

bool isNear(QColor a, QColor b, int tolerance = 12)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

QPalette darkPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
    palette.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
    palette.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    palette.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
    palette.setColor(QPalette::PlaceholderText, QColor(0x80, 0x80, 0x80));
    return palette;
}

} // namespace

class TestCalendarView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { lqtest::pinEnvironment(); }
    void init();
    void cleanup();

    void dayClick_selectsAndHighlightsDayStart_keepsMonth_data();
    void dayClick_selectsAndHighlightsDayStart_keepsMonth();
    void highlight_followsHighlightedDateOnly_monthStays();
    void today_fromAnotherMonth_selectsNowAndShowsCurrentMonth();
    void chevron_stepsMonth_anywhereInItsPaddedSquare_data();
    void chevron_stepsMonth_anywhereInItsPaddedSquare();
    void noteMarker_appearsAfterRefresh();
    void noteMarker_adjacentMonthDay_showsDotInGreyCell_data();
    void noteMarker_adjacentMonthDay_showsDotInGreyCell();
    void layout_fitsSidebar_data();
    void layout_fitsSidebar();

private:
    void showCalendar(const QDateTime &selectedDate);
    void clickDay(QDate day);
    QString title() const { return m_view->findChild<QLabel *>(u"monthTitle"_s)->text(); }
    QImage cellImage(QDate day) const;
    QList<QDate> highlightedCells() const;
    bool hasMarker(QDate day) const;
    // How far the day number stands out from its cell's background, 0 to 255.
    int numberContrast(QDate day) const;

    std::unique_ptr<SelectionState> m_selection;
    QSet<QDate> m_noteDays;
    std::unique_ptr<CustomCalendarView> m_view;
};

void TestCalendarView::init()
{
    m_selection = std::make_unique<SelectionState>();
    m_noteDays.clear();
}

void TestCalendarView::cleanup()
{
    m_view.reset();
    m_selection.reset();
    lqtest::pinEnvironment();
}

void TestCalendarView::showCalendar(const QDateTime &selectedDate)
{
    m_selection->setSelectedDate(selectedDate);
    m_view =
        std::make_unique<CustomCalendarView>(m_selection.get(), [this](QDate first, QDate last) {
            QSet<QDate> shown;
            for (const QDate &day : std::as_const(m_noteDays)) {
                if (day >= first && day <= last)
                    shown.insert(day);
            }
            return shown;
        });
    m_view->resize(SidebarWidth, m_view->sizeHint().height());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
}

void TestCalendarView::clickDay(QDate day)
{
    const QRect cell = m_view->dayCellRect(day);
    QVERIFY2(!cell.isNull(), qPrintable(day.toString(Qt::ISODate) + u" is not shown"_s));
    QWidget *target = m_view->childAt(cell.center());
    QVERIFY(target);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(m_view.get(), cell.center()));
}

QImage TestCalendarView::cellImage(QDate day) const
{
    const QRect cell = m_view->dayCellRect(day);
    return cell.isNull() ? QImage() : m_view->grab(cell).toImage();
}

QList<QDate> TestCalendarView::highlightedCells() const
{
    QList<QDate> blue;
    for (const DayInfo &info : m_view->generateDays()) {
        const QImage image = cellImage(*info.date);
        // Beside the centred number, where only the cell's background shows.
        if (isNear(image.pixelColor(2, image.height() / 2), CustomCalendarView::accentColor()))
            blue.append(*info.date);
    }
    return blue;
}

bool TestCalendarView::hasMarker(QDate day) const
{
    const QImage image = cellImage(day);
    for (int y = image.height() / 2; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isNear(image.pixelColor(x, y), CustomCalendarView::accentColor(), 4))
                return true;
        }
    }
    return false;
}

int TestCalendarView::numberContrast(QDate day) const
{
    const QImage image = cellImage(day);
    const int background = qGray(image.pixel(1, 1));
    int contrast = 0;
    for (int y = 0; y < image.height() / 2; ++y) {
        for (int x = 0; x < image.width(); ++x)
            contrast = qMax(contrast, qAbs(qGray(image.pixel(x, y)) - background));
    }
    return contrast;
}

void TestCalendarView::dayClick_selectsAndHighlightsDayStart_keepsMonth_data()
{
    QTest::addColumn<QByteArray>("timeZone");
    QTest::addColumn<QDate>("day");

    const QByteArray berlin("Europe/Berlin");
    QTest::newRow("grey trailing day of the next month") << berlin << QDate(2025, 4, 3);
    QTest::newRow("grey leading day of the previous month") << berlin << QDate(2025, 2, 24);
    QTest::newRow("day of the month") << berlin << QDate(2025, 3, 19);
    QTest::newRow("day the clocks go forward") << berlin << QDate(2025, 3, 30);
    QTest::newRow("New York, day the clocks go forward")
        << QByteArray("America/New_York") << QDate(2025, 3, 9);
}

void TestCalendarView::dayClick_selectsAndHighlightsDayStart_keepsMonth()
{
    QFETCH(QByteArray, timeZone);
    QFETCH(QDate, day);
    lqtest::setTimeZone(timeZone);
    showCalendar(QDateTime(QDate(2025, 3, 10), QTime(15, 45)));
    m_selection->setHighlightedDate(m_selection->selectedDate());

    clickDay(day);

    const QDateTime selected = m_selection->selectedDate();
    QCOMPARE(selected.toLocalTime().date(), day);
    QCOMPARE(selected.toLocalTime().time(), QTime(0, 0));
    QCOMPARE(m_selection->highlightedDate(), std::optional(selected));
    QCOMPARE(m_view->displayMonth(), QDate(2025, 3, 1));
    QCOMPARE(title(), u"March 2025"_s);
    QTRY_COMPARE(highlightedCells(), QList<QDate>{day});

    // A white number on the blue square: light pixels, and none as dark as normal text.
    const QImage image = cellImage(day);
    bool light = false;
    bool dark = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            light |= pixel.red() > 200;
            dark |= qMax(pixel.red(), qMax(pixel.green(), pixel.blue())) < 100;
        }
    }
    QVERIFY(light && !dark);
}

void TestCalendarView::highlight_followsHighlightedDateOnly_monthStays()
{
    const QDate day(2025, 3, 12);
    showCalendar(QDateTime(day, QTime(9, 0)));
    // As while a tag is browsed: a selected day, but nothing highlighted.
    m_selection->setHighlightedDate(std::nullopt);
    QTRY_VERIFY(highlightedCells().isEmpty());

    m_selection->setHighlightedDate(QDateTime(day, QTime(23, 59)));
    QTRY_COMPARE(highlightedCells(), QList<QDate>{day});

    // A day picked elsewhere, e.g. from a note card, leaves the month on screen.
    const QDateTime elsewhere(QDate(2024, 8, 14), QTime(0, 0));
    m_selection->setSelectedDate(elsewhere);
    m_selection->setHighlightedDate(elsewhere);
    QTRY_VERIFY(highlightedCells().isEmpty());
    QCOMPARE(m_view->displayMonth(), QDate(2025, 3, 1));
    QCOMPARE(title(), u"March 2025"_s);
}

void TestCalendarView::today_fromAnotherMonth_selectsNowAndShowsCurrentMonth()
{
    showCalendar(QDateTime::currentDateTime().addMonths(-5));
    m_selection->setHighlightedDate(std::nullopt);
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

void TestCalendarView::chevron_stepsMonth_anywhereInItsPaddedSquare_data()
{
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QPointF>("where"); // fraction of the button's size
    QTest::addColumn<QDate>("expectedMonth");
    QTest::addColumn<QString>("expectedTitle");

    for (const QPointF where : {QPointF(0.5, 0.5), QPointF(0.05, 0.05), QPointF(0.95, 0.95)}) {
        QTest::addRow("back from January 2026 at (%g, %g)", where.x(), where.y())
            << QDate(2026, 1, 20) << u"previousMonthButton"_s << where << QDate(2025, 12, 1)
            << u"December 2025"_s;
        QTest::addRow("forward from December 2025 at (%g, %g)", where.x(), where.y())
            << QDate(2025, 12, 5) << u"nextMonthButton"_s << where << QDate(2026, 1, 1)
            << u"January 2026"_s;
    }
}

void TestCalendarView::chevron_stepsMonth_anywhereInItsPaddedSquare()
{
    QFETCH(QDate, start);
    QFETCH(QString, buttonName);
    QFETCH(QPointF, where);
    QFETCH(QDate, expectedMonth);
    QFETCH(QString, expectedTitle);
    const QDateTime selected(start, QTime(10, 0));
    showCalendar(selected);
    m_selection->setHighlightedDate(selected);
    auto *chevron = m_view->findChild<QToolButton *>(buttonName);
    QVERIFY(chevron);
    // The glyph sits inside a padding of 5 that takes the click as well.
    QVERIFY(chevron->width() >= chevron->iconSize().width() + 10);
    QVERIFY(chevron->height() >= chevron->iconSize().height() + 10);

    QTest::mouseClick(
        chevron, Qt::LeftButton, {},
        QPointF(where.x() * chevron->width(), where.y() * chevron->height()).toPoint());

    QCOMPARE(m_view->displayMonth(), expectedMonth);
    QCOMPARE(title(), expectedTitle);
    QCOMPARE(m_selection->selectedDate(), selected);
    QCOMPARE(m_selection->highlightedDate(), std::optional(selected));
}

void TestCalendarView::noteMarker_appearsAfterRefresh()
{
    const QDate day(2025, 3, 12);
    const QDate other(2025, 3, 13);
    m_noteDays.insert(other);
    showCalendar(QDateTime(QDate(2025, 3, 1), QTime(12, 0)));
    QTRY_VERIFY(hasMarker(other));
    QVERIFY(!hasMarker(day));
    const QWidget *cell = m_view->childAt(m_view->dayCellRect(day).center());
    QCOMPARE(cell->accessibleName(), u"March 12, 2025"_s);

    m_noteDays.insert(day);
    m_view->refreshNoteMarkers();

    QTRY_VERIFY(hasMarker(day));
    QVERIFY(hasMarker(other));
    QCOMPARE(cell->accessibleName(), u"March 12, 2025, has a note"_s);
}

void TestCalendarView::noteMarker_adjacentMonthDay_showsDotInGreyCell_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<bool>("dark");

    for (const bool dark : {false, true}) {
        const char *look = dark ? "dark palette" : "light palette";
        QTest::addRow("leading day, %s", look) << QDate(2025, 2, 25) << dark;
        QTest::addRow("trailing day, %s", look) << QDate(2025, 4, 4) << dark;
    }
}

void TestCalendarView::noteMarker_adjacentMonthDay_showsDotInGreyCell()
{
    QFETCH(QDate, day);
    QFETCH(bool, dark);
    const QDate inMonth(2025, 3, 18);
    m_noteDays = {day, inMonth};
    showCalendar(QDateTime(QDate(2025, 3, 5), QTime(12, 0)));
    m_selection->setHighlightedDate(std::nullopt);
    if (dark)
        m_view->setPalette(darkPalette());

    QTRY_VERIFY(hasMarker(day));
    QVERIFY(hasMarker(inMonth));
    QVERIFY(!hasMarker(day.addDays(1)));
    // Grey: the number stands out less than one of the month, yet still shows.
    const int grey = numberContrast(day);
    const int primary = numberContrast(inMonth);
    QVERIFY2(grey > 40 && grey + 40 < primary,
             qPrintable(u"grey %1, primary %2"_s.arg(grey).arg(primary)));
}

void TestCalendarView::layout_fitsSidebar_data()
{
    QTest::addColumn<QDate>("month");

    QTest::newRow("longest title, five rows") << QDate(2025, 9, 1);
    QTest::newRow("six rows") << QDate(2025, 3, 1);
    QTest::newRow("five rows") << QDate(2025, 11, 1);
}

void TestCalendarView::layout_fitsSidebar()
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
    QVERIFY(m_view->dayCellRect(days.last().date->addDays(1)).isNull());
}

QTEST_MAIN(TestCalendarView)
#include "tst_calendarview.moc"
