// A temporary folder tree of image and other files, removed with the object.
#ifndef IMAGE_FOLDER_H
#define IMAGE_FOLDER_H

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class ImageFolder {
public:
    ImageFolder();
    // Made inside parentFolder instead of the system's temporary folder.
    explicit ImageFolder(const QString& parentFolder);

    QString path() const { return m_dir.path(); }
    // Each returns the file's full path; missing parent folders are created.
    QString addImage(const QString& relativePath, const QImage& image, const char* format = nullptr);
    QString addFile(const QString& relativePath, const QByteArray& bytes);
    QString addFolder(const QString& relativePath);
    // A symbolic link at relativeLinkPath to target (a file or folder): on Windows
    // a real symbolic link, not the shortcut file QFile::link makes there. False
    // when the system refuses (Windows without the privilege for links).
    bool addSymbolicLink(const QString& target, const QString& relativeLinkPath);
#if defined(Q_OS_WIN)
    // Gives a file or folder the hidden attribute, which is what hides it on Windows.
    void hide(const QString& relativePath);
#endif

private:
    QString prepare(const QString& relativePath);

    QTemporaryDir m_dir;
};

// The ways a host may write a file-system root: "C:/", "C:\\" and "c:/" on
// Windows, "/" elsewhere.
QStringList rootSpellings();

// A small image whose pixels depend on seed, in the given format.
QImage patternImage(int width, int height, QImage::Format format, int seed);

#endif
