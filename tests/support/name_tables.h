// The trees of file names whose frame order the tests hold the module and
// the programs to, against the plain sort of frame_order.h.
#ifndef NAME_TABLES_H
#define NAME_TABLES_H

#include <QList>
#include <QString>
#include <QStringList>

// Names in the frame order that no hash, lower-case, byte, natural or locale order gives.
QStringList nameOrderTable();

struct NameTree {
    QString label;
    QStringList files;  // relative paths, images by name or not
};

// Trees whose listing the module's shortcuts must not change: many names in
// several folders, hidden entries and look-alikes, deep nesting, thousands
// in many folders, hundreds whose first units tie, names past Latin-1.
QList<NameTree> equivalenceTrees();

#endif
