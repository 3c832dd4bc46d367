#include "EditorFixture.h"

#include "app/CustomImageView.h"
#include "app/FloatSlider.h"
#include "app/ProgressIndicator.h"
#include "support/TestImages.h"

#include <QAction>
#include <QCheckBox>
#include <QSlider>
#include <QtTest>

namespace {

const QColor kMarginColor(118, 121, 124);

// The margins are a dotted frame along the picture's edges; count the edge pixels in their
// colour.
int MarginPixels(const QImage& image) {
    int count = 0;
    for (int x = 0; x < image.width(); ++x) {
        for (int y : {1, image.height() - 2})
            count += TestImages::ColorsClose(TestImages::PixelAt(image, x, y), kMarginColor, 3);
    }
    return count;
}

void MoveSlider(FloatSlider* slider, int steps) {
    for (int i = 0; i < steps; ++i)
        slider->slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

} // namespace

// One render at a time off the GUI thread; requests during a render fold into one follow-up
// render; stepper bursts wait for a quiet 0.2 seconds.
class tst_PreviewPipeline : public QObject {
    Q_OBJECT

private slots:
    void requestsDuringARenderGiveOneFollowUp() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        ViewController* vc = editor.controller();
        const EditorControls& c = editor.controls();
        const QImage shownBefore = c.imageViewIcon->image();

        editor.log->hold = true;
        UserInput::Click(c.checkTransparentBackground);
        QVERIFY(editor.WaitForRenders(2));
        QVERIFY(vc->updating());
        QVERIFY(!c.progressIndicator->isHidden());
        QVERIFY(c.progressIndicator->isAnimating());

        for (int i = 0; i < 10; ++i)
            MoveSlider(c.sliderCornerCurvature, 1);
        QVERIFY(vc->selectionChanged());
        const float curvatureAtTheEnd = c.sliderCornerCurvature->floatValue();
        QCOMPARE(curvatureAtTheEnd, 0.3f);
        QCOMPARE(editor.log->started.load(), 2);

        // The first render ends: the follow-up starts with the controls as they are now, the
        // older picture stays and nothing is recorded yet.
        editor.log->gate.release();
        QVERIFY(editor.WaitForRenders(3));
        QVERIFY(vc->updating());
        QVERIFY(!vc->selectionChanged());
        QCOMPARE(editor.log->Design(2).cornerCurvature, curvatureAtTheEnd);
        QVERIFY(editor.log->Design(2).transparentBackground);
        QCOMPARE(c.imageViewIcon->image(), shownBefore);
        QCOMPARE(editor.HistorySize(), 1);
        QVERIFY(!c.progressIndicator->isHidden());

        editor.log->hold = false;
        editor.log->gate.release();
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(50);
        QCOMPARE(editor.log->started.load(), 3);
        QCOMPARE(editor.HistorySize(), 2);
        QVERIFY(c.progressIndicator->isHidden());
        // The transparent picture is shown now.
        QCOMPARE(TestImages::PixelAt(c.imageViewIcon->image(), 500, 500).alpha(), 0);
    }

    void aRequestDuringTheFollowUpGivesOneMore() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        editor.log->hold = true;
        MoveSlider(c.sliderBackgroundShadowBlur, 1);
        QVERIFY(editor.WaitForRenders(2));
        MoveSlider(c.sliderBackgroundShadowBlur, 1);
        editor.log->gate.release();
        QVERIFY(editor.WaitForRenders(3));
        MoveSlider(c.sliderBackgroundShadowBlur, 1);
        QVERIFY(editor.controller()->selectionChanged());
        editor.log->gate.release();
        QVERIFY(editor.WaitForRenders(4));
        editor.log->gate.release();
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(50);
        QCOMPARE(editor.log->started.load(), 4);
        QCOMPARE(editor.log->Design(3).backgroundShadowBlur, 18.0f);
        QCOMPARE(editor.HistorySize(), 2);
    }

    void stepperBurstRendersOnceAfterAQuietPause() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        qint64 lastClick = 0;
        qint64 longestGap = 0;
        for (int i = 0; i < 3; ++i) {
            if (i > 0)
                QTest::qWait(100);
            const qint64 now = editor.log->clock.elapsed();
            if (i > 0)
                longestGap = std::max(longestGap, now - lastClick);
            UserInput::ClickStepper(c.stepperIconVerticalOffset, +1);
            lastClick = editor.log->clock.elapsed();
            // The title is marked from the first click on, before any render.
            QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
            QCOMPARE(editor.log->started.load(), 1);
        }
        if (longestGap >= 190)
            QSKIP("The machine was too busy to click 0.1 seconds apart");
        QVERIFY(editor.WaitForRenders(2));
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(300);
        QCOMPARE(editor.log->started.load(), 2);
        const qint64 delay = editor.log->StartTime(1) - lastClick;
        QVERIFY2(delay >= 150 && delay < 1500, qPrintable(QString::number(delay)));
        QCOMPARE(editor.log->Design(1).iconVerticalOffset, 3.0f);
        QCOMPARE(c.textFieldIconVerticalOffset->text(), QStringLiteral("3"));
        // One state for the burst.
        QCOMPARE(editor.HistorySize(), 2);
    }

    void marginsShowOnThePictureAtHand() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        ViewController* vc = editor.controller();
        const EditorControls& c = editor.controls();
        QAction* margins = vc->menuActions().showCanvasMargins;
        QCOMPARE(margins->text(), QStringLiteral("Show Canvas Margins"));
        QCOMPARE(MarginPixels(c.imageViewIcon->image()), 0);

        // Turned on while a render runs: shown at once on the picture that is there.
        editor.log->hold = true;
        UserInput::Click(c.checkTransparentBackground);
        QVERIFY(editor.WaitForRenders(2));
        margins->trigger();
        QVERIFY(vc->showGridlines());
        QCOMPARE(margins->text(), QStringLiteral("Hide Canvas Margins"));
        QVERIFY(MarginPixels(c.imageViewIcon->image()) > 50);
        QCOMPARE(TestImages::PixelAt(c.imageViewIcon->image(), 500, 500).alpha(), 255);

        // The finished render is shown with margins too; the rendering itself has none.
        editor.log->hold = false;
        editor.log->gate.release();
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(TestImages::PixelAt(c.imageViewIcon->image(), 500, 500).alpha(), 0);
        QVERIFY(MarginPixels(c.imageViewIcon->image()) > 50);
        QCOMPARE(MarginPixels(vc->currentIcon()), 0);

        margins->trigger();
        QCOMPARE(margins->text(), QStringLiteral("Show Canvas Margins"));
        QCOMPARE(MarginPixels(c.imageViewIcon->image()), 0);
        // The command changes neither the design nor the title.
        QCOMPARE(editor.log->started.load(), 2);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QCOMPARE(editor.HistorySize(), 2);
    }

    void marginsWithoutAPictureOnlySwitchTheTitle() {
        EditorFixture editor(/*holdRenders=*/true);
        // The first render is still running: there is no picture yet.
        ViewController* vc = editor.controller();
        QVERIFY(vc->currentIcon().isNull());
        vc->OnShowCanvasMargins();
        QCOMPARE(vc->menuActions().showCanvasMargins->text(),
                 QStringLiteral("Hide Canvas Margins"));
        QVERIFY(editor.controls().imageViewIcon->image().isNull());
        // Once it is there, it is shown with the margins.
        editor.log->hold = false;
        editor.log->gate.release();
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(MarginPixels(editor.controls().imageViewIcon->image()) > 50);
    }

    void aLateRenderAfterTheWindowIsGoneIsDropped() {
        auto prompter = std::make_unique<ScriptedPrompter>();
        auto log = std::make_shared<RenderLog>();
        log->hold = true;
        MemoryRatePreference ratePreference;
        auto window = std::make_unique<MainWindow>(*prompter, ratePreference, LoggingRenderer(log));
        QVERIFY(QTest::qWaitFor([&] { return log->started == 1; }, 10000));
        window.reset();
        log->gate.release();
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(log->finished.load(), 1);
        // The result's hand-back would run now; nothing is left to receive it.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }
};

QTEST_MAIN(tst_PreviewPipeline)
#include "tst_PreviewPipeline.moc"
