#pragma once

#include <QImage>
#include <QString>

#include <memory>

class SvgImage;

// Where an icon image comes from, as the editor's image field and the command line's --icon
// name it: an image file's path, or "symbol:SET/NAME" for an entry of the built-in library,
// which is then an SVG document like any other.
namespace IconSource {

bool NamesSymbol(const QString& source);
QString ForSymbol(const QString& qualifiedName);

// The image and, for a vector image, its document (see LoadIconImage). A null image when it
// cannot be loaded, with `problem` saying so: "The image could not be loaded." for a file,
// the unknown name and the closest known ones for a symbol.
QImage Load(const QString& source, std::shared_ptr<const SvgImage>* vector, QString* problem);

} // namespace IconSource
