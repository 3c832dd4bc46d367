#include "platforms/PlatformTargets.h"

#include "platforms/AndroidResources.h"
#include "platforms/AssetCatalogWriter.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IconComposerDocument.h"
#include "platforms/MsixAssets.h"
#include "platforms/SplashScreens.h"
#include "platforms/TauriFolder.h"
#include "platforms/WebManifest.h"

#include <algorithm>
#include <array>

namespace PlatformTargets {

namespace {

QList<PlannedFile> Icns(const PlatformSetOptions& options) {
    return {{options.name + QStringLiteral(".icns"),
             PlannedFile::Kind::Icns,
             SquarePictures(PlatformVariant::MacGrid, IcnsWriter::Sizes()),
             {}}};
}

QList<PlannedFile> Windows(const PlatformSetOptions& options) {
    return {{options.name + QStringLiteral(".ico"),
             PlannedFile::Kind::Ico,
             SquarePictures(PlatformVariant::AsDrawn, {16, 20, 24, 32, 40, 48, 64, 256}),
             {}}};
}

QList<PlannedFile> Linux(const PlatformSetOptions& options) {
    QList<PlannedFile> files;
    for (int pixels : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        files.append(PictureFile(
            QStringLiteral("linux/hicolor/%1x%1/apps/%2.png").arg(pixels).arg(options.name),
            PlatformVariant::AsDrawn, pixels));
    }
    return files;
}

const PlatformTargetRow Rows[] = {
    {PlatformTarget::Sizes, "sizes", "", "the output settings' icon set (the default)", nullptr},
    {PlatformTarget::Xcode, "xcode", "Xcode asset catalog",
     "asset catalog: iOS light, dark and tinted, watchOS, macOS",
     [](const PlatformSetOptions& options) { return AssetCatalogWriter::Plan(options.name); }},
    {PlatformTarget::Icns, "icns", "macOS .icns", "macOS .icns, 16 to 1024 on the macOS grid",
     Icns},
    {PlatformTarget::Windows, "windows", "Windows .ico", "Windows .ico, 16 to 256", Windows},
    {PlatformTarget::Android, "android", "Android",
     "launcher, round and adaptive layers, Play Store icon",
     [](const PlatformSetOptions&) { return AndroidResources::Plan(); }},
    {PlatformTarget::Web, "web", "Web", "favicons, SVG favicon, manifest and head tags",
     WebManifest::Plan},
    {PlatformTarget::Linux, "linux", "Linux", "hicolor theme icons, 16 to 512", Linux},
    {PlatformTarget::Msix, "msix", "Windows Store tiles", "Windows Store tiles and taskbar icons",
     [](const PlatformSetOptions&) { return MsixAssets::Plan(); }},
    {PlatformTarget::Splash, "splash", "Splash screens", "iOS and Android splash screens",
     [](const PlatformSetOptions&) { return SplashScreens::Plan(); }},
    {PlatformTarget::Tauri, "tauri", "Tauri", "the icons folder of a Tauri app", TauriFolder::Plan},
    {PlatformTarget::IconComposer, "iconcomposer", "Icon Composer document",
     "layered .icon document for Apple's icon tools",
     [](const PlatformSetOptions& options) {
         return IconComposerDocument::Plan(options.design, options.name, options.badge);
     }},
};

const char* const All = "all";

} // namespace

std::span<const PlatformTargetRow> Table() {
    return Rows;
}

const PlatformTargetRow& RowOf(PlatformTarget target) {
    return *std::find_if(std::begin(Rows), std::end(Rows),
                         [&](const PlatformTargetRow& row) { return row.target == target; });
}

QStringList Names() {
    QStringList names;
    for (const PlatformTargetRow& row : Rows)
        names.append(QString::fromLatin1(row.word));
    names.append(QString::fromLatin1(All));
    return names;
}

QString Name(PlatformTarget target) {
    return QString::fromLatin1(RowOf(target).word);
}

QList<PlatformTarget> Parse(const QString& list, QString& error) {
    std::array<bool, std::size(Rows)> chosen{};
    for (const QString& name : list.split(u',')) {
        if (name == QLatin1String(All)) {
            for (std::size_t i = 0; i < std::size(Rows); ++i)
                chosen[i] = chosen[i] || Rows[i].plan != nullptr;
            continue;
        }
        const auto found =
            std::find_if(std::begin(Rows), std::end(Rows), [&](const PlatformTargetRow& row) {
                return name == QLatin1String(row.word);
            });
        if (found == std::end(Rows)) {
            error = QStringLiteral("unknown target \"%1\" (valid targets: %2)")
                        .arg(name, Names().join(QStringLiteral(", ")));
            return {};
        }
        chosen[std::size_t(found - std::begin(Rows))] = true;
    }
    QList<PlatformTarget> targets;
    for (std::size_t i = 0; i < std::size(Rows); ++i) {
        if (chosen[i])
            targets.append(Rows[i].target);
    }
    return targets;
}

QList<PlatformTarget> AllPlatformSets() {
    QList<PlatformTarget> targets;
    for (const PlatformTargetRow& row : Rows) {
        if (row.plan)
            targets.append(row.target);
    }
    return targets;
}

bool HasPlatformSet(const QList<PlatformTarget>& targets) {
    return std::any_of(targets.begin(), targets.end(),
                       [](PlatformTarget t) { return RowOf(t).plan != nullptr; });
}

QString HelpLines(int indent) {
    constexpr int WordWidth = 14;
    const QString margin(indent, u' ');
    QString lines;
    auto line = [&](const char* word, const char* help) {
        lines += margin + QString::fromLatin1(word).leftJustified(WordWidth) +
                 QString::fromLatin1(help) + u'\n';
    };
    for (const PlatformTargetRow& row : Rows)
        line(row.word, row.help);
    line(All, "every platform set");
    return lines;
}

} // namespace PlatformTargets
