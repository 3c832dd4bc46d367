#pragma once

#include <QString>

// Prints "symbols first_search_ms=..": a search of the library in `folder` as the picker's
// first keystroke makes it, the catalogues not yet read; then a search once they are
// ("symbols search_ms") and the first screen of emoji drawn for the picker's grid, their
// drawings not yet inflated ("symbols first_page_ms").
void RunSymbolBenchmarks(const QString& folder);
