#pragma once

#include <QImage>
#include <QVariantMap>
#include <QWidget>

class CanvasTool;
class Prompter;
class QScrollBar;

// The preview: the picture on a checkerboard so that transparency shows, fitted into the view
// (the default) or zoomed from 25 % to 800 % of its pixels, panned with the scroll bars, the
// wheel or the middle button when larger than the view; Ctrl + wheel zooms about the pointer.
// An image file dropped on it is announced with ImageViewDragPerformed, whose user info holds
// the file under "path".
class CustomImageView : public QWidget {
    Q_OBJECT

public:
    static constexpr double kMinimumZoom = 0.25;
    static constexpr double kMaximumZoom = 8.0;

    // The prompter asks before a drop replaces an image; it must outlive the view.
    explicit CustomImageView(Prompter& prompter, QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    // The picture, and the size of the canvas it shows: a quick preview may be smaller.
    void setImage(const QImage& image, const QSize& canvasSize = {});
    QSize canvasSize() const { return m_canvasSize; }

    // The size in device pixels at which a picture of the given size is shown when fitted.
    QSize PicturePixels(const QSize& picture) const;

    // Shown size over canvas size in device pixels; fitting() while it follows the view.
    double zoom() const;
    bool fitting() const { return m_zoom == 0; }
    void setZoom(double zoom); // clamped to the range above
    void ZoomToFit();
    void ZoomIn();
    void ZoomOut();

    // The canvas pixel shown at a point of the view; (-1, -1) off the picture.
    QPoint PixelAt(const QPoint& point) const;

    // Where the picture is shown, in the view's pixels.
    QRectF pictureRect() const { return PictureRect(); }

    // Takes the left button's drags, the keys and the painting over the picture; it must
    // outlive the view, or be unset first.
    void setTool(CanvasTool* tool);

    // A line for the status bar about what is being done on the canvas; empty when nothing is.
    void ShowReadout(const QString& text) { emit readoutChanged(text); }

    QSize sizeHint() const override { return {540, 540}; }
    QSize minimumSizeHint() const override { return {240, 240}; }

signals:
    void ImageViewDragPerformed(const QVariantMap& userInfo);
    void zoomChanged();
    void pointerPixelChanged(const QPoint& pixel);
    void readoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    QSize FittedSize(const QSize& picture) const;
    QSizeF ShownSize() const;
    QRectF PictureRect() const;
    QSize ViewArea() const;
    void ZoomAbout(double zoom, const QPointF& anchor);
    void PanTo(QPointF pan);
    void UpdateScrollBars();

    QImage m_image;
    QImage m_shown; // m_image scaled for the fitted size, made when first painted
    QSize m_canvasSize;
    double m_zoom = 0; // 0: fit
    QPointF m_pan;     // the shown picture's point at the view's top left, when larger
    QPoint m_panFrom;  // where a middle-button drag started, while it lasts
    QPointF m_panStart;
    bool m_panning = false;
    CanvasTool* m_tool = nullptr;
    bool m_toolDragging = false;
    QScrollBar* m_horizontalBar;
    QScrollBar* m_verticalBar;
};
