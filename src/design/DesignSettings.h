#pragma once

#include "design/Rgba.h"

#include <QString>
#include <array>

// The preset icon sets' square sizes in pixels, in the order of their check boxes and of the
// files an export writes.
namespace PresetSizes {
inline constexpr std::array<int, 14> Ios{20, 29,  40,  58,  60,  76,  80,
                                         87, 120, 152, 167, 180, 512, 1024};
inline constexpr std::array<int, 10> Watch{32, 36, 40, 48, 55, 58, 87, 88, 172, 196};
inline constexpr std::array<int, 7> Mac{16, 32, 64, 128, 256, 512, 1024};
} // namespace PresetSizes

// All values a design stores: the 104 values of a profile text, each as the control that
// edits it holds it. Check boxes and radio buttons keep their state (1 on, 0 off, -1 mixed),
// pop-ups their selected index (-1 for none), sliders and steppers a 32-bit value, text fields
// their text. The defaults are those of a freshly reset editor.
//
// This record is the bridge between the window's controls, the profile text and the
// renderer's IconDesign; the command line uses it without any window.
struct DesignSettings {
    // Background
    int transparentBackground = 0;
    Rgba gradientStartColor{0.0, 128.0 / 255.0, 1.0, 1.0};
    Rgba gradientEndColor{0.0, 64.0 / 255.0, 128.0 / 255.0, 1.0};
    float cornerCurvature = 0.2f;
    int backgroundStroke = 1;
    Rgba backgroundStrokeColor{1.0, 1.0, 1.0, 1.0};
    float backgroundStrokeSize = 40.0f;
    int backgroundShadow = 1;
    Rgba backgroundShadowColor{0.0, 0.0, 0.0, 1.0};
    float backgroundShadowOffset = 5.0f;
    float backgroundShadowAngle = 270.0f;
    float backgroundShadowBlur = 15.0f;

    // Icon image
    float iconVerticalOffset = 0.0f;
    QString iconVerticalOffsetText = QStringLiteral("0");
    float iconHorizontalOffset = 0.0f;
    QString iconHorizontalOffsetText = QStringLiteral("0");
    int useImageColors = 1;
    Rgba iconColor{1.0, 1.0, 1.0, 1.0};
    float iconScale = 100.0f;
    QString iconScaleText = QStringLiteral("100");
    float iconRotation = 0.0f;
    int iconShadow = 0;
    Rgba iconShadowColor{0.0, 0.0, 0.0, 1.0};
    float iconShadowOffset = 20.0f;
    float iconShadowAngle = 315.0f;
    float iconShadowBlur = 15.0f;

    // Text
    QString text;
    float textVerticalOffset = 40.0f;
    QString textVerticalOffsetText = QStringLiteral("40");
    float textHorizontalOffset = 0.0f;
    QString textHorizontalOffsetText = QStringLiteral("0");
    Rgba textColor{1.0, 1.0, 1.0, 1.0};
    int fontIndex = 12;
    float fontSize = 800.0f;
    QString fontSizeText = QStringLiteral("800");
    int textStroke = 0;
    Rgba textStrokeColor{0.0, 0.0, 0.0, 1.0};
    float textStrokeSize = 1.0f;
    int textShadow = 1;
    Rgba textShadowColor{0.0, 0.0, 0.0, 1.0};
    float textShadowOffset = 10.0f;
    float textShadowAngle = 315.0f;
    float textShadowBlur = 10.0f;

    // Canvas
    QString canvasWidthText = QStringLiteral("1024");
    QString canvasHeightText = QStringLiteral("1024");

    // Output: size sets, each check box in the order of its set's size table.
    int iosIconSet = 0;
    std::array<int, PresetSizes::Ios.size()> iosSizes{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int watchIconSet = 0;
    std::array<int, PresetSizes::Watch.size()> watchSizes{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    int macIconSet = 1;
    std::array<int, PresetSizes::Mac.size()> macSizes{1, 1, 1, 1, 1, 1, 1};
    int customSize = 0;
    QString customWidthText = QStringLiteral("1024");
    QString customHeightText = QStringLiteral("1024");

    // Output: format, quality and file names.
    int iconFormat = 0;
    QString qualityText = QStringLiteral("80");
    float quality = 80.0f;
    QString namePattern = QStringLiteral("Icon[Size]");

    bool operator==(const DesignSettings&) const = default;
};
