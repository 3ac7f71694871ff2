// The camera's file-name patterns, all of the form "*.SUFFIX".
#ifndef NAME_FILTERS_H
#define NAME_FILTERS_H

#include <QChar>
#include <QStringList>

// Whether the name of `length` units at `name` ends in one of the patterns'
// suffixes, in any letter case (units compared case-folded, as QString's
// case-insensitive comparison does).
bool matchesNameFilters(const QChar* name, int length, const QStringList& nameFilters);

#endif
