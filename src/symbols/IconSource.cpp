#include "symbols/IconSource.h"

#include "imageio/IconImageFile.h"
#include "imageio/SvgImage.h"
#include "symbols/SymbolDocument.h"
#include "symbols/SymbolLibrary.h"

namespace IconSource {

namespace {

constexpr int kSuggestions = 3;
const QString kSymbolPrefix = QStringLiteral("symbol:");

QImage LoadSymbol(const QString& name, std::shared_ptr<const SvgImage>* vector, QString* problem) {
    const SymbolLibrary& library = SymbolLibrary::Installed();
    const SymbolEntry* entry = library.Find(name);
    if (!entry) {
        if (problem) {
            const QStringList closest = library.ClosestNames(name, kSuggestions);
            *problem = !library.problem().isEmpty() && library.entries().empty() ? library.problem()
                       : closest.isEmpty() ? QStringLiteral("There is no symbol %1.").arg(name)
                                           : QStringLiteral("There is no symbol %1. Closest: %2.")
                                                 .arg(name, closest.join(QStringLiteral(", ")));
        }
        return {};
    }
    std::shared_ptr<const SvgImage> svg = ReadSymbol(*entry);
    if (!svg) {
        if (problem)
            *problem = QStringLiteral("The symbol %1 could not be drawn.").arg(name);
        return {};
    }
    if (vector)
        *vector = svg;
    return svg->thumbnail();
}

} // namespace

bool NamesSymbol(const QString& source) {
    return source.startsWith(kSymbolPrefix);
}

QString ForSymbol(const QString& qualifiedName) {
    return kSymbolPrefix + qualifiedName;
}

QImage Load(const QString& source, std::shared_ptr<const SvgImage>* vector, QString* problem) {
    if (NamesSymbol(source))
        return LoadSymbol(source.mid(kSymbolPrefix.size()), vector, problem);
    QImage image = LoadIconImage(source, vector);
    if (image.isNull() && problem)
        *problem = QStringLiteral("The image could not be loaded.");
    return image;
}

} // namespace IconSource
