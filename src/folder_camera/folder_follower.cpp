#include "folder_follower.h"

#include "file_status.h"
#include "folder_listing.h"
#include "name_filters.h"
#include "name_order.h"

#include <QDateTime>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace {

// A folder's time has a coarse step on some file systems (two seconds on
// FAT): one changed within it is listed again at each poll until it is older.
constexpr qint64 recentMilliseconds = 2000;
constexpr qint64 never = std::numeric_limits<qint64>::max();

QString folderOf(const QString& relativePath)
{
    const int slash = relativePath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : relativePath.left(slash);
}

QString nameOf(const QString& relativePath)
{
    return relativePath.mid(relativePath.lastIndexOf(QLatin1Char('/')) + 1);
}

}  // namespace

FolderFollower::FolderFollower(const QString& root, const QStringList& nameFilters, qint64 settleMilliseconds,
                               FileList& files)
    : m_root(root),
      m_nameFilters(nameFilters),
      m_settle(settleMilliseconds),
      m_files(files),
      m_scanBegan(QDateTime::currentMSecsSinceEpoch()),
      m_watch(root),
      m_nextDue(never)
{
    m_clock.start();
}

void FolderFollower::beforeListing(const QString& folder)
{
    follow(folder == m_root ? QString() : folder.mid(m_root.size() + 1));
}

void FolderFollower::scanned()
{
    m_scannedFiles = m_files.size();
    for (int number = 0; number < m_files.folderCount(); ++number) {
        const QString path = m_files.folderPath(number);
        m_folders[path == m_root ? QString() : path.mid(m_root.size() + 1)].number = number;
    }
    for (int i = 0; i < m_scannedFiles; ++i)
        m_index.add(m_files, i);
}

// No notification settles a file closed before its folder was watched: it
// is never told complete, and no system call says, safely and without
// privileges, whether another process still writes it. So the scan's rule,
// unwritten for the settle time, is applied again when play reaches the file,
// judged then rather than at the scan: a file written just before open plays
// in its place once it has settled. Reached sooner, it is passed over and
// comes at the end, at its close-write or once it settles. A frame decoded
// at open is judged by the time of its decode.
bool FolderFollower::mayPlay(int index, bool decodedAtOpen)
{
    if (index >= m_scannedFiles)
        return true;
    const QString path = m_files.path(index);
    const FileStatus status = fileStatus(path);
    // A file gone since the scan is tried, and its trigger says it could not be loaded.
    if (!status.isFile())
        return true;
    const qint64 judged = decodedAtOpen ? m_scanBegan : QDateTime::currentMSecsSinceEpoch();
    if (status.modified <= judged - m_settle)
        return true;
    observe(path.mid(m_root.size() + 1));
    return false;
}

int FolderFollower::appendArrivals()
{
    ++m_calls;
    if (m_watch.active()) {
        FolderWatch::Changes changes;
        m_watch.collect(changes);
        for (const QString& path : changes.complete)
            arrived(path);
        for (const QString& path : changes.appeared)
            appeared(path);
        // A change told without its end: the folders it happened in are
        // listed again, which also finds what a system that batches its
        // reports has not told yet.
        QSet<QString> changed;
        for (const QString& path : changes.touched) {
            changed.insert(folderOf(path));
            if (m_folders.contains(path))
                changed.insert(path);
        }
        if (changes.lost) {
            for (auto folder = m_folders.cbegin(); folder != m_folders.cend(); ++folder)
                changed.insert(folder.key());
        }
        for (const QString& folder : changed) {
            if (m_folders.contains(folder))
                relist(folder);
        }
    }
    // Every folder's time was noted before it was listed, so a watch that
    // fails later leaves nothing unseen to the polls that take over.
    if (!m_watch.active() && m_clock.elapsed() - m_lastPoll >= m_settle)
        poll();
    if (!m_candidates.isEmpty() && m_clock.elapsed() >= m_nextDue)
        settle();
    return m_ready.isEmpty() ? 0 : appendReady();
}

QString FolderFollower::absolute(const QString& relativePath) const
{
    return relativePath.isEmpty() ? m_root : m_root + QLatin1Char('/') + relativePath;
}

bool FolderFollower::matches(const QString& name) const
{
    return matchesNameFilters(name.constData(), name.size(), m_nameFilters);
}

bool FolderFollower::known(const QString& relativePath) const
{
    if (m_ready.contains(relativePath) || m_candidates.contains(relativePath))
        return true;
    const auto folder = m_folders.constFind(folderOf(relativePath));
    return folder != m_folders.cend() && folder->number >= 0
        && m_index.contains(m_files, folder->number, nameOf(relativePath));
}

// Watched and its time noted before it is listed: what arrives after is told or seen.
void FolderFollower::follow(const QString& relativeFolder)
{
    m_watch.add(relativeFolder);
    Folder& folder = m_folders[relativeFolder];
    folder.modified = fileStatus(absolute(relativeFolder)).modified;
    folder.recent = folder.modified > QDateTime::currentMSecsSinceEpoch() - recentMilliseconds;
}

// The folder's entries that are not known yet: files to settle, folders to follow.
void FolderFollower::relist(const QString& relativeFolder)
{
    FolderListing listing;
    listFolder(absolute(relativeFolder), listing);
    for (const FolderListing::Entry& entry : listing.entries) {
        const QString name(listing.units.constData() + entry.offset, entry.length);
        const QString path = relativeFolder.isEmpty() ? name : relativeFolder + QLatin1Char('/') + name;
        if (entry.isFolder) {
            if (!m_folders.contains(path)) {
                follow(path);
                relist(path);
            }
        } else if (matches(name) && !known(path)) {
            observe(path);
        }
    }
}

// Without notifications: the folders whose time moved are listed again.
void FolderFollower::poll()
{
    m_lastPoll = m_clock.elapsed();
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (const QString& path : m_folders.keys()) {
        const FileStatus status = fileStatus(absolute(path));
        if (!status.isFolder()) {
            m_folders.remove(path);
            continue;
        }
        Folder& folder = m_folders[path];
        const qint64 modified = status.modified;
        const bool changed = modified != folder.modified || folder.recent;
        folder.modified = modified;
        folder.recent = modified > now - recentMilliseconds;
        if (changed)
            relist(path);
    }
}

// Said complete by the system.
void FolderFollower::arrived(const QString& relativePath)
{
    if (!m_folders.contains(folderOf(relativePath)) || !matches(nameOf(relativePath)))
        return;
    const bool waiting = m_candidates.remove(relativePath) > 0;
    if (!waiting && known(relativePath))
        return;
    const QString path = absolute(relativePath);
    if (fileStatus(path).isFile() && !QFileInfo(path).isHidden())
        m_ready.insert(relativePath);
}

// A folder to follow, or a file to settle: hidden and linked entries, and
// all below a folder that is not followed, stay out as in a scan.
void FolderFollower::appeared(const QString& relativePath)
{
    if (!m_folders.contains(folderOf(relativePath)))
        return;
    const QString path = absolute(relativePath);
    const FileStatus status = fileStatus(path);
    if ((!status.isFolder() && !status.isFile()) || QFileInfo(path).isHidden())
        return;
    if (!status.isFolder()) {
        if (matches(nameOf(relativePath)) && !known(relativePath))
            observe(relativePath);
    } else if (!m_folders.contains(relativePath)) {
        follow(relativePath);
        relist(relativePath);
    }
}

void FolderFollower::observe(const QString& relativePath)
{
    const FileStatus status = fileStatus(absolute(relativePath));
    if (!status.isFile())
        return;
    const qint64 due = m_clock.elapsed() + m_settle;
    m_candidates.insert(relativePath, Candidate{status.size, status.modified, due, m_calls});
    m_nextDue = std::min(m_nextDue, due);
}

// A candidate is looked at again once due, and never in the call that saw
// it: even without a settle time, a file must be seen unchanged twice.
void FolderFollower::settle()
{
    const qint64 now = m_clock.elapsed();
    m_nextDue = never;
    for (auto candidate = m_candidates.begin(); candidate != m_candidates.end();) {
        Candidate& seen = candidate.value();
        if (seen.call == m_calls || seen.due > now) {
            m_nextDue = std::min(m_nextDue, seen.due);
            ++candidate;
            continue;
        }
        const FileStatus status = fileStatus(absolute(candidate.key()));
        if (!status.isFile()) {
            candidate = m_candidates.erase(candidate);
            continue;
        }
        if (status.size == seen.size && status.modified == seen.modified) {
            m_ready.insert(candidate.key());
            candidate = m_candidates.erase(candidate);
            continue;
        }
        seen = Candidate{status.size, status.modified, now + m_settle, m_calls};
        m_nextDue = std::min(m_nextDue, seen.due);
        ++candidate;
    }
}

// The arrivals in the scan's order: each path's folders first, name by name,
// which a separator that sorts before every unit gives.
int FolderFollower::appendReady()
{
    FolderListing listing;
    for (const QString& path : m_ready) {
        const int offset = listing.units.size();
        listing.units.append(path);
        listing.entries.push_back({offset, path.size(), false});
    }
    m_ready.clear();
    for (QChar& unit : listing.units) {
        if (unit == QLatin1Char('/'))
            unit = QChar(0);
    }
    std::vector<int> order;
    sortByName(listing, order);
    // The list's first folder is the root, which its paths are told relative to.
    if (m_files.folderCount() == 0)
        m_folders[QString()].number = m_files.addFolder(m_root);
    int appended = 0;
    for (const int i : order) {
        const FolderListing::Entry& entry = listing.entries[std::size_t(i)];
        const QString path = QString(listing.units.constData() + entry.offset, entry.length)
                                 .replace(QChar(0), QLatin1Char('/'));
        const QString name = nameOf(path);
        const QString relativeFolder = folderOf(path);
        const auto folder = m_folders.find(relativeFolder);
        if (folder == m_folders.end())
            continue;
        if (folder->number < 0)
            folder->number = m_files.addFolder(absolute(relativeFolder));
        m_files.addFile(folder->number, m_files.addName(name.constData(), name.size()));
        m_index.add(m_files, m_files.size() - 1);
        ++appended;
    }
    return appended;
}
