// Light, dark and sharp: what the calendar, a note card and the status bar draw stands out
// from its background on a light palette, a dark one and a light one with a pale accent; the
// symbols are drawn at the screen's pixel density and no text of the calendar or the status
// bar is cut. CTest runs it at scale 1 and, as on a HiDPI screen, at scale 2.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/SelectionState.h"
#include "app/calendar/DayCell.h"
#include "app/calendar/MonthCalendar.h"
#include "app/editor/EditorStatusBar.h"
#include "app/sidebar/Sidebar.h"
#include "app/tagbrowser/NoteCardDelegate.h"
#include "app/tagbrowser/NoteCardGrid.h"
#include "core/Journal.h"

#include <QApplication>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QTest>
#include <QToolButton>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QDate march9(2026, 3, 9);

// The WCAG contrast ratio, from 1 (the same luminance) to 21 (black on white).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto linear = [](double c) {
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// How far what is drawn in region of a grab of the window stands out from the colour that
// most of the region has: the contrast of its most distinct pixel.
double standsOut(const QImage &image, QRect region)
{
    const qreal ratio = image.devicePixelRatio();
    region = QRect((QRectF(region).topLeft() * ratio).toPoint(), region.size() * ratio);
    QHash<QRgb, int> counts;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x)
            ++counts[image.pixel(x, y)];
    }
    const QColor background = QColor::fromRgb(
        std::max_element(counts.keyValueBegin(), counts.keyValueEnd(), [](auto a, auto b) {
            return a.second < b.second;
        })->first);
    double most = 1;
    for (auto pixel = counts.keyBegin(); pixel != counts.keyEnd(); ++pixel)
        most = std::max(most, contrast(QColor::fromRgb(*pixel), background));
    return most;
}

// Something drawn in region of widget, and the contrast it needs.
struct Drawn
{
    const char *what;
    QWidget *widget;
    QRect region;
    double least;
};

QPalette darkPalette()
{
    QPalette dark(QColor(0xee, 0xee, 0xee), QColor(0x2a, 0x2a, 0x2a), QColor(0x3a, 0x3a, 0x3a),
                  QColor(0x10, 0x10, 0x10), QColor(0x20, 0x20, 0x20), QColor(0xee, 0xee, 0xee),
                  QColor(0xff, 0xff, 0xff), QColor(0x18, 0x18, 0x18), QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
    dark.setColor(QPalette::Highlight, QColor(0x35, 0x84, 0xe4));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::PlaceholderText, QColor(0xee, 0xee, 0xee, 128));
    return dark;
}

} // namespace

class LooksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        lqtest::pinEnvironment();
        m_light = QApplication::palette();
        // Strokes several pixels wide reach their full colour, so the grab shows it.
        QFont large = QApplication::font();
        large.setPixelSize(20);
        QApplication::setFont(large);
    }
    void init()
    {
        m_store = std::make_unique<lqtest::TemporaryJournal>();
        Journal *journal = m_store->journal();
        journal->setText(journal->noteForDay(march9).value(),
                         u"Walk by the river\nCold, #outside\nHome late"_s);
        journal->setText(journal->noteForDay(march9.addDays(3)).value(), u"Later"_s);
        m_window = std::make_unique<MainWindow>(journal);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // March shown, as the keys would show it.
        m_window->sidebar()->calendar()->selectDay(march9.addDays(1));
        m_window->sidebar()->calendar()->stepDay(-1);
    }
    void cleanup()
    {
        m_window.reset();
        m_store.reset();
        QApplication::setPalette(m_light);
    }

    void drawnThings_standOut_data()
    {
        QTest::addColumn<QPalette>("palette");
        QPalette pale = QApplication::palette();
        pale.setColor(QPalette::Highlight, QColor(0xf6, 0xd3, 0x2d));
        pale.setColor(QPalette::HighlightedText, Qt::white);
        QTest::newRow("Light") << QApplication::palette();
        QTest::newRow("Dark") << darkPalette();
        QTest::newRow("Light with a pale accent") << pale;
    }

    void drawnThings_standOut()
    {
        QFETCH(QPalette, palette);
        QApplication::setPalette(palette);
        // The window's widgets hear of it by posted events.
        QTRY_VERIFY(m_window->palette() == palette);
        const auto check = [this](const QList<Drawn> &drawn) {
            const QImage image = m_window->grab().toImage();
            for (const Drawn &thing : drawn) {
                const double ratio = standsOut(
                    image, QRect(thing.widget->mapTo(m_window.get(), thing.region.topLeft()),
                                 thing.region.size()));
                QVERIFY2(ratio >= thing.least, qPrintable(u"%1: %2"_s.arg(thing.what).arg(ratio)));
            }
        };
        MonthCalendar *calendar = m_window->sidebar()->calendar();
        QList<Drawn> drawn;
        // A day's number over its marker; the rounded corners of a square stay out.
        const auto addDay = [&](const char *number, const char *marker, QDate day) {
            DayCell *cell = calendar->dayCell(day);
            const int split = cell->fontMetrics().height() + 3;
            drawn.append({number, cell, QRect(5, 0, cell->width() - 10, split), 4.5});
            if (marker)
                drawn.append(
                    {marker, cell, QRect(5, split, cell->width() - 10, cell->height() - split), 3});
        };
        addDay("A day", nullptr, march9.addDays(1));
        addDay("A day of the next month", nullptr, QDate(2026, 4, 1));
        addDay("A day with a note", "Its marker", march9.addDays(3));
        addDay("The open day", "Its marker on the open day", march9);
        EditorStatusBar *statusBar = m_window->editor()->statusBar();
        statusBar->setSaveError(u"disk full"_s);
        for (const char *name : {"countsLabel", "saveWarning"}) {
            auto *label = statusBar->findChild<QLabel *>(QLatin1String(name));
            drawn.append({name, label, label->rect().adjusted(8, 0, -8, 0), 4.5});
        }
        check(drawn);
        if (QTest::currentTestFailed())
            return;

        m_window->selection()->setSelectedTag(m_store->journal()->tags().value().first());
        auto *grid = m_window->findChild<NoteCardGrid *>();
        QStyleOptionViewItem option;
        option.initFrom(grid);
        option.rect = grid->visualRect(grid->model()->index(0, 0));
        const NoteCardDelegate::Layout card = NoteCardDelegate::cardLayout(
            option, u"Walk by the river\nCold, #outside\nHome late"_s, march9);
        QCOMPARE(card.preview.size(), 2);
        drawn = {{"A card's first line", grid->viewport(), card.title.rect, 4.5},
                 {"A card's other lines", grid->viewport(), card.preview.first().rect, 4.5},
                 {"A card's day", grid->viewport(), card.date.rect, 4.5}};
        check(drawn);
    }

    void symbolsAreSharp_andTextsWhole()
    {
        const qreal ratio = qEnvironmentVariableIntValue("QT_SCALE_FACTOR") == 2 ? 2 : 1;
        QCOMPARE(m_window->devicePixelRatio(), ratio);
        for (QToolButton *button : m_window->findChildren<QToolButton *>()) {
            if (button->icon().isNull() || !button->isVisible())
                continue;
            const QPixmap pixmap = button->icon().pixmap(button->iconSize(), ratio);
            QCOMPARE(pixmap.size(), button->iconSize() * ratio);
            QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(button->iconSize()));
        }
        // The tag list paints its symbol straight onto the screen.
        auto *tags = m_window->findChild<QListView *>(u"tagList"_s);
        const auto icon = tags->model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>();
        QImage painted(tags->iconSize() * ratio, QImage::Format_ARGB32_Premultiplied);
        painted.setDevicePixelRatio(ratio);
        painted.fill(Qt::transparent);
        QPainter painter(&painted);
        icon.paint(&painter, QRect(QPoint(), tags->iconSize()));
        painter.end();
        QCOMPARE(painted, icon.pixmap(tags->iconSize(), ratio)
                              .toImage()
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied));
        for (QLabel *label : m_window->findChildren<QLabel *>()) {
            if (!label->pixmap().isNull())
                QCOMPARE(label->pixmap().devicePixelRatio(), ratio);
        }

        QList<QWidget *> texts = m_window->sidebar()->calendar()->findChildren<QWidget *>();
        texts += m_window->editor()->statusBar()->findChildren<QWidget *>();
        m_window->editor()->statusBar()->setSaveError(u"disk full"_s);
        for (const QWidget *widget : std::as_const(texts)) {
            if (!widget->isVisible())
                continue;
            const QSize wanted = widget->sizeHint();
            QVERIFY2(widget->width() >= wanted.width() && widget->height() >= wanted.height(),
                     qPrintable(widget->objectName() + u' ' + widget->accessibleName() +
                                u" %1x%2 < %3x%4, sidebar %5"_s.arg(widget->width())
                                    .arg(widget->height())
                                    .arg(wanted.width())
                                    .arg(wanted.height())
                                    .arg(m_window->sidebar()->width())));
        }
    }

private:
    QPalette m_light;
    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(LooksTest)
#include "tst_looks.moc"
