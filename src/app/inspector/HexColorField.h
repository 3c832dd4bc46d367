#pragma once

#include <QLineEdit>

class ColorWell;

// The colour of a swatch as "#RRGGBB", typed or pasted. Return or leaving the field takes a
// valid value as the user's choice of colour; anything else is refused: the field is outlined
// and the swatch keeps its colour. The field follows every colour the swatch shows.
class HexColorField : public QLineEdit {
    Q_OBJECT

public:
    explicit HexColorField(ColorWell* well, QWidget* parent = nullptr);

    bool refused() const { return m_refused; }

private:
    void ShowWellColor();
    void TakeTyped();
    void SetRefused(bool refused);

    ColorWell* m_well;
    bool m_refused = false;
};
