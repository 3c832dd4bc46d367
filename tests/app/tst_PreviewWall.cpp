#include "EditorFixture.h"
#include "app/wall/PreviewTileView.h"
#include "app/wall/PreviewWall.h"
#include "render/PlatformLooks.h"

namespace {

const QString kShownKey = QStringLiteral("ShowPreviewWall");

QAction* WallItem(const EditorFixture& editor) {
    return editor.window->findChild<QAction*>(QStringLiteral("actionShowPreviewWall"));
}

PreviewWall* Wall(const EditorFixture& editor) {
    return editor.window->findChild<PreviewWall*>();
}

// The wall's tab is the one shown.
bool WallTabShown(const EditorFixture& editor) {
    const QTabWidget* tabs = editor.controls().tabWidgetCanvas;
    return tabs->currentWidget() == editor.Find<QScrollArea>("scrollAreaPreviewWall") &&
           Wall(editor)->isVisible() && !editor.controls().imageViewIcon->isVisible();
}

PreviewTileView* TileView(const PreviewWall* wall, const QString& caption) {
    for (PreviewTileView* view : wall->tileViews())
        if (view->tile().caption == caption)
            return view;
    return nullptr;
}

// The tile view as the screen shows it.
QImage Shown(QWidget* view) {
    return view->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// True when `part` appears in `whole` pixel for pixel (where it is opaque; its transparent
// pixels show what lies behind).
bool ContainsUnscaled(const QImage& whole, const QImage& part) {
    const QImage p = part.convertToFormat(QImage::Format_ARGB32);
    const auto matchesAt = [&](int ox, int oy) {
        for (int y = 0; y < p.height(); ++y)
            for (int x = 0; x < p.width(); ++x) {
                const QRgb pixel = p.pixel(x, y);
                if (qAlpha(pixel) == 255 && whole.pixel(ox + x, oy + y) != pixel)
                    return false;
            }
        return true;
    };
    for (int oy = 0; oy + p.height() <= whole.height(); ++oy)
        for (int ox = 0; ox + p.width() <= whole.width(); ++ox)
            if (matchesAt(ox, oy))
                return true;
    return false;
}

} // namespace

// The preview wall: a tab beside the canvas, shown from its tab or the View menu, remembered
// between runs, following every finished preview, each tile with its caption.
class tst_PreviewWall : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseOwnSettings(); }

    // Every test starts with the wall as a first run has it: hidden.
    void init() { QSettings("Sigilon", "Sigilon").remove(kShownKey); }

    // Shown from its tab, which turns its menu item on: every tile with its caption and its
    // picture unscaled, the safe zone outlined on hover. After a change of design every tile is
    // drawn again from the new picture; how each look draws it is the looks' own concern.
    void tilesAppearAndFollowTheDesign() {
        EditorFixture editor;
        PreviewWall* wall = Wall(editor);
        QSignalSpy shown(wall, &PreviewWall::tilesShown);
        QTabBar* tabBar = editor.controls().tabWidgetCanvas->tabBar();
        QCOMPARE(tabBar->tabText(1), QStringLiteral("Preview Wall"));
        QTest::mouseClick(tabBar, Qt::LeftButton, {}, tabBar->tabRect(1).center());
        QVERIFY(WallItem(editor)->isChecked());
        QVERIFY(WallTabShown(editor));
        QVERIFY(shown.wait(60000));
        const QList<PreviewTile> looks = PlatformLooks::WallTiles(
            editor.log->LastDesign(), editor.controller()->currentIcon(), 1);
        QCOMPARE(wall->tileViews().size(), looks.size());
        for (const PreviewTile& look : looks) {
            PreviewTileView* view = TileView(wall, look.caption);
            QVERIFY2(view && view->isVisible(), qPrintable(look.caption));
            QVERIFY(view->tile().image == look.image);
            const QList<QLabel*> labels = view->findChildren<QLabel*>();
            QVERIFY(labels.size() == 1 && labels.front()->isVisible());
            QCOMPARE(labels.front()->text(), look.caption);
            // Laid out once the window has handled its pending events.
            QVERIFY2(
                QTest::qWaitFor([&] { return ContainsUnscaled(Shown(view), look.image); }, 30000),
                qPrintable(look.caption + " is not shown pixel for pixel"));
        }

        // The Android looks outline the circle that no launcher shape cuts while the pointer is
        // over them; the other looks have nothing to outline.
        for (const auto& [caption, outlined] :
             {std::pair{QStringLiteral("Android, rounded square"), true},
              {QStringLiteral("iOS"), false}}) {
            PreviewTileView* view = TileView(wall, caption);
            const QImage before = Shown(view);
            const QPointF inside(10, 10), outside(-1, -1);
            QHoverEvent enter(QEvent::HoverEnter, inside, inside, outside);
            QApplication::sendEvent(view, &enter);
            QVERIFY2((Shown(view) != before) == outlined, qPrintable(caption));
            QHoverEvent leave(QEvent::HoverLeave, outside, outside, inside);
            QApplication::sendEvent(view, &leave);
            QCOMPARE(Shown(view), before);
        }

        const QImage iosBefore = TileView(wall, QStringLiteral("iOS"))->tile().image;
        const auto realCentreAlpha = [wall] {
            return TileView(wall, QStringLiteral("128 × 128"))
                ->tile()
                .image.pixelColor(64, 64)
                .alpha();
        };
        QCOMPARE(realCentreAlpha(), 255);
        shown.clear();
        UserInput::Click(editor.controls().checkTransparentBackground);
        QVERIFY(shown.wait(60000));
        QCOMPARE(realCentreAlpha(), 0); // the stand-in renderer's transparent picture
        QVERIFY(TileView(wall, QStringLiteral("iOS"))->tile().image != iosBefore);

        // The menu item (and the toolbar's button with it) turned off goes back to the canvas.
        WallItem(editor)->trigger();
        QVERIFY(!WallTabShown(editor));
        QVERIFY(editor.controls().imageViewIcon->isVisible());
    }

    // Renderings handed in faster than tiles are computed: only the newest is ever shown.
    void aNewerRenderingSupersedesOlderOnes() {
        PreviewWall wall;
        QSignalSpy shown(&wall, &PreviewWall::tilesShown);
        IconDesign design;
        design.canvasWidth = design.canvasHeight = 256;
        for (const QColor& color : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)})
            wall.ShowRendering(design, TestImages::Filled(256, 256, color));
        QVERIFY(shown.wait(60000));
        QTest::qWait(300); // a superseded result would arrive about now
        QCOMPARE(shown.size(), 1);
        const PreviewTileView* largest = TileView(&wall, QStringLiteral("128 × 128"));
        QVERIFY(largest);
        const PreviewTile tile = largest->tile();
        QCOMPARE(tile.image.pixelColor(tile.iconArea.center()).toRgb(), QColor(Qt::blue));
    }

    // The menu item's state survives into the next window, and a hidden wall computes nothing.
    void shownOrHiddenIsRememberedAcrossWindows_data() {
        QTest::addColumn<bool>("shown");
        QTest::newRow("shown") << true;
        QTest::newRow("hidden") << false;
    }
    void shownOrHiddenIsRememberedAcrossWindows() {
        QFETCH(bool, shown);
        {
            EditorFixture first;
            QAction* item = WallItem(first);
            QVERIFY(item && item->isCheckable());
            QCOMPARE(item->text(), QStringLiteral("Show Preview Wall"));
            item->setChecked(!shown);
            item->setChecked(shown);
            QCOMPARE(WallTabShown(first), shown);
        }
        EditorFixture next;
        QCOMPARE(WallItem(next)->isChecked(), shown);
        QCOMPARE(WallTabShown(next), shown);
        // Even in a small window the settings panel keeps 300 pixels.
        next.window->resize(800, 600);
        QTRY_COMPARE(next.window->size(), QSize(800, 600));
        QVERIFY(next.Find<QScrollArea>("scrollAreaSettings")->height() >= 300);
        QMenu* viewMenu = nullptr;
        for (QAction* menu : next.window->menuBar()->actions())
            if (menu->text() == QStringLiteral("&View"))
                viewMenu = menu->menu();
        QVERIFY(viewMenu && viewMenu->actions().contains(WallItem(next)));

        QSignalSpy tiles(Wall(next), &PreviewWall::tilesShown);
        UserInput::Click(next.controls().checkTransparentBackground);
        QVERIFY(next.WaitUntilIdle());
        QCOMPARE(tiles.wait(shown ? 60000 : 500), shown);
    }
};

QTEST_MAIN(tst_PreviewWall)
#include "tst_PreviewWall.moc"
