// The histogram of the frame shown, one colour per channel over 256 bins, on
// a logarithmic scale up to the tallest bin.
#ifndef HISTOGRAM_VIEW_H
#define HISTOGRAM_VIEW_H

#include "frame_histogram.h"

#include <QWidget>

class HistogramView : public QWidget {
    Q_OBJECT

public:
    explicit HistogramView(QWidget* parent = nullptr);

    // Counted when painted, so neither a hidden view nor a frame skipped on
    // screen costs a count.
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
};

#endif
