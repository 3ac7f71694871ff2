#include "default_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString firstExisting(const QStringList& candidates)
{
    for (const QString& candidate : candidates)
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    return QDir::cleanPath(candidates.last());
}

}  // namespace

QString defaultModulePath()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    return firstExisting({
        programDir.filePath(QStringLiteral(KXCAM_BIN_TO_LIB "/" KXCAM_MODULE_FILE_NAME)),
        programDir.filePath(QStringLiteral(KXCAM_MODULE_FILE_NAME)),  // Windows installs DLLs beside the program
        QStringLiteral(KXCAM_BUILD_MODULE_PATH),
    });
}

QString defaultSampleFolder()
{
    const QDir programDir(QCoreApplication::applicationDirPath());
    return firstExisting({
        programDir.filePath(QStringLiteral(KXCAM_BIN_TO_DATA "/kxCam/samples")),
        QStringLiteral(KXCAM_BUILD_SAMPLES_DIR),
    });
}
