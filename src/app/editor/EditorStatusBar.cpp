#include "app/editor/EditorStatusBar.h"

#include "app/TextStyles.h"
#include "core/TextCounts.h"

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
    // A soft rounded backdrop, like a caption over the page.
    m_counts->setStyleSheet(QStringLiteral(
        "QLabel { color: palette(placeholder-text); background: palette(alternate-base);"
        " border-radius: 8px; }"));
    // Red whatever the palette, so that it reads as a warning in light and dark alike.
    m_saveWarning->setStyleSheet(QStringLiteral(
        "QLabel { color: palette(highlighted-text); background: #c0392b; border-radius: 8px; }"));
    m_saveWarning->setText(tr("Not saved yet"));
    m_saveWarning->hide();

    auto *layout = new QHBoxLayout(this);
    const int side = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    layout->setContentsMargins(side, 0, side, 5);
    layout->addWidget(m_saveWarning);
    layout->addStretch();
    layout->addWidget(m_counts);
    setCounts(0, 0);
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
