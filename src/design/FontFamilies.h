#pragma once

#include <QString>
#include <QStringList>

// The 20 font families a design can choose from, in the order of the font pop-up; a design
// stores the index.
const QStringList& FontFamilyList();

// The faces that may stand for a font index, best first: the family itself, then a free
// look-alike that the set-up installs. Empty for an index outside the list.
QStringList FontFamilyCandidates(int index);

// The installed family to draw the text in for a font index: the first of its candidates that
// is installed, else the first installed family. A family counts as installed whatever foundry
// it comes from: a package may list one family under several ("C059 [urw]", "C059 [UKWN]"),
// and the name returned is then the listed one, so layout picks exactly that face. Each index
// is looked up once in the life of the program.
QString FontFamilyName(int index);

// A listed family name without the foundry Qt appends to tell same-named families apart.
QString FamilyWithoutFoundry(const QString& listedName);
