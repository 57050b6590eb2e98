#include "app/tagbrowser/NoteCardDelegate.h"

#include "app/Colours.h"
#include "app/TextStyles.h"
#include "core/DateText.h"
#include "core/Journal.h"
#include "core/NoteCardText.h"
#include "core/TagNotesModel.h"

#include <QApplication>
#include <QListView>
#include <QPainter>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>

namespace {

const QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

// Dimmed, but never below what text needs to be read on the card.
QColor secondaryColour(const QPalette &palette)
{
    QColor colour = palette.color(QPalette::WindowText);
    colour.setAlphaF(0.55f);
    return Colours::legible(colour, palette.color(QPalette::Window), Colours::textContrast);
}

// Lays out the rest of the note within width, at most maxLines lines; a cut text ends its
// last line in an ellipsis.
QStringList previewLines(const QString &rest, const QFont &font, int width, int maxLines,
                         Qt::LayoutDirection direction)
{
    QString text = rest;
    text.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption textOption;
    textOption.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    textOption.setTextDirection(direction);
    layout.setTextOption(textOption);

    QStringList lines;
    qsizetype end = 0;
    layout.beginLayout();
    while (lines.size() < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        QString piece = text.mid(line.textStart(), line.textLength());
        if (piece.endsWith(QChar::LineSeparator))
            piece.chop(1);
        lines.append(piece);
        end = line.textStart() + line.textLength();
    }
    layout.endLayout();

    if (!lines.isEmpty() && end < text.size()) {
        const QFontMetrics metrics(font);
        lines.last() = metrics.elidedText(lines.last() + u'\u2026', Qt::ElideRight, width);
    }
    return lines;
}

} // namespace

NoteCardDelegate::NoteCardDelegate(Journal *journal, QObject *parent)
    : QStyledItemDelegate(parent), m_journal(journal)
{}

NoteCardDelegate::Layout NoteCardDelegate::cardLayout(const QStyleOptionViewItem &option,
                                                      const QString &text, QDate day)
{
    const QStyle *style = styleOf(option);
    const QMargins padding(style->pixelMetric(QStyle::PM_LayoutLeftMargin),
                           style->pixelMetric(QStyle::PM_LayoutTopMargin),
                           style->pixelMetric(QStyle::PM_LayoutRightMargin),
                           style->pixelMetric(QStyle::PM_LayoutBottomMargin));
    Layout layout;
    layout.content = option.rect.marginsRemoved(padding);
    const QRect &content = layout.content;
    if (content.isEmpty())
        return layout;

    const QFontMetrics titleMetrics(styledFont(option.font, TextStyle::Headline));
    layout.title.rect =
        QRect(content.left(), content.top(), content.width(), titleMetrics.height());
    layout.title.text = titleMetrics.elidedText(firstLine(text), Qt::ElideRight, content.width());

    const QFontMetrics caption(styledFont(option.font, TextStyle::Caption));
    layout.date.rect = QRect(content.left(), content.bottom() + 1 - caption.height(),
                             content.width(), caption.height());
    layout.date.text = DateText::longDay(day);

    const QString rest = remainingText(text);
    if (rest.isEmpty())
        return layout;
    // The spacer between the preview and the date keeps the stack's spacing on both sides.
    const QFont secondary = styledFont(option.font, TextStyle::Secondary);
    const int lineSpacing = QFontMetrics(secondary).lineSpacing();
    const int top = layout.title.rect.bottom() + 1 + stackSpacing;
    const int room = layout.date.rect.top() - 2 * stackSpacing - top;
    const int maxLines = std::min(previewLineLimit, std::max(0, room / lineSpacing));
    const QStringList lines =
        previewLines(rest, secondary, content.width(), maxLines, option.direction);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRect rect(content.left(), top + int(i) * lineSpacing, content.width(), lineSpacing);
        layout.preview.append({rect, lines.at(i)});
    }
    return layout;
}

NoteCardDelegate::Layout NoteCardDelegate::cardLayout(const QStyleOptionViewItem &option,
                                                      const QModelIndex &index) const
{
    const auto *note = index.data(TagNotesModel::NoteRole).value<const Note *>();
    if (!note)
        return {};
    const auto text = m_journal->text(note);
    return cardLayout(
        option, text ? *text : tr("This note could not be read: %1").arg(text.error()), note->day);
}

void NoteCardDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    const Layout layout = cardLayout(option, index);
    const QPalette &palette = option.palette;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette.color(QPalette::Window));
    painter->drawRoundedRect(QRectF(option.rect), cornerRadius, cornerRadius);
    // Cards carry no border; a ring shows only where the keyboard has put the focus.
    if ((option.state & QStyle::State_HasFocus) &&
        (option.state & QStyle::State_KeyboardFocusChange)) {
        painter->setPen(QPen(palette.color(QPalette::Highlight), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(option.rect).adjusted(1, 1, -1, -1), cornerRadius - 1,
                                 cornerRadius - 1);
    }

    painter->setClipRect(layout.content);
    const int flags = Qt::AlignLeading | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;
    painter->setFont(styledFont(option.font, TextStyle::Headline));
    const QColor card = palette.color(QPalette::Window);
    painter->setPen(
        Colours::legible(palette.color(QPalette::WindowText), card, Colours::textContrast));
    painter->drawText(layout.title.rect, flags, layout.title.text);
    if (!layout.preview.isEmpty()) {
        painter->setFont(styledFont(option.font, TextStyle::Secondary));
        painter->setPen(secondaryColour(palette));
        for (const Line &line : layout.preview)
            painter->drawText(line.rect, flags, line.text);
    }
    painter->setFont(styledFont(option.font, TextStyle::Caption));
    painter->setPen(
        Colours::legible(palette.color(QPalette::PlaceholderText), card, Colours::textContrast));
    painter->drawText(layout.date.rect, flags, layout.date.text);
    painter->restore();
}

// A card fills its cell of the grid; the grid itself leaves the gaps between cards.
QSize NoteCardDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    if (const auto *view = qobject_cast<const QListView *>(option.widget);
        view && view->gridSize().isValid())
        return view->gridSize();
    return QSize(option.rect.width(), cardHeight);
}
