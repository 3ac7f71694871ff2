#include "file_cursor.h"

int FileCursor::step(bool loop)
{
    if (m_position + 1 < m_files.size())
        return ++m_position;
    if (!loop || m_files.isEmpty())
        return -1;
    m_position = 0;
    return m_position;
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
