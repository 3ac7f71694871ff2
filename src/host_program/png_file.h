// Writes an image as a PNG file, with the system's reason when it cannot.
#ifndef PNG_FILE_H
#define PNG_FILE_H

#include <QImage>
#include <QString>

// False with a one-line reason in error when the file cannot be written.
bool writePngFile(const QImage& image, const QString& path, QString& error);

// Whether a file can be written at path, found by creating (or opening for
// appending) it; a file that was not there before is removed again.
bool checkWritableFile(const QString& path, QString& error);

#endif
