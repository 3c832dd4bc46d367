#pragma once

#include <QImage>
#include <QWidget>

// The preview: the picture scaled to fit a square area, on a checkerboard so that
// transparency shows.
class CustomImageView : public QWidget {
    Q_OBJECT

public:
    explicit CustomImageView(QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);

    QSize sizeHint() const override { return {540, 540}; }
    QSize minimumSizeHint() const override { return {240, 240}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect PictureRect() const;

    QImage m_image;
    QImage m_shown; // m_image scaled for the current size, made when first painted
};
