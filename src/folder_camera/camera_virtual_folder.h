// Camera kind 100: a camera without hardware whose frames are the image files
// of a folder tree.
#ifndef CAMERA_VIRTUAL_FOLDER_H
#define CAMERA_VIRTUAL_FOLDER_H

#include "camera_log.h"
#include "file_list.h"
#include "follow_settings.h"
#include "kxcam_camera.h"

#include <QImage>
#include <QList>
#include <QStringList>

#include <memory>

class FolderFollower;
class PreloadBudget;
class QDir;

class CCameraVirtualFolder : public ICameraObject {
public:
    CCameraVirtualFolder(CameraParams* params, ICameraCallback* callback);
    ~CCameraVirtualFolder() override;

    CCameraVirtualFolder(const CCameraVirtualFolder&) = delete;
    CCameraVirtualFolder& operator=(const CCameraVirtualFolder&) = delete;

    int open() override;
    void close() override;
    int start() override;
    void stop() override;
    void trigger() override;
    int reservedValue10() override { return 0; }
    bool applyParameter(const CameraParamChange* change) override;
    virtual void reservedOp13() {}
    virtual void reservedOp14() {}

    void scanFolder();
    void preloadImages();

    // Read-only views for in-process callers; hosts never see past ICameraObject.
    const QDir* directory() const { return m_dir; }
    QStringList files() const { return m_files.paths(); }
    const QStringList& nameFilters() const { return m_nameFilters; }
    int index() const { return m_index; }
    bool preloading() const { return m_preload; }
    // The cache of a preloading camera: one image per file from the first on,
    // null for a file that does not decode. The files past its end, which would
    // have taken it past its memory budget or were refused memory, are decoded
    // at their trigger.
    const QList<QImage>& images() const { return m_images; }

private:
    enum class PreloadEnd { NotYet, OverBudget, MemoryRefused };

    PreloadEnd preloadImage(const QString& path, PreloadBudget& budget);
    void releaseCacheTail(qint64 bytes);
    void emptyLists();
    bool stepForward();
    bool stepFollowing();
    bool obtainFrame(QImage& frame);
    void noteNoFrame(int count);
    void deliver(QImage& image);

    QDir* m_dir = nullptr;
    FileList m_files;
    QStringList m_nameFilters;
    int m_index = -1;
    bool m_preload = false;
    // The host's cap on the cache, in bytes; -1 for none.
    qint64 m_preloadCap = -1;
    QList<QImage> m_images;
    FollowSettings m_follow;
    // While following: from the scan on, until the list is emptied.
    std::unique_ptr<FolderFollower> m_follower;
    // A followed folder has given nothing new since the last file was taken.
    bool m_waiting = false;
    // The frame buffer trigger decodes or copies into, reused while the frame
    // size and format stay: fresh pixel memory per frame costs more than a decode.
    QImage m_frame;
    bool m_delivering = false;
    // Triggers since the last frame that took a file and gave none.
    int m_framelessInARow = 0;
    CameraLog m_log;
};

#endif
