#include "histogram_view.h"

#include "frame_view.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 shortestCountInterval = 250;
constexpr qint64 countIntervalPerCountCost = 10;

QColor channelColour(const QString& name)
{
    if (name == QLatin1String("R"))
        return QColor(235, 70, 70, 200);
    if (name == QLatin1String("G"))
        return QColor(70, 210, 70, 200);
    if (name == QLatin1String("B"))
        return QColor(80, 120, 255, 200);
    return QColor(210, 210, 210, 200);
}

}  // namespace

HistogramView::HistogramView(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_repaintTimer.setSingleShot(true);
    connect(&m_repaintTimer, &QTimer::timeout, this, QOverload<>::of(&QWidget::update));
}

void HistogramView::setFrame(const QImage& frame, int pixelFormat)
{
    m_frame = frame;
    m_pixelFormat = pixelFormat;
    m_counted = false;
    const qint64 wait = m_lastCount.isValid() ? m_countInterval - m_lastCount.elapsed() : 0;
    if (wait <= 0)
        update();
    else if (!m_repaintTimer.isActive())
        m_repaintTimer.start(int(wait));
}

const QVector<HistogramChannel>& HistogramView::channels()
{
    if (!m_counted) {
        m_lastCount.start();
        m_channels = frameHistogram(m_frame, m_pixelFormat);
        m_counted = true;
        m_countInterval = qMax(shortestCountInterval, countIntervalPerCountCost * m_lastCount.elapsed());
    }
    return m_channels;
}

QSize HistogramView::sizeHint() const
{
    return QSize(280, 160);
}

void HistogramView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), FrameView::background());
    int tallest = 1;
    for (const HistogramChannel& channel : channels())
        tallest = std::max(tallest, *std::max_element(channel.counts.cbegin(), channel.counts.cend()));
    // Logarithmic, so that a few pixels show beside a background of millions.
    const double scale = std::log1p(double(tallest));
    const QRect area = rect().adjusted(6, 6, -6, -6);
    // Channels add up where they overlap: grey where R, G and B agree.
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    for (const HistogramChannel& channel : channels()) {
        const int bins = channel.counts.size();
        for (int bin = 0; bin < bins; ++bin) {
            // Whole pixels, so that neighbouring bins neither overlap nor leave gaps.
            const int height = qRound(area.height() * std::log1p(double(channel.counts.at(bin))) / scale);
            const int left = area.left() + area.width() * bin / bins;
            const int right = area.left() + area.width() * (bin + 1) / bins;
            painter.fillRect(QRect(left, area.bottom() + 1 - height, right - left, height),
                             channelColour(channel.name));
        }
    }
}
