#pragma once

#include <QObject>

class QWidget;

// Keeps the wheel from editing the design while the user scrolls the settings panel: a watched
// control takes the wheel only while it has the keyboard focus (and no longer takes the focus
// from the wheel); otherwise the wheel scrolls the panel around it.
class WheelNeedsFocus : public QObject {
    Q_OBJECT

public:
    explicit WheelNeedsFocus(QObject* parent);

    void Watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
