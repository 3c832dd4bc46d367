#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

// A build flavour's mark, drawn over every picture an export writes ("DEV", "BETA 2.3.1"): an
// option of the export, never a value of the design, so a profile stays the same for every
// flavour it is built in.
struct Badge {
    enum class Style { Label, Ribbon };
    enum class Position { TopLeft, Top, TopRight, BottomLeft, Bottom, BottomRight };

    // White text keeps 5:1 against it, more than the 4.5:1 small text needs.
    static QColor DefaultColor() { return QColor(0xD3, 0x2F, 0x2F); }
    // Helvetica (or its free look-alike): a plain sans that stays legible when small.
    static constexpr int DefaultFamily = 10;

    QString text; // as drawn; nothing but spaces draws no badge
    Style style = Style::Label;
    Position position = Position::Bottom;
    QColor color = DefaultColor();
    int family = DefaultFamily; // an index of FontFamilyList()
    bool splash = false;        // the splash screens are badged too

    bool IsSet() const { return !text.trimmed().isEmpty(); }

    // The words the command line and the dialog name the choices by, in the enums' order.
    static QStringList StyleNames();
    static QStringList PositionNames();
};

// `text` with every "{version}" replaced by `version`. Empty with `problem` set when the text
// asks for a version and none is given.
QString FilledBadgeText(const QString& text, const QString& version, QString& problem);
