#include "SymbolBenchmarks.h"

#include "Measurements.h"
#include "symbols/SymbolDocument.h"
#include "symbols/SymbolLibrary.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kRepetitions = 7;
// Ten columns, six rows: the picker's grid as it opens.
constexpr size_t kPage = 60;

double Milliseconds(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

void RunSymbolBenchmarks(const QString& folder) {
    std::vector<double> first;
    std::vector<double> warm;
    std::vector<double> page;
    for (int i = 0; i < kRepetitions; ++i) {
        // A library of its own each time: nothing read yet, as at the picker's first use.
        const auto library = std::make_unique<SymbolLibrary>(folder);
        QElapsedTimer timer;
        timer.start();
        const size_t found = library->Search({QStringLiteral("weather")}).size();
        first.push_back(Milliseconds(timer));
        if (found == 0) {
            std::fprintf(stderr, "No symbol catalogue in %s\n", qPrintable(folder));
            return;
        }
        timer.restart();
        library->Search({QStringLiteral("heart")});
        warm.push_back(Milliseconds(timer));
        timer.restart();
        const std::vector<const SymbolEntry*> emoji = library->Search({QStringLiteral("emoji")});
        for (size_t e = 0; e < std::min(kPage, emoji.size()); ++e)
            DrawSymbolSample(*emoji[e], 44, Qt::black);
        page.push_back(Milliseconds(timer));
    }
    PrintMedian(QStringLiteral("symbols first_search"), first);
    PrintMedian(QStringLiteral("symbols search"), warm);
    PrintMedian(QStringLiteral("symbols first_page"), page);
}
