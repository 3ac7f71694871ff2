// How often each value occurs in a frame, channel by channel, as the host's
// bytes hold them.
#ifndef FRAME_HISTOGRAM_H
#define FRAME_HISTOGRAM_H

#include <QImage>
#include <QString>
#include <QVector>

struct HistogramChannel {
    QString name;         // "grey", "R", "G" or "B"
    QVector<int> counts;  // 256 bins
};

// GRAY8 gives one channel of its bytes (palette indices for a palette file),
// GRAY16 one of its values' high bytes; RGB24, RGB32 and RGB48 (ARGB32
// pixels, alpha left out) give R, G and B; None gives none.
QVector<HistogramChannel> frameHistogram(const QImage& frame, int pixelFormat);

#endif
