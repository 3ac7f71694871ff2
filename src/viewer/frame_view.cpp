#include "frame_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace {

constexpr double smallestZoom = 1.0 / 64.0;
constexpr double largestZoom = 64.0;

// The next power of two above or below zoom, so that pixels stay equal squares.
double nextZoomStep(double zoom, int direction)
{
    const double exponent = std::log2(zoom);
    const double whole = direction > 0 ? std::floor(exponent + 1e-9) + 1.0 : std::ceil(exponent - 1e-9) - 1.0;
    return qBound(smallestZoom, std::pow(2.0, whole), largestZoom);
}

}  // namespace

FrameView::FrameView(QWidget* parent) : QAbstractScrollArea(parent)
{
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_clock.start();
    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, viewport(), QOverload<>::of(&QWidget::update));
}

QColor FrameView::background()
{
    return QColor(48, 48, 48);
}

void FrameView::setFrame(const QImage& frame)
{
    const bool resized = frame.size() != m_frameSize;
    m_frame = frame;
    m_frameSize = frame.size();
    if (resized) {
        if (m_fit)
            fitZoom();
        updateScrollBars();
    }
    reportHoveredPixel();
    scheduleRepaint();
}

void FrameView::setBlankFrame(const QSize& size)
{
    m_frame = QImage();
    m_frameSize = size;
    if (m_fit)
        fitZoom();
    updateScrollBars();
    reportHoveredPixel();
    viewport()->update();
}

void FrameView::setMessage(const QString& text)
{
    // Set with every frame: repainting for an unchanged text would defeat frame skipping.
    if (text == m_message)
        return;
    m_message = text;
    viewport()->update();
}

QRect FrameView::frameRect() const
{
    const QSize size(qRound(m_frameSize.width() * m_zoom), qRound(m_frameSize.height() * m_zoom));
    const QSize room = viewport()->size();
    const int x = size.width() < room.width() ? (room.width() - size.width()) / 2 : -horizontalScrollBar()->value();
    const int y = size.height() < room.height() ? (room.height() - size.height()) / 2 : -verticalScrollBar()->value();
    return QRect(QPoint(x, y), size);
}

void FrameView::zoomIn()
{
    setZoom(nextZoomStep(m_zoom, 1), viewport()->rect().center());
}

void FrameView::zoomOut()
{
    setZoom(nextZoomStep(m_zoom, -1), viewport()->rect().center());
}

void FrameView::showActualSize()
{
    setZoom(1.0, viewport()->rect().center());
}

void FrameView::fitToWindow()
{
    m_fit = true;
    fitZoom();
    updateScrollBars();
    reportHoveredPixel();
    viewport()->update();
}

void FrameView::paintEvent(QPaintEvent*)
{
    QElapsedTimer cost;
    cost.start();
    paintFrame();
    m_nextPaint = m_clock.elapsed() + cost.elapsed();
}

void FrameView::paintFrame()
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), background());
    if (!m_message.isEmpty()) {
        if (m_frame.isNull() && !m_frameSize.isEmpty()) {
            painter.setPen(Qt::gray);
            painter.drawRect(frameRect().adjusted(0, 0, -1, -1));
        }
        painter.setPen(Qt::white);
        painter.drawText(viewport()->rect().adjusted(16, 16, -16, -16), Qt::AlignCenter | Qt::TextWordWrap, m_message);
        return;
    }
    const QRect target = frameRect();
    const QRect visible = target.intersected(viewport()->rect());
    if (m_frame.isNull() || visible.isEmpty())
        return;
    // Only the whole source pixels on screen are drawn: a zoomed 5 MP frame
    // would otherwise be scaled in full at every paint.
    const int left = int(std::floor((visible.left() - target.left()) / m_zoom));
    const int top = int(std::floor((visible.top() - target.top()) / m_zoom));
    const int right = qMin(m_frame.width(), int(std::ceil((visible.right() + 1 - target.left()) / m_zoom)));
    const int bottom = qMin(m_frame.height(), int(std::ceil((visible.bottom() + 1 - target.top()) / m_zoom)));
    const QRect source(left, top, right - left, bottom - top);
    const QRectF drawn(target.left() + left * m_zoom, target.top() + top * m_zoom, source.width() * m_zoom,
                       source.height() * m_zoom);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 1.0);
    painter.drawImage(drawn, m_frame, source);
}

void FrameView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (m_fit)
        fitZoom();
    updateScrollBars();
}

void FrameView::wheelEvent(QWheelEvent* event)
{
    const int direction = event->angleDelta().y();
    if (direction != 0)
        setZoom(nextZoomStep(m_zoom, direction), event->position().toPoint());
    event->accept();
}

void FrameView::mouseMoveEvent(QMouseEvent* event)
{
    m_mouse = event->pos();
    reportHoveredPixel();
}

bool FrameView::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::Leave) {
        m_mouse = QPoint(-1, -1);
        reportHoveredPixel();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void FrameView::scrollContentsBy(int, int)
{
    reportHoveredPixel();
    viewport()->update();
}

void FrameView::setZoom(double zoom, const QPoint& anchor)
{
    const QRect before = frameRect();
    const QPointF anchored((anchor.x() - before.left()) / m_zoom, (anchor.y() - before.top()) / m_zoom);
    m_fit = false;
    m_zoom = zoom;
    updateScrollBars();
    horizontalScrollBar()->setValue(qRound(anchored.x() * m_zoom) - anchor.x());
    verticalScrollBar()->setValue(qRound(anchored.y() * m_zoom) - anchor.y());
    reportHoveredPixel();
    viewport()->update();
    emit zoomChanged();
}

void FrameView::fitZoom()
{
    if (m_frameSize.isEmpty())
        return;
    const QSize room = viewport()->size();
    const double zoom = qBound(smallestZoom,
                               qMin(double(room.width()) / m_frameSize.width(),
                                    double(room.height()) / m_frameSize.height()),
                               largestZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    emit zoomChanged();
}

void FrameView::updateScrollBars()
{
    const QSize room = viewport()->size();
    const QSize size(qRound(m_frameSize.width() * m_zoom), qRound(m_frameSize.height() * m_zoom));
    horizontalScrollBar()->setRange(0, qMax(0, size.width() - room.width()));
    horizontalScrollBar()->setPageStep(room.width());
    verticalScrollBar()->setRange(0, qMax(0, size.height() - room.height()));
    verticalScrollBar()->setPageStep(room.height());
}

void FrameView::scheduleRepaint()
{
    const qint64 wait = m_nextPaint - m_clock.elapsed();
    if (!m_frameSkipping || wait <= 0)
        viewport()->update();
    else if (!m_repaintTimer.isActive())
        m_repaintTimer.start(int(wait));
}

void FrameView::reportHoveredPixel()
{
    emit pixelHovered(pixelAt(m_mouse));
}

QPoint FrameView::pixelAt(const QPoint& position) const
{
    const QRect target = frameRect();
    if (m_frameSize.isEmpty() || !target.contains(position))
        return QPoint(-1, -1);
    return QPoint(qMin(m_frameSize.width() - 1, int((position.x() - target.left()) / m_zoom)),
                  qMin(m_frameSize.height() - 1, int((position.y() - target.top()) / m_zoom)));
}
