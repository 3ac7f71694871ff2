#include "image_file_list.h"

#include "directory_entries.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>

namespace {

bool isImageName(const QStringRef& name)
{
    static const QLatin1String suffixes[] = {QLatin1String(".bmp"), QLatin1String(".jpeg"), QLatin1String(".jpg"),
                                             QLatin1String(".png")};
    return std::any_of(std::begin(suffixes), std::end(suffixes),
                       [&name](QLatin1String suffix) { return name.endsWith(suffix, Qt::CaseInsensitive); });
}

QChar upperUnit(QChar unit)
{
    const ushort code = unit.unicode();
    return code < 0x80 ? QChar(code >= 'a' && code <= 'z' ? code - ('a' - 'A') : code) : unit.toUpper();
}

QString upperUnits(const QStringRef& name)
{
    QString upper(name.size(), Qt::Uninitialized);
    std::transform(name.cbegin(), name.cend(), upper.begin(), upperUnit);
    return upper;
}

// Whether a name (upperA its units upper-cased) plays before another in their folder.
bool playsBefore(const QStringRef& upperA, const QStringRef& a, const QStringRef& upperB, const QStringRef& b)
{
    const int byUpper = upperA.compare(upperB);
    // Names differing only in case (possible off NTFS) keep their folders' files together.
    return byUpper != 0 ? byUpper < 0 : a.compare(b) < 0;
}

// One folder sorted on its own, its names upper-cased once into one string
// rather than at every comparison. `below` is the folder's path below the
// root, with its "/"; empty for the root.
void appendImageFiles(const QString& root, const QString& below, ImageFileList& files,
                      const std::function<void(int)>& listed)
{
    std::vector<DirectoryEntry> entries = directoryEntries(below.isEmpty() ? root : root + QLatin1Char('/') + below);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [](const DirectoryEntry& entry) {
                                     return !entry.isFolder && !isImageName(entry.name.midRef(0));
                                 }),
                  entries.end());
    int units = 0;
    for (const DirectoryEntry& entry : entries)
        units += entry.name.size();
    QString upper(units, Qt::Uninitialized);
    QChar* out = upper.begin();
    for (const DirectoryEntry& entry : entries)
        out = std::transform(entry.name.cbegin(), entry.name.cend(), out, upperUnit);
    struct Key {
        QStringRef upper;
        QStringRef name;
        const DirectoryEntry* entry;
    };
    std::vector<Key> keys;
    keys.reserve(entries.size());
    int start = 0;
    for (const DirectoryEntry& entry : entries) {
        keys.push_back({upper.midRef(start, entry.name.size()), entry.name.midRef(0), &entry});
        start += entry.name.size();
    }
    std::sort(keys.begin(), keys.end(),
              [](const Key& a, const Key& b) { return playsBefore(a.upper, a.name, b.upper, b.name); });
    for (const Key& key : keys) {
        if (key.entry->isFolder)
            appendImageFiles(root, below + key.entry->name + QLatin1Char('/'), files, listed);
        else
            files.append(below, key.name);
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
        const QString upperX = upperUnits(x[i]);
        const QString upperY = upperUnits(y[i]);
        return playsBefore(upperX.midRef(0), x[i], upperY.midRef(0), y[i]);
    }
    return x.size() < y.size();
}

}  // namespace

QString ImageFileList::relativePath(int index) const
{
    const int start = index == 0 ? 0 : m_ends.at(index - 1);
    return m_relativePaths.mid(start, m_ends.at(index) - start);
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

void ImageFileList::append(const QString& folder, const QStringRef& name)
{
    m_relativePaths.append(folder);
    m_relativePaths.append(name);
    m_ends.append(m_relativePaths.size());
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
