#include "image_file_list.h"

#include "directory_entries.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cstring>

namespace {

const char* const imageSuffixes[] = {".bmp", ".jpeg", ".jpg", ".png"};

bool isImageName(const QStringRef& name)
{
    // A tail in ASCII, almost every name's, folds without Qt's case tables.
    const int tail = std::min(name.size(), 5);
    char folded[5];
    for (int i = 0; i < tail; ++i) {
        const ushort unit = name.at(name.size() - tail + i).unicode();
        if (unit >= 0x80) {
            return std::any_of(std::begin(imageSuffixes), std::end(imageSuffixes), [&name](const char* suffix) {
                return name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
            });
        }
        folded[i] = char(unit >= 'A' && unit <= 'Z' ? unit + ('a' - 'A') : unit);
    }
    return std::any_of(std::begin(imageSuffixes), std::end(imageSuffixes), [&](const char* suffix) {
        const int length = int(std::strlen(suffix));
        return length <= tail && std::memcmp(folded + tail - length, suffix, std::size_t(length)) == 0;
    });
}

QChar upperUnit(QChar unit)
{
    const ushort code = unit.unicode();
    return code < 0x80 ? QChar(code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code) : unit.toUpper();
}

// Negative, 0 or positive as name a plays before, with or after name b in
// their folder: units compared upper-cased, a name that begins the other
// first; names differing only in case (possible off NTFS) by their units as
// they are, which keeps each folder's files together.
int compareNames(const QStringRef& a, const QStringRef& b)
{
    const int common = std::min(a.size(), b.size());
    for (int i = 0; i < common; ++i) {
        const ushort x = upperUnit(a.at(i)).unicode();
        const ushort y = upperUnit(b.at(i)).unicode();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() != b.size() ? a.size() - b.size() : a.compare(b);
}

// A name's first eight upper-cased units after the beginning that all its
// folder's names share, a byte each, the first highest, 0 past its end: most
// comparisons in a folder end there. A unit from 0xff up stands as 0xff, as
// do all units after it, so that keys that differ still order their names
// rightly; names whose keys tie are compared in full.
quint64 sortKey(const QChar* name, int length)
{
    quint64 key = 0;
    bool narrow = true;
    for (int i = 0; i < 8; ++i) {
        const ushort unit = i < length ? upperUnit(name[i]).unicode() : 0;
        narrow = narrow && unit < 0xff;
        key = (key << 8) | (narrow ? unit : 0xff);
    }
    return key;
}

struct NameKey {
    quint64 key;
    int entry;
};

// One folder sorted on its own. `below` is the folder's path below the
// root, with its "/"; empty for the root.
void appendImageFiles(const QString& root, const QString& below, ImageFileList& files,
                      const std::function<void(int)>& listed)
{
    DirectoryEntries listing = directoryEntries(below.isEmpty() ? root : root + QLatin1Char('/') + below);
    std::vector<DirectoryEntries::Entry>& entries = listing.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&listing](const DirectoryEntries::Entry& entry) {
                                     return !entry.isFolder && !isImageName(listing.names.midRef(entry.start, entry.length));
                                 }),
                  entries.end());
    const QChar* const units = listing.names.constData();
    const auto nameOf = [&](const DirectoryEntries::Entry& entry) { return listing.names.midRef(entry.start, entry.length); };
    int shared = entries.empty() ? 0 : entries.front().length;
    for (const DirectoryEntries::Entry& entry : entries) {
        shared = std::min(shared, entry.length);
        for (int i = 0; i < shared; ++i) {
            if (upperUnit(units[entry.start + i]) != upperUnit(units[entries.front().start + i]))
                shared = i;
        }
    }
    std::vector<NameKey> keys;
    keys.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        keys.push_back({sortKey(units + entries[i].start + shared, entries[i].length - shared), int(i)});
    std::sort(keys.begin(), keys.end(), [&](const NameKey& a, const NameKey& b) {
        if (a.key != b.key)
            return a.key < b.key;
        return compareNames(nameOf(entries[std::size_t(a.entry)]), nameOf(entries[std::size_t(b.entry)])) < 0;
    });
    const int folder = files.addFolder(below);
    // The names go in as the folder listed them: in play order they would be
    // read all over the listing.
    const int names = files.keepNames(listing.names);
    for (const NameKey& key : keys) {
        const DirectoryEntries::Entry& entry = entries[std::size_t(key.entry)];
        if (entry.isFolder)
            appendImageFiles(root, QString(below).append(nameOf(entry)).append(QLatin1Char('/')), files, listed);
        else
            files.append(folder, names + entry.start, entry.length);
    }
    if (listed)
        listed(files.size());
}

bool pathPlaysBefore(const QString& a, const QString& b)
{
    const QVector<QStringRef> x = a.splitRef(QLatin1Char('/'));
    const QVector<QStringRef> y = b.splitRef(QLatin1Char('/'));
    for (int i = 0; i < x.size() && i < y.size(); ++i) {
        if (x[i] == y[i])
            continue;
        return compareNames(x[i], y[i]) < 0;
    }
    return x.size() < y.size();
}

}  // namespace

QString ImageFileList::relativePath(int index) const
{
    const File& file = m_files.at(std::size_t(index));
    QString path = m_folders.at(file.folder);
    path.append(m_names.midRef(file.start, file.length));
    return path;
}

QString ImageFileList::path(int index) const
{
    return m_root + QLatin1Char('/') + relativePath(index);
}

QStringList ImageFileList::paths() const
{
    QStringList all;
    for (int i = 0; i < size(); ++i)
        all.append(path(i));
    return all;
}

int ImageFileList::addFolder(const QString& folder)
{
    m_folders.append(folder);
    return m_folders.size() - 1;
}

int ImageFileList::keepNames(const QString& names)
{
    const int start = m_names.size();
    m_names.append(names);
    return start;
}

void ImageFileList::append(int folder, int start, int length)
{
    m_files.push_back({folder, start, length});
}

QString cameraFolderPath(const QString& folder)
{
    const QDir asWritten(folder);
    if (asWritten.exists())
        return asWritten.absolutePath();
    return QDir(QCoreApplication::applicationDirPath() + QLatin1Char('/') + folder).absolutePath();
}

ImageFileList listImageFiles(const QString& folder, const std::function<void(int)>& listed)
{
    const QDir dir(cameraFolderPath(folder));
    ImageFileList files(dir.absolutePath());
    if (dir.exists() && !dir.isRoot())
        appendImageFiles(dir.absolutePath(), QString(), files, listed);
    return files;
}

QStringList inFrameOrder(QStringList paths, const QString& folder)
{
    const int skip = folder.size() + 1;
    std::sort(paths.begin(), paths.end(),
              [skip](const QString& a, const QString& b) { return pathPlaysBefore(a.mid(skip), b.mid(skip)); });
    return paths;
}
