#include "file_cursor.h"

#include "image_file_list.h"

FileCursor::FileCursor(const QStringList& files, const QString& root) : m_files(files), m_root(root) {}

FileCursor FileCursor::ofFolder(const QString& folder)
{
    return FileCursor(listImageFiles(folder), cameraFolderPath(folder));
}

int FileCursor::step(bool loop)
{
    if (m_position + 1 < m_files.size())
        return ++m_position;
    if (!loop || m_files.isEmpty())
        return -1;
    m_position = 0;
    return m_position;
}

QString FileCursor::relativePath(int position) const
{
    return m_files.at(position).mid(m_root.size() + 1);
}

bool FileCursor::ended(bool delivered, bool warned, bool loop)
{
    if (delivered) {
        m_framelessInARow = 0;
        return false;
    }
    ++m_framelessInARow;
    return (!loop && !warned) || m_framelessInARow > m_files.size();
}
