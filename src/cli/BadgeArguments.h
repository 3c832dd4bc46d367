#pragma once

#include "render/Badge.h"

#include <QString>

// The export command's badge options: --badge TEXT, --badge-style, --badge-position,
// --badge-color, --badge-font, --badge-splash, and --version, which fills the text's
// "{version}".
class BadgeArguments {
public:
    static bool Takes(const QString& option);
    // The options given without a value.
    static bool IsFlag(const QString& option);
    // The options whose value may be empty: `--badge ""` draws no badge.
    static bool TakesEmpty(const QString& option);

    // Takes one option (its value ignored for a flag); returns a usage error or nothing.
    QString Add(const QString& option, const QString& value);

    // The badge the options ask for, its text filled; `problem` set when it needs a version
    // that was not given.
    Badge Finished(QString& problem) const;

    // The usage text's lines for these options.
    static const char* HelpLines();

private:
    Badge m_badge;
    QString m_version;
};
