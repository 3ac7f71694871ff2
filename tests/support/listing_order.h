// The frame order the camera promises, written out plainly: names compared
// level by level, each by its UTF-16 units upper-cased one by one, as Windows
// lists an NTFS folder.
#ifndef LISTING_ORDER_H
#define LISTING_ORDER_H

#include <QString>
#include <QStringList>

// paths, all below folder, in that order.
QStringList inListingOrder(QStringList paths, const QString& folder);

#endif
