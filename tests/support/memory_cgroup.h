// A memory cgroup with a limit, made below the test's own group for a child
// process to join, where the system lets the test make one: Linux, as root,
// with the memory controller in a cgroup v1 hierarchy or a v2 group that may
// enable it for its children. Removed with the object, once its processes
// have ended.
#ifndef MEMORY_CGROUP_H
#define MEMORY_CGROUP_H

#include <QString>
#include <QtGlobal>

class MemoryCgroup {
public:
    explicit MemoryCgroup(qint64 limitBytes);
    ~MemoryCgroup();
    MemoryCgroup(const MemoryCgroup&) = delete;
    MemoryCgroup& operator=(const MemoryCgroup&) = delete;

    // Why no group could be made; empty when it was.
    QString failure() const { return m_failure; }
    // A process joins the group by writing its id into this file.
    QString processesFile() const { return m_folder + QStringLiteral("/cgroup.procs"); }

private:
    void make(const QString& parent, const char* limitFile, qint64 limitBytes);

    QString m_folder;
    QString m_failure;
};

#endif
