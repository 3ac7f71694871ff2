// The histogram of the frame shown, one colour per channel over 256 bins, on
// a logarithmic scale up to the tallest bin.
#ifndef HISTOGRAM_VIEW_H
#define HISTOGRAM_VIEW_H

#include "frame_histogram.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class HistogramView : public QWidget {
    Q_OBJECT

public:
    explicit HistogramView(QWidget* parent = nullptr);

    // Counted when painted, so a hidden view costs nothing. While frames
    // stream, the latest is counted four times a second at most, and never
    // more than a tenth of the time: counting a 5 MP colour frame takes some
    // 30 ms, as long as the rest of a trigger.
    void setFrame(const QImage& frame, int pixelFormat);
    const QVector<HistogramChannel>& channels();

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
    int m_pixelFormat = 0;
    bool m_counted = true;
    QVector<HistogramChannel> m_channels;
    QElapsedTimer m_lastCount;
    qint64 m_countInterval = 0;  // milliseconds from one count to the next
    QTimer m_repaintTimer;
};

#endif
