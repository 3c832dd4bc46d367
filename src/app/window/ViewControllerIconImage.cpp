// The controller's icon image: loaded in the background from a path, decoded from dropped
// bytes, chosen in the open panel, cleared.
#include "app/window/ViewController.h"

#include "app/base/FailureMessage.h"
#include "app/canvas/IconImageDropTarget.h"
#include "app/canvas/IconImageLoading.h"
#include "app/canvas/InfoProvider.h"
#include "app/canvas/ProgressIndicator.h"
#include "app/inspector/CustomTextField.h"
#include "export/Prompter.h"
#include "imageio/IconImageFile.h"
#include "imageio/SvgImage.h"
#include "symbols/IconSource.h"

#include <QLineEdit>
#include <utility>

bool ViewController::loadingIconImage() const {
    return m_iconLoading->busy();
}

void ViewController::LoadIconImage(const QString& path, std::function<void(bool loaded)> done) {
    m_controls.progressIndicator->show();
    m_controls.progressIndicator->startAnimation();
    m_iconLoading->Start(path,
                         [this, done = std::move(done)](const IconImageLoading::Result& result) {
                             IconImageLoaded(result);
                             if (done)
                                 done(!result.image.isNull());
                         });
}

void ViewController::IconImageLoaded(const IconImageLoading::Result& result) {
    if (!m_updating) {
        m_controls.progressIndicator->stopAnimation();
        m_controls.progressIndicator->hide();
    }
    const QString& path = result.source;
    if (result.image.isNull()) {
        m_prompter.Alert(
            IconSource::NamesSymbol(path)
                ? result.problem
                : FailureMessage::Compose(result.problem, path, FailureMessage::ReadProblem(path)));
        return;
    }
    ShowIconImage(result.image, result.vector, path);
}

bool ViewController::LoadIconImage(const QByteArray& bytes, const QString& path) {
    std::shared_ptr<const SvgImage> vector;
    QImage image = ::DecodeIconImage(bytes, &vector);
    if (image.isNull()) {
        m_prompter.Alert(FailureMessage::Compose(QStringLiteral("The image could not be loaded."),
                                                 path, FailureMessage::DamagedContent()));
        return false;
    }
    ShowIconImage(std::move(image), std::move(vector), path);
    return true;
}

void ViewController::ShowIconImage(QImage image, std::shared_ptr<const SvgImage> vector,
                                   const QString& path) {
    m_iconImage = std::move(image);
    m_iconVector = std::move(vector);
    m_toldDrawingRefused = false;
    m_controls.textFieldIconImage->setText(path);
    m_infoProvider.isIconAdded = true;
    UpdateIconPreview();
}

void ViewController::OnSelectIconImage() {
    const std::optional<QString> path =
        m_prompter.ChooseOpenFile(IconImageDropTarget::AcceptedTypes());
    if (!path)
        return;
    if (path->isEmpty()) {
        m_prompter.Alert(QStringLiteral("The image could not be loaded."));
        return;
    }
    LoadIconImage(*path);
}

void ViewController::OnClearIconImage() {
    m_iconImage = QImage();
    m_iconVector.reset();
    m_controls.textFieldIconImage->clear();
    UpdateIconPreview();
}

void ViewController::ImageViewDragPerformed(const QVariantMap& userInfo) {
    LoadDroppedIconImage(userInfo);
}

void ViewController::TextFieldDragPerformed(const QVariantMap& userInfo) {
    LoadDroppedIconImage(userInfo);
}

void ViewController::LoadDroppedIconImage(const QVariantMap& userInfo) {
    const QVariant path = userInfo.value(QStringLiteral("path"));
    if (path.typeId() != QMetaType::QString) {
        m_prompter.Alert(QStringLiteral("The image could not be loaded."));
        return;
    }
    LoadIconImage(path.toString());
}
