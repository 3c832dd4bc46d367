#pragma once

#include "platforms/PlannedFile.h"
#include "platforms/PlatformSetOptions.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <span>

// What an export writes: the profile's own size list, or a ready-to-use set of files for one
// platform's tools.
enum class PlatformTarget {
    Sizes,
    Xcode,
    Icns,
    Windows,
    Android,
    Web,
    Linux,
    Msix,
    Splash,
    Tauri,
    IconComposer
};

// One target, as everything that names or writes it knows it.
struct PlatformTargetRow {
    PlatformTarget target;
    const char* word;  // as a target list spells it
    const char* label; // in the editor's platform dialog; empty for Sizes, which is not there
    const char* help;  // what it writes, in a few words, for the usage text
    // The files it writes, before anything is drawn; null for Sizes, which the export run
    // writes from the output settings instead.
    QList<PlannedFile> (*plan)(const PlatformSetOptions& options);
};

namespace PlatformTargets {

// Every target once, in the order the targets run: adding a target is adding a row here.
std::span<const PlatformTargetRow> Table();

const PlatformTargetRow& RowOf(PlatformTarget target);

// The names a target list may use, in the order the targets run, "all" last.
QStringList Names();

// The name of one target, as a target list spells it.
QString Name(PlatformTarget target);

// The targets of a comma-separated list such as "xcode,web", each once, in running order;
// "all" stands for every platform target (not "sizes"). An empty result when the list names
// something else, with `error` saying what and listing the valid names.
QList<PlatformTarget> Parse(const QString& list, QString& error);

// Every platform target in running order: what "all" stands for.
QList<PlatformTarget> AllPlatformSets();

// True for the targets that write platform sets (every one but Sizes).
bool HasPlatformSet(const QList<PlatformTarget>& targets);

// The usage text's list of targets: one line each, the word and what it writes, indented by
// `indent` spaces.
QString HelpLines(int indent);

} // namespace PlatformTargets
