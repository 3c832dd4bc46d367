#include "app/window/PreviewWallWiring.h"

#include "app/dialogs/PlatformExportChoices.h"
#include "app/wall/PreviewWall.h"
#include "app/window/ViewController.h"

#include <QAction>
#include <QMenu>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTabWidget>

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
    wall.ShowRendering(controller.ShownDesign(), controller.currentIcon());
}

// The canvas decides how large the window starts; the wall scrolls in whatever room that
// leaves, one column of tiles at the least.
class WallScroller : public QScrollArea {
public:
    QSize sizeHint() const override { return minimumSize(); }
};

} // namespace

void InstallPreviewWall(QMenu& viewMenu, ViewController& controller) {
    QTabWidget& tabs = *controller.controls().tabWidgetCanvas;
    auto* wall = new PreviewWall;
    // The badge of the last platform export, until the platform dialog holds another.
    wall->SetBadge(PlatformExportChoices::Remembered().badge);
    auto* scroller = new WallScroller;
    scroller->setObjectName(QStringLiteral("scrollAreaPreviewWall"));
    scroller->setWidgetResizable(true);
    // The tiles flow into as many columns as the width holds; only rows ever need scrolling.
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidget(wall);
    scroller->setMinimumWidth(wall->minimumSizeHint().width() +
                              scroller->verticalScrollBar()->sizeHint().width() +
                              2 * scroller->frameWidth());
    tabs.addTab(scroller, QObject::tr("Preview Wall"));

    auto* item = new QAction(QObject::tr("Show Preview Wall"), scroller);
    item->setObjectName(QStringLiteral("actionShowPreviewWall"));
    item->setCheckable(true);
    viewMenu.addAction(item);
    // The item and the tabs always agree: each follows the other.
    QObject::connect(item, &QAction::toggled, &tabs, [&tabs, scroller](bool shown) {
        if (shown)
            tabs.setCurrentWidget(scroller);
        else if (tabs.currentWidget() == scroller)
            tabs.setCurrentIndex(0);
    });
    QObject::connect(&tabs, &QTabWidget::currentChanged, item,
                     [&tabs, scroller, item, wall, &controller] {
                         const bool shown = tabs.currentWidget() == scroller;
                         item->setChecked(shown);
                         RememberWallShown(shown);
                         if (shown)
                             ShowLatestPreview(*wall, controller);
                     });
    item->setChecked(WallWasShown());
    // Tiles are computed only for a wall in view; the tab brings them up to date when shown.
    QObject::connect(&controller, &ViewController::previewFinished, wall,
                     [&tabs, scroller, wall, &controller] {
                         if (tabs.currentWidget() == scroller)
                             ShowLatestPreview(*wall, controller);
                     });
}
