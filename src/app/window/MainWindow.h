#pragma once

#include "app/window/ViewController.h"

#include <QMainWindow>

// The editor's one window: the editor as its content and the menu bar with the editor's
// commands. Closing it asks the editor first.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(Prompter& prompter, RatePreference& ratePreference,
               ViewController::Renderer renderer = {}, QWidget* parent = nullptr);

    ViewController* controller() const { return m_controller; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus(Prompter& prompter);

    ViewController* m_controller;
};
