// A frame drawn as the host's buffer holds it: fitted to the window, or
// zoomed in powers of two, with pixels as sharp squares beyond 100 %.
#ifndef FRAME_VIEW_H
#define FRAME_VIEW_H

#include <QAbstractScrollArea>
#include <QImage>

class FrameView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit FrameView(QWidget* parent = nullptr);

    // Painting is coalesced, so frames that come faster than the screen
    // shows them are skipped, never queued.
    void setFrame(const QImage& frame);
    // Shown instead of a frame while not empty, e.g. why a folder cannot be opened.
    void setMessage(const QString& text);
    QString message() const { return m_message; }

    double zoom() const { return m_zoom; }
    bool fitsWindow() const { return m_fit; }
    // Where the frame is drawn, in viewport coordinates.
    QRect frameRect() const;
    // Drawn around the frame, and under its transparent pixels.
    static QColor background();

public slots:
    void zoomIn();
    void zoomOut();
    void showActualSize();
    void fitToWindow();

signals:
    // The frame pixel under the mouse, or (-1, -1) when there is none.
    void pixelHovered(const QPoint& pixel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Keeps the frame point under anchor (viewport coordinates) in place.
    void setZoom(double zoom, const QPoint& anchor);
    void fitZoom();
    void updateScrollBars();
    void reportHoveredPixel();
    QPoint pixelAt(const QPoint& position) const;

    QImage m_frame;
    QString m_message;
    double m_zoom = 1.0;
    bool m_fit = true;
    QPoint m_mouse{-1, -1};  // in the viewport; (-1, -1) while outside
};

#endif
