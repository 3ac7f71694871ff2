#include "player_options.h"

#include "default_paths.h"
#include "kxcam_camera.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

bool parsePixelFormat(const QString& text, int& code)
{
    for (auto it = pixelFormatNames.cbegin(); it != pixelFormatNames.cend(); ++it) {
        if (it.value().compare(text, Qt::CaseInsensitive) == 0) {
            code = it.key();
            return true;
        }
    }
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (!isNumber || !pixelFormatNames.contains(number))
        return false;
    code = number;
    return true;
}

QString pixelFormatList()
{
    QStringList names;
    for (auto it = pixelFormatNames.cbegin(); it != pixelFormatNames.cend(); ++it)
        names.append(QStringLiteral("%1 (%2)").arg(it.value()).arg(it.key()));
    return names.join(QStringLiteral(", "));
}

}  // namespace

bool parsePlayerOptions(const QCoreApplication& application, PlayerOptions& options, QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Plays a folder of BMP, JPEG and PNG files through the kxCam_100 camera module, as a host "
        "application sees them: one line per delivered frame, then a summary."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption loop(QStringLiteral("loop"), QStringLiteral("Wrap around at the end of the folder."));
    const QCommandLineOption preload(QStringLiteral("preload"),
                                     QStringLiteral("Let the camera decode every image once, when it opens."));
    const QCommandLineOption pixelFormat(
        QStringLiteral("pixel-format"),
        QStringLiteral("Pixel format written into the parameter record, by name or code: %1.").arg(pixelFormatList()),
        QStringLiteral("NAME|CODE"), QStringLiteral("None"));
    const QCommandLineOption frames(QStringLiteral("frames"), QStringLiteral("Stop after N triggers."),
                                    QStringLiteral("N"));
    const QCommandLineOption fps(QStringLiteral("fps"),
                                 QStringLiteral("Trigger RATE times a second (default: as fast as possible)."),
                                 QStringLiteral("RATE"));
    const QCommandLineOption module(QStringLiteral("module"),
                                    QStringLiteral("Camera module to load (default: %1).").arg(defaultModulePath()),
                                    QStringLiteral("PATH"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Write one JSON object per line."));
    const QCommandLineOption quiet(QStringLiteral("quiet"), QStringLiteral("Write the summary alone."));
    const QCommandLineOption save(QStringLiteral("save"),
                                  QStringLiteral("Write every delivered frame into DIR as a PNG made from its bytes."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption sheet(QStringLiteral("contact-sheet"),
                                   QStringLiteral("Write a grid of numbered thumbnails of the delivered frames."),
                                   QStringLiteral("FILE.png"));
    parser.addOptions({loop, preload, pixelFormat, frames, fps, module, json, quiet, save, sheet});
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("Image folder (default: the bundled sample set, %1).")
                                     .arg(defaultSampleFolder()),
                                 QStringLiteral("[FOLDER]"));

    if (!parser.parse(application.arguments())) {
        error = parser.errorText();
        return false;
    }
    if (parser.isSet(helpOption))
        parser.showHelp(0);
    if (parser.isSet(versionOption))
        parser.showVersion();

    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) {
        error = QStringLiteral("one folder at most, not %1").arg(positional.size());
        return false;
    }
    options.folder = QFileInfo(positional.isEmpty() ? defaultSampleFolder() : positional.first()).absoluteFilePath();
    options.modulePath = parser.isSet(module) ? parser.value(module) : defaultModulePath();
    options.loop = parser.isSet(loop);
    options.preload = parser.isSet(preload);
    options.json = parser.isSet(json);
    options.quiet = parser.isSet(quiet);
    options.saveDir = parser.value(save);
    options.contactSheet = parser.value(sheet);
    if (!parsePixelFormat(parser.value(pixelFormat), options.pixelFormat)) {
        error = QStringLiteral("unknown pixel format '%1'; one of %2").arg(parser.value(pixelFormat), pixelFormatList());
        return false;
    }
    if (parser.isSet(frames)) {
        bool isNumber = false;
        options.frames = parser.value(frames).toInt(&isNumber);
        if (!isNumber || options.frames < 1) {
            error = QStringLiteral("--frames needs a whole number of at least 1, not '%1'").arg(parser.value(frames));
            return false;
        }
    }
    if (parser.isSet(fps)) {
        bool isNumber = false;
        options.fps = parser.value(fps).toDouble(&isNumber);
        if (!isNumber || !(options.fps > 0.0) || options.fps > 1e6) {
            error = QStringLiteral("--fps needs a rate above 0, not '%1'").arg(parser.value(fps));
            return false;
        }
    }
    return true;
}
