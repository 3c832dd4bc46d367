#pragma once

#include <QImage>
#include <QVariantMap>
#include <QWidget>

class Prompter;

// The preview: the picture scaled to fit a square area, on a checkerboard so that
// transparency shows. An image file dropped on it is announced with ImageViewDragPerformed,
// whose user info holds the file under "path".
class CustomImageView : public QWidget {
    Q_OBJECT

public:
    // The prompter asks before a drop replaces an image; it must outlive the view.
    explicit CustomImageView(Prompter& prompter, QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);

    // The size in device pixels at which a picture of the given size is shown.
    QSize PicturePixels(const QSize& picture) const;

    QSize sizeHint() const override { return {540, 540}; }
    QSize minimumSizeHint() const override { return {240, 240}; }

signals:
    void ImageViewDragPerformed(const QVariantMap& userInfo);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize FittedSize(const QSize& picture) const;
    QRect PictureRect() const;

    QImage m_image;
    QImage m_shown; // m_image scaled for the current size, made when first painted
};
