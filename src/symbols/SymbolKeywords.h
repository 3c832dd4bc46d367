#pragma once

#include <QString>
#include <QStringList>

// The words of the library's names that a search word stands for although no name contains
// it: "weather" finds the sun, the clouds, rain and the umbrella; "heart" finds the symbol
// that the symbol set calls "favorite". Empty for a word the table does not know.
const QStringList& RelatedNameWords(const QString& word);
