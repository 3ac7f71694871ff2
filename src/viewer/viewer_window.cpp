#include "viewer_window.h"

#include "frame_view.h"
#include "histogram_view.h"
#include "kxcam_camera.h"
#include "pixel_inspector.h"
#include "saved_frame.h"
#include "status_line.h"
#include "warning_log.h"
#include "warning_pane.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDockWidget>
#include <QDoubleSpinBox>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The least step of the rate box, which shows three decimals.
constexpr double leastRate = 0.001;
constexpr int messageMilliseconds = 5000;

// The folder a drag carries: its first local URL, when that is a folder.
QString draggedFolder(const QMimeData* data)
{
    const QList<QUrl> urls = data->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return QString();
    const QString path = urls.first().toLocalFile();
    return QFileInfo(path).isDir() ? path : QString();
}

// Where Ctrl+S first offers to save: the user's pictures, else the home folder.
QString defaultSaveFolder()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

bool isDigitKey(const QKeyEvent* key)
{
    return key->key() >= Qt::Key_0 && key->key() <= Qt::Key_9
           && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

ViewerWindow::ViewerWindow(const CameraEntryPoints& entryPoints, WarningLog& log, QWidget* parent)
    : QMainWindow(parent),
      m_playback(entryPoints, log),
      m_view(new FrameView),
      m_warnings(new WarningPane),
      m_histogram(new HistogramView),
      m_status(new QLabel),
      m_inspector(new QLabel),
      m_paletteNote(new QLabel),
      m_saveFolder(defaultSaveFolder())
{
    // The inspector and the palette note sit right under the frame they describe.
    auto* frameArea = new QWidget;
    auto* frameLayout = new QVBoxLayout(frameArea);
    frameLayout->setContentsMargins(0, 0, 0, 0);
    frameLayout->addWidget(m_view);
    auto* notes = new QHBoxLayout;
    notes->addWidget(m_inspector, 1);
    notes->addWidget(m_paletteNote);
    frameLayout->addLayout(notes);
    m_paletteNote->setStyleSheet(QStringLiteral("color: #b06000"));
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(frameArea);
    splitter->addWidget(m_warnings);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);
    statusBar()->addWidget(m_status, 1);
    createToolBar();
    setAcceptDrops(true);
    QApplication::instance()->installEventFilter(this);

    connect(&m_playback, &Playback::frameDelivered, this, &ViewerWindow::showFrame);
    connect(&m_playback, &Playback::frameCleared, this, &ViewerWindow::clearFrame);
    connect(&m_playback, &Playback::stateChanged, this, &ViewerWindow::showState);
    connect(&m_playback, &Playback::opened, this, &ViewerWindow::showOpened);
    connect(&m_playback, &Playback::openingProgressed, this, &ViewerWindow::showState);
    connect(&m_playback, &Playback::paceNoted, this,
            [this](const QString& note) { statusBar()->showMessage(note, messageMilliseconds); });
    connect(m_view, &FrameView::pixelHovered, this, &ViewerWindow::showPixel);
    connect(m_view, &FrameView::zoomChanged, this, &ViewerWindow::showStatus);
    connect(&log, &WarningLog::warned, m_warnings, &WarningPane::addWarning);
    connect(&log, &WarningLog::warned, this, &ViewerWindow::showStatus);

    m_view->setFocus();
    showState();
    resize(1280, 900);
}

void ViewerWindow::start(const HostOptions& options)
{
    m_playback.setPixelFormat(options.pixelFormat);
    setLoop(options.loop);
    setPreload(options.preload);
    setFollow(options.follow);
    setFramesPerSecond(options.fps * options.speed);
    setPace(options.pace, options.speed);
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

void ViewerWindow::setFollow(bool follow)
{
    m_follow->setChecked(follow);
}

void ViewerWindow::setFramesPerSecond(double rate)
{
    // A rate the box would round to 0, which means "max", plays at its least step.
    m_rate->setValue(rate > 0.0 ? qMax(rate, leastRate) : 0.0);
}

void ViewerWindow::setPace(const PaceRule& rule, double speed)
{
    m_playback.setPace(rule, speed);
    // The files' times set the pace: the rate box has none to set.
    m_rate->setEnabled(rule.source == PaceRule::Source::None);
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

QString ViewerWindow::paletteNote() const
{
    return m_paletteNote->text();
}

void ViewerWindow::openFolder(const QString& folder)
{
    setWindowTitle(tr("%1 - kxcam-view").arg(QDir::toNativeSeparators(folder)));
    m_warnings->clear();
    m_playback.openFolder(folder);
}

QString ViewerWindow::saveShownFrame(const QString& folder)
{
    const HostFrame& frame = m_playback.frame();
    if (frame.number == 0 || (frame.image.isNull() && frame.raw.size() != frame.bytes)) {
        statusBar()->showMessage(tr("No frame to save."), messageMilliseconds);
        return QString();
    }
    const uchar* bytes =
        frame.image.isNull() ? reinterpret_cast<const uchar*>(frame.raw.constData()) : frame.image.constBits();
    QString error;
    const QString path = saveFrame(frame, bytes, folder, frame.number, error);
    statusBar()->showMessage(path.isEmpty() ? tr("Cannot save frame %1 into %2: %3")
                                                  .arg(frame.number)
                                                  .arg(QDir::toNativeSeparators(folder), error)
                                            : tr("Saved %1").arg(QDir::toNativeSeparators(path)),
                             messageMilliseconds);
    return path;
}

// A focused widget may claim a key before the window's shortcuts see it: the
// rate box takes Space, Home, Right and letters to edit its text. Keys reach
// the window whatever has focus, but for the digits a rate is typed with.
bool ViewerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && !isDigitKey(static_cast<QKeyEvent*>(event))) {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!draggedFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ViewerWindow::dropEvent(QDropEvent* event)
{
    const QString folder = draggedFolder(event->mimeData());
    if (folder.isEmpty())
        return;
    event->acceptProposedAction();
    openFolder(folder);
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
    // W for watching the folder: F is Fit's.
    m_follow = addAction(tr("Follow"), {Qt::Key_W}, true);
    connect(m_follow, &QAction::toggled, this, &ViewerWindow::changeFollow);
    bar->addActions({open, m_play, m_step, m_restart, m_loop, m_preload, m_follow});

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

    QAction* save = addAction(tr("Save..."), {QKeySequence::Save});
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    connect(save, &QAction::triggered, this, &ViewerWindow::chooseSaveFolder);
    bar->addSeparator();
    bar->addActions({save, createHistogramDock()});
    // Spelt out: the platform's standard Quit key is none on Windows.
    QAction* quit = addAction(tr("Quit"), {QKeySequence(Qt::CTRL + Qt::Key_Q)});
    connect(quit, &QAction::triggered, this, &QWidget::close);
}

QAction* ViewerWindow::createHistogramDock()
{
    auto* dock = new QDockWidget(tr("Histogram (logarithmic)"), this);
    dock->setObjectName(QStringLiteral("histogram"));
    dock->setWidget(m_histogram);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    QAction* toggle = dock->toggleViewAction();
    toggle->setShortcut(Qt::Key_H);
    toggle->setText(tr("Histogram"));
    toggle->setToolTip(tr("Histogram (H)"));
    QWidget::addAction(toggle);
    return toggle;
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

void ViewerWindow::chooseSaveFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("Save the frame into"), m_saveFolder);
    if (folder.isEmpty())
        return;
    m_saveFolder = folder;
    saveShownFrame(folder);
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
    if (preload != m_playback.preloads())
        m_warnings->clear();
    m_playback.setPreload(preload);
}

void ViewerWindow::changeFollow(bool follow)
{
    if (follow != m_playback.follows())
        m_warnings->clear();
    m_playback.setFollow(follow);
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
    const int files = m_playback.listedFiles();
    if (m_playback.listing())
        return files == 1 ? tr("Listing 1 file\u2026") : tr("Listing %1 files\u2026").arg(countText(files));
    if (!m_playback.preloads())
        return tr("Opening %1\u2026").arg(QDir::toNativeSeparators(m_playback.folder()));
    return tr("Preloading %1 of %2 files\u2026").arg(countText(m_playback.preloadedFiles()), countText(files));
}

void ViewerWindow::showOpenFailure()
{
    m_view->setFrame(QImage());
    m_view->setMessage(m_playback.errorString());
    showStatus();
}

void ViewerWindow::clearFrame()
{
    m_view->setMessage(QString());
    m_view->setFrame(QImage());
    m_histogram->setFrame(QImage(), 0);
    m_paletteNote->clear();
    showStatus();
}

void ViewerWindow::showFrame()
{
    const HostFrame& frame = m_playback.frame();
    if (frame.image.isNull()) {
        m_view->setMessage(tr("This frame is announced as %1 (%2), a format the viewer cannot draw; the inspector "
                              "shows its bytes.")
                               .arg(pixelFormatNames.value(frame.pixelFormat))
                               .arg(frame.pixelFormat));
        m_view->setBlankFrame(QSize(frame.width, frame.height));
    } else {
        m_view->setMessage(QString());
        m_view->setFrame(frame.image);
    }
    m_histogram->setFrame(frame.image, frame.pixelFormat);
    m_paletteNote->setText(frame.paletteIndices ? tr("palette image: the picture shows its colour indices as grey")
                                                : QString());
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
    RunFacts facts;
    facts.files = m_playback.imageFiles();
    facts.framesPerSecond =
        m_playback.state() == Playback::State::Playing ? m_playback.measuredFramesPerSecond() : 0.0;
    facts.pace = m_playback.paceDescription();
    facts.zoom = m_view->zoom();
    facts.warnings = m_warnings->count();
    facts.endOfFolder = m_playback.state() == Playback::State::EndOfFolder;
    facts.waitingForFiles = m_playback.waitingForFiles();
    m_status->setText(statusLine(m_playback.frame(), facts));
}

void ViewerWindow::showPixel(const QPoint& pixel)
{
    const HostFrame& frame = m_playback.frame();
    m_inspector->setText(frame.image.isNull() ? rawPixelDescription(frame, frame.raw, pixel)
                                              : pixelDescription(frame.image, frame.pixelFormat, pixel));
}
