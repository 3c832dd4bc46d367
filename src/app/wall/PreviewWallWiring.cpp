#include "app/wall/PreviewWallWiring.h"

#include "app/inspector/ControlBindings.h"
#include "app/wall/PreviewWall.h"
#include "app/window/ViewController.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>

namespace {

const QString kOrganisation = QStringLiteral("Sigilon");
const QString kApplication = QStringLiteral("Sigilon");
const QString kShownKey = QStringLiteral("ShowPreviewWall");

bool WallWasShown() {
    return QSettings(kOrganisation, kApplication).value(kShownKey, false).toBool();
}

void RememberWallShown(bool shown) {
    QSettings settings(kOrganisation, kApplication);
    settings.setValue(kShownKey, shown);
    settings.sync();
}

// The picture the editor shows, with the design it was drawn from. When a stepper's delayed
// preview is still to come, the controls are one step ahead of the picture; that preview
// brings the wall up to date when it finishes.
void ShowLatestPreview(PreviewWall& wall, const ViewController& controller) {
    const IconDesign design = MakeIconDesign(ControlBindings(controller.controls()).Read(),
                                             controller.iconImage(), controller.iconVector());
    wall.ShowRendering(design, controller.currentIcon());
}

// A scroll area that asks for all of its wall, not the few lines a scroll area asks for by
// default; the window gives it what the screen allows.
class WallScroller : public QScrollArea {
public:
    QSize sizeHint() const override {
        const int frame = 2 * frameWidth();
        return widget()->sizeHint() + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

} // namespace

void InstallPreviewWall(QMainWindow& window, QMenu& viewMenu, ViewController& controller) {
    auto* wall = new PreviewWall;
    auto* scroller = new WallScroller;
    scroller->setWidgetResizable(true);
    // The tiles flow into as many columns as the width holds; only rows ever need scrolling.
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(wall);
    scroller->setMinimumWidth(wall->minimumSizeHint().width() +
                              scroller->verticalScrollBar()->sizeHint().width() +
                              2 * scroller->frameWidth());
    auto* dock = new QDockWidget(QObject::tr("Preview Wall"), &window);
    dock->setObjectName(QStringLiteral("previewWallDock"));
    // Shown and hidden only through the View menu, so the menu item always tells the truth.
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock->setWidget(scroller);
    // Below the editor the tiles run along the window's width; beside it they would need a
    // second window height.
    dock->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    window.addDockWidget(Qt::BottomDockWidgetArea, dock);

    auto* item = new QAction(QObject::tr("Show Preview Wall"), dock);
    item->setObjectName(QStringLiteral("actionShowPreviewWall"));
    item->setCheckable(true);
    item->setChecked(WallWasShown());
    dock->setVisible(item->isChecked());
    viewMenu.addAction(item);

    QObject::connect(item, &QAction::toggled, dock, [dock, wall, &controller](bool shown) {
        dock->setVisible(shown);
        RememberWallShown(shown);
        if (shown)
            ShowLatestPreview(*wall, controller);
    });
    QObject::connect(&controller, &ViewController::previewFinished, wall,
                     [item, wall, &controller] {
                         if (item->isChecked())
                             ShowLatestPreview(*wall, controller);
                     });
}
