#include "EditorFixture.h"
#include "helpers/RefusingImageHelper.h"
#include "render/PlatformLooks.h"

namespace {

// The margins are a dotted frame along the edges: the edge pixels in their colour.
int MarginPixels(const QImage& image) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y : {0, image.height() - 1})
            count +=
                TestImages::ColorsClose(TestImages::PixelAt(image, x, y), QColor(118, 121, 124), 3);
    }
    return count;
}

// The stand-in renderer paints interim pictures red.
bool IsInterim(const QImage& image) {
    return image.pixelColor(0, 0).red() == 255;
}

int CentreAlpha(const QImage& image) {
    return image.pixelColor(500, 500).alpha();
}

// A canvas of 3000 x 2000 units, its full-size preview done: large enough for interim ones.
bool UseALargeCanvas(const EditorFixture& editor) {
    UserInput::Type(editor.controls().textFieldCanvasWidth, "3000");
    UserInput::Type(editor.controls().textFieldCanvasHeight, "2000");
    return editor.WaitUntilIdle();
}

const QString kShownKey = QStringLiteral("ShowPreviewWall");

QAction* WallItem(const EditorFixture& editor) {
    return editor.window->findChild<QAction*>(QStringLiteral("actionShowPreviewWall"));
}

// The wall's tab is the one shown.
bool WallTabShown(const EditorFixture& editor) {
    const QTabWidget* tabs = editor.controls().tabWidgetCanvas;
    return tabs->currentWidget() == editor.Find<QScrollArea>("scrollAreaPreviewWall") &&
           editor.Wall()->isVisible() && !editor.controls().imageViewIcon->isVisible();
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

// The preview: renders off the GUI thread, one at a time, interim pictures of large canvases,
// undo and redo, and the preview wall in its tab beside the canvas.
class tst_PreviewPipeline : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseOwnSettings(); }

    // Every test starts with the wall as a first run has it: hidden.
    void init() { QSettings("Sigilon", "Sigilon").remove(kShownKey); }

    void requestsDuringARenderGiveOneFollowUp() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        const EditorControls& c = editor.controls();
        const QImage shownBefore = c.imageViewIcon->image();
        editor.log->hold = true;
        UserInput::Click(c.checkTransparentBackground);
        QVERIFY(editor.WaitForRenders(2));
        QVERIFY(!c.progressIndicator->isHidden() && c.progressIndicator->isAnimating());
        for (int i = 0; i < 10; ++i)
            UserInput::Step(c.sliderCornerCurvature);
        QVERIFY(vc->selectionChanged());
        QCOMPARE(editor.Renders(), 2);

        // The stale picture is never shown (an interim one may be) nor recorded.
        editor.log->gate.release();
        QVERIFY(editor.WaitForRenders(3));
        QVERIFY(!vc->selectionChanged());
        QCOMPARE(editor.log->Design(2).cornerCurvature, 0.3f);
        QVERIFY(editor.log->Design(2).transparentBackground);
        QVERIFY(c.imageViewIcon->image() == shownBefore || IsInterim(c.imageViewIcon->image()));
        QCOMPARE(editor.HistorySize(), 1);
        QVERIFY(!c.progressIndicator->isHidden());

        // A request during the follow-up gives one more.
        UserInput::Step(c.sliderBackgroundShadowBlur);
        editor.log->hold = false;
        editor.log->gate.release(2);
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(50);
        QCOMPARE(editor.Renders(), 4);
        QCOMPARE(editor.log->Design(3).backgroundShadowBlur, 16.0f);
        QCOMPARE(editor.HistorySize(), 2);
        QVERIFY(c.progressIndicator->isHidden());
        QCOMPARE(CentreAlpha(c.imageViewIcon->image()), 0);
    }

    // Three clicks 0.1 s apart: marked at once, rendered once, about 0.2 s after the last.
    void stepperBurstRendersOnceAfterAQuietPause() {
        EditorFixture editor;
        QElapsedTimer sinceClick;
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                QTest::qWait(100);
            if (i > 0 && sinceClick.elapsed() >= 190)
                QSKIP("The machine was too busy to click 0.1 seconds apart");
            UserInput::ClickStepper(editor.controls().stepperIconVerticalOffset, +1);
            sinceClick.start();
            QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
            QCOMPARE(editor.Renders(), 1);
        }
        QVERIFY(editor.WaitForRenders(2));
        QVERIFY2(sinceClick.elapsed() >= 150 && sinceClick.elapsed() < 1500,
                 qPrintable(QString::number(sinceClick.elapsed())));
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(300);
        QCOMPARE(editor.Renders(), 2);
        QCOMPARE(editor.log->Design(1).iconVerticalOffset, 3.0f);
        QCOMPARE(editor.HistorySize(), 2);
    }

    // Switched margins show at once on the picture at hand, also before the first picture
    // and while a render runs; the rendering itself never has them.
    void marginsShowOnThePictureAtHand() {
        EditorFixture editor(/*holdRenders=*/true);
        const CustomImageView* view = editor.controls().imageViewIcon;
        QAction* margins = editor.menu().showCanvasMargins;
        QCOMPARE(margins->text(), QStringLiteral("Show Canvas Margins"));
        margins->trigger();
        QCOMPARE(margins->text(), QStringLiteral("Hide Canvas Margins"));
        QVERIFY(view->image().isNull());
        editor.log->gate.release();
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(MarginPixels(view->image()) > 20);

        UserInput::Click(editor.controls().checkTransparentBackground);
        QVERIFY(editor.WaitForRenders(2));
        margins->trigger();
        QCOMPARE(MarginPixels(view->image()), 0);
        margins->trigger();
        QVERIFY(MarginPixels(view->image()) > 20);
        // Still the older picture, or an interim one of the new design.
        QVERIFY(CentreAlpha(view->image()) == 255 || IsInterim(view->image()));
        editor.log->gate.release();
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(CentreAlpha(view->image()), 0);
        QVERIFY(MarginPixels(view->image()) > 20);
        QCOMPARE(MarginPixels(editor.controller()->currentIcon()), 0);
        QCOMPARE(editor.Renders(), 2); // switching is neither a render nor an edit
        QCOMPARE(editor.HistorySize(), 2);
    }

    // Only full-size pictures become the current icon, are exported and are recorded.
    void theInterimPreviewFollowsWhileTheFullSizeLags() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        const EditorControls& c = editor.controls();
        QVERIFY(UseALargeCanvas(editor));
        const QImage before = vc->currentIcon();
        QCOMPARE(before.size(), QSize(3000, 2000));
        const int history = editor.HistorySize();
        const QString title = editor.Title();

        editor.log->hold = true;
        QList<QImage> shown;
        for (int change = 0; change < 4; ++change) {
            UserInput::Step(c.sliderCornerCurvature);
            QTRY_VERIFY(IsInterim(c.imageViewIcon->image()) &&
                        !shown.contains(c.imageViewIcon->image()));
            shown.append(c.imageViewIcon->image());
        }
        const QImage& interim = shown.last();
        QVERIFY(interim.width() < 3000 && interim.width() <= c.imageViewIcon->width());
        QCOMPARE(interim.width() * 2000 / 3000, interim.height());
        QCOMPARE(vc->currentIcon(), before);
        QCOMPARE(editor.HistorySize(), history);
        QCOMPARE(editor.Title(), title);

        // The export waits for the full-size picture of the last change.
        QTimer::singleShot(100, [&] { editor.ReleaseRenders(); });
        QTemporaryDir folder;
        editor.prompter.folders = {folder.path()};
        editor.menu().saveIcons->trigger();
        QCOMPARE(editor.log->LastDesign().cornerCurvature, 0.24f);
        QCOMPARE(RenderNumber(vc->currentIcon()), editor.Renders());
        QCOMPARE(c.imageViewIcon->image(), vc->currentIcon());
        QCOMPARE(QImage(folder.filePath("Icon3000.png")).size(), QSize(3000, 2000));
        QCOMPARE(editor.HistorySize(), history + 1);
    }

    // A drag holds where it ended also when released while a render runs, before or after an
    // earlier render of the drag finished.
    void eachSliderGestureIsOneUndoStep_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("finishedDuringTheDrag"); // -1: every one, none held
        for (const char* gesture : {"click beside the handle", "key", "wheel"})
            QTest::newRow(gesture) << QString(gesture) << -1;
        QTest::newRow("drag, every render finished") << "drag" << -1;
        QTest::newRow("drag released, none finished") << "drag" << 0;
        QTest::newRow("drag released, one finished") << "drag" << 1;
    }
    void eachSliderGestureIsOneUndoStep() {
        QFETCH(QString, gesture);
        QFETCH(int, finishedDuringTheDrag);
        EditorFixture editor;
        FloatSlider* rotation = editor.controls().sliderIconRotation; // 0 at the start
        QSlider* bar = rotation->slider();
        const bool held = finishedDuringTheDrag >= 0;
        editor.log->hold = held;
        bar->setFocus();
        if (gesture == "click beside the handle")
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 2, bar->height() / 2));
        else if (gesture == "key")
            QTest::keyClick(bar, Qt::Key_Right);
        else if (gesture == "wheel")
            UserInput::Wheel(bar, 1);
        int moves = 0;
        if (gesture == "drag") {
            UserInput::Drag(rotation, 4, 12, [&] {
                if (!held)
                    QVERIFY(editor.WaitUntilIdle());
                else if (++moves == 2 && finishedDuringTheDrag)
                    editor.log->gate.release();
                QTest::qWait(20);
            });
            QCOMPARE(editor.controller()->updating(), held);
        }
        editor.ReleaseRenders();
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(50);
        const float moved = rotation->floatValue();
        QVERIFY(moved > 0.0f);
        QCOMPARE(editor.log->LastDesign().iconRotation, moved);
        // Unheld, the preview followed every movement of a drag.
        QVERIFY(gesture != "drag" || held || editor.Renders() >= 1 + 4);
        QCOMPARE(editor.HistorySize(), 2);
        QVERIFY(editor.Undo());
        QCOMPARE(rotation->floatValue(), 0.0f);
        QVERIFY(editor.Redo());
        QCOMPARE(rotation->floatValue(), moved);
    }

    // An interim picture that finishes after the full-size one of the same or a later design
    // is late: the full-size picture stays.
    void aLateInterimPictureNeverReplacesTheFullSizeOne() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        QVERIFY(UseALargeCanvas(editor));
        editor.log->holdInterims = true;
        const int interims = editor.log->interims;
        UserInput::Step(c.sliderCornerCurvature);
        UserInput::Step(c.sliderCornerCurvature); // a second interim waits for the first
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(50);
        QCOMPARE(c.imageViewIcon->image().size(), QSize(3000, 2000));
        QCOMPARE(RenderNumber(c.imageViewIcon->image()), editor.Renders());
        editor.log->holdInterims = false;
        editor.log->interimGate.release(100);
        QTRY_VERIFY(editor.log->interims > interims);
        QTest::qWait(100);
        QCOMPARE(c.imageViewIcon->image(), editor.controller()->currentIcon());
        QVERIFY(!IsInterim(c.imageViewIcon->image()));
    }

    // A document the helper opens but then fails to draw: the preview keeps the picture it had,
    // and the user is told once.
    void aDrawingRefusedKeepsTheLastPictureAndTellsOnce() {
        EditorFixture editor;
        auto helper = std::make_unique<RefusingImageHelper>();
        QVERIFY(helper->isValid());
        const QString svg = helper->document();
        const QImage before = editor.controller()->currentIcon();
        editor.controller()->LoadIconImage(svg);
        const bool loaded = editor.WaitUntilIdle() && editor.controller()->iconVector();
        const QImage afterLoad = editor.controller()->currentIcon();
        UserInput::Click(editor.controls().checkIconShadow);
        const bool idle = editor.WaitUntilIdle();
        const QImage afterEdit = editor.controller()->currentIcon();
        helper.reset();
        QVERIFY(loaded);
        QVERIFY(idle);
        QCOMPARE(RenderNumber(afterLoad), RenderNumber(before));
        QCOMPARE(RenderNumber(afterEdit), RenderNumber(before));
        QCOMPARE(editor.prompter.questions.size(), 1);
        QVERIFY(editor.prompter.Messages().first().startsWith(
            QStringLiteral("The image could not be loaded.\n") + svg));
    }

    // A render that ends after its window is gone hands its picture to no one.
    void aLateRenderAfterTheWindowIsGoneIsDropped() {
        EditorFixture editor(/*holdRenders=*/true);
        QVERIFY(editor.WaitForRenders(1));
        editor.window.reset();
        editor.log->gate.release();
        QThreadPool::globalInstance()->waitForDone();
        QTest::qWait(20); // the hand-back would arrive now
        QCOMPARE(editor.Renders(), 1);
    }

    // How the history walks its states is its own concern; here, what the window shows.
    void undoAndRedo() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        UserInput::Click(c.checkTextStroke);
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Type(c.textFieldFontSize, "300");
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Step(c.sliderIconRotation);
        QVERIFY(editor.WaitUntilIdle());
        const QString edited = editor.controller()->MakeProfileText();
        editor.window->setWindowTitle(QStringLiteral("Sigilon - logo")); // as after a save

        QVERIFY(editor.Undo());
        QVERIFY(editor.Undo());
        QCOMPARE(c.textFieldFontSize->text(), QStringLiteral("800"));
        QVERIFY(c.checkTextStroke->isChecked());
        QCOMPARE(editor.log->LastDesign().fontSize, 800.0f); // what the next render draws
        QVERIFY(editor.Undo());
        const int renders = editor.Renders();
        QVERIFY(editor.Undo()); // past the oldest state nothing happens
        QCOMPARE(editor.Renders(), renders);
        // Four redos: the last one is past the newest state.
        for (int step = 0; step < 4; ++step)
            QVERIFY(editor.Redo());
        // The controls show the state put back: colour components at single precision.
        DesignSettings restored;
        QVERIFY(ApplyProfileText(restored, edited, false));
        QCOMPARE(editor.controller()->MakeProfileText(), MakeProfileText(restored));
        QCOMPARE(editor.controller()->history().currenState(), 3);
        QCOMPARE(editor.HistorySize(), 4);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
    }

    // Shown from its tab, which turns its menu item on: every tile with its caption and its
    // picture unscaled. How each look draws is the looks' own concern.
    void tilesAppearAndFollowTheDesign() {
        EditorFixture editor;
        PreviewWall* wall = editor.Wall();
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

        // The Android looks outline their safe zone while the pointer is over them.
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

        const QImage iosBefore = TileImage(wall, QStringLiteral("iOS"));
        const QString real = QStringLiteral("128 × 128");
        QCOMPARE(TileImage(wall, real).pixelColor(64, 64).alpha(), 255);
        shown.clear();
        UserInput::Click(editor.controls().checkTransparentBackground);
        QVERIFY(shown.wait(60000));
        // The stand-in renderer's transparent picture.
        QCOMPARE(TileImage(wall, real).pixelColor(64, 64).alpha(), 0);
        QVERIFY(TileImage(wall, QStringLiteral("iOS")) != iosBefore);

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

        QSignalSpy tiles(next.Wall(), &PreviewWall::tilesShown);
        UserInput::Click(next.controls().checkTransparentBackground);
        QVERIFY(next.WaitUntilIdle());
        QCOMPARE(tiles.wait(shown ? 60000 : 500), shown);
    }
};

QTEST_MAIN(tst_PreviewPipeline)
#include "tst_PreviewPipeline.moc"
