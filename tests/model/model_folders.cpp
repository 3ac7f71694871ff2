#include "model_folders.h"

#include "image_folder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>

namespace {

const char* const suffixes[] = {"png", "jpg", "bmp", "PNG", "JPEG", "gif", "txt"};

QByteArray garbage(std::uint32_t arg, int size)
{
    QByteArray bytes(size, '\0');
    std::uint32_t value = arg | 1u;
    for (char& byte : bytes) {
        value = value * 1103515245u + 12345u;
        byte = static_cast<char>(value >> 16);
    }
    return bytes;
}

}  // namespace

ModelFolders::ModelFolders()
{
    for (int i = 0; i < 2; ++i)
        QDir().mkpath(location(i));
}

QString ModelFolders::folder(std::uint32_t choice) const
{
    static const char* const names[] = {"a", "a", "a", "b", "b", "b", "missing"};
    return m_root.filePath(QLatin1String(names[choice % 7]));
}

QString ModelFolders::ownPath(int i) const
{
    return m_root.filePath(QLatin1String(i ? "b" : "a"));
}

QString ModelFolders::location(int i) const
{
    return ownPath(i) + (m_renamed[i] ? QStringLiteral(".away") : QString());
}

QStringList ModelFolders::filesIn(int i) const
{
    QStringList files;
    QDirIterator it(location(i), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}

QString ModelFolders::pickFile(std::uint32_t arg) const
{
    const QStringList files = filesIn(arg & 1);
    return files.isEmpty() ? QString() : files.at(int((arg >> 1) % std::uint32_t(files.size())));
}

void ModelFolders::writeFile(const QString& path, std::uint32_t arg)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    const char* format = suffix == QLatin1String("png") ? "png"
                         : suffix == QLatin1String("bmp") ? "bmp"
                         : suffix.startsWith(QLatin1String("jp")) ? "jpg" : nullptr;
    if (!format) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(garbage(arg, 32));
        return;
    }
    static const QImage::Format formats[] = {QImage::Format_RGB32, QImage::Format_Grayscale8, QImage::Format_ARGB32,
                                             QImage::Format_Indexed8};
    const QImage image = patternImage(1 + int((arg >> 8) % 6), 1 + int((arg >> 12) % 4), formats[(arg >> 16) % 4],
                                      ++m_created);
    image.save(path, format);
}

void ModelFolders::addFile(std::uint32_t arg)
{
    const bool hidden = (arg >> 20) % 8 == 0;
    const QString name = QStringLiteral("%1f%2.%3").arg(hidden ? "." : "").arg(++m_created)
                             .arg(QLatin1String(suffixes[(arg >> 1) % 7]));
    writeFile(location(arg & 1) + QLatin1Char('/') + name, arg);
}

void ModelFolders::deleteFile(std::uint32_t arg)
{
    const QString path = pickFile(arg);
    if (!path.isEmpty())
        QFile::remove(path);
}

void ModelFolders::truncateFile(std::uint32_t arg)
{
    const QString path = pickFile(arg);
    if (!path.isEmpty())
        QFile(path).resize(QFileInfo(path).size() / 2);
}

void ModelFolders::corruptFile(std::uint32_t arg)
{
    const QString path = pickFile(arg);
    QFile file(path);
    if (!path.isEmpty() && file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(garbage(arg, 64));
}

void ModelFolders::replaceFile(std::uint32_t arg)
{
    const QString path = pickFile(arg);
    if (!path.isEmpty())
        writeFile(path, arg ^ 0x5a5a5a5au);
}

void ModelFolders::addSubfolder(std::uint32_t arg)
{
    const bool hidden = (arg >> 3) % 4 == 0;
    QString path = location(arg & 1) + QStringLiteral("/%1s%2").arg(hidden ? "." : "").arg(++m_created);
    if ((arg >> 5) % 2)
        path += QStringLiteral("/deeper");
    QDir().mkpath(path);
    writeFile(path + QStringLiteral("/g%1.png").arg(++m_created), arg);
}

void ModelFolders::renameAway(std::uint32_t arg)
{
    const int i = arg & 1;
    if (!m_renamed[i] && QDir().rename(ownPath(i), ownPath(i) + QStringLiteral(".away")))
        m_renamed[i] = true;
}

void ModelFolders::renameBack(std::uint32_t arg)
{
    const int i = arg & 1;
    if (m_renamed[i] && QDir().rename(ownPath(i) + QStringLiteral(".away"), ownPath(i)))
        m_renamed[i] = false;
}
