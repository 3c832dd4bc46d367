// The design edited on the canvas with the mouse and the keys, in the real window: what lands
// in the inspector's fields, the history and the exported files.

#include "EditorFixture.h"

#include "app/window/CanvasEditing.h"
#include "app/window/RememberedKeylines.h"
#include "editing/CanvasPlacement.h"
#include "editing/Keylines.h"

namespace {

// The middle of the text's letters on the view, where the editor places them.
QPointF LettersOnView(const EditorFixture& editor) {
    const IconDesign design = DesignGeometry::ForDrawing(editor.controller()->ShownDesign());
    const CanvasPlacement placement(design, editor.controls().imageViewIcon->pictureRect());
    const std::vector<LayerShape> shapes = LayerShapes(design, placement.frame());
    const LayerShape* text = ShapeOf(shapes, CanvasLayer::Text);
    return text ? placement.ToScreen(text->corners.boundingRect().center()) : QPointF();
}

// A point of the frame well inside or well outside both paths, as `inInk` and `inShade` ask,
// scanned over `box`; `margin` in frame units.
std::optional<QPointF> PointWhere(const QRectF& box, const QPainterPath& ink,
                                  const QPainterPath& shade, bool inInk, bool inShade,
                                  double margin) {
    const auto everywhere = [&](const QPainterPath& path, const QPointF& at, bool inside) {
        for (const QPointF step : {QPointF(0, 0), QPointF(margin, 0), QPointF(-margin, 0),
                                   QPointF(0, margin), QPointF(0, -margin)})
            if (path.contains(at + step) != inside)
                return false;
        return true;
    };
    for (double y = box.top(); y < box.bottom(); y += margin)
        for (double x = box.left(); x < box.right(); x += margin)
            if (everywhere(ink, {x, y}, inInk) && everywhere(shade, {x, y}, inShade))
                return QPointF(x, y);
    return std::nullopt;
}

} // namespace

class CanvasGesturesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseOwnSettings(); }
    // Each test starts from the keylines a first run of the editor has.
    void init() { RememberKeylines(KeylineChoice{}); }

    // Selected by a click on its letters, the text gives way to the icon behind it on Tab; the
    // icon's corner scales it in one undo step, its body snaps back to the centre; the
    // keylines are drawn over the view and never into the exported files.
    void layersAreSelectedScaledAndSnapped() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        CanvasEditing* editing = editor.window->findChild<CanvasEditing*>();
        QVERIFY(editing);
        // Without outline and shadow the picture is exactly the canvas.
        UserInput::Click(c.checkBackgroundStroke);
        UserInput::Click(c.checkBackgroundShadow);
        UserInput::Type(c.textFieldText, QStringLiteral("Hi"));
        const QTemporaryDir folder;
        const QString icon = folder.filePath(QStringLiteral("icon.png"));
        QVERIFY(WriteFile(icon, TestImages::PngBytes(TestImages::Filled(200, 200, Qt::red))));
        editor.controller()->LoadIconImage(icon);
        QVERIFY(editor.WaitUntilIdle());
        CustomImageView* view = c.imageViewIcon;
        view->setZoom(0.5);
        const QRectF picture = view->pictureRect();
        QCOMPARE(picture.width(), 512.0);
        const int steps = editor.HistorySize();

        // The letters of "Hi" (800 units, its line's top near the canvas's top) cover the
        // middle of the canvas, in front of the icon: 200 units in the middle, 100 pixels here.
        const auto highlighted = [&](const char* section) {
            return editor.Find<CollapsibleSection>(QStringLiteral("section") + section)
                ->highlighted();
        };
        QTest::mouseClick(view, Qt::LeftButton, {}, picture.center().toPoint());
        QCOMPARE(editing->selection(), CanvasLayer::Text);
        QVERIFY(highlighted("Text"));
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Tab);
        QCOMPARE(editing->selection(), CanvasLayer::Icon);
        QVERIFY(highlighted("Icon") && !highlighted("Text"));
        // Its bottom right corner pulled out by a quarter, the top left staying.
        UserInput::Drag(view, picture.center() + QPointF(50, 50), QPointF(25, 25), 5,
                        Qt::AltModifier);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(c.textFieldIconScale->text(), QStringLiteral("125"));
        QCOMPARE(c.textFieldIconHorizontalOffset->text(), QStringLiteral("25"));
        QCOMPARE(c.textFieldIconVerticalOffset->text(), QStringLiteral("-25"));
        QCOMPARE(editor.HistorySize(), steps + 1);
        QVERIFY(editor.Title().endsWith(QLatin1Char('*')));
        // Dragged nearly back (6 and 3 units off, within 6 pixels), it snaps onto the centre,
        // through the text lying over it, and shows the guides while it is held.
        std::size_t guides = 0;
        UserInput::Drag(
            view, picture.center(), QPointF(-11, -14), 4, {}, [] {},
            [&] { guides = editing->guides().size(); });
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(c.textFieldIconHorizontalOffset->text(), QStringLiteral("0"));
        QCOMPARE(c.textFieldIconVerticalOffset->text(), QStringLiteral("0"));
        QCOMPARE(guides, std::size_t(2));
        QVERIFY(editing->guides().empty());
        // The arrow keys nudge it, Shift by ten; Escape lets it go.
        QTest::keyClick(view, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_Up);
        QCOMPARE(c.textFieldIconHorizontalOffset->text(), QStringLiteral("10"));
        QCOMPARE(c.textFieldIconVerticalOffset->text(), QStringLiteral("1"));
        QTest::keyClick(view, Qt::Key_Escape);
        QCOMPARE(editing->selection(), std::nullopt);
        QVERIFY(editor.WaitUntilIdle());

        // The same export with the keylines shown and hidden: the same bytes.
        const auto exported = [&](const QString& name) {
            const QString into = folder.filePath(name);
            QDir().mkpath(into);
            editor.prompter.folders = {into};
            editor.menu().saveIcons->trigger();
            QByteArray all;
            for (const QString& file : QDir(into).entryList(QDir::Files, QDir::Name))
                all += TestImages::ReadFile(into + QLatin1Char('/') + file);
            return all;
        };
        const QByteArray without = exported(QStringLiteral("without"));
        QVERIFY(!without.isEmpty());
        const QImage plain = view->grab().toImage();
        editor.Find<QAction>(QStringLiteral("actionKeyline2"))->trigger(); // Android safe zone
        QVERIFY(editor.Find<QAction>(QStringLiteral("actionShowKeylines"))->isChecked());
        QCOMPARE(editing->keylines(),
                 std::vector<Keyline>({Keyline::IosGrid, Keyline::AndroidSafeZone}));
        QVERIFY(view->grab().toImage() != plain); // drawn over the picture
        QCOMPARE(exported(QStringLiteral("with")), without);
    }

    // The choice in View > Keylines is the one the next window starts with, shown or hidden;
    // a remembered name that stands for no keyline is left out.
    void theKeylineChoiceSurvivesANewWindow() {
        const auto action = [](const EditorFixture& editor, int index) {
            return editor.Find<QAction>(index < 0 ? QStringLiteral("actionShowKeylines")
                                                  : QStringLiteral("actionKeyline%1").arg(index));
        };
        const auto keylines = [](const EditorFixture& editor) {
            return editor.window->findChild<CanvasEditing*>()->keylines();
        };
        const std::vector<Keyline> circleAndTile{Keyline::AndroidCircle, Keyline::WindowsTile};
        {
            EditorFixture editor;
            QVERIFY(!action(editor, -1)->isChecked());
            QVERIFY(action(editor, 0)->isChecked());
            action(editor, 3)->trigger(); // Android circle, shown with the iOS grid
            action(editor, 8)->trigger(); // Windows tile
            action(editor, 0)->trigger(); // the iOS grid off again
            QCOMPARE(keylines(editor), circleAndTile);
        }
        {
            EditorFixture editor;
            QVERIFY(action(editor, -1)->isChecked());
            for (int index = 0; index < kKeylineCount; ++index)
                QCOMPARE(action(editor, index)->isChecked(), index == 3 || index == 8);
            QCOMPARE(keylines(editor), circleAndTile);
            // Hidden with Ctrl+K: the choice stays for when they are shown again.
            QTest::keySequence(editor.window.get(), QKeySequence(Qt::CTRL | Qt::Key_K));
            QVERIFY(keylines(editor).empty());
            QCOMPARE(RememberedKeylines().chosen, circleAndTile);
            QVERIFY(!RememberedKeylines().shown);
            QTest::keySequence(editor.window.get(), QKeySequence(Qt::CTRL | Qt::Key_K));
            QCOMPARE(keylines(editor), circleAndTile);
        }
        // With no known name left, the iOS grid; every keyline off stays none.
        QSettings settings(QStringLiteral("Sigilon"), QStringLiteral("Sigilon"));
        for (const auto& [kept, chosen] :
             {std::pair{QStringList{"retiredGrid", "androidTeardrop"},
                        std::vector<Keyline>{Keyline::AndroidTeardrop}},
              {QStringList{"retiredGrid"}, std::vector<Keyline>{Keyline::IosGrid}},
              {QStringList(), std::vector<Keyline>()}}) {
            settings.setValue(QStringLiteral("view/keylines"), kept);
            settings.sync();
            QCOMPARE(RememberedKeylines().chosen, chosen);
        }
    }

    // The letters a mask would cut are tinted red where they lie in its shade, and only there.
    void theInkAMaskCutsIsTinted() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        UserInput::Type(c.textFieldText, QStringLiteral("Hi"));
        UserInput::Type(c.textFieldTextHorizontalOffset, QStringLiteral("300"));
        QVERIFY(editor.WaitUntilIdle());
        editor.Find<QAction>(QStringLiteral("actionKeyline2"))->trigger(); // Android safe zone
        CanvasEditing* editing = editor.window->findChild<CanvasEditing*>();
        CustomImageView* view = c.imageViewIcon;
        const IconDesign design = DesignGeometry::ForDrawing(editor.controller()->ShownDesign());
        const CanvasPlacement placement(design, view->pictureRect());
        const KeylineOverlay overlay = OverlayOf(editing->keylines(), placement.frame().background);
        const std::vector<LayerShape> shapes = LayerShapes(design, placement.frame());
        const LayerShape& text = *ShapeOf(shapes, CanvasLayer::Text);
        // The letters reach past the canvas, where nothing is shaded.
        const QRectF box = text.corners.boundingRect() & placement.frame().background;
        const double margin = 3 * placement.UnitsPerPixel();
        const QImage shown = view->grab().toImage();
        // How much redder than green or blue the view shows such a point of the text.
        const auto rednessAt = [&](bool inInk, bool inShade) -> std::optional<int> {
            const std::optional<QPointF> at =
                PointWhere(box, text.ink, overlay.shaded, inInk, inShade, margin);
            if (!at)
                return std::nullopt;
            const QColor pixel = shown.pixelColor(placement.ToScreen(*at).toPoint());
            return pixel.red() - std::max(pixel.green(), pixel.blue());
        };
        const std::optional<int> cut = rednessAt(true, true);
        const std::optional<int> shadeOnly = rednessAt(false, true);
        const std::optional<int> kept = rednessAt(true, false);
        QVERIFY(cut && shadeOnly && kept);
        QVERIFY2(*cut > *shadeOnly + 40 && *cut > *kept + 40,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(*cut).arg(*shadeOnly).arg(*kept)));
    }

    // Where the view shows the canvas smaller than its pixels, each movement is one interim
    // picture holding both offsets, and the full-size render waits until the layer is let go.
    void aDragIsDrawnInInterimPicturesUntilLetGo() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        // Two units a pixel at half size.
        UserInput::Click(c.checkBackgroundStroke);
        UserInput::Click(c.checkBackgroundShadow);
        UserInput::Type(c.textFieldText, QStringLiteral("Hi"));
        QVERIFY(editor.WaitUntilIdle());
        CustomImageView* view = c.imageViewIcon;
        view->setZoom(0.5);
        const int renders = editor.Renders();
        const int interims = editor.log->interims;
        const int steps = editor.HistorySize();
        const auto fieldValue = [](QLineEdit* field) { return field->text().toFloat(); };
        int moves = 0;
        UserInput::Drag(view, LettersOnView(editor), QPointF(40, -30), 4, Qt::AltModifier, [&] {
            ++moves;
            // The vertical offset goes upwards.
            const float x = fieldValue(c.textFieldTextHorizontalOffset);
            const float y = fieldValue(c.textFieldTextVerticalOffset);
            QCOMPARE(x, 20.0f * moves);
            QCOMPARE(y, 40.0f + 15.0f * moves);
            QVERIFY(QTest::qWaitFor([&] {
                const std::optional<IconDesign> drawn = editor.log->LastInterimDesign();
                return drawn && drawn->textHorizontalOffset == x && drawn->textVerticalOffset == y;
            }));
            QTest::qWait(20); // an interim render of one offset alone would come by now
            QCOMPARE(editor.log->interims, interims + moves);
            QCOMPARE(editor.Renders(), renders);
            QVERIFY(!editor.controller()->updating());
        });
        QCOMPARE(c.textFieldTextHorizontalOffset->text(), QStringLiteral("80"));
        QCOMPARE(c.textFieldTextVerticalOffset->text(), QStringLiteral("100"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.Renders(), renders + 1);
        QCOMPARE(editor.log->LastDesign().textHorizontalOffset, 80.0f);
        QCOMPARE(editor.log->LastDesign().textVerticalOffset, 100.0f);
        QTest::qWait(50);
        QCOMPARE(view->image(), editor.controller()->currentIcon());
        QCOMPARE(editor.HistorySize(), steps + 1);
        // The interim pictures may take kept layers moved; the full-size ones, exported, never.
        QCOMPARE(editor.log->interimsMovingLayers, editor.log->interims);
        QCOMPARE(editor.log->fullSizeMovingLayers, 0);
        QVERIFY(editor.Undo());
        QCOMPARE(c.textFieldTextHorizontalOffset->text(), QStringLiteral("0"));
        QVERIFY(editor.WaitUntilIdle());

        // Exported while the layer is still held (a release the window system kept back), the
        // files are drawn from the design as dragged, not from the last full-size picture.
        const QTemporaryDir folder;
        UserInput::Drag(
            view, LettersOnView(editor), QPointF(40, 0), 2, Qt::AltModifier, [] {},
            [&] {
                const int held = editor.Renders();
                editor.prompter.folders = {folder.path()};
                editor.menu().saveIcons->trigger();
                QCOMPARE(editor.Renders(), held + 1);
                QCOMPARE(editor.log->LastDesign().textHorizontalOffset, 80.0f);
                QVERIFY(!QDir(folder.path()).isEmpty());
            });
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(editor.Undo());

        // A canvas the view shows at its own size has no interim pictures: the full-size
        // preview follows every movement.
        UserInput::Type(c.textFieldCanvasWidth, QStringLiteral("200"));
        UserInput::Type(c.textFieldCanvasHeight, QStringLiteral("200"));
        UserInput::Type(c.textFieldFontSize, QStringLiteral("100"));
        QVERIFY(editor.WaitUntilIdle());
        view->ZoomToFit();
        const int before = editor.Renders();
        const int interimsBefore = editor.log->interims;
        UserInput::Drag(view, LettersOnView(editor), QPointF(30, 0), 3, Qt::AltModifier,
                        [&] { QVERIFY(editor.WaitUntilIdle()); });
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.Renders(), before + 3);
        QCOMPARE(editor.log->interims, interimsBefore);
        QVERIFY(editor.log->LastDesign().textHorizontalOffset > 0.0f);
    }
};

QTEST_MAIN(CanvasGesturesTest)
#include "tst_CanvasGestures.moc"
