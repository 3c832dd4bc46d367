#include "design/DesignValues.h"

#include "design/FontFamilies.h"

#include <vector>

namespace DesignValues {

namespace {

template <auto Member> Reference At(DesignSettings& settings) {
    return &(settings.*Member);
}

template <auto Member, std::size_t Index> Reference Element(DesignSettings& settings) {
    return &(settings.*Member)[Index];
}

using S = DesignSettings;

// One row per check box of a preset set, named by the set and the size ("iosSize20", whose check
// box is "check20ios"), at the profile lines `lines` gives in the check boxes' order.
template <auto Member, std::size_t... I>
void AddSizes(std::vector<Row>& rows, const char* set, const char* checks, const auto& sizes,
              const auto& lines, std::index_sequence<I...>) {
    static std::vector<QByteArray> names; // the rows keep pointers to them for good
    for (const int size : sizes) {
        names.push_back(QByteArray(set) + QByteArray::number(size));
        names.push_back("check" + QByteArray::number(size) + checks);
    }
    const std::size_t first = names.size() - 2 * sizeof...(I);
    (rows.push_back({names[first + 2 * I].constData(), names[first + 2 * I + 1].constData(),
                     Kind::Flag, Element<Member, I>, lines[I]}),
     ...);
}

std::vector<Row> MakeTable() {
    constexpr double Side = LargestSide;
    const double lastFont = double(FontFamilyList().size() - 1);
    std::vector<Row> rows{
        // Background
        {"transparentBackground", "checkTransparentBackground", Kind::Flag,
         At<&S::transparentBackground>, 1},
        {"gradientStartColor", "colorWellGradientStartColor", Kind::Color,
         At<&S::gradientStartColor>, 2},
        {"gradientEndColor", "colorWellGradientEndColor", Kind::Color, At<&S::gradientEndColor>, 5},
        {"cornerCurvature", "sliderCornerCurvature", Kind::Real, At<&S::cornerCurvature>, 8},
        {"backgroundStroke", "checkBackgroundStroke", Kind::Flag, At<&S::backgroundStroke>, 9},
        {"backgroundStrokeColor", "colorWellBackgroundStrokeColor", Kind::Color,
         At<&S::backgroundStrokeColor>, 10},
        {"backgroundStrokeSize", "sliderBackgroundStrokeSize", Kind::Real,
         At<&S::backgroundStrokeSize>, 13},
        {"backgroundShadow", "checkBackgroundShadow", Kind::Flag, At<&S::backgroundShadow>, 14},
        {"backgroundShadowColor", "colorWellBackgroundShadowColor", Kind::Color,
         At<&S::backgroundShadowColor>, 15},
        {"backgroundShadowOffset", "sliderBackgroundShadowOffset", Kind::Real,
         At<&S::backgroundShadowOffset>, 18},
        {"backgroundShadowAngle", "sliderBackgroundShadowAngle", Kind::Real,
         At<&S::backgroundShadowAngle>, 19},
        {"backgroundShadowBlur", "sliderBackgroundShadowBlur", Kind::Real,
         At<&S::backgroundShadowBlur>, 20},
        // Icon image
        {"iconVerticalOffset", "stepperIconVerticalOffset", Kind::Real, At<&S::iconVerticalOffset>,
         21, -Side, Side, 1},
        {"iconVerticalOffsetText", "textFieldIconVerticalOffset", Kind::NumberText,
         At<&S::iconVerticalOffsetText>, 22, -Side, Side, 1, "0"},
        {"iconHorizontalOffset", "stepperIconHorizontalOffset", Kind::Real,
         At<&S::iconHorizontalOffset>, 23, -Side, Side, 1},
        {"iconHorizontalOffsetText", "textFieldIconHorizontalOffset", Kind::NumberText,
         At<&S::iconHorizontalOffsetText>, 24, -Side, Side, 1, "0"},
        {"useImageColors", "checkUseImageColors", Kind::Flag, At<&S::useImageColors>, 25},
        {"iconColor", "colorWellIconColor", Kind::Color, At<&S::iconColor>, 26},
        {"iconScale", "stepperIconScale", Kind::Real, At<&S::iconScale>, 29, 1, 999, 1},
        {"iconScaleText", "textFieldIconScale", Kind::NumberText, At<&S::iconScaleText>, 30, 1, 999,
         1, "1"},
        {"iconRotation", "sliderIconRotation", Kind::Real, At<&S::iconRotation>, 31},
        {"iconShadow", "checkIconShadow", Kind::Flag, At<&S::iconShadow>, 32},
        {"iconShadowColor", "colorWellIconShadowColor", Kind::Color, At<&S::iconShadowColor>, 33},
        {"iconShadowOffset", "sliderIconShadowOffset", Kind::Real, At<&S::iconShadowOffset>, 36},
        {"iconShadowAngle", "sliderIconShadowAngle", Kind::Real, At<&S::iconShadowAngle>, 37},
        {"iconShadowBlur", "sliderIconShadowBlur", Kind::Real, At<&S::iconShadowBlur>, 38},
        // Text
        {"text", "textFieldText", Kind::Text, At<&S::text>, 39},
        {"textVerticalOffset", "stepperTextVerticalOffset", Kind::Real, At<&S::textVerticalOffset>,
         40, -Side, Side, 1},
        {"textVerticalOffsetText", "textFieldTextVerticalOffset", Kind::NumberText,
         At<&S::textVerticalOffsetText>, 41, -Side, Side, 1, "40"},
        {"textHorizontalOffset", "stepperTextHorizontalOffset", Kind::Real,
         At<&S::textHorizontalOffset>, 42, -Side, Side, 1},
        {"textHorizontalOffsetText", "textFieldTextHorizontalOffset", Kind::NumberText,
         At<&S::textHorizontalOffsetText>, 43, -Side, Side, 1, "0"},
        {"textColor", "colorWellTextColor", Kind::Color, At<&S::textColor>, 44},
        {"fontIndex", "comboFontType", Kind::Index, At<&S::fontIndex>, 47, 0, lastFont},
        {"fontSize", "stepperFontSize", Kind::Real, At<&S::fontSize>, 48, 1, Side, 10},
        {"fontSizeText", "textFieldFontSize", Kind::NumberText, At<&S::fontSizeText>, 49, 1, Side,
         10, "1"},
        {"textStroke", "checkTextStroke", Kind::Flag, At<&S::textStroke>, 50},
        {"textStrokeColor", "colorWellTextStrokeColor", Kind::Color, At<&S::textStrokeColor>, 51},
        {"textStrokeSize", "sliderTextStrokeSize", Kind::Real, At<&S::textStrokeSize>, 54},
        {"textShadow", "checkTextShadow", Kind::Flag, At<&S::textShadow>, 55},
        {"textShadowColor", "colorWellTextShadowColor", Kind::Color, At<&S::textShadowColor>, 56},
        {"textShadowOffset", "sliderTextShadowOffset", Kind::Real, At<&S::textShadowOffset>, 59},
        {"textShadowAngle", "sliderTextShadowAngle", Kind::Real, At<&S::textShadowAngle>, 60},
        {"textShadowBlur", "sliderTextShadowBlur", Kind::Real, At<&S::textShadowBlur>, 61},
        // Canvas
        {"canvasWidth", "textFieldCanvasWidth", Kind::NumberText, At<&S::canvasWidthText>, 87, 1,
         Side},
        {"canvasHeight", "textFieldCanvasHeight", Kind::NumberText, At<&S::canvasHeightText>, 88, 1,
         Side},
    };
    // Output. The iOS set's 20 and 512 came later and stand at lines 89 and 90; its 1024
    // closes lines 63-74.
    rows.push_back({"iosIconSet", "radioiOSIconSet", Kind::Flag, At<&S::iosIconSet>, 62});
    constexpr std::array<int, 14> iosLines{89, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 90, 74};
    AddSizes<&S::iosSizes>(rows, "iosSize", "ios", PresetSizes::Ios, iosLines,
                           std::make_index_sequence<PresetSizes::Ios.size()>());
    rows.push_back({"watchIconSet", "radiowatchOSIconSet", Kind::Flag, At<&S::watchIconSet>, 94});
    constexpr std::array<int, 10> watchLines{95, 96, 97, 98, 99, 100, 101, 102, 103, 104};
    AddSizes<&S::watchSizes>(rows, "watchSize", "watchos", PresetSizes::Watch, watchLines,
                             std::make_index_sequence<PresetSizes::Watch.size()>());
    rows.push_back({"macIconSet", "radioMacOSXIconSet", Kind::Flag, At<&S::macIconSet>, 75});
    constexpr std::array<int, 7> macLines{76, 77, 78, 79, 80, 81, 82};
    AddSizes<&S::macSizes>(rows, "macSize", "mac", PresetSizes::Mac, macLines,
                           std::make_index_sequence<PresetSizes::Mac.size()>());
    const std::vector<Row> output{
        {"customSize", "radioCustomSize", Kind::Flag, At<&S::customSize>, 83},
        {"customWidth", "textFieldCustomWidth", Kind::NumberText, At<&S::customWidthText>, 84, 1,
         Side},
        {"customHeight", "textFieldCustomHeight", Kind::NumberText, At<&S::customHeightText>, 85, 1,
         Side},
        {"iconFormat", "comboIconFormat", Kind::Index, At<&S::iconFormat>, 86, 0,
         OutputFormatCount - 1},
        {"quality", "stepperQuality", Kind::Real, At<&S::quality>, 92, 1, 100, 1},
        {"qualityText", "textFieldQuality", Kind::NumberText, At<&S::qualityText>, 91, 1, 100, 1},
        {"namePattern", "textFieldName", Kind::Text, At<&S::namePattern>, 93},
    };
    rows.insert(rows.end(), output.begin(), output.end());
    return rows;
}

} // namespace

std::span<const Row> Table() {
    static const std::vector<Row> rows = MakeTable();
    return rows;
}

const Row* Find(const QString& name, Qt::CaseSensitivity sensitivity) {
    for (const Row& row : Table())
        if (name.compare(QLatin1String(row.name), sensitivity) == 0)
            return &row;
    return nullptr;
}

Layer LayerOf(const Row& row) {
    // Lines 1-20 are the background's, 21-38 the icon image's, 39-61 the text's.
    return row.line <= 20   ? Layer::Background
           : row.line <= 38 ? Layer::Icon
           : row.line <= 61 ? Layer::Text
                            : Layer::None;
}

} // namespace DesignValues
