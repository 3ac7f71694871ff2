// A frame drawn as the host's buffer holds it: fitted to the window, or
// zoomed in powers of two, with pixels as sharp squares beyond 100 %.
#ifndef FRAME_VIEW_H
#define FRAME_VIEW_H

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

class FrameView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit FrameView(QWidget* parent = nullptr);

    // Painting is coalesced, so frames that come faster than the screen
    // shows them are skipped, never queued.
    void setFrame(const QImage& frame);
    // A frame without an image to draw: its place is kept, so the pixel under
    // the mouse is still named, and the message says why it is empty.
    void setBlankFrame(const QSize& size);
    // While on, a new frame is painted no sooner after the last paint ended
    // than that paint took: painting takes at most half the time, and triggers
    // paced by a timer keep their rate while frames are skipped on screen.
    void setFrameSkipping(bool on) { m_frameSkipping = on; }
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
    void zoomChanged();

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
    void paintFrame();
    void fitZoom();
    void updateScrollBars();
    void reportHoveredPixel();
    QPoint pixelAt(const QPoint& position) const;
    void scheduleRepaint();

    QImage m_frame;
    QSize m_frameSize;  // the frame's, also when it has no image
    QString m_message;
    double m_zoom = 1.0;
    bool m_fit = true;
    QPoint m_mouse{-1, -1};  // in the viewport; (-1, -1) while outside
    bool m_frameSkipping = false;
    QElapsedTimer m_clock;
    qint64 m_nextPaint = 0;  // milliseconds on m_clock
    QTimer m_repaintTimer;
};

#endif
