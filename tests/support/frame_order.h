// The frame order as the tests know it, written the plain way, apart from the
// module's sort: each UTF-16 unit upper-cased on its own and compared unit by
// unit, a name that begins another first, names equal but for letter case by
// their units as they are, and a subfolder's files where its name falls
// among its siblings.
#ifndef FRAME_ORDER_H
#define FRAME_ORDER_H

#include <QString>
#include <QStringList>

// Whether the file at relative path a plays before the one at b.
bool pathPlaysBefore(const QString& a, const QString& b);

// paths, all below folder, in that order.
QStringList inFrameOrder(QStringList paths, const QString& folder);

// The image files of a name-filtered directory walk of folder, links and
// hidden entries left out, their absolute paths in that order.
QStringList imageFilesInFrameOrder(const QString& folder);

#endif
