// The files the benchmarks run on, generated into a temporary folder.
#ifndef BENCH_FILES_H
#define BENCH_FILES_H

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// The kinds of file each frame is written as, by Qt's names of their formats.
extern const char* const frameFileKinds[3];

// How the rows name a frame: "1920x1080 colour PNG".
QString frameLabel(const QSize& size, bool colour, const char* kind);

// A frame's file name without suffix, also its folder's: "1920x1080-png".
QString frameBaseName(const QSize& size, const char* kind);

// "png" for "PNG".
QString suffixOf(const char* kind);

// A deterministic image with smooth areas and noise, so that PNG and JPEG
// compress it about as they compress a camera picture.
QImage patternImage(int width, int height, bool colour);

// Writes `image` as `path` in `format` ("PNG", "JPEG" at quality 90, "BMP"); false on failure.
bool writeImage(const QImage& image, const QString& path, const char* format);

// `count` names in `folder` for the one file `source` (hard links, copies
// where links fail); returns their paths.
QStringList replicate(const QString& source, const QString& folder, int count);

// A tree of `count` small files with image suffixes in mixed letter case,
// `perFolder` to a subfolder. Their content does not decode.
bool createDummyTree(const QString& root, int count, int perFolder);

#endif
