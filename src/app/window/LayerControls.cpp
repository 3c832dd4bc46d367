#include "app/window/LayerControls.h"

#include "app/inspector/EditorControls.h"
#include "app/inspector/FloatSlider.h"

#include <QLineEdit>
#include <QSlider>

#include <cmath>

namespace {

bool Type(QLineEdit* field, double value) {
    const QString text = QString::number(std::llround(value));
    if (field->text() == text)
        return false;
    field->setText(text);
    emit field->returnPressed();
    return true;
}

bool Slide(FloatSlider* slider, double value) {
    const FloatSlider::Range& range = slider->range();
    const int position = int(std::lround((value - range.minimum) / range.resolution));
    if (slider->slider()->value() == position)
        return false;
    slider->slider()->setValue(position);
    return true;
}

} // namespace

bool EnterLayerValues(const EditorControls& c, CanvasLayer layer, const LayerValues& values) {
    bool changed = false;
    switch (layer) {
    case CanvasLayer::Icon:
        changed |= Type(c.textFieldIconHorizontalOffset, values.offset.x());
        changed |= Type(c.textFieldIconVerticalOffset, values.offset.y());
        changed |= Type(c.textFieldIconScale, values.size);
        changed |= Slide(c.sliderIconRotation, values.rotation);
        break;
    case CanvasLayer::Text:
        changed |= Type(c.textFieldTextHorizontalOffset, values.offset.x());
        changed |= Type(c.textFieldTextVerticalOffset, values.offset.y());
        changed |= Type(c.textFieldFontSize, values.size);
        break;
    case CanvasLayer::Background:
        changed |= Slide(c.sliderCornerCurvature, values.curvature);
        break;
    }
    return changed;
}
