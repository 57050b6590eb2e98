// The program in the user's language: in German no English text is left anywhere the window
// shows one, and days, counts and Qt's own buttons read in the language's words and order.

#include "TestEnvironment.h"

#include "app/MainWindow.h"
#include "app/Translations.h"
#include "app/sidebar/Sidebar.h"
#include "core/DateText.h"
#include "core/Journal.h"
#include "core/TextCounts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

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

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        lqtest::pinEnvironment();
        m_english = changedEnglishTexts();
    }

    void cleanup()
    {
        m_window.reset();
        m_store.reset();
        useLanguage(QLocale(QLocale::English, QLocale::UnitedStates));
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

private:
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

    QRegularExpression m_english;
    QSet<QString> m_seen;
    std::unique_ptr<lqtest::TemporaryJournal> m_store;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TranslationTest)
#include "tst_translation.moc"
