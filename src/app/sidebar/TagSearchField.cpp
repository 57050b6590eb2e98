#include "app/sidebar/TagSearchField.h"

#include "app/Icons.h"
#include "app/ToolButton.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int iconSize = 14;
constexpr int verticalPadding = 4;
constexpr int horizontalPadding = 6;
constexpr qreal cornerRadius = 6;

} // namespace

TagSearchField::TagSearchField(QWidget *parent)
    : QWidget(parent), m_magnifier(new QWidget(this)), m_input(new QLineEdit(this)),
      m_clearButton(makeToolButton(u"clearSearchButton"_s, tr("Clear"), this))
{
    m_input->setObjectName(u"searchField"_s);
    m_input->setPlaceholderText(tr("Search Tags"));
    m_input->setAccessibleName(tr("Search Tags"));
    m_input->setFrame(false);
    // The rounded background painted here shows through.
    QPalette inputPalette = m_input->palette();
    inputPalette.setColor(QPalette::Base, Qt::transparent);
    m_input->setPalette(inputPalette);

    m_clearButton->setCursor(Qt::ArrowCursor);
    m_clearButton->setFocusPolicy(Qt::NoFocus);
    m_clearButton->setIconSize(QSize(iconSize, iconSize));
    m_clearButton->setFixedSize(iconSize + 2, iconSize + 2);
    m_clearButton->setStyleSheet(u"QToolButton { border: none; padding: 0; }"_s);
    m_clearButton->hide();

    m_magnifier->setFixedSize(iconSize, iconSize);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(horizontalPadding, verticalPadding, horizontalPadding,
                               verticalPadding);
    layout->addWidget(m_magnifier);
    layout->addWidget(m_input, 1);
    layout->addWidget(m_clearButton);
    setFocusProxy(m_input);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    applyIcons();

    connect(m_input, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_clearButton->setVisible(!text.isEmpty());
        Q_EMIT textChanged(text);
    });
    connect(m_clearButton, &QToolButton::clicked, this, &TagSearchField::clear);
}

QString TagSearchField::text() const
{
    return m_input->text();
}

void TagSearchField::clear()
{
    m_input->clear();
}

void TagSearchField::focusInput()
{
    m_input->setFocus(Qt::OtherFocusReason);
}

void TagSearchField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    m_magnifierIcon.paint(&painter, m_magnifier->geometry());
}

void TagSearchField::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        applyIcons();
    QWidget::changeEvent(event);
}

void TagSearchField::applyIcons()
{
    m_magnifierIcon = themedIcon(u"edit-find"_s, palette(), QPalette::PlaceholderText);
    update();
    m_clearButton->setIcon(themedIcon(u"edit-clear"_s, palette(), QPalette::PlaceholderText));
}
