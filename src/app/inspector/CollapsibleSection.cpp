#include "app/inspector/CollapsibleSection.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QSettings>
#include <QToolButton>
#include <QVBoxLayout>

CollapsibleSection::CollapsibleSection(const QString& title, QWidget* body, bool openByDefault,
                                       QWidget* parent)
    : QWidget(parent), m_header(new QToolButton(this)), m_headerRow(new QHBoxLayout(m_header)),
      m_body(body) {
    setObjectName(QStringLiteral("section") + QString(title).remove(u'&'));
    m_header->setText(title);
    m_header->setCheckable(true);
    m_header->setAutoRaise(true);
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QFont bold = m_header->font();
    bold.setBold(true);
    m_header->setFont(bold);
    m_headerRow->setContentsMargins(0, 0, 6, 0);
    m_headerRow->addStretch(1);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->setContentsMargins(8, 6, 8, 8);
    frameLayout->addWidget(body);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_header);
    layout->addWidget(frame);
    m_body = frame;
    setOpen(QSettings().value(SettingsKey(), openByDefault).toBool());
    connect(m_header, &QToolButton::toggled, this, [this](bool open) {
        setOpen(open);
        QSettings().setValue(SettingsKey(), open);
    });
}

QString CollapsibleSection::title() const {
    return m_header->text();
}

QString CollapsibleSection::SettingsKey() const {
    return QStringLiteral("inspector/") + objectName() + QStringLiteral("Open");
}

int CollapsibleSection::bodyWidth() const {
    return m_body->minimumSizeHint().width();
}

void CollapsibleSection::addHeaderWidget(QWidget* widget) {
    // The header's bold font is for its title only.
    QFont regular = widget->font();
    regular.setBold(false);
    widget->setFont(regular);
    m_headerRow->addWidget(widget);
}

bool CollapsibleSection::isOpen() const {
    return m_header->isChecked();
}

void CollapsibleSection::setOpen(bool open) {
    {
        const QSignalBlocker blocker(m_header);
        m_header->setChecked(open);
    }
    m_header->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    m_body->setVisible(open);
}

void CollapsibleSection::setHighlighted(bool highlighted) {
    m_highlighted = highlighted;
    // The styles draw a raised tool button's face themselves; only a style sheet tints it.
    m_header->setStyleSheet(highlighted ? QStringLiteral("QToolButton { background: "
                                                         "palette(highlight); color: "
                                                         "palette(highlighted-text); "
                                                         "border-radius: 3px; }")
                                        : QString());
}
