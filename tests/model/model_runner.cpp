#include "model_runner.h"

#include "camera_model.h"
#include "delivered_frame.h"
#include "host_camera.h"
#include "log_capture.h"
#include "model_folders.h"
#include "test_module.h"

#include <QRegularExpression>

#include <limits>
#include <memory>

namespace {

const QString createdLine = QStringLiteral("debug: kxCamVirtual In");
const QString deletedLine = QStringLiteral("debug: !CCameraVirtual");

QString compareFrames(const QList<DeliveredFrame>& real, const QList<ExpectedFrame>& expected)
{
    if (real.size() != expected.size())
        return QStringLiteral("%1 frames delivered, %2 expected").arg(real.size()).arg(expected.size());
    for (int i = 0; i < real.size(); ++i) {
        const DeliveredFrame& got = real.at(i);
        const CameraState& want = expected.at(i).state;
        const bool same = got.frameCount == want.frameCount && got.width == want.width && got.height == want.height
                          && got.imageSize == want.imageSize && got.bitsPerPixel == want.bitsPerPixel
                          && got.pixelFormat == want.pixelFormat && got.recordWidth == expected.at(i).recordWidth
                          && got.recordHeight == expected.at(i).recordHeight && got.bytes.size() == want.imageSize;
        if (!same)
            return QStringLiteral("frame %1: count=%2 %3x%4 size=%5 bpp=%6 format=%7 record=%8x%9 bytes=%10; expected %11")
                .arg(i).arg(got.frameCount).arg(got.width).arg(got.height).arg(got.imageSize).arg(got.bitsPerPixel)
                .arg(got.pixelFormat).arg(got.recordWidth).arg(got.recordHeight).arg(got.bytes.size()).arg(want.toString());
        if (pixelRows(got) != expected.at(i).rows)
            return QStringLiteral("frame %1: pixel bytes differ").arg(i);
    }
    return QString();
}

// One sequence in progress: the folders, the host-held camera and the model.
class Session {
public:
    explicit Session(bool preload) : m_host(testEntryPoints())
    {
        m_host.params().folder = m_folders.folder(0);
        m_host.params().preload = preload ? 1 : 0;
        m_host.params().loop = 1;
        m_host.setFrameHandler([this](ICameraObject& camera) { m_frames.append(captureFrame(camera)); });
        create();
    }
    ~Session() { m_host.destroy(); }

    QString perform(const ModelStep& step);
    QString finish();
    int frames = 0;
    int warnings = 0;

private:
    void create()
    {
        m_host.create();
        m_model.reset(new CameraModel(&m_host.params()));
        m_extraLog.append(createdLine);
    }
    QString compare(const QString& resultMismatch);

    ModelFolders m_folders;
    LogCapture m_log;
    HostCamera m_host;
    std::unique_ptr<CameraModel> m_model;
    QList<DeliveredFrame> m_frames;
    QStringList m_extraLog;
};

QString Session::perform(const ModelStep& step)
{
    ICameraObject* camera = m_host.camera();
    CameraParams& record = m_host.params();
    const std::uint32_t arg = step.arg;
    QString mismatch;
    const auto expectEqual = [&mismatch](auto real, auto expected) {
        if (real != expected)
            mismatch = QStringLiteral("returned %1, expected %2").arg(real).arg(expected);
    };
    const CameraParamChange other{7};
    const CameraParamChange folderChange{PARAM_IMAGE_FOLDER};
    switch (step.kind) {
    case ModelStep::Open: expectEqual(camera->open(), m_model->open()); break;
    case ModelStep::Close: camera->close(); m_model->close(); break;
    case ModelStep::Start: expectEqual(camera->start(), m_model->start()); break;
    case ModelStep::Stop: camera->stop(); m_model->stop(); break;
    case ModelStep::Trigger: camera->trigger(); m_model->trigger(); break;
    case ModelStep::ApplyOther: expectEqual(camera->applyParameter(&other), m_model->applyParameter(&other)); break;
    case ModelStep::ApplyFolder:
        expectEqual(camera->applyParameter(&folderChange), m_model->applyParameter(&folderChange));
        break;
    case ModelStep::ApplyNull: expectEqual(camera->applyParameter(nullptr), m_model->applyParameter(nullptr)); break;
    case ModelStep::SetLoop: record.loop = static_cast<std::uint8_t>(arg % 3); break;
    case ModelStep::SetFolder: record.folder = m_folders.folder(arg); break;
    case ModelStep::SetGrabMode:
        camera->m_grabMode = arg % 2 ? 3 : 1;
        m_model->setGrabMode(camera->m_grabMode);
        break;
    case ModelStep::SetFrameCount:
        camera->m_frameCount = std::numeric_limits<std::int32_t>::max() - int(arg % 3);
        m_model->setFrameCount(camera->m_frameCount);
        break;
    case ModelStep::Recreate:
        m_host.destroy();
        m_extraLog.append(deletedLine);
        // Mostly the sequence's own preloading; sometimes the other, or a value that is not exactly 1.
        if (arg % 4 == 0)
            record.preload = 2;
        else if (arg % 4 == 1)
            record.preload = record.preload == 1 ? 0 : 1;
        record.pixelFormat = int((arg >> 2) % 6);
        create();
        break;
    case ModelStep::AddFile: m_folders.addFile(arg); break;
    case ModelStep::DeleteFile: m_folders.deleteFile(arg); break;
    case ModelStep::TruncateFile: m_folders.truncateFile(arg); break;
    case ModelStep::CorruptFile: m_folders.corruptFile(arg); break;
    case ModelStep::ReplaceFile: m_folders.replaceFile(arg); break;
    case ModelStep::AddSubfolder: m_folders.addSubfolder(arg); break;
    case ModelStep::RenameAway: m_folders.renameAway(arg); break;
    case ModelStep::RenameBack: m_folders.renameBack(arg); break;
    case ModelStep::KindCount: break;
    }
    return compare(mismatch);
}

QString Session::compare(const QString& resultMismatch)
{
    if (!resultMismatch.isEmpty())
        return resultMismatch;
    const QString frameMismatch = compareFrames(m_frames, m_model->takeFrames());
    frames += m_frames.size();
    m_frames.clear();
    if (!frameMismatch.isEmpty())
        return frameMismatch;
    const QStringList log = m_log.take();
    warnings += log.filter(QRegularExpression(QStringLiteral("^warning: "))).size();
    const QStringList expectedLog = m_extraLog + m_model->takeLog();
    m_extraLog.clear();
    if (log != expectedLog)
        return QStringLiteral("log [%1], expected [%2]").arg(log.join(QLatin1String(" | ")),
                                                            expectedLog.join(QLatin1String(" | ")));
    const CameraState real = stateOf(*m_host.camera());
    if (real != m_model->state())
        return QStringLiteral("members %1, expected %2").arg(real.toString(), m_model->state().toString());
    const CameraParams& record = m_host.params();
    if (record.width != m_model->recordWidth() || record.height != m_model->recordHeight())
        return QStringLiteral("record %1x%2, expected %3x%4").arg(record.width).arg(record.height)
            .arg(m_model->recordWidth()).arg(m_model->recordHeight());
    return QString();
}

QString Session::finish()
{
    m_host.destroy();
    const QStringList log = m_log.take();
    const QStringList expectedLog = m_extraLog + QStringList{deletedLine};
    if (log != expectedLog)
        return QStringLiteral("destruction logged [%1], expected [%2]").arg(log.join(QLatin1String(" | ")),
                                                                           expectedLog.join(QLatin1String(" | ")));
    return QString();
}

}  // namespace

QString ModelRunner::run(const QVector<ModelStep>& steps)
{
    m_failedStep = -1;
    Session session(m_preload);
    for (int i = 0; i < steps.size(); ++i) {
        const QString mismatch = session.perform(steps.at(i));
        if (!mismatch.isEmpty()) {
            m_failedStep = i;
            return QStringLiteral("step %1 (%2): %3").arg(i).arg(steps.at(i).toString(), mismatch);
        }
    }
    const QString mismatch = session.finish();
    m_frames = session.frames;
    m_warnings = session.warnings;
    if (!mismatch.isEmpty())
        m_failedStep = steps.size();
    return mismatch;
}
