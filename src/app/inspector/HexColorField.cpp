#include "app/inspector/HexColorField.h"

#include "app/inspector/ColorWell.h"

#include <QRegularExpression>

HexColorField::HexColorField(ColorWell* well, QWidget* parent) : QLineEdit(parent), m_well(well) {
    setObjectName(QStringLiteral("hexField") + well->objectName().mid(int(qstrlen("colorWell"))));
    setToolTip(tr("%1, as #RRGGBB").arg(well->toolTip()));
    setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("#DDDDDD")) + 14);
    connect(well, &ColorWell::colorShown, this, &HexColorField::ShowWellColor);
    connect(this, &QLineEdit::returnPressed, this, &HexColorField::TakeTyped);
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (isModified())
            TakeTyped();
    });
    ShowWellColor();
}

void HexColorField::ShowWellColor() {
    SetRefused(false);
    setText(m_well->color().toQColor().name(QColor::HexRgb).toUpper());
}

void HexColorField::TakeTyped() {
    setModified(false);
    static const QRegularExpression hex(QStringLiteral("^\\s*#?([0-9A-Fa-f]{6})\\s*$"));
    const QRegularExpressionMatch match = hex.match(text());
    if (!match.hasMatch()) {
        SetRefused(true);
        return;
    }
    const QColor typed(u'#' + match.captured(1));
    if (typed.name() == m_well->color().toQColor().name())
        ShowWellColor(); // the same colour, perhaps written another way: nothing changes
    else
        m_well->ChooseColor(typed);
}

void HexColorField::SetRefused(bool refused) {
    if (refused == m_refused)
        return;
    m_refused = refused;
    // A red outline shows on the light and the dark appearance alike.
    setStyleSheet(refused ? QStringLiteral("QLineEdit { border: 2px solid #d03030; "
                                           "border-radius: 3px; }")
                          : QString());
}
