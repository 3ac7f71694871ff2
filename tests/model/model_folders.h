// The two image folders a model-driven sequence works on, and the changes a
// user or another program makes to them while a camera runs.
#ifndef MODEL_FOLDERS_H
#define MODEL_FOLDERS_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>

class ModelFolders {
public:
    ModelFolders();

    // Mostly one of the two folders, now and then one that never exists.
    QString folder(std::uint32_t choice) const;

    void addFile(std::uint32_t arg);
    void deleteFile(std::uint32_t arg);
    void truncateFile(std::uint32_t arg);
    void corruptFile(std::uint32_t arg);
    void replaceFile(std::uint32_t arg);
    void addSubfolder(std::uint32_t arg);
    void renameAway(std::uint32_t arg);
    void renameBack(std::uint32_t arg);

private:
    // Folder i (0 or 1) where it was made.
    QString ownPath(int i) const;
    // Where folder i is now: its own path, or its renamed one.
    QString location(int i) const;
    // Every file under folder i, hidden ones included, sorted so that a choice is stable.
    QStringList filesIn(int i) const;
    QString pickFile(std::uint32_t arg) const;
    void writeFile(const QString& path, std::uint32_t arg);

    QTemporaryDir m_root;
    bool m_renamed[2] = {false, false};
    int m_created = 0;
};

#endif
