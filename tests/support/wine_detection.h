// Whether the process runs under Wine rather than on Windows itself.
#ifndef WINE_DETECTION_H
#define WINE_DETECTION_H

bool runsUnderWine();

#endif
