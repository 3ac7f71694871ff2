#include "gui_test_main.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QtTest>

#ifdef KXCAM_LEAK_CHECKS
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// The folders Qt looks for platform plug-ins in, without asking Qt to load
// one: loading a missing one aborts the process.
QStringList platformFolders(const char* program)
{
    QStringList folders;
    const QString fromEnvironment = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    if (!fromEnvironment.isEmpty())
        folders << fromEnvironment;
    for (const QString& path : QCoreApplication::libraryPaths())
        folders << path + QStringLiteral("/platforms");
    folders << QFileInfo(QString::fromLocal8Bit(program)).absolutePath() + QStringLiteral("/platforms");
    return folders;
}

bool platformPluginExists(const QString& platform, const char* program)
{
    const QStringList pattern{QStringLiteral("*%1*").arg(platform)};
    for (const QString& folder : platformFolders(program))
        if (!QDir(folder).entryList(pattern, QDir::Files).isEmpty())
            return true;
    return false;
}

}  // namespace

int runGuiTest(QObject& test, int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM").section(QLatin1Char(':'), 0, 0);
    if (!platformPluginExists(platform, argv[0])) {
        QCoreApplication application(argc, argv);
        return QTest::qExec(&test, argc, argv);
    }
    // Qt 5.15's offscreen plug-in never frees the screen and cursor it makes
    // while the application starts; the leak checker overlooks just those.
#ifdef KXCAM_LEAK_CHECKS
    __lsan_disable();
#endif
    QApplication application(argc, argv);
#ifdef KXCAM_LEAK_CHECKS
    __lsan_enable();
#endif
    return QTest::qExec(&test, argc, argv);
}

bool guiAvailable()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}
