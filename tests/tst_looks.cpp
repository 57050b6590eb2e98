// Light, dark and sharp: the calendar, a card, the tag counts and the status bar stand out on
// three palettes, symbols are as sharp as the screen and texts are whole, at scale 1 and 2.

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

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

const QDate march9(2026, 3, 9);
const QString cardText = u"Walk by the river\nCold, #outside\nHome late"_s;

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
        m_store->write(march9, cardText);
        QVERIFY(m_store->journal()->noteForDay(QDate(2026, 4, 1)));
        m_window = std::make_unique<MainWindow>(m_store->journal());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // March shown, as the keys would show it.
        m_window->sidebar()->calendar()->selectDay(march9.addDays(1));
        m_window->sidebar()->calendar()->stepDay(-1);
        m_window->editor()->statusBar()->setSaveError(u"disk full"_s);
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
        QApplication::setPalette(palette);
        // The window's widgets hear of it by posted events.
        QTRY_VERIFY(m_window->palette() == palette);
        // What is drawn in a rectangle of a widget, and the contrast it needs.
        QList<std::tuple<QString, QWidget *, QRect, double>> drawn;
        // A day's number over its marker, within the rounded corners of its square.
        const auto addDay = [&](const QString &what, QDate day, bool marker) {
            DayCell *cell = m_window->sidebar()->calendar()->dayCell(day);
            const int split = cell->fontMetrics().height() + 3;
            drawn.append({what, cell, QRect(5, 0, cell->width() - 10, split), 4.5});
            if (marker)
                drawn.append({what + u" marker"_s, cell,
                              QRect(5, split, cell->width() - 10, cell->height() - split), 3});
        };
        addDay(u"A day"_s, march9.addDays(1), false);
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
        const auto card = NoteCardDelegate::cardLayout(option, cardText, march9);
        QCOMPARE(card.preview.size(), 2);
        drawn = {{u"A card's title"_s, grid->viewport(), card.title.rect, 4.5},
                 {u"A card's lines"_s, grid->viewport(), card.preview.first().rect, 4.5},
                 {u"A card's day"_s, grid->viewport(), card.date.rect, 4.5},
                 {u"A picked tag's count"_s, tags->viewport(), count, 4.5}};
        check();
    }

    void symbolsAreSharp_andTextsWhole()
    {
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

        QList<QWidget *> texts = m_window->sidebar()->calendar()->findChildren<QWidget *>();
        texts += m_window->editor()->statusBar()->findChildren<QWidget *>();
        for (const QWidget *widget : std::as_const(texts)) {
            QVERIFY2(widget->isHidden() || (widget->width() >= widget->sizeHint().width() &&
                                            widget->height() >= widget->sizeHint().height()),
                     qPrintable(widget->objectName() + u' ' + widget->accessibleName()));
        }
    }

private:
    QPalette m_light;
    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(LooksTest)
#include "tst_looks.moc"
