#pragma once

#include "app/MainWindow.h"
#include "app/Stepper.h"
#include "app/ViewController.h"
#include "support/MemoryRatePreference.h"
#include "support/ScriptedPrompter.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMutex>
#include <QSemaphore>
#include <QTest>
#include <QThreadPool>
#include <QToolButton>
#include <atomic>
#include <memory>

// What the editor's renders saw, for tests that count, delay or inspect renders. The
// renderer runs on worker threads, so everything here is guarded.
struct RenderLog {
    std::atomic<int> started{0};
    std::atomic<int> finished{0};
    // While on, every render waits for a permit from `gate` before it returns.
    std::atomic<bool> hold{false};
    QSemaphore gate;

    QMutex mutex;
    QList<IconDesign> designs;
    QList<qint64> startTimes; // milliseconds on `clock`
    QElapsedTimer clock;

    RenderLog() { clock.start(); }

    IconDesign Design(int index) {
        const QMutexLocker locker(&mutex);
        return designs.at(index);
    }
    qint64 StartTime(int index) {
        const QMutexLocker locker(&mutex);
        return startTimes.at(index);
    }
};

// A quick stand-in for the design renderer: the canvas filled with the gradient's start
// colour, or left transparent for a transparent background. The blue channel of an opaque
// picture is replaced by the render's number (1 for the first), so a picture tells which
// render made it and RenderLog::Design which design that render saw.
inline ViewController::Renderer LoggingRenderer(std::shared_ptr<RenderLog> log) {
    return [log](const IconDesign& design) {
        int number;
        {
            const QMutexLocker locker(&log->mutex);
            log->designs.append(design);
            log->startTimes.append(log->clock.elapsed());
            number = int(log->designs.size());
        }
        ++log->started;
        if (log->hold)
            log->gate.acquire();
        QImage picture(int(design.canvasWidth), int(design.canvasHeight),
                       QImage::Format_ARGB32_Premultiplied);
        QColor fill = design.gradientStartColor.toQColor();
        fill.setBlue(number % 256);
        picture.fill(design.transparentBackground ? QColor(Qt::transparent) : fill);
        ++log->finished;
        return picture;
    };
}

// The number of the render that made an opaque picture (see LoggingRenderer).
inline int RenderNumber(const QImage& picture, int x = 0, int y = 0) {
    return qBlue(picture.pixel(x, y));
}

// The editor window as the user sees it, with scripted answers and a logged renderer.
struct EditorFixture {
    ScriptedPrompter prompter;
    MemoryRatePreference ratePreference;
    std::shared_ptr<RenderLog> log = std::make_shared<RenderLog>();
    std::unique_ptr<MainWindow> window;

    // With `holdRenders`, even the first render waits for the test to release it.
    explicit EditorFixture(bool holdRenders = false) {
        log->hold = holdRenders;
        window = std::make_unique<MainWindow>(prompter, ratePreference, LoggingRenderer(log));
        window->show();
    }
    ~EditorFixture() {
        // Let a held render finish so that no worker outlives the test's objects.
        log->hold = false;
        log->gate.release(100);
        window.reset();
        QThreadPool::globalInstance()->waitForDone();
    }

    ViewController* controller() const { return window->controller(); }
    const EditorControls& controls() const { return controller()->controls(); }

    template <typename Widget> Widget* Find(const QString& name) const {
        return window->findChild<Widget*>(name);
    }

    // Waits until no render runs; false when that takes unreasonably long.
    bool WaitUntilIdle() const {
        return QTest::qWaitFor([this] { return !controller()->updating(); }, 10000);
    }

    // Waits until the given number of renders have started.
    bool WaitForRenders(int count) const {
        return QTest::qWaitFor([this, count] { return log->started >= count; }, 10000);
    }

    QString Title() const { return window->windowTitle(); }
    int HistorySize() const { return int(controller()->history().stateImagesPath().size()); }
};

// The user's ways of changing a control.
namespace UserInput {

// Replaces the field's text by typing and confirms it with Return.
inline void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

// Clicks near the left end, where a check box or radio button has its box even when its
// row is wider than its label.
inline void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

// One click on a stepper's up (+1) or down (-1) arrow.
inline void ClickStepper(Stepper* stepper, int direction) {
    const QList<QToolButton*> arrows = stepper->findChildren<QToolButton*>();
    for (QToolButton* arrow : arrows) {
        if (arrow->arrowType() == (direction > 0 ? Qt::UpArrow : Qt::DownArrow))
            QTest::mouseClick(arrow, Qt::LeftButton);
    }
}

} // namespace UserInput
