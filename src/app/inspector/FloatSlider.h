#pragma once

#include <QWidget>

class QLabel;
class QSlider;

// A horizontal slider over a 32-bit real range with its value shown beside it. The value is
// kept as set (a profile's 0.2 stays 0.2, not the nearest slider position); the user's moves
// give the positions minimum + n * resolution. valueChanged is emitted only for the user's
// moves; setFloatValue never emits it.
class FloatSlider : public QWidget {
    Q_OBJECT

public:
    struct Range {
        float minimum;
        float maximum;
        float resolution;
        int decimals;   // shown in the value label
        QString suffix; // shown after the value, e.g. "°"
    };

    explicit FloatSlider(const Range& range, QWidget* parent = nullptr);

    float floatValue() const { return m_value; }
    // Kept as it is, also outside the range, where the handle stays at the nearer end.
    void setFloatValue(float value);

    const Range& range() const { return m_range; }
    QSlider* slider() const { return m_slider; }

signals:
    void valueChanged();

private:
    void TakeSliderPosition(int position);
    void ShowValue();

    Range m_range;
    float m_value;
    QSlider* m_slider;
    QLabel* m_label;
};
