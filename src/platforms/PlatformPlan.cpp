#include "platforms/PlatformPlan.h"

#include "platforms/AndroidResources.h"
#include "platforms/AssetCatalogWriter.h"
#include "platforms/IcnsWriter.h"
#include "platforms/IconComposerDocument.h"
#include "platforms/MsixAssets.h"
#include "platforms/SplashScreens.h"
#include "platforms/TauriFolder.h"
#include "platforms/WebManifest.h"

#include <QRegularExpression>

namespace PlatformPlan {

namespace {

QList<PlannedImage> AsDrawn(const QList<int>& sizes) {
    return SquarePictures(PlatformVariant::AsDrawn, sizes);
}

QList<PlannedFile> Linux(const QString& name) {
    QList<PlannedFile> files;
    for (int pixels : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        files.append({QStringLiteral("linux/hicolor/%1x%1/apps/%2.png").arg(pixels).arg(name),
                      PlannedFile::Kind::Png,
                      AsDrawn({pixels}),
                      {}});
    }
    return files;
}

} // namespace

QString DefaultName() {
    return QStringLiteral("AppIcon");
}

// The name becomes file and folder names: "." and ".." would name the output folder or its
// parent, and a long name would pass the file system's limit once extended.
QString NameProblem(const QString& name) {
    constexpr qsizetype kLongestName = 200;
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9._-]+$"));
    if (name.isEmpty())
        return QStringLiteral("the name may not be empty");
    if (name == u"." || name == u"..")
        return QStringLiteral("the name may not be \".\" or \"..\"");
    if (name.size() > kLongestName)
        return QStringLiteral("the name may hold at most %1 characters, not %2")
            .arg(kLongestName)
            .arg(name.size());
    if (!allowed.match(name).hasMatch())
        return QStringLiteral(
                   "the name \"%1\" may hold only letters, digits, \".\", \"-\" and \"_\"")
            .arg(name);
    return {};
}

QList<PlannedFile> Files(const QList<PlatformTarget>& targets, const PlatformSetOptions& options) {
    const QString& name = options.name;
    QList<PlannedFile> files;
    for (PlatformTarget target : targets) {
        switch (target) {
        case PlatformTarget::Sizes:
            break;
        case PlatformTarget::Xcode:
            files.append(AssetCatalogWriter::Plan(name));
            break;
        case PlatformTarget::Icns:
            files.append({name + QStringLiteral(".icns"),
                          PlannedFile::Kind::Icns,
                          SquarePictures(PlatformVariant::MacGrid, IcnsWriter::Sizes()),
                          {}});
            break;
        case PlatformTarget::Windows:
            files.append({name + QStringLiteral(".ico"),
                          PlannedFile::Kind::Ico,
                          AsDrawn({16, 20, 24, 32, 40, 48, 64, 256}),
                          {}});
            break;
        case PlatformTarget::Android:
            files.append(AndroidResources::Plan());
            break;
        case PlatformTarget::Web:
            files.append(WebManifest::Plan(options));
            break;
        case PlatformTarget::Linux:
            files.append(Linux(name));
            break;
        case PlatformTarget::Msix:
            files.append(MsixAssets::Plan());
            break;
        case PlatformTarget::Splash:
            files.append(SplashScreens::Plan());
            break;
        case PlatformTarget::Tauri:
            files.append(TauriFolder::Plan(options));
            break;
        case PlatformTarget::IconComposer:
            files.append(IconComposerDocument::Plan(options.design, name));
            break;
        }
    }
    return files;
}

} // namespace PlatformPlan
