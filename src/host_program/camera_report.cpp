#include "camera_report.h"

void CameraReport::take(const CameraEvent& event)
{
    switch (event.kind) {
    case CameraEvent::Kind::File:
        m_position = event.position - 1;
        m_files = event.files;
        m_file = event.path;
        m_waiting = false;
        break;
    case CameraEvent::Kind::Waiting:
        // An empty followed folder warns that it has no image files, then waits: it has not ended.
        m_files = event.files;
        m_waiting = true;
        m_folderEnded = false;
        break;
    case CameraEvent::Kind::EndOfList:
    case CameraEvent::Kind::TurnWithoutFrame:
        m_files = event.files;
        m_folderEnded = true;
        break;
    case CameraEvent::Kind::Scanned:
        m_folder = event.path;
        m_files = event.files;
        break;
    default:
        break;
    }
}

// The camera's one warning that is about the whole folder, at a trigger that found no list to take a file from.
void CameraReport::takeWarning(const QString& message)
{
    if (message.startsWith(QLatin1String("Virtual Camera: No image files in ")))
        m_folderEnded = true;
}

void CameraReport::beginTrigger()
{
    m_position = -1;
    m_file.clear();
    m_folderEnded = false;
}

QString CameraReport::path() const
{
    return m_file.isEmpty() ? QString() : m_folder + QLatin1Char('/') + m_file;
}
