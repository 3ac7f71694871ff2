// What kxcam-play --check writes after the summary: the first differences
// from the manifest and their count, as text lines or one JSON object.
#ifndef CHECK_REPORT_H
#define CHECK_REPORT_H

#include "manifest_check.h"

#include <QByteArray>
#include <QString>

QByteArray checkLines(const ManifestCheck& check, const QString& manifest, bool json);

#endif
