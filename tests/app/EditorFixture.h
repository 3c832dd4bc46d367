#pragma once

// Everything the window tests reach through the editor's controls and menus.
#include "app/canvas/CustomImageView.h"
#include "app/canvas/ProgressIndicator.h"
#include "app/inspector/CollapsibleSection.h"
#include "app/inspector/CustomTextField.h"
#include "app/inspector/FloatSlider.h"
#include "app/inspector/Stepper.h"
#include "app/wall/PreviewTileView.h"
#include "app/wall/PreviewWall.h"
#include "app/window/MainWindow.h"
#include "app/window/StartupProfile.h"
#include "app/window/ViewController.h"
#include "design/DesignSettings.h"
#include "helpers/MemoryRatePreference.h"
#include "helpers/ScriptedPrompter.h"
#include "helpers/TestImages.h"
#include "imageio/SvgImage.h"
#include "profiles/ProfileText.h"
#include "recovery/RecoveryFolder.h"
#include "render/KeptLayer.h"

#include <QtTest>
#include <QtWidgets>
#include <atomic>
#include <memory>
#include <optional>

// What the renders saw. Renders run on worker threads, so everything here is guarded.
struct RenderLog {
    std::atomic<int> started{0};  // full-size renders
    std::atomic<int> interims{0}; // interim renders
    // Renders that may place kept layer pictures moved (see MovedLayersAllowed).
    std::atomic<int> fullSizeMovingLayers{0};
    std::atomic<int> interimsMovingLayers{0};
    std::atomic<bool> hold{false}; // while on, each render waits for a permit from `gate`
    QSemaphore gate;
    std::atomic<bool> holdInterims{false}; // the same for interim renders, with `interimGate`
    QSemaphore interimGate;
    QMutex mutex;
    QList<IconDesign> designs;
    QList<IconDesign> interimDesigns;

    IconDesign Design(int index) {
        const QMutexLocker locker(&mutex);
        return designs.at(index);
    }
    IconDesign LastDesign() { return Design(started - 1); }
    // The design of the latest interim render, once one has begun.
    std::optional<IconDesign> LastInterimDesign() {
        const QMutexLocker locker(&mutex);
        return interimDesigns.isEmpty() ? std::nullopt : std::optional(interimDesigns.last());
    }
};

// A quick stand-in for the renderer, whose pictures tell which render made them: the render's
// number (1 for the first) as blue over the gradient's start colour (transparent for a
// transparent background); an interim render, counted and held apart, in opaque red.
inline ViewController::Renderer LoggingRenderer(std::shared_ptr<RenderLog> log) {
    return [log](const IconDesign& design, const RenderOptions& options) {
        if (!options.outputSize.isEmpty()) {
            if (log->holdInterims)
                log->interimGate.acquire();
            log->interimsMovingLayers += MovedLayersAllowed::Active();
            QMutexLocker locker(&log->mutex);
            log->interimDesigns.append(design);
            const int number = ++log->interims;
            locker.unlock();
            QImage picture(options.outputSize, QImage::Format_ARGB32_Premultiplied);
            picture.fill(QColor(255, 0, number % 256));
            return picture;
        }
        log->fullSizeMovingLayers += MovedLayersAllowed::Active();
        QMutexLocker locker(&log->mutex);
        log->designs.append(design);
        const int number = ++log->started;
        locker.unlock();
        if (log->hold)
            log->gate.acquire();
        // As the renderer does, so that a helper's refusal shows.
        if (design.iconVector)
            design.iconVector->Draw(QSize(8, 8), QTransform());
        QImage picture(int(design.canvasWidth), int(design.canvasHeight),
                       QImage::Format_ARGB32_Premultiplied);
        QColor fill = design.gradientStartColor.toQColor();
        fill.setBlue(number % 256);
        picture.fill(design.transparentBackground ? QColor(Qt::transparent) : fill);
        return picture;
    };
}

// The buttons of a question, for ScriptedPrompter::answers.
enum Answer { kYes = 0, kNo = 1 };
enum UnsavedAnswer { kSave = 0, kDontSave = 1, kCancel = 2 };
const QStringList kUnsavedButtons{"Save", "Don't Save", "Cancel"};
const QString kReplaceQuestion =
    QStringLiteral("Are you sure you want to replace the current image?");
const QString kLoadFailure = QStringLiteral("The image could not be loaded.");

inline int RenderNumber(const QImage& picture, int x = 0, int y = 0) {
    return qBlue(picture.pixel(x, y));
}

using TestImages::WriteFile;

// Settings and recovery files of this test run's own, apart from the user's and other builds'.
inline void UseOwnSettings() {
    static const QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    if (!QSettings("Sigilon", "Sigilon").fileName().startsWith(folder.path()))
        qFatal("the settings would be written outside the test's own folder");
    qputenv("XDG_STATE_HOME", folder.path().toLocal8Bit());
}

// The recovery files in the editors' state folder, by name.
inline QStringList RecoveryFiles() {
    return QDir(RecoveryFolder::StandardPath()).entryList({"*.recovery"}, QDir::Files);
}

// What the state folder holds but the editors' lock files: records and image copies.
inline QStringList StateFiles() {
    QStringList files = QDir(RecoveryFolder::StandardPath()).entryList(QDir::Files | QDir::Hidden);
    return files.filter(QRegularExpression("^(?!.*\\.lock$)"));
}

// The record of the one recovery file there is.
inline std::optional<RecoveryRecord> OnlyRecoveryRecord() {
    const QStringList files = RecoveryFiles();
    if (files.size() != 1)
        return std::nullopt;
    return RecoveryFolder::ReadRecord(QDir(RecoveryFolder::StandardPath()).filePath(files[0]));
}

// The editor window with scripted answers and a logged renderer; unless its renders are held,
// the first preview is done when it is constructed.
struct EditorFixture {
    ScriptedPrompter prompter;
    StartupProfilePrompter startup{prompter};
    MemoryRatePreference ratePreference;
    std::shared_ptr<RenderLog> log = std::make_shared<RenderLog>();
    std::unique_ptr<MainWindow> window;

    explicit EditorFixture(bool holdRenders = false) {
        UseOwnSettings();
        log->hold = holdRenders;
        window = std::make_unique<MainWindow>(startup, ratePreference, LoggingRenderer(log));
        window->show();
        if (!holdRenders && !WaitUntilIdle())
            QTest::qFail("the first preview never finished", __FILE__, __LINE__);
    }
    ~EditorFixture() {
        // No worker may outlive the test's objects.
        ReleaseRenders();
        log->holdInterims = false;
        log->interimGate.release(100);
        window.reset();
        QThreadPool::globalInstance()->waitForDone();
    }

    // Every section of the settings panel open, as a user reaching all its controls has it.
    void OpenAllSections() const {
        for (CollapsibleSection* section : window->findChildren<CollapsibleSection*>())
            section->setOpen(true);
        QCoreApplication::processEvents(); // the panel takes the new height
    }
    ViewController* controller() const { return window->controller(); }
    const EditorControls& controls() const { return controller()->controls(); }
    const ViewController::MenuActions& menu() const { return controller()->menuActions(); }
    template <typename Widget> Widget* Find(const QString& name) const {
        return window->findChild<Widget*>(name);
    }
    bool WaitUntilIdle() const {
        return QTest::qWaitFor(
            [this] { return !controller()->updating() && !controller()->loadingIconImage(); },
            10000);
    }
    bool WaitForRenders(int count) const {
        return QTest::qWaitFor([this, count] { return log->started >= count; }, 10000);
    }
    int Renders() const { return log->started; }
    // Lets every held render and every later one run.
    void ReleaseRenders() const {
        log->hold = false;
        log->gate.release(100);
    }
    // Undo or redo from the Edit menu, and the preview that puts the state back.
    bool Undo() const {
        menu().undo->trigger();
        return WaitUntilIdle();
    }
    bool Redo() const {
        menu().redo->trigger();
        return WaitUntilIdle();
    }
    QString Title() const { return window->windowTitle(); }
    int HistorySize() const { return int(controller()->history().stateImagesPath().size()); }
    PreviewWall* Wall() const { return window->findChild<PreviewWall*>(); }
};

inline PreviewTileView* TileView(const PreviewWall* wall, const QString& caption) {
    for (PreviewTileView* view : wall->tileViews())
        if (view->tile().caption == caption)
            return view;
    return nullptr;
}

inline QImage TileImage(const PreviewWall* wall, const QString& caption) {
    const PreviewTileView* view = TileView(wall, caption);
    return view ? view->tile().image : QImage();
}

// The user's ways of changing a control.
namespace UserInput {

// Replaces the field's text by typing and, unless told otherwise, confirms it with Return.
inline void Type(QLineEdit* field, const QString& text, bool confirm = true) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
    if (confirm)
        QTest::keyClick(field, Qt::Key_Return);
}

// Near the left end, where the box is even when the row is wider than the label.
inline void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

inline void ClickStepper(Stepper* stepper, int direction) {
    for (QToolButton* arrow : stepper->findChildren<QToolButton*>()) {
        if (arrow->arrowType() == (direction > 0 ? Qt::UpArrow : Qt::DownArrow))
            QTest::mouseClick(arrow, Qt::LeftButton);
    }
}

// Notches of the wheel over the widget's middle (negative: towards the user).
inline void Wheel(QWidget* target, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

inline void Step(FloatSlider* slider) {
    slider->slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

// Presses at `from` and drags by `by` in `moves` equal movements with `keys` held, calling
// `betweenMoves` after each movement and `beforeRelease` before letting go.
inline void Drag(
    QWidget* target, QPointF from, QPointF by, int moves, Qt::KeyboardModifiers keys = {},
    const std::function<void()>& betweenMoves = [] {},
    const std::function<void()>& beforeRelease = [] {}) {
    QTest::mousePress(target, Qt::LeftButton, keys, from.toPoint());
    for (int move = 1; move <= moves; ++move) {
        const QPointF at = from + by * move / moves;
        QMouseEvent event(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton,
                          Qt::LeftButton, keys);
        QApplication::sendEvent(target, &event);
        betweenMoves();
    }
    beforeRelease();
    QTest::mouseRelease(target, Qt::LeftButton, keys, (from + by).toPoint());
}

// The same, rightwards from the handle of a slider at its minimum.
inline void Drag(FloatSlider* slider, int moves, int distance,
                 const std::function<void()>& betweenMoves) {
    QSlider* bar = slider->slider();
    const int handle = bar->style()->pixelMetric(QStyle::PM_SliderLength, nullptr, bar);
    Drag(bar, QPointF(handle / 2 + 1, bar->height() / 2), QPointF(moves * distance, 0), moves, {},
         betweenMoves);
}

} // namespace UserInput
