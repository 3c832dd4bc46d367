#pragma once

#include <QStringList>

// The library entries chosen last ("SET/NAME"), the latest first, kept in the settings.
namespace RecentSymbols {

QStringList Names();
void Add(const QString& qualifiedName);

} // namespace RecentSymbols
