#include "memory_cgroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

QByteArray fileText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.flush();
}

}  // namespace

// The test's own groups, from /proc/self/cgroup: "4:memory:/path" in a v1
// hierarchy, which holds the controller where there is one, else "0::/path" in v2.
MemoryCgroup::MemoryCgroup(qint64 limitBytes)
{
    const QString mount = QStringLiteral("/sys/fs/cgroup");
    QString v1Parent;
    QString v2Parent;
    for (const QByteArray& line : fileText(QStringLiteral("/proc/self/cgroup")).split('\n')) {
        const int first = line.indexOf(':');
        const int second = line.indexOf(':', first + 1);
        if (first < 0 || second < 0)
            continue;
        const QByteArray controllers = line.mid(first + 1, second - first - 1);
        const QString path = QString::fromUtf8(line.mid(second + 1));
        if (controllers.split(',').contains("memory"))
            v1Parent = mount + QStringLiteral("/memory") + path;
        else if (controllers.isEmpty())
            v2Parent = mount + path;
    }
    if (!v1Parent.isEmpty()) {
        make(v1Parent, "memory.limit_in_bytes", limitBytes);
    } else if (v2Parent.isEmpty()
               || !fileText(mount + QStringLiteral("/cgroup.controllers")).split(' ').contains("memory")) {
        m_failure = QStringLiteral("no memory cgroup controller mounted at %1").arg(mount);
    } else if (!fileText(v2Parent + QStringLiteral("/cgroup.subtree_control")).contains("memory")
               && !writeText(v2Parent + QStringLiteral("/cgroup.subtree_control"), "+memory")) {
        // A v2 group with processes of its own cannot hand the controller to its children.
        m_failure = QStringLiteral("the memory controller cannot be enabled below %1").arg(v2Parent);
    } else {
        make(v2Parent, "memory.max", limitBytes);
    }
}

MemoryCgroup::~MemoryCgroup()
{
    if (!m_folder.isEmpty())
        QDir().rmdir(m_folder);
}

void MemoryCgroup::make(const QString& parent, const char* limitFile, qint64 limitBytes)
{
    const QString folder = parent + QStringLiteral("/kxcam-test-%1").arg(QCoreApplication::applicationPid());
    if (!QDir().mkdir(folder)) {
        m_failure = QStringLiteral("cannot make a memory cgroup in %1 (not root?)").arg(parent);
        return;
    }
    m_folder = folder;
    if (!writeText(folder + QLatin1Char('/') + QLatin1String(limitFile), QByteArray::number(limitBytes)))
        m_failure = QStringLiteral("cannot set %1 of %2").arg(QLatin1String(limitFile), folder);
}
