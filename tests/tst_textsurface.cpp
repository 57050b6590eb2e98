#include "TestEnvironment.h"

#include "editor/CustomTextView.h"
#include "editor/RepresentableTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include <memory>

using namespace Qt::StringLiterals;

// A selection as its anchor and its position.
using Span = QPair<int, int>;

class TestTextSurface : public QObject
{
    Q_OBJECT

    CustomTextView *view() const { return m_host->textView(); }

    void select(int anchor, int position)
    {
        QTextCursor cursor = view()->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        view()->setTextCursor(cursor);
    }

    Span selection() const
    {
        return {view()->textCursor().anchor(), view()->textCursor().position()};
    }

    // Every character in the surface's font and colour, every paragraph 1.6 lines apart.
    void verifyUniformAttributes()
    {
        const QTextDocument *document = view()->document();
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            QCOMPARE(block.blockFormat().lineHeightType(),
                     int(QTextBlockFormat::ProportionalHeight));
            QCOMPARE(block.blockFormat().lineHeight(), 160.0);
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat format = it.fragment().charFormat();
                QCOMPARE(format.font().resolve(document->defaultFont()), m_font);
                QVERIFY(!format.hasProperty(QTextFormat::ForegroundBrush));
            }
        }
    }

    std::unique_ptr<QWidget> m_window;
    RepresentableTextView *m_host = nullptr;
    QFont m_font;
    QString m_bound;

private Q_SLOTS:
    void initTestCase()
    {
        lqtest::pinEnvironment();
        m_font = QApplication::font();
        m_font.setPointSize(14);
    }

    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 300);
        m_host = new RepresentableTextView(m_window.get());
        m_host->setGeometry(0, 0, 400, 300);
        m_host->setFont(m_font);
        m_host->setLineHeightMultiple(1.6);
        m_host->setTextContainerInset(QSize(16, 16));
        m_bound.clear();
        // Stands in for the editor: the written-back text becomes the bound text, which
        // comes straight back to the surface as a refresh.
        connect(m_host, &RepresentableTextView::textEdited, m_host, [this](const QString &text) {
            m_bound = text;
            m_host->setText(text);
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }

    void cleanup()
    {
        m_window.reset();
        QApplication::setCursorFlashTime(1000);
    }

    void pasteOrDrop_takesInPlainTextOnly_data()
    {
        QTest::addColumn<bool>("drop");
        QTest::addColumn<QString>("html");
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("expected");

        const QString html =
            u"<b>Big</b> <span style=\"color:red;font-size:40pt\">red</span><br>2"_s;
        for (const bool drop : {false, true}) {
            const char *way = drop ? "dropped" : "pasted";
            QTest::addRow("Of html beside plain text, the plain text is %s", way)
                << drop << html << u"plain\nlines"_s << u"<plain\nlines>"_s;
            QTest::addRow("Html alone is %s as its text", way)
                << drop << html << QString() << u"<Big red\n2>"_s;
            QTest::addRow("An image alone is not %s", way)
                << drop << QString() << QString() << u"<>"_s;
        }
    }

    void pasteOrDrop_takesInPlainTextOnly()
    {
        QFETCH(bool, drop);
        QFETCH(QString, html);
        QFETCH(QString, plain);
        QFETCH(QString, expected);

        auto *mime = new QMimeData;
        mime->setImageData(QImage(8, 8, QImage::Format_RGB32));
        if (!html.isEmpty())
            mime->setHtml(html);
        if (!plain.isNull())
            mime->setText(plain);
        m_host->setText(u"<>"_s);
        select(1, 1);

        if (drop) {
            const std::unique_ptr<QMimeData> owned(mime);
            const QPoint at(view()->cursorRect().left(), view()->cursorRect().center().y());
            QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view()->viewport(), &enter);
            QDropEvent dropEvent(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(view()->viewport(), &dropEvent);
        } else {
            QApplication::clipboard()->setMimeData(mime);
            QTest::keySequence(view(), QKeySequence::Paste);
        }
        QCOMPARE(view()->text(), expected);
        verifyUniformAttributes();
    }

    void attributes_uniformAfterSwapTypingAndUndo()
    {
        m_host->setText(u"one\ntwo"_s);
        m_host->setText(u"first\nsecond"_s);
        verifyUniformAttributes();

        view()->moveCursor(QTextCursor::End);
        QTest::keyClick(view(), Qt::Key_Return);
        QTest::keyClicks(view(), u"third"_s);
        QTest::keyClick(view(), Qt::Key_Return);
        QTest::keyClick(view(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(view(), u"fifth"_s);
        QCOMPARE(view()->text(), u"first\nsecond\nthird\n\nfifth"_s);
        verifyUniformAttributes();

        QTest::keySequence(view(), QKeySequence::Undo);
        QVERIFY(view()->text() != u"first\nsecond\nthird\n\nfifth"_s);
        verifyUniformAttributes();
    }

    // The written text is "café" and forty lines, with "typed" typed at its end.
    void setText_keepsSelectionInsideTheText_data()
    {
        QTest::addColumn<QString>("newText"); // or how the written text comes back
        QTest::addColumn<Span>("selected");
        QTest::addColumn<Span>("expected");

        QTest::newRow("The same text keeps selection, scroll and undo")
            << u"same"_s << qMakePair(1, 4) << qMakePair(1, 4);
        QTest::newRow("A canonically equal text keeps selection, scroll and undo")
            << u"decomposed"_s << qMakePair(1, 4) << qMakePair(1, 4);
        QTest::newRow("Another text keeps a selection inside it")
            << u"Hi there"_s << qMakePair(1, 3) << qMakePair(1, 3);
        QTest::newRow("A selection reaching past its end is cut at the end")
            << u"Hi there"_s << qMakePair(4, 10) << qMakePair(4, 8);
        QTest::newRow("A backwards selection past its end is cut at the end")
            << u"Hi there"_s << qMakePair(11, 5) << qMakePair(8, 5);
        QTest::newRow("A selection wholly past its end goes to the end")
            << u"Hi"_s << qMakePair(9, 12) << qMakePair(2, 2);
        QTest::newRow("An empty text leaves the insertion point at its start")
            << QString() << qMakePair(3, 7) << qMakePair(0, 0);
    }

    void setText_keepsSelectionInsideTheText()
    {
        QFETCH(QString, newText);
        QFETCH(Span, selected);
        QFETCH(Span, expected);
        m_host->setText(u"caf\u00e9\n"_s + u"line\n"_s.repeated(40));
        view()->moveCursor(QTextCursor::End);
        QTest::keyClicks(view(), u"typed"_s);
        QTRY_VERIFY(m_bound.endsWith(u"typed"_s));
        select(selected.first, selected.second);
        QScrollBar *scrollBar = view()->verticalScrollBar();
        scrollBar->setValue(scrollBar->maximum() / 2);
        const int scroll = scrollBar->value();
        QVERIFY(scroll > 0);

        const bool equal = newText == u"same" || newText == u"decomposed";
        if (equal)
            newText =
                newText == u"same" ? m_bound : m_bound.normalized(QString::NormalizationForm_D);
        m_host->setText(newText);

        QCOMPARE(view()->text(), equal ? m_bound : newText);
        QCOMPARE(selection(), expected);
        if (equal) {
            QCOMPARE(scrollBar->value(), scroll);
            QVERIFY(view()->document()->isUndoAvailable());
        }
    }

    void writeBack_afterStaleRefresh_carriesTheKeystroke_data()
    {
        QTest::addColumn<bool>("flush");

        QTest::newRow("The keystroke is written back on the next turn of the event loop") << false;
        QTest::newRow("The keystroke is written back at once when flushed") << true;
    }

    void writeBack_afterStaleRefresh_carriesTheKeystroke()
    {
        QFETCH(bool, flush);
        QSignalSpy edits(m_host, &RepresentableTextView::textEdited);
        m_host->setText(u"old"_s);
        view()->moveCursor(QTextCursor::End);

        QTest::keyClick(view(), Qt::Key_X);
        QCOMPARE(m_bound, QString());
        m_host->setText(u"old"_s);
        QCOMPARE(view()->text(), u"oldx"_s);

        if (flush) {
            m_host->flushWriteBack();
            QCOMPARE(m_bound, u"oldx"_s);
        }
        QTRY_COMPARE(m_bound, u"oldx"_s);
        QCoreApplication::processEvents();
        QCOMPARE(edits.count(), 1);
    }

    void insertionPoint_restsOnLineBottomOrStartsAtItsTop_data()
    {
        QTest::addColumn<int>("pixelSize");
        QTest::addColumn<bool>("barTallerThanLine");

        // ascent - descent + 10 outgrows the line of a small font, whose descent is small.
        QTest::newRow("At 8 px the bar starts at the top of the line") << 8 << true;
        QTest::newRow("At 18 px the bar starts at the top of the line") << 18 << true;
        QTest::newRow("At 40 px the bar rests on the bottom of the line") << 40 << false;
        QTest::newRow("At 80 px the bar rests on the bottom of the line") << 80 << false;
    }

    void insertionPoint_restsOnLineBottomOrStartsAtItsTop()
    {
        QFETCH(int, pixelSize);
        QFETCH(bool, barTallerThanLine);
        QFont font = m_font;
        font.setPixelSize(pixelSize);
        m_host->setFont(font);
        m_host->setText(u"first line\nsecond line"_s);
        select(15, 15);

        const QFontMetrics metrics(font);
        const int barHeight = metrics.ascent() - metrics.descent() + 10;
        const QRect line = view()->cursorRect();
        const QRect bar = view()->insertionPointRect();
        QCOMPARE(line.height() < barHeight, barTallerThanLine);
        QCOMPARE(bar.size(), QSize(1, barHeight));
        QCOMPARE(bar.left(), line.left());
        if (barTallerThanLine)
            QCOMPARE(bar.top(), line.top());
        else
            QCOMPARE(bar.top() + bar.height(), line.top() + line.height());
    }

    void lineSpacing_followsMultiple_data()
    {
        QTest::addColumn<qreal>("multiple");

        QTest::newRow("Lines 1.6 apart, as the editor has them") << 1.6;
        QTest::newRow("Lines 1.0 apart") << 1.0;
        QTest::newRow("Lines 2.5 apart") << 2.5;
    }

    void lineSpacing_followsMultiple()
    {
        QFETCH(qreal, multiple);
        // The second paragraph wraps, so wrapped lines are measured as well.
        m_host->setText(u"one\n"_s + u"word "_s.repeated(60));
        select(0, 2);
        m_host->setLineHeightMultiple(multiple);
        QCOMPARE(selection(), Span(0, 2));

        const auto lineTop = [this](int position) {
            QTextCursor cursor(view()->document());
            cursor.setPosition(position);
            return view()->cursorRect(cursor).top();
        };
        const QTextBlock second = view()->document()->begin().next();
        const int wrapped = second.position() + second.layout()->lineAt(1).textStart();
        const qreal expected = multiple * QFontMetricsF(m_font).lineSpacing();
        // Qt rounds the natural line height up to whole pixels before multiplying.
        QVERIFY(qAbs(lineTop(second.position()) - lineTop(0) - expected) <= multiple + 0.5);
        QVERIFY(qAbs(lineTop(wrapped) - lineTop(second.position()) - expected) <= multiple + 0.5);
    }

    // Red behind the surface, green as its base colour and blue as its text colour.
    void surface_showsWhatLiesBehindAndItsOwnBar()
    {
        QApplication::setCursorFlashTime(0);
        QPalette palette = m_window->palette();
        palette.setColor(QPalette::Window, Qt::red);
        palette.setColor(QPalette::Base, Qt::green);
        palette.setColor(QPalette::Text, Qt::blue);
        m_window->setPalette(palette);
        m_window->setAutoFillBackground(true);
        m_window->activateWindow();
        m_host->setFocus();
        QTRY_VERIFY(view()->hasFocus());

        const QImage image = m_window->grab().toImage();
        const QRect bar = view()->insertionPointRect().translated(view()->viewport()->pos());
        QCOMPARE(bar.topLeft(), QPoint(16, 16));
        QCOMPARE(image.pixelColor(4, 4), QColor(Qt::red));
        QCOMPARE(image.pixelColor(200, 150), QColor(Qt::red));
        QCOMPARE(image.pixelColor(bar.left(), bar.center().y()), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(bar.left() + 1, bar.center().y()), QColor(Qt::red));
    }
};

QTEST_MAIN(TestTextSurface)
#include "tst_textsurface.moc"
