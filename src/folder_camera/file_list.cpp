#include "file_list.h"

#include <algorithm>
#include <vector>

namespace {

ushort valueOf(char unit)
{
    return static_cast<uchar>(unit);
}

ushort valueOf(QChar unit)
{
    return unit.unicode();
}

}  // namespace

// A name's record: its length in one unit, then its units. The records lie
// one after another in one buffer: one byte a unit while every name fits in
// Latin-1 and in 255 units (almost every tree), else two. A record's place is
// the same in units either way. Qt's strings grow by reallocating, which the
// system does for large blocks by moving pages rather than copying them.
struct FileList::Lists {
    // A run of files one after another in the list that lie in one folder.
    struct Run {
        int firstFile;
        int folder;
    };
    QStringList folders;
    std::vector<Run> runs;
    QByteArray narrowRecords;
    QString wideRecords;
    bool wide = false;
    std::vector<int> fileRecords;  // where each file's record begins, in frame order

    int recordUnits() const { return wide ? wideRecords.size() : narrowRecords.size(); }
    void widen();
    template <typename Unit>
    static QString pathOf(const QString& folder, const Unit* record);
    template <typename Unit>
    static QString nameOf(const Unit* record);
};

void FileList::Lists::widen()
{
    wideRecords.resize(narrowRecords.size());
    std::transform(narrowRecords.cbegin(), narrowRecords.cend(), wideRecords.begin(),
                   [](char unit) { return QChar(valueOf(unit)); });
    narrowRecords = QByteArray();
    wide = true;
}

template <typename Unit>
QString FileList::Lists::pathOf(const QString& folder, const Unit* record)
{
    const int length = valueOf(record[0]);
    QString path(folder.size() + 1 + length, Qt::Uninitialized);
    QChar* out = std::copy(folder.cbegin(), folder.cend(), path.begin());
    *out++ = QLatin1Char('/');
    std::transform(record + 1, record + 1 + length, out, [](Unit unit) { return QChar(valueOf(unit)); });
    return path;
}

template <typename Unit>
QString FileList::Lists::nameOf(const Unit* record)
{
    const int length = valueOf(record[0]);
    QString name(length, Qt::Uninitialized);
    std::transform(record + 1, record + 1 + length, name.begin(), [](Unit unit) { return QChar(valueOf(unit)); });
    return name;
}

FileList::FileList() = default;
FileList::~FileList() = default;
FileList::FileList(FileList&& other) noexcept = default;
FileList& FileList::operator=(FileList&& other) noexcept = default;

int FileList::size() const
{
    return m_lists ? int(m_lists->fileRecords.size()) : 0;
}

QString FileList::path(int index) const
{
    const Lists& lists = *m_lists;
    const QString& folder = lists.folders.at(FileList::folder(index));
    const int record = lists.fileRecords.at(std::size_t(index));
    if (lists.wide)
        return Lists::pathOf(folder, lists.wideRecords.constData() + record);
    return Lists::pathOf(folder, lists.narrowRecords.constData() + record);
}

QString FileList::relativePath(int index) const
{
    return path(index).mid(m_lists->folders.first().size() + 1);
}

int FileList::folder(int index) const
{
    const std::vector<Lists::Run>& runs = m_lists->runs;
    const auto run = std::upper_bound(runs.cbegin(), runs.cend(), index,
                                      [](int file, const Lists::Run& r) { return file < r.firstFile; }) - 1;
    return run->folder;
}

QString FileList::name(int index) const
{
    const Lists& lists = *m_lists;
    const int record = lists.fileRecords.at(std::size_t(index));
    if (lists.wide)
        return Lists::nameOf(lists.wideRecords.constData() + record);
    return Lists::nameOf(lists.narrowRecords.constData() + record);
}

int FileList::folderCount() const
{
    return m_lists ? m_lists->folders.size() : 0;
}

QString FileList::folderPath(int folder) const
{
    return m_lists->folders.at(folder);
}

QStringList FileList::paths() const
{
    QStringList all;
    for (int i = 0; i < size(); ++i)
        all.append(path(i));
    return all;
}

int FileList::addFolder(const QString& path)
{
    if (!m_lists)
        m_lists.reset(new Lists);
    m_lists->folders.append(path);
    return m_lists->folders.size() - 1;
}

int FileList::addName(const QChar* name, int length)
{
    Lists& lists = *m_lists;
    const bool narrow = length <= 0xff
                        && std::all_of(name, name + length, [](QChar unit) { return unit.unicode() <= 0xff; });
    if (!narrow && !lists.wide)
        lists.widen();
    const int start = lists.recordUnits();
    if (lists.wide) {
        lists.wideRecords.append(QChar(ushort(length)));
        lists.wideRecords.append(name, length);
    } else {
        lists.narrowRecords.resize(start + 1 + length);
        char* record = lists.narrowRecords.data() + start;
        *record++ = char(length);
        std::transform(name, name + length, record, [](QChar unit) { return char(unit.unicode()); });
    }
    return start;
}

void FileList::addFile(int folder, int name)
{
    Lists& lists = *m_lists;
    if (lists.runs.empty() || lists.runs.back().folder != folder)
        lists.runs.push_back({size(), folder});
    lists.fileRecords.push_back(name);
}

void FileList::squeeze()
{
    if (!m_lists)
        return;
    if (m_lists->fileRecords.empty()) {
        m_lists.reset();
        return;
    }
    m_lists->runs.shrink_to_fit();
    m_lists->fileRecords.shrink_to_fit();
    m_lists->narrowRecords.squeeze();
    m_lists->wideRecords.squeeze();
}
