#include "app/editor/EditorStatusBar.h"

#include "app/Colours.h"
#include "app/TextStyles.h"
#include "core/TextCounts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

EditorStatusBar::EditorStatusBar(QWidget *parent)
    : QWidget(parent), m_saveWarning(new QLabel(this)), m_counts(new QLabel(this))
{
    m_counts->setObjectName(QStringLiteral("countsLabel"));
    m_saveWarning->setObjectName(QStringLiteral("saveWarning"));
    for (QLabel *label : {m_counts, m_saveWarning}) {
        label->setFont(styledFont(font(), TextStyle::Footnote));
        label->setContentsMargins(8, 4, 8, 4);
    }
    m_saveWarning->setText(tr("Not saved yet"));
    m_saveWarning->hide();

    auto *layout = new QHBoxLayout(this);
    const int side = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    layout->setContentsMargins(side, 0, side, 5);
    layout->addWidget(m_saveWarning);
    layout->addStretch();
    layout->addWidget(m_counts);
    setCounts(0, 0);
    applyColours();
}

void EditorStatusBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyColours();
    QWidget::changeEvent(event);
}

void EditorStatusBar::applyColours()
{
    const auto style = [](const QColor &text, const QColor &background) {
        return QStringLiteral("QLabel { color: %1; background: %2; border-radius: 8px; }")
            .arg(text.name(), background.name());
    };
    // A soft rounded backdrop, like a caption over the page, its dimmed text still readable.
    const QColor backdrop = palette().color(QPalette::AlternateBase);
    m_counts->setStyleSheet(style(Colours::legible(palette().color(QPalette::PlaceholderText),
                                                   backdrop, Colours::textContrast),
                                  backdrop));
    // Red whatever the palette, so that it reads as a warning in light and dark alike.
    const QColor red(0xc0, 0x39, 0x2b);
    m_saveWarning->setStyleSheet(style(
        Colours::legible(palette().color(QPalette::HighlightedText), red, Colours::textContrast),
        red));
}

void EditorStatusBar::setCounts(qsizetype words, qsizetype characters)
{
    m_counts->setText(::countsText(words, characters));
}

QString EditorStatusBar::countsText() const
{
    return m_counts->text();
}

void EditorStatusBar::setSaveError(const QString &error)
{
    m_saveWarning->setVisible(!error.isEmpty());
    m_saveWarning->setToolTip(tr("The note could not be written to disk (%1). LumenQuill keeps "
                                 "it and tries again.")
                                  .arg(error));
}

bool EditorStatusBar::showsSaveError() const
{
    return !m_saveWarning->isHidden();
}
