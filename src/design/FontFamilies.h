#pragma once

#include <QString>
#include <QStringList>

// The 20 font families a design can choose from, in the order of the font pop-up; a design
// stores the index.
const QStringList& FontFamilyList();

// The installed family to draw the text in for a font index: the family itself when it is
// installed, else a free look-alike that the set-up installs, else the first installed family.
// Indexes outside the list have no family of their own and take the first installed family.
QString FontFamilyName(int index);
