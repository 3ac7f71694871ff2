// An executable model of the folder camera: what each call must return,
// deliver and log, computed independently from the module. It reads the real
// file system at the moments the camera scans or decodes, so the frame order
// and the decoded pixels come from the same Qt primitives a host would use.
#ifndef CAMERA_MODEL_H
#define CAMERA_MODEL_H

#include "camera_state.h"
#include "kxcam_camera.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QStringList>

struct ExpectedFrame {
    CameraState state;  // the members as onFrame must see them
    int recordWidth = 0;
    int recordHeight = 0;
    QByteArray rows;  // pixel rows without padding
};

class CameraModel {
public:
    // A camera freshly created on record; the record must outlive the model.
    explicit CameraModel(const CameraParams* record);

    int open();
    void close();
    int start();
    void stop();
    void trigger();
    bool applyParameter(const CameraParamChange* change);
    // Writes of the host to the camera's public members.
    void setGrabMode(int mode) { m_state.grabMode = mode; }
    void setFrameCount(int count) { m_state.frameCount = count; }

    const CameraState& state() const { return m_state; }
    int recordWidth() const { return m_recordWidth; }
    int recordHeight() const { return m_recordHeight; }
    // The record's size is the host's and outlives a camera.
    void keepRecordSize(int width, int height);
    QList<ExpectedFrame> takeFrames();
    QStringList takeLog();

private:
    void scan();
    void warn(const QString& text);
    void deliver(const QImage& image);

    const CameraParams* m_record;
    CameraState m_state;
    bool m_preload;
    bool m_hasDirectory = false;
    QString m_directoryPath;
    QStringList m_files;
    QList<QImage> m_images;
    int m_index = -1;
    int m_recordWidth = 0;
    int m_recordHeight = 0;
    QList<ExpectedFrame> m_frames;
    QStringList m_log;
};

#endif
