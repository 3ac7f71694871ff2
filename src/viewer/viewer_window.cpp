#include "viewer_window.h"

#include "frame_view.h"
#include "kxcam_camera.h"
#include "pixel_inspector.h"
#include "status_line.h"
#include "warning_log.h"
#include "warning_pane.h"

#include <QAction>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The least step of the rate box, which shows three decimals.
constexpr double leastRate = 0.001;

}  // namespace

ViewerWindow::ViewerWindow(const CameraEntryPoints& entryPoints, WarningLog& log, QWidget* parent)
    : QMainWindow(parent),
      m_log(log),
      m_playback(entryPoints, log),
      m_view(new FrameView),
      m_warnings(new WarningPane),
      m_status(new QLabel),
      m_inspector(new QLabel)
{
    // The inspector sits right under the frame it describes.
    auto* frameArea = new QWidget;
    auto* frameLayout = new QVBoxLayout(frameArea);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(m_view);
    frameLayout->addWidget(m_inspector);
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(frameArea);
    splitter->addWidget(m_warnings);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    statusBar()->addWidget(m_status, 1);
    createToolBar();

    connect(&m_playback, &Playback::frameDelivered, this, &ViewerWindow::showFrame);
    connect(&m_playback, &Playback::stateChanged, this, &ViewerWindow::showState);
    connect(&m_playback, &Playback::opened, this, &ViewerWindow::showOpened);
    connect(m_view, &FrameView::pixelHovered, this, &ViewerWindow::showPixel);
    connect(&log, &WarningLog::warned, m_warnings, &WarningPane::addWarning);
    connect(&log, &WarningLog::warned, this, &ViewerWindow::showStatus);

    m_view->setFocus();
    showState();
    resize(1100, 820);
}

void ViewerWindow::start(const HostOptions& options)
{
    m_playback.setPixelFormat(options.pixelFormat);
    setLoop(options.loop);
    setPreload(options.preload);
    setFramesPerSecond(options.fps);
    show();
    openFolder(options.folder);
}

void ViewerWindow::setLoop(bool loop)
{
    m_loop->setChecked(loop);
}

void ViewerWindow::setPreload(bool preload)
{
    m_preload->setChecked(preload);
}

void ViewerWindow::setFramesPerSecond(double rate)
{
    // A rate the box would round to 0, which means "max", plays at its least step.
    m_rate->setValue(rate > 0.0 ? qMax(rate, leastRate) : 0.0);
}

void ViewerWindow::changeFramesPerSecond(double rate)
{
    m_playback.setFramesPerSecond(rate);
    // At 0 each trigger waits for the event loop, and so for the last paint.
    m_view->setFrameSkipping(rate > 0.0);
}

QString ViewerWindow::statusText() const
{
    return m_status->text();
}

QString ViewerWindow::inspectorText() const
{
    return m_inspector->text();
}

void ViewerWindow::openFolder(const QString& folder)
{
    setWindowTitle(tr("%1 - kxcam-view").arg(QDir::toNativeSeparators(folder)));
    m_playback.openFolder(folder);
}

void ViewerWindow::createToolBar()
{
    QToolBar* bar = addToolBar(tr("Playback"));
    bar->setObjectName(QStringLiteral("playback"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setMovable(false);

    QAction* open = addAction(tr("Open..."), {QKeySequence::Open});
    open->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    connect(open, &QAction::triggered, this, &ViewerWindow::chooseFolder);
    m_play = addAction(tr("Play"), {Qt::Key_Space});
    connect(m_play, &QAction::triggered, this, &ViewerWindow::togglePlay);
    m_step = addAction(tr("Step"), {Qt::Key_Right});
    m_step->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    connect(m_step, &QAction::triggered, &m_playback, &Playback::step);
    m_restart = addAction(tr("Restart"), {Qt::Key_Home});
    m_restart->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    connect(m_restart, &QAction::triggered, &m_playback, &Playback::restart);
    m_loop = addAction(tr("Loop"), {Qt::Key_L}, true);
    connect(m_loop, &QAction::toggled, &m_playback, &Playback::setLoop);
    m_preload = addAction(tr("Preload"), {Qt::Key_P}, true);
    connect(m_preload, &QAction::toggled, this, &ViewerWindow::changePreload);
    bar->addActions({open, m_play, m_step, m_restart, m_loop, m_preload});

    m_rate = new QDoubleSpinBox;
    m_rate->setRange(0.0, 1000.0);
    m_rate->setDecimals(3);
    m_rate->setSuffix(tr(" frames/s"));
    m_rate->setSpecialValueText(tr("max frames/s"));
    m_rate->setToolTip(tr("Triggers per second; 0: as fast as the window shows frames"));
    connect(m_rate, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &ViewerWindow::changeFramesPerSecond);
    bar->addSeparator();
    bar->addWidget(m_rate);
    bar->addSeparator();

    QAction* zoomIn = addAction(tr("Zoom in"), {QKeySequence::ZoomIn, Qt::Key_Plus, Qt::Key_Equal});
    connect(zoomIn, &QAction::triggered, m_view, &FrameView::zoomIn);
    QAction* zoomOut = addAction(tr("Zoom out"), {QKeySequence::ZoomOut, Qt::Key_Minus});
    connect(zoomOut, &QAction::triggered, m_view, &FrameView::zoomOut);
    QAction* actualSize = addAction(tr("100 %"), {Qt::Key_1});
    connect(actualSize, &QAction::triggered, m_view, &FrameView::showActualSize);
    QAction* fit = addAction(tr("Fit"), {Qt::Key_0, Qt::Key_F});
    connect(fit, &QAction::triggered, m_view, &FrameView::fitToWindow);
    bar->addActions({zoomIn, zoomOut, actualSize, fit});
}

QAction* ViewerWindow::addAction(const QString& text, const QList<QKeySequence>& keys, bool checkable)
{
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setCheckable(checkable);
    action->setToolTip(QStringLiteral("%1 (%2)").arg(text, keys.first().toString(QKeySequence::NativeText)));
    QWidget::addAction(action);
    return action;
}

void ViewerWindow::chooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Image folder"), m_playback.folder());
    if (!folder.isEmpty())
        openFolder(folder);
}

void ViewerWindow::togglePlay()
{
    if (m_playback.playing())
        m_playback.pause();
    else
        m_playback.play();
}

void ViewerWindow::changePreload(bool preload)
{
    m_playback.setPreload(preload);
}

void ViewerWindow::showOpened()
{
    if (m_playback.state() == Playback::State::NoCamera)
        showOpenFailure();
    else
        m_view->setMessage(QString());
}

QString ViewerWindow::openingText() const
{
    const int files = m_playback.imageFiles();
    if (!m_playback.preloads())
        return tr("Opening %1\u2026").arg(QDir::toNativeSeparators(m_playback.folder()));
    return files == 1 ? tr("Preloading 1 file\u2026") : tr("Preloading %1 files\u2026").arg(files);
}

void ViewerWindow::showOpenFailure()
{
    m_view->setFrame(QImage());
    m_view->setMessage(m_playback.errorString());
    showStatus();
}

void ViewerWindow::showFrame()
{
    const HostFrame& frame = m_playback.frame();
    m_view->setMessage(frame.image.isNull()
                           ? tr("Frame %1 is announced as %2 (%3), a format without an image to draw.")
                                 .arg(frame.number)
                                 .arg(pixelFormatNames.value(frame.pixelFormat))
                                 .arg(frame.pixelFormat)
                           : QString());
    m_view->setFrame(frame.image);
    showStatus();
}

void ViewerWindow::showState()
{
    const Playback::State state = m_playback.state();
    const bool playing = m_playback.playing();
    const bool hasCamera = state != Playback::State::NoCamera && state != Playback::State::Opening;
    m_play->setText(playing ? tr("Pause") : tr("Play"));
    m_play->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    m_play->setEnabled(state != Playback::State::NoCamera);
    m_step->setEnabled(hasCamera);
    m_restart->setEnabled(hasCamera);
    if (state == Playback::State::Opening) {
        m_view->setFrame(QImage());
        m_view->setMessage(openingText());
    }
    showStatus();
}

void ViewerWindow::showStatus()
{
    if (m_playback.state() == Playback::State::Opening) {
        m_status->setText(openingText());
        return;
    }
    if (m_playback.state() == Playback::State::NoCamera && !m_playback.folder().isEmpty()) {
        m_status->setText(tr("no camera: %1").arg(m_playback.errorString()));
        return;
    }
    const FrameRates rates{m_playback.measuredFramesPerSecond(), m_view->drawnFramesPerSecond()};
    m_status->setText(statusLine(m_playback.frame(), rates, m_log.warningCount(),
                                 m_playback.state() == Playback::State::EndOfFolder));
}

void ViewerWindow::showPixel(const QPoint& pixel)
{
    const HostFrame& frame = m_playback.frame();
    m_inspector->setText(pixelDescription(frame.image, frame.pixelFormat, pixel));
}
