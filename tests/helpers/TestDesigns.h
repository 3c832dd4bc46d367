#pragma once

#include "design/IconDesign.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"

#include <QPainter>
#include <QtTest>

#include <functional>

// Designs the tests draw, and the documents of the test data they use.
namespace TestDesigns {

using Change = std::function<void(IconDesign&)>;

inline QString DataFile(const QString& name) {
    return QStringLiteral(SIGILON_SOURCE_DIR "/tests/data/") + name;
}

// A document of the test data as the icon, as the editor takes it: the drawing and its
// thumbnail.
inline void UseSvgIcon(IconDesign& design, const QString& name) {
    design.iconVector = SvgImage::Read(TestImages::ReadFile(DataFile(name)));
    design.iconImage = design.iconVector->thumbnail();
}

// A design with nothing but what a test switches on: transparent, no outline, no shadows.
inline IconDesign Plain(int width, int height, const QString& text = {}, float fontSize = 800) {
    IconDesign design;
    design.text = text;
    design.fontSize = fontSize;
    design.transparentBackground = true;
    design.cornerCurvature = 0.0f;
    design.canvasWidth = float(width);
    design.canvasHeight = float(height);
    design.backgroundStroke = false;
    design.backgroundShadow = false;
    design.textShadow = false;
    return design;
}

// A raster picture with hard edges and transparency, to be turned and tinted.
inline QImage RasterIcon() {
    QImage image = TestImages::Filled(300, 200, Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(200, 40, 90));
    painter.drawEllipse(QRectF(10, 10, 180, 180));
    painter.fillRect(QRectF(150, 60, 140, 80), QColor(20, 120, 220, 180));
    return image;
}

// Designs that together use every option of every layer, for the tests that write a design in
// another form (an SVG document, a layered app icon) and compare it with the rendered picture:
// the column "change", and a row for each design as a change of the default one.
inline void AddLayerRows() {
    QTest::addColumn<Change>("change");
    QTest::newRow("navy text with its shadow") << Change([](IconDesign& d) {
        d.text = "Ab";
        d.fontSize = 420;
        d.textColor = {0.1, 0.12, 0.45, 1.0};
    });
    QTest::newRow("raster icon turned and tinted, tall canvas") << Change([](IconDesign& d) {
        d.canvasWidth = 400;
        d.canvasHeight = 700;
        d.cornerCurvature = 0.5f;
        d.iconImage = RasterIcon();
        d.iconRotation = -40;
        d.iconScale = 80;
        d.iconVerticalOffset = 80;
        d.useImageColors = false;
        d.iconColor = {1.0, 0.5, 0.0, 1.0};
        d.iconShadow = true;
        d.iconShadowColor = {0.8, 0.1, 0.1, 0.6};
        d.text = "Z";
        d.fontSize = 240;
        d.textShadow = false;
    });
    QTest::newRow("SVG icon moved, scaled and turned, outlined text, shadows, wide canvas")
        << Change([](IconDesign& d) {
               d.canvasWidth = 900;
               d.canvasHeight = 560;
               d.gradientStartColor = {0.9, 0.9, 0.2, 1.0};
               d.backgroundShadowBlur = 30;
               d.backgroundStrokeColor = {1.0, 0.9, 0.2, 0.8};
               UseSvgIcon(d, "gvim.svg");
               d.iconScale = 70;
               d.iconHorizontalOffset = -120;
               d.iconRotation = 25;
               d.iconShadow = true;
               d.text = "Qy";
               d.fontSize = 300;
               d.textStroke = true;
               d.textStrokeSize = 5;
               d.textStrokeColor = {0.9, 0.2, 0.1, 1.0};
               d.textShadowColor = {0.1, 0.1, 0.5, 0.7};
           });
    QTest::newRow("tinted SVG icon on transparent, wide canvas") << Change([](IconDesign& d) {
        d.canvasWidth = 900;
        d.canvasHeight = 560;
        d.transparentBackground = true;
        UseSvgIcon(d, "tango-dialog-error.svg");
        d.useImageColors = false;
        d.iconColor = {0.2, 0.8, 0.3, 0.9};
        d.iconVerticalOffset = -90;
        d.iconShadow = true;
        d.iconShadowBlur = 25;
    });
    QTest::newRow("raster icon past the canvas's edges") << Change([](IconDesign& d) {
        d.canvasWidth = d.canvasHeight = 512;
        d.iconImage = TestImages::AsymmetricImage(200, 160);
        d.iconScale = 400;
        d.iconHorizontalOffset = 150;
    });
    QTest::newRow("CSS logo, no shadows, wide outline") << Change([](IconDesign& d) {
        UseSvgIcon(d, "debian-logo-text.svg");
        d.textShadow = false;
        d.backgroundShadow = false;
        d.backgroundStrokeSize = 90;
        d.text = "x";
    });
}

} // namespace TestDesigns

Q_DECLARE_METATYPE(TestDesigns::Change)
