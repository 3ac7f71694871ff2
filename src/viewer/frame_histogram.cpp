#include "frame_histogram.h"

#include "kxcam_pixel_format.h"

namespace {

constexpr int bins = 256;

HistogramChannel channel(const char* name)
{
    return HistogramChannel{QString::fromLatin1(name), QVector<int>(bins, 0)};
}

QVector<HistogramChannel> greyHistogram(const QImage& frame)
{
    HistogramChannel grey = channel("grey");
    int* counts = grey.counts.data();
    for (int y = 0; y < frame.height(); ++y) {
        const uchar* row = frame.constScanLine(y);
        for (int x = 0; x < frame.width(); ++x)
            ++counts[row[x]];
    }
    return {grey};
}

QVector<HistogramChannel> grey16Histogram(const QImage& frame)
{
    HistogramChannel grey = channel("grey");
    int* counts = grey.counts.data();
    for (int y = 0; y < frame.height(); ++y) {
        const auto* row = reinterpret_cast<const quint16*>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            ++counts[row[x] >> 8];
    }
    return {grey};
}

QVector<HistogramChannel> rgb24Histogram(const QImage& frame)
{
    QVector<HistogramChannel> channels{channel("R"), channel("G"), channel("B")};
    int* red = channels[0].counts.data();
    int* green = channels[1].counts.data();
    int* blue = channels[2].counts.data();
    for (int y = 0; y < frame.height(); ++y) {
        const uchar* pixel = frame.constScanLine(y);
        for (int x = 0; x < frame.width(); ++x, pixel += 3) {
            ++red[pixel[0]];
            ++green[pixel[1]];
            ++blue[pixel[2]];
        }
    }
    return channels;
}

QVector<HistogramChannel> rgb32Histogram(const QImage& frame)
{
    QVector<HistogramChannel> channels{channel("R"), channel("G"), channel("B")};
    int* red = channels[0].counts.data();
    int* green = channels[1].counts.data();
    int* blue = channels[2].counts.data();
    for (int y = 0; y < frame.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            ++red[qRed(row[x])];
            ++green[qGreen(row[x])];
            ++blue[qBlue(row[x])];
        }
    }
    return channels;
}

}  // namespace

QVector<HistogramChannel> frameHistogram(const QImage& frame, int pixelFormat)
{
    if (frame.isNull())
        return {};
    switch (pixelFormat) {
    case PIXEL_FORMAT_GRAY8: return greyHistogram(frame);
    case PIXEL_FORMAT_RGB24: return rgb24Histogram(frame);
    case PIXEL_FORMAT_RGB32:
    case PIXEL_FORMAT_RGB48: return rgb32Histogram(frame);
    case PIXEL_FORMAT_GRAY16: return grey16Histogram(frame);
    default: return {};
    }
}
