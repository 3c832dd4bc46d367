#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What sigilon-bench was asked to time, read from its arguments.
struct BenchArguments {
    enum class Outcome { Run, Help, UsageError };
    Outcome outcome = Outcome::Run;
    QString error; // for a usage error: what was wrong, as one clause
    bool baseline = false;
    QString group;    // "process", "platforms", "preview", "svg", "export", "recovery", or empty
    QList<int> sizes; // only these renderings; empty for everything

    static BenchArguments Read(const QStringList& arguments);
};

// The usage text, ending in a newline.
QString BenchUsage();
