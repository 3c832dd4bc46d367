#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

namespace PlatformTargets {

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

} // namespace PlatformTargets
