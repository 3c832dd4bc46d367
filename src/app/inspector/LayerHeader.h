#pragma once

#include <QWidget>

class QCheckBox;

// The heading of one layer inside a section (an outline, a shadow): the check box that turns
// the layer on, then a rule across the rest of the row. The layer's fields follow below it,
// indented, so the check box reads as the title of the group it switches.
class LayerHeader : public QWidget {
    Q_OBJECT

public:
    explicit LayerHeader(QCheckBox* check, QWidget* parent = nullptr);
};
