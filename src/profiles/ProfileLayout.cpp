#include "profiles/ProfileLayout.h"

#include "design/DesignSettings.h"
#include "design/DesignValues.h"

#include <algorithm>
#include <initializer_list>

std::vector<ProfileLine> CurrentProfileLayout(DesignSettings& record) {
    using DesignValues::Kind;
    std::vector<const DesignValues::Row*> byLine;
    for (const DesignValues::Row& row : DesignValues::Table())
        byLine.push_back(&row);
    std::sort(byLine.begin(), byLine.end(),
              [](const auto* a, const auto* b) { return a->line < b->line; });
    std::vector<ProfileLine> lines;
    lines.reserve(104);
    for (const DesignValues::Row* row : byLine) {
        const DesignValues::Reference value = row->in(record);
        switch (row->kind) {
        case Kind::Flag:
        case Kind::Index:
            lines.push_back(WholeNumberLine{std::get<int*>(value)});
            break;
        case Kind::Real:
            lines.push_back(RealLine{std::get<float*>(value)});
            break;
        case Kind::NumberText:
        case Kind::Text:
            lines.push_back(TextLine{std::get<QString*>(value)});
            break;
        case Kind::Color:
            for (double Rgba::*component : {&Rgba::red, &Rgba::green, &Rgba::blue})
                lines.push_back(ComponentLine{std::get<Rgba*>(value), component});
            break;
        }
    }
    return lines;
}
