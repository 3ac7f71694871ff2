#include "log_capture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QRegularExpression>

namespace {

QStringList* capturedLines = nullptr;

bool isModuleLine(const QString& message)
{
    return message.startsWith(QLatin1String("Virtual Camera")) || message == QLatin1String("kxCamVirtual In")
        || message == QLatin1String("!CCameraVirtual");
}

}  // namespace

LogCapture::LogCapture()
{
    capturedLines = new QStringList;
    m_previous = qInstallMessageHandler(&LogCapture::handle);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(m_previous);
    delete capturedLines;
    capturedLines = nullptr;
}

QStringList LogCapture::lines() const
{
    return *capturedLines;
}

QStringList LogCapture::take()
{
    const QStringList taken = *capturedLines;
    capturedLines->clear();
    return taken;
}

void LogCapture::clear()
{
    capturedLines->clear();
}

void LogCapture::handle(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (!capturedLines || !isModuleLine(message))
        return;
    const char* kind = type == QtDebugMsg ? "debug: " : type == QtWarningMsg ? "warning: " : "other: ";
    capturedLines->append(QLatin1String(kind) + message);
}

QString debugQuoted(const QString& text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

CameraLinesOn::CameraLinesOn()
{
    QLoggingCategory::setFilterRules(QStringLiteral("kxcam.camera.debug=true"));
}

CameraLinesOn::~CameraLinesOn()
{
    QLoggingCategory::setFilterRules(QString());
}

QString withoutSeconds(const QString& line)
{
    static const QRegularExpression seconds(QStringLiteral(" in \\d+\\.\\d{3} s$"));
    QString plain = line;
    return plain.replace(seconds, QStringLiteral(" in S s"));
}

QStringList withoutSeconds(const QStringList& lines)
{
    QStringList plain;
    for (const QString& line : lines)
        plain.append(withoutSeconds(line));
    return plain;
}

QString jsonQuoted(const QString& text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

QString fileTakenLine(int index, int count, const QString& relativePath)
{
    return QStringLiteral("debug: Virtual Camera: file %1 of %2 ").arg(index + 1).arg(count) + jsonQuoted(relativePath);
}
