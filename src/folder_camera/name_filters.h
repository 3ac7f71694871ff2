// The camera's file-name patterns, all of the form "*.SUFFIX".
#ifndef NAME_FILTERS_H
#define NAME_FILTERS_H

#include <QString>
#include <QStringList>

// Whether fileName ends in one of the patterns' suffixes, in any letter case.
bool matchesNameFilters(const QString& fileName, const QStringList& nameFilters);

#endif
