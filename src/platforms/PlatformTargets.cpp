#include "platforms/PlatformTargets.h"

#include <algorithm>
#include <array>

namespace PlatformTargets {

namespace {

struct NamedTarget {
    const char* name;
    PlatformTarget target;
};

constexpr std::array<NamedTarget, 11> Targets{{
    {"sizes", PlatformTarget::Sizes},
    {"xcode", PlatformTarget::Xcode},
    {"icns", PlatformTarget::Icns},
    {"windows", PlatformTarget::Windows},
    {"android", PlatformTarget::Android},
    {"web", PlatformTarget::Web},
    {"linux", PlatformTarget::Linux},
    {"msix", PlatformTarget::Msix},
    {"splash", PlatformTarget::Splash},
    {"tauri", PlatformTarget::Tauri},
    {"iconcomposer", PlatformTarget::IconComposer},
}};

const char* const All = "all";

} // namespace

QStringList Names() {
    QStringList names;
    for (const NamedTarget& entry : Targets)
        names.append(QString::fromLatin1(entry.name));
    names.append(QString::fromLatin1(All));
    return names;
}

QString Name(PlatformTarget target) {
    const auto found = std::find_if(Targets.begin(), Targets.end(),
                                    [&](const NamedTarget& t) { return t.target == target; });
    return QString::fromLatin1(found->name);
}

QList<PlatformTarget> Parse(const QString& list, QString& error) {
    std::array<bool, Targets.size()> chosen{};
    for (const QString& name : list.split(u',')) {
        if (name == QLatin1String(All)) {
            for (std::size_t i = 0; i < Targets.size(); ++i)
                chosen[i] = chosen[i] || Targets[i].target != PlatformTarget::Sizes;
            continue;
        }
        const auto found = std::find_if(Targets.begin(), Targets.end(), [&](const NamedTarget& t) {
            return name == QLatin1String(t.name);
        });
        if (found == Targets.end()) {
            error = QStringLiteral("unknown target \"%1\" (valid targets: %2)")
                        .arg(name, Names().join(QStringLiteral(", ")));
            return {};
        }
        chosen[std::size_t(found - Targets.begin())] = true;
    }
    QList<PlatformTarget> targets;
    for (std::size_t i = 0; i < Targets.size(); ++i) {
        if (chosen[i])
            targets.append(Targets[i].target);
    }
    return targets;
}

QList<PlatformTarget> AllPlatformSets() {
    QList<PlatformTarget> targets;
    for (const NamedTarget& entry : Targets) {
        if (entry.target != PlatformTarget::Sizes)
            targets.append(entry.target);
    }
    return targets;
}

bool HasPlatformSet(const QList<PlatformTarget>& targets) {
    return std::any_of(targets.begin(), targets.end(),
                       [](PlatformTarget t) { return t != PlatformTarget::Sizes; });
}

} // namespace PlatformTargets
