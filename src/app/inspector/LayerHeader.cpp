#include "app/inspector/LayerHeader.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>

LayerHeader::LayerHeader(QCheckBox* check, QWidget* parent) : QWidget(parent) {
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    auto* row = new QHBoxLayout(this);
    // A little air above, so consecutive layers read as separate groups.
    row->setContentsMargins(0, 4, 0, 0);
    row->setSpacing(6);
    row->addWidget(check);
    row->addWidget(rule, 1);
}
