// The test patterns of the bundled sample set, each in the Qt image format
// its file should decode to.
#ifndef SAMPLE_PATTERNS_H
#define SAMPLE_PATTERNS_H

#include <QImage>

// Eight vertical bars: white, yellow, cyan, green, magenta, red, blue, black.
QImage colourBars(int width, int height);
// Grey levels rising from black on the left to white on the right (Grayscale8).
QImage greyRamp(int width, int height);
// A palette image (Indexed8) of squares; the palette colours are far from the
// index values, so a host that reads the indices as grey sees other tones.
QImage paletteCheckerboard(int width, int height, int square);
// A colour gradient fading from opaque to transparent (ARGB32).
QImage alphaGradient(int width, int height);
// A large frame number on a background whose hue changes with the number.
QImage numberedFrame(int width, int height, int number);

#endif
