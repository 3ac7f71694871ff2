#include "camera_log.h"

#include <QDebug>

// Off unless turned on, so that hosts which ask for nothing see the log they always saw.
Q_LOGGING_CATEGORY(cameraCategory, "kxcam.camera", QtWarningMsg)

namespace {

constexpr qint64 progressIntervalNanoseconds = 100 * 1000 * 1000;

QString seconds(qint64 nanoseconds)
{
    return QString::number(double(nanoseconds) / 1e9, 'f', 3);
}

}  // namespace

QString CameraLog::quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar unit : text) {
        switch (unit.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\b': out += QLatin1String("\\b"); break;
        case '\f': out += QLatin1String("\\f"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (unit.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(unit.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += unit;
        }
    }
    out += QLatin1Char('"');
    return out;
}

// Lines are joined, not put through QString::arg, which would read a "%1" in a file's name as a place of its own.
void CameraLog::fileTaken(int index, int count, const QString& relativePath)
{
    write(QLatin1String("Virtual Camera: file ") + QString::number(index + 1) + QLatin1String(" of ")
          + QString::number(count) + QLatin1Char(' ') + quoted(relativePath));
}

void CameraLog::endOfList(int count)
{
    write(QLatin1String("Virtual Camera: end of the list, ") + QString::number(count) + QLatin1String(" files"));
}

void CameraLog::waitingForFiles(int count)
{
    write(QStringLiteral("Virtual Camera: waiting for files after %1").arg(count));
}

void CameraLog::turnWithoutFrame(int count)
{
    write(QLatin1String("Virtual Camera: no frame in a whole turn of ") + QString::number(count)
          + QLatin1String(" files"));
}

void CameraLog::scanBegins()
{
    m_work.start();
    m_lastProgress = 0;
}

void CameraLog::scanning(const QString& folder, int files)
{
    if (progressDue())
        write(QLatin1String("Virtual Camera: scanning ") + quoted(folder) + QLatin1String(": ")
              + QString::number(files) + QLatin1String(" files so far"));
}

void CameraLog::scanned(const QString& folder, int files)
{
    write(QLatin1String("Virtual Camera: scanned ") + quoted(folder) + QLatin1String(": ") + QString::number(files)
          + QLatin1String(" files in ") + seconds(m_work.nsecsElapsed()) + QLatin1String(" s"));
}

void CameraLog::preloadBegins()
{
    scanBegins();
}

void CameraLog::preloading(int done, int count)
{
    if (progressDue())
        write(QLatin1String("Virtual Camera: preloading ") + QString::number(done) + QLatin1String(" of ")
              + QString::number(count) + QLatin1String(" files"));
}

void CameraLog::preloaded(int done, int count)
{
    write(QLatin1String("Virtual Camera: preloaded ") + QString::number(done) + QLatin1String(" of ")
          + QString::number(count) + QLatin1String(" files in ") + seconds(m_work.nsecsElapsed()) + QLatin1String(" s"));
}

bool CameraLog::progressDue()
{
    const qint64 now = m_work.nsecsElapsed();
    if (now - m_lastProgress < progressIntervalNanoseconds)
        return false;
    m_lastProgress = now;
    return true;
}

void CameraLog::write(const QString& line)
{
    QMessageLogger().debug(cameraCategory()).noquote() << line;
}
