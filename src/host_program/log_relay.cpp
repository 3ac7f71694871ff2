#include "log_relay.h"

#include "program_failure.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

LogRelay* activeRelay = nullptr;

// Records whether the user's rules enabled the category for type, then enables it.
void forceOn(QLoggingCategory* category, QtMsgType type, QSet<QByteArray>& hidden)
{
    const QByteArray name(category->categoryName());
    if (category->isEnabled(type))
        hidden.remove(name);
    else
        hidden.insert(name);
    category->setEnabled(type, true);
}

bool isCameraCategory(const char* name)
{
    return name && std::strcmp(name, CameraEvent::categoryName()) == 0;
}

}  // namespace

LogRelay::LogRelay()
{
    activeRelay = this;
    m_previousHandler = qInstallMessageHandler(&LogRelay::handle);
    // Applied at once to every category that exists, the default one among
    // them, before Qt returns the filter it replaces; so that one is taken
    // first, with Qt's default put in its place meanwhile.
    m_previousFilter = QLoggingCategory::installFilter(nullptr);
    QLoggingCategory::installFilter(&LogRelay::filter);
}

LogRelay::~LogRelay()
{
    QLoggingCategory::installFilter(m_previousFilter);
    qInstallMessageHandler(m_previousHandler);
    activeRelay = nullptr;
}

void LogRelay::note(const QString& text)
{
    writeLine(programLine(text));
}

// Qt drops a disabled category's messages before any handler sees them: what
// the user's rules (the previous filter) say is recorded, then warnings and
// critical lines, and the camera's debug lines, are forced on, so they are
// seen whatever the rules say.
void LogRelay::filter(QLoggingCategory* category)
{
    activeRelay->m_previousFilter(category);
    forceOn(category, QtWarningMsg, activeRelay->m_hiddenWarnings);
    forceOn(category, QtCriticalMsg, activeRelay->m_hiddenCriticals);
    if (isCameraCategory(category->categoryName())) {
        activeRelay->m_cameraLinesHidden = !category->isDebugEnabled();
        category->setEnabled(QtDebugMsg, true);
    }
}

void LogRelay::handle(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    bool hidden = false;
    if (type == QtDebugMsg && isCameraCategory(context.category)) {
        hidden = activeRelay->m_cameraLinesHidden;
        const CameraEvent event = CameraEvent::parse(message);
        if (event.kind != CameraEvent::Kind::None && activeRelay->m_cameraListener)
            activeRelay->m_cameraListener(event);
    } else if (type == QtWarningMsg || type == QtCriticalMsg) {
        ++activeRelay->m_warnings;
        const QSet<QByteArray>& hiddenOfType =
            type == QtWarningMsg ? activeRelay->m_hiddenWarnings : activeRelay->m_hiddenCriticals;
        // A plain QMessageLogger, as the module's, leaves the category null: the default one.
        hidden = hiddenOfType.contains(context.category ? QByteArray(context.category) : QByteArrayLiteral("default"));
        if (activeRelay->m_listener)
            activeRelay->m_listener(message);
    }
    // qFormatLogMessage honours QT_MESSAGE_PATTERN, as Qt's own handler does.
    if (!hidden)
        activeRelay->writeLine(qFormatLogMessage(type, context, message).toLocal8Bit());
    if (type == QtFatalMsg)
        std::abort();
}

void LogRelay::writeLine(const QByteArray& line)
{
    if (m_beforeLine)
        m_beforeLine();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
    if (m_afterLine)
        m_afterLine();
}
