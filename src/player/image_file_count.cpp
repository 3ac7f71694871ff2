#include "image_file_count.h"

#include <QDir>
#include <QDirIterator>
#include <QStringList>

int countImageFiles(const QString& folder)
{
    const QStringList patterns{QStringLiteral("*.bmp"), QStringLiteral("*.jpeg"), QStringLiteral("*.jpg"),
                               QStringLiteral("*.png")};
    QDirIterator it(folder, patterns, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    int count = 0;
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}
