#include "log_capture.h"

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
