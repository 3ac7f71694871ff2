#include "program_failure.h"

#include "exit_status.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

QString cameraNotCreated()
{
    return QStringLiteral("the module refused to create a camera");
}

QString folderNotOpened(const QString& folder)
{
    return QStringLiteral("the camera cannot open the folder %1%2")
        .arg(folder, QLatin1String(QFileInfo(folder).isFile() ? ": it is a file, not a folder" : ""));
}

QString acquisitionNotStarted(const QString& folder)
{
    return QStringLiteral("the camera cannot start acquisition on %1").arg(folder);
}

QByteArray programLine(const QString& text)
{
    return QCoreApplication::applicationName().toLocal8Bit() + ": " + text.toLocal8Bit();
}

void reportFailure(const QString& text)
{
    std::fprintf(stderr, "%s\n", programLine(text).constData());
    std::fflush(stderr);
}

int reportBadOptions(const QString& reason)
{
    reportFailure(reason);
    std::fprintf(stderr, "Try '%s --help'.\n", qPrintable(QCoreApplication::applicationName()));
    return exitBadOptions;
}
