// What the host programs say when they cannot go on, in the same words for
// the same failure, and the one way they say it: a line on stderr that
// starts with the program's name ("kxcam-view: ...").
#ifndef PROGRAM_FAILURE_H
#define PROGRAM_FAILURE_H

#include <QByteArray>
#include <QString>

QString cameraNotCreated();
// Says so when the folder given is a file.
QString folderNotOpened(const QString& folder);
QString acquisitionNotStarted(const QString& folder);

// "kxcam-play: text", the application's name first, without a line end.
QByteArray programLine(const QString& text);
// programLine(text) on stderr.
void reportFailure(const QString& text);
// A bad command line: its reason and where help is, on stderr; exitBadOptions.
int reportBadOptions(const QString& reason);

#endif
