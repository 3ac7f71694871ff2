#include "host_options.h"

#include "default_paths.h"
#include "exit_status.h"
#include "kxcam_camera.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <climits>
#include <cmath>

namespace {

// QTimer intervals are whole milliseconds in an int: a trigger every 1 ms at
// the most, every INT_MAX ms at the least.
constexpr double maximumRate = 1000.0;
constexpr double minimumRate = 1000.0 / INT_MAX;

// The least rate rounded up to five digits, so that the value shown is accepted.
QString minimumRateText()
{
    const double scale = std::pow(10.0, 4 - std::floor(std::log10(minimumRate)));
    return QString::number(std::ceil(minimumRate * scale) / scale, 'g', 5);
}

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

// The options of kxcam-play's output, which a window has no use for.
struct OutputOptions {
    QCommandLineOption frames{QStringLiteral("frames"),
                              QStringLiteral("Stop after N triggers; with --follow, after N delivered frames."),
                              QStringLiteral("N")};
    QCommandLineOption idle{QStringLiteral("idle"),
                            QStringLiteral("With --follow, end after SECONDS without a new file, with the summary."),
                            QStringLiteral("SECONDS")};
    QCommandLineOption json{QStringLiteral("json"), QStringLiteral("Write one JSON object per line.")};
    QCommandLineOption quiet{QStringLiteral("quiet"), QStringLiteral("Write the summary alone.")};
    QCommandLineOption save{QStringLiteral("save"),
                            QStringLiteral("Write every delivered frame into DIR as a PNG made from its bytes."),
                            QStringLiteral("DIR")};
    QCommandLineOption sheet{QStringLiteral("contact-sheet"),
                             QStringLiteral("Write a grid of numbered thumbnails of the delivered frames."),
                             QStringLiteral("FILE.png")};
    QCommandLineOption check{QStringLiteral("check"),
                             QStringLiteral("Compare the replay, trigger by trigger, with what an earlier --json run "
                                            "wrote; exit status 3 when they differ."),
                             QStringLiteral("MANIFEST")};

    QList<QCommandLineOption> all() const { return {frames, idle, json, quiet, save, sheet, check}; }

    bool read(const QCommandLineParser& parser, HostOptions& options, QString& error) const
    {
        options.json = parser.isSet(json);
        options.quiet = parser.isSet(quiet);
        options.saveDir = parser.value(save);
        options.contactSheet = parser.value(sheet);
        options.manifest = parser.value(check);
        for (const QCommandLineOption* pathOption : {&save, &sheet, &check}) {
            if (parser.isSet(*pathOption) && parser.value(*pathOption).isEmpty()) {
                error = QStringLiteral("--%1 needs a path, not an empty string").arg(pathOption->names().first());
                return false;
            }
        }
        if (parser.isSet(frames)) {
            bool isNumber = false;
            options.frames = parser.value(frames).toInt(&isNumber);
            if (!isNumber || options.frames < 1) {
                error = QStringLiteral("--frames needs a whole number of at least 1, not '%1'").arg(parser.value(frames));
                return false;
            }
        }
        if (parser.isSet(idle)) {
            bool isNumber = false;
            options.idleSeconds = parser.value(idle).toDouble(&isNumber);
            if (!isNumber || !std::isfinite(options.idleSeconds) || options.idleSeconds <= 0.0) {
                error = QStringLiteral("--idle needs a number of seconds above 0, not '%1'").arg(parser.value(idle));
                return false;
            }
            if (!options.follow) {
                error = QStringLiteral("--idle ends a followed folder's wait for files: give --follow");
                return false;
            }
        }
        return true;
    }
};

bool readPace(const QCommandLineParser& parser, const QCommandLineOption& pace, const QCommandLineOption& speed,
              HostOptions& options, QString& error)
{
    if (parser.isSet(pace)) {
        if (options.fps > 0.0) {
            error = QStringLiteral("--pace and --fps both set the pace: give one");
            return false;
        }
        if (!PaceRule::parse(parser.value(pace), options.pace, error))
            return false;
    }
    if (!parser.isSet(speed))
        return true;
    bool isNumber = false;
    options.speed = parser.value(speed).toDouble(&isNumber);
    if (!isNumber || !std::isfinite(options.speed) || options.speed <= 0.0) {
        error = QStringLiteral("--speed needs a factor above 0, not '%1'").arg(parser.value(speed));
        return false;
    }
    if (options.fps <= 0.0 && options.pace.source == PaceRule::Source::None) {
        error = QStringLiteral("--speed scales --pace or --fps: give one of them");
        return false;
    }
    return true;
}

}  // namespace

bool parseHostOptions(const QStringList& arguments, const HostProgram& program, HostOptions& options,
                      QString& error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(program.description + QLatin1Char('\n') + exitStatusHelp(QCoreApplication::applicationName()));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption loop(QStringLiteral("loop"), QStringLiteral("Wrap around at the end of the folder."));
    const QCommandLineOption preload(QStringLiteral("preload"),
                                     QStringLiteral("Let the camera decode every image once, when it opens."));
    const QCommandLineOption follow(
        QStringLiteral("follow"),
        QStringLiteral("Follow the folder as it grows (KXCAM_FOLLOW=1 for the module): each file written into it "
                       "while the program runs is played once it is complete; at the end of the list the program "
                       "waits for files instead of ending, and the camera never wraps."));
    const QCommandLineOption pixelFormat(
        QStringLiteral("pixel-format"),
        QStringLiteral("Pixel format written into the parameter record, by name or code: %1. It only seeds the "
                       "camera's bits per pixel before the first frame; frames are never converted.")
            .arg(pixelFormatList()),
        QStringLiteral("NAME|CODE"), QStringLiteral("None"));
    const QCommandLineOption fps(QStringLiteral("fps"),
                                 QStringLiteral("Trigger RATE times a second, %1 to %2 (default: as fast as possible).")
                                     .arg(minimumRateText())
                                     .arg(maximumRate),
                                 QStringLiteral("RATE"));
    const QCommandLineOption pace(QStringLiteral("pace"),
                                  QStringLiteral("Trigger each file at its recorded offset from the first: from the files' "
                                                 "modification times (mtime), or from a number in the path, relative "
                                                 "to the folder, captured by a group named after its unit, s, ms, us or "
                                                 "ns (name:REGEX, e.g. name:_(?<ms>\\d+)\\.png)."),
                                  QStringLiteral("mtime|name:REGEX"));
    const QCommandLineOption speed(QStringLiteral("speed"),
                                   QStringLiteral("Play FACTOR times as fast as --pace or --fps says."),
                                   QStringLiteral("FACTOR"));
    const QCommandLineOption module(QStringLiteral("module"),
                                    QStringLiteral("Camera module to load (default: %1).").arg(defaultModulePath()),
                                    QStringLiteral("PATH"));
    const OutputOptions output;
    parser.addOptions({loop, preload, follow, pixelFormat, fps, pace, speed, module});
    if (program.outputOptions)
        parser.addOptions(output.all());
    parser.addPositionalArgument(QStringLiteral("FOLDER"),
                                 QStringLiteral("Image folder, given to the camera as written (default: the bundled "
                                                "sample set, %1). Put -- before a folder whose name starts with -.")
                                     .arg(defaultSampleFolder()),
                                 QStringLiteral("[--] [FOLDER]"));
    // "-dashdir" is then one unknown option, not six.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);

    if (!parser.parse(arguments)) {
        error = parser.errorText();
        if (!parser.unknownOptionNames().isEmpty())
            error += QStringLiteral(" (a folder whose name starts with - goes after --)");
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
    options.folder = positional.isEmpty() ? defaultSampleFolder() : positional.first();
    options.modulePath = parser.isSet(module) ? parser.value(module) : defaultModulePath();
    options.loop = parser.isSet(loop);
    options.preload = parser.isSet(preload);
    options.follow = parser.isSet(follow);
    if (program.outputOptions && !output.read(parser, options, error))
        return false;
    if (!parsePixelFormat(parser.value(pixelFormat), options.pixelFormat)) {
        error = QStringLiteral("unknown pixel format '%1'; one of %2").arg(parser.value(pixelFormat), pixelFormatList());
        return false;
    }
    if (parser.isSet(fps)) {
        bool isNumber = false;
        options.fps = parser.value(fps).toDouble(&isNumber);
        if (!isNumber || !(options.fps >= minimumRate && options.fps <= maximumRate)) {
            error = QStringLiteral("--fps needs a rate from %1 to %2 a second (one trigger every %3 ms to every "
                                   "1 ms, the range of Qt's timer), not '%4'")
                        .arg(minimumRateText())
                        .arg(maximumRate)
                        .arg(INT_MAX)
                        .arg(parser.value(fps));
            return false;
        }
    }
    return readPace(parser, pace, speed, options, error);
}
