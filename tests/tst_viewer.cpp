// kxcam-view's window driven as a user drives it, on the offscreen platform:
// what it draws and inspects is checked against the host's own decode of the
// files, and its states against what the keys promise.
#include "delivered_frame.h"
#include "frame_image.h"
#include "frame_histogram.h"
#include "frame_order.h"
#include "frame_view.h"
#include "gui_test_main.h"
#include "histogram_view.h"
#include "image_folder.h"
#include "kxcam_pixel_format.h"
#include "log_capture.h"
#include "pixel_checksum.h"
#include "pixel_inspector.h"
#include "status_line.h"
#include "test_module.h"
#include "viewer_window.h"
#include "warning_log.h"
#include "warning_pane.h"

#include <QAction>
#include <QDirIterator>
#include <QDoubleSpinBox>
#include <QLoggingCategory>
#include <QMimeData>
#include <QStatusBar>
#include <QPainter>
#include <QToolBar>
#include <QtEndian>
#include <QtTest>

#include <memory>
#include <thread>

Q_DECLARE_METATYPE(Playback::State)

namespace {

// A file as the host's buffer holds it: its decode reinterpreted in the
// announced format, so a palette image shows its raw indices as grey.
QImage hostImage(const QString& path)
{
    const QImage decoded(path);
    const QImage::Format format = imageFormatOfCode(announcedPixelFormat(decoded.format()));
    return QImage(decoded.constBits(), decoded.width(), decoded.height(), decoded.bytesPerLine(), format).copy();
}

// The frame as the view must draw it at an integral zoom: sharp squares over the background.
QImage expectedDrawing(const QImage& frame, int zoom)
{
    QImage drawing(frame.size(), QImage::Format_RGB32);
    drawing.fill(FrameView::background());
    QPainter(&drawing).drawImage(0, 0, frame);
    return drawing.scaled(frame.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage drawnFrame(FrameView& view)
{
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(view.frameRect());
}

QStringList samplePaths()
{
    QStringList paths;
    QDirIterator it(QStringLiteral(KXCAM_SAMPLES_DIR), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    return paths;
}

QString samplesFolder()
{
    return QStringLiteral(KXCAM_SAMPLES_DIR);
}

void hover(FrameView& view, const QPoint& position)
{
    QMouseEvent move(QEvent::MouseMove, position, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
}

QAction* actionNamed(QWidget& window, const QString& text)
{
    for (QAction* action : window.actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

// "R 0:11 10:1; G 0:12; B ..." with the bins that count something.
QString histogramText(const QVector<HistogramChannel>& channels)
{
    QStringList parts;
    for (const HistogramChannel& channel : channels) {
        QString part = channel.name;
        for (int bin = 0; bin < channel.counts.size(); ++bin)
            if (channel.counts.at(bin) != 0)
                part += QStringLiteral(" %1:%2").arg(bin).arg(channel.counts.at(bin));
        parts << part;
    }
    return parts.join(QStringLiteral("; "));
}

// A PNG whose text chunk fails its checksum: libpng warns, and decodes the picture all the same.
QByteArray pngWithDamagedText()
{
    QImage image = patternImage(8, 6, QImage::Format_RGB32, 3);
    image.setText(QStringLiteral("Comment"), QStringLiteral("kxcam"));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    image.save(&buffer, "PNG");
    const int type = bytes.indexOf("tEXt");
    const int length = int(qFromBigEndian<quint32>(bytes.constData() + type - 4));
    bytes[type + 4 + length] = char(bytes.at(type + 4 + length) ^ 1);
    return bytes;
}

}  // namespace

class ViewerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void drawsHostBytes_data();
    void drawsHostBytes();
    void opensFitted();
    void zoom_data();
    void zoom();
    void playPauseStep();
    void endOfFolderAndRestart();
    void playsAtPace_data();
    void playsAtPace();
    void loopPlaysOn();
    void inspector_data();
    void inspector();
    void inspectedBytes_data();
    void inspectedBytes();
    void missingFolder_data();
    void missingFolder();
    void warnings_data();
    void warnings();
    void otherThreadsWarningsStayOut();
    void followPlaysArrivals();
    void preloadRecreatesCamera_data();
    void preloadRecreatesCamera();
    void keysWhateverHasFocus_data();
    void keysWhateverHasFocus();
    void commandLine_data();
    void commandLine();
    void statusCounts_data();
    void statusCounts();

private:
    // Opens the folder and waits for open to return.
    void open(const QString& folder);
    // Opens the folder, which shows its first frame and pauses.
    void openPaused(const QString& folder);
    void openPlaying(const QString& folder);
    void dropFolder(const QString& folder);
    Playback::State state() const { return m_window->playback().state(); }
    const HostFrame& frame() const { return m_window->playback().frame(); }
    // Where a user's key goes: to the widget with focus.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : m_window.get(), key, modifiers);
    }

    std::unique_ptr<WarningLog> m_log;
    std::unique_ptr<ViewerWindow> m_window;
};

void ViewerTest::initTestCase()
{
    if (!guiAvailable())
        QSKIP("no Qt platform plug-in can be loaded");
}

void ViewerTest::init()
{
    m_log.reset(new WarningLog);
    m_window.reset(new ViewerWindow(testEntryPoints(), *m_log));
    // At least as wide as the whole tool bar, whose widgets past the window's
    // edge sit hidden in its overflow: on Windows the offscreen platform's
    // fonts measure the bar wider than the window.
    const int toolBarWidth = m_window->findChild<QToolBar*>()->sizeHint().width();
    m_window->resize(qMax(1000, toolBarWidth), 900);
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void ViewerTest::cleanup()
{
    m_window.reset();
    m_log.reset();
    QLoggingCategory::setFilterRules(QString());
}

void ViewerTest::open(const QString& folder)
{
    QSignalSpy opened(&m_window->playback(), &Playback::opened);
    m_window->openFolder(folder);
    QVERIFY(opened.wait(20000));
}

void ViewerTest::openPaused(const QString& folder)
{
    open(folder);
    QCOMPARE(state(), Playback::State::Paused);
    QTest::qWait(50);
    QCOMPARE(state(), Playback::State::Paused);
}

void ViewerTest::openPlaying(const QString& folder)
{
    open(folder);
    if (state() == Playback::State::Paused)
        key(Qt::Key_Space);
}

void ViewerTest::dropFolder(const QString& folder)
{
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder)});
    const QPoint centre = m_window->rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QSignalSpy opened(&m_window->playback(), &Playback::opened);
    QApplication::sendEvent(m_window.get(), &drop);
    QVERIFY(opened.wait(20000));
}

void ViewerTest::drawsHostBytes_data()
{
    QTest::addColumn<QList<Qt::Key>>("zoomKeys");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("changed");  // files added, removed and replaced once the folder has opened
    QTest::newRow("100 %") << QList<Qt::Key>{Qt::Key_1} << 1 << false;
    QTest::newRow("200 %, sharp squares") << QList<Qt::Key>{Qt::Key_1, Qt::Key_Plus} << 2 << false;
    QTest::newRow("100 %, the folder changed before a restart") << QList<Qt::Key>{Qt::Key_1} << 1 << true;
}

// Every frame of the sample set, the first as the folder opens and the rest
// stepped with the Right key, names in the status line the file whose bytes,
// as the host reads them, it holds and is drawn from; each file once, in the
// order of the tests' own sort. A folder changed after it opened is the
// camera's new list once a restart has made it scan again.
void ViewerTest::drawsHostBytes()
{
    QFETCH(QList<Qt::Key>, zoomKeys);
    QFETCH(int, zoom);
    QFETCH(bool, changed);
    ImageFolder copy;
    QString folder = samplesFolder();
    if (changed) {
        for (const QString& path : samplePaths()) {
            const QString target = copy.path() + QLatin1Char('/') + QDir(folder).relativeFilePath(path);
            QVERIFY(QDir().mkpath(QFileInfo(target).path()) && QFile::copy(path, target));
        }
        folder = copy.path();
    }
    openPaused(folder);
    if (changed) {
        copy.addImage(QStringLiteral("added.png"), patternImage(9, 7, QImage::Format_RGB32, 1));
        copy.addImage(QStringLiteral("frames/frame_25.png"), patternImage(11, 5, QImage::Format_RGB32, 2));
        QVERIFY(QFile::remove(copy.path() + QStringLiteral("/fade.png")));
        copy.addImage(QStringLiteral("grey_ramp.png"), patternImage(13, 3, QImage::Format_RGB32, 3));
        m_window->playback().restart();
        m_window->playback().pause();
        QCOMPARE(frame().number, 0);
        key(Qt::Key_Right);
    }
    for (Qt::Key zoomKey : zoomKeys)
        key(zoomKey);
    QCOMPARE(m_window->frameView().zoom(), double(zoom));

    const QStringList inOrder = imageFilesInFrameOrder(folder);
    const int files = inOrder.size();
    QCOMPARE(files, samplePaths().size() + (changed ? 1 : 0));
    for (int number = 1; number <= files; ++number) {
        if (number > 1)
            key(Qt::Key_Right);
        QCOMPARE(frame().number, number);
        const QString named = QStringLiteral("frame %1 of %2: ").arg(number).arg(files);
        const QString status = m_window->statusText();
        QVERIFY2(status.startsWith(named), qPrintable(status));
        const QString relative = status.mid(named.size()).section(QStringLiteral(", "), 0, 0);
        const QString file = QDir(folder).filePath(relative);
        QCOMPARE(file, inOrder.at(number - 1));
        QCOMPARE(pixelChecksum(frame().image), pixelChecksum(hostImage(file)));
        QWidget* viewport = m_window->frameView().viewport();
        viewport->repaint();
        QCOMPARE(drawnFrame(m_window->frameView()), expectedDrawing(hostImage(file), zoom));
        QVERIFY(viewport->rect().contains(m_window->frameView().frameRect()));
    }
}

void ViewerTest::opensFitted()
{
    openPaused(samplesFolder());
    FrameView& view = m_window->frameView();
    QVERIFY(view.fitsWindow());
    const QRect drawn = view.frameRect();
    const QRect room = view.viewport()->rect();
    QVERIFY(room.contains(drawn));
    QVERIFY(drawn.width() == room.width() || drawn.height() == room.height());
    QCOMPARE(drawn.center(), room.center());
}

void ViewerTest::zoom_data()
{
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<int>("wheelSteps");
    QTest::addColumn<double>("zoom");  // 0: fitted
    QTest::newRow("100 %") << QList<Qt::Key>{Qt::Key_1} << 0 << 1.0;
    QTest::newRow("in twice") << QList<Qt::Key>{Qt::Key_1, Qt::Key_Plus, Qt::Key_Equal} << 0 << 4.0;
    QTest::newRow("out") << QList<Qt::Key>{Qt::Key_1, Qt::Key_Minus} << 0 << 0.5;
    QTest::newRow("in and out") << QList<Qt::Key>{Qt::Key_1, Qt::Key_Plus, Qt::Key_Plus, Qt::Key_Minus} << 0 << 2.0;
    QTest::newRow("fit again") << QList<Qt::Key>{Qt::Key_1, Qt::Key_Plus, Qt::Key_0} << 0 << 0.0;
    QTest::newRow("fit with F") << QList<Qt::Key>{Qt::Key_1, Qt::Key_F} << 0 << 0.0;
    QTest::newRow("wheel up") << QList<Qt::Key>{Qt::Key_1} << 3 << 8.0;
    QTest::newRow("wheel down") << QList<Qt::Key>{Qt::Key_1} << -2 << 0.25;
}

void ViewerTest::zoom()
{
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(int, wheelSteps);
    QFETCH(double, zoom);
    openPaused(samplesFolder());
    FrameView& view = m_window->frameView();
    const double fitted = view.zoom();
    for (Qt::Key zoomKey : keys)
        key(zoomKey);
    for (int i = 0; i < qAbs(wheelSteps); ++i) {
        const QPoint centre = view.viewport()->rect().center();
        QWheelEvent wheel(centre, view.viewport()->mapToGlobal(centre), QPoint(), QPoint(0, wheelSteps > 0 ? 120 : -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
    }
    QCOMPARE(view.fitsWindow(), zoom == 0.0);
    QCOMPARE(view.zoom(), zoom == 0.0 ? fitted : zoom);
    const QString percent = QString::number(qRound(view.zoom() * 1000.0) / 10.0);
    QVERIFY2(m_window->statusText().contains(QStringLiteral(", zoom %1 %, ").arg(percent)),
             qPrintable(m_window->statusText()));
}

// The folder opens paused on its first frame; the rate is shown while playing only.
void ViewerTest::playPauseStep()
{
    const int files = samplePaths().size();
    openPaused(samplesFolder());
    QCOMPARE(frame().number, 1);
    QVERIFY(!m_window->statusText().contains(QStringLiteral("frames/s")));

    m_window->setLoop(true);
    key(Qt::Key_Space);
    QCOMPARE(state(), Playback::State::Playing);
    QCOMPARE(actionNamed(*m_window, QStringLiteral("Pause"))->isEnabled(), true);
    QTRY_VERIFY(frame().number > files + 3);
    QTRY_VERIFY(m_window->statusText().contains(QStringLiteral(" frames/s, ")));
    key(Qt::Key_Right);
    QCOMPARE(state(), Playback::State::Paused);
    const int stopped = frame().number;
    QTest::qWait(50);
    QCOMPARE(frame().number, stopped);
    // Looping, the place in the folder starts again at 1.
    const QString place = QStringLiteral("frame %1 of %2: ").arg((stopped - 1) % files + 1).arg(files);
    QVERIFY2(m_window->statusText().startsWith(place), qPrintable(m_window->statusText()));
    QVERIFY(!m_window->statusText().contains(QStringLiteral("frames/s")));
    QVERIFY(actionNamed(*m_window, QStringLiteral("Play")));
}

void ViewerTest::endOfFolderAndRestart()
{
    const int files = samplePaths().size();
    openPlaying(samplesFolder());
    QTRY_COMPARE(state(), Playback::State::EndOfFolder);
    QCOMPARE(frame().number, files);
    QVERIFY2(m_window->statusText().startsWith(QStringLiteral("frame %1 of %1: ").arg(files)),
             qPrintable(m_window->statusText()));
    QVERIFY2(m_window->statusText().endsWith(QStringLiteral(" %, 0 warnings, end of folder")),
             qPrintable(m_window->statusText()));
    QVERIFY(actionNamed(*m_window, QStringLiteral("Play")));

    key(Qt::Key_Right);
    QCOMPARE(state(), Playback::State::EndOfFolder);
    QCOMPARE(frame().number, files);

    // Restart leaves nothing of the last frame until the first new one.
    FrameView& view = m_window->frameView();
    hover(view, view.frameRect().center());
    QVERIFY(!m_window->inspectorText().isEmpty());
    const QSize lastSize = frame().image.size();
    key(Qt::Key_Home);
    QCOMPARE(state(), Playback::State::Playing);
    QCOMPARE(frame().number, 0);
    QCOMPARE(m_window->statusText(), QStringLiteral("no frame yet, 0 warnings"));
    QCOMPARE(m_window->inspectorText(), QString());
    QVERIFY(view.frameRect().isEmpty());
    QCOMPARE(m_window->histogramView().channels().size(), 0);
    key(Qt::Key_Right);
    QCOMPARE(frame().number, 1);
    QVERIFY(m_window->statusText().startsWith(QStringLiteral("frame 1 of %1: ").arg(files)));
    QVERIFY(!m_window->statusText().endsWith(QStringLiteral("end of folder")));
    QVERIFY(frame().image.size() != lastSize || files == 1);

    key(Qt::Key_Space);
    QTRY_COMPARE(state(), Playback::State::EndOfFolder);
    QCOMPARE(frame().number, files);
}

void ViewerTest::playsAtPace_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<QString>("pace");  // kxcam-view's --pace; none for a rate
    QTest::addColumn<QString>("status");  // what the status line says of the pace
    QTest::addColumn<QString>("message");  // on the status bar once the folder has played
    QTest::addColumn<QList<double>>("due");  // each frame's, as kxcam-play's records say it for the same pace
    QTest::newRow("set rate") << 400.0 << QString() << QString() << QString() << QList<double>{0, 0.0025, 0.005, 0.0075};
    // kxcam-play --fps 20 --speed 2: tst_player's paceSchedule row "fixed rate, twice as fast".
    QTest::newRow("rate twice as fast") << 20.0 * 2 << QString() << QString() << QString()
                                        << QList<double>{0, 0.025, 0.05, 0.075};
    QTest::newRow("times in file names")
        << 0.0 << QStringLiteral("name:f_(?<ms>\\d+)") << QStringLiteral(", pace: times in file names \u00d7 4, ")
        << QStringLiteral("pace: f_x.png has no time; each such file plays right after the file before it")
        << QList<double>{0, 0.005, 0.0125, 0.0125};
}

// A pace from the files arms the timer frame by frame, to the end of the folder.
void ViewerTest::playsAtPace()
{
    QFETCH(double, rate);
    QFETCH(QString, pace);
    QFETCH(QString, status);
    QFETCH(QString, message);
    QFETCH(QList<double>, due);
    ImageFolder folder;
    for (const char* name : {"f_000.png", "f_020.png", "f_050.png", "f_x.png"})
        folder.addImage(QLatin1String(name), patternImage(5, 4, QImage::Format_RGB32, 1));
    PaceRule rule;
    QString error;
    QVERIFY(pace.isEmpty() || PaceRule::parse(pace, rule, error));
    m_window->setFramesPerSecond(rate);
    m_window->setPace(rule, 4.0);
    QList<double> shownDue;
    const QObject listening;
    connect(&m_window->playback(), &Playback::frameDelivered, &listening,
            [this, &shownDue] { shownDue.append(frame().dueSeconds); });
    openPlaying(folder.path());
    QCOMPARE(state(), Playback::State::Playing);
    QTRY_COMPARE(state(), Playback::State::EndOfFolder);
    QCOMPARE(shownDue.size(), due.size());
    for (int i = 0; i < due.size(); ++i)
        QVERIFY2(qAbs(shownDue.at(i) - due.at(i)) < 1e-9, qPrintable(QStringLiteral("frame %1: due %2").arg(i + 1).arg(shownDue.at(i))));
    // Told as the file is met.
    QCOMPARE(m_window->statusBar()->currentMessage(), message);
    QCOMPARE(frame().number, 4);
    QCOMPARE(m_window->statusText().contains(QStringLiteral(", pace: ")), !status.isEmpty());
    QVERIFY2(m_window->statusText().contains(status), qPrintable(m_window->statusText()));
}

void ViewerTest::loopPlaysOn()
{
    const int files = samplePaths().size();
    key(Qt::Key_L);
    QVERIFY(m_window->playback().loops());
    openPlaying(samplesFolder());
    QTRY_VERIFY(frame().number > 2 * files);
    QCOMPARE(state(), Playback::State::Playing);
}

void ViewerTest::inspector_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QByteArray>("fileFormat");
    QTest::addColumn<int>("zoomIns");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("histogram");
    QTest::addColumn<QString>("paletteNote");
    QTest::addColumn<QString>("savedName");

    QImage grey(3, 3, QImage::Format_Grayscale8);  // rows padded from 3 bytes to 4
    grey.fill(0);
    grey.scanLine(1)[2] = 77;
    QImage palette(4, 3, QImage::Format_Indexed8);
    palette.setColorTable({qRgb(200, 0, 0), qRgb(0, 200, 0), qRgb(10, 20, 30)});
    palette.fill(0);
    palette.setPixel(2, 1, 2);
    QImage rgb(4, 3, QImage::Format_RGB32);
    rgb.fill(Qt::black);
    rgb.setPixel(2, 1, qRgb(10, 20, 30));
    QImage alpha(4, 3, QImage::Format_ARGB32);
    alpha.fill(Qt::transparent);
    alpha.setPixel(2, 1, qRgba(10, 20, 30, 128));
    // Formats the camera announces as None (0).
    QImage grey16(3, 3, QImage::Format_Grayscale16);  // rows padded from 6 bytes to 8
    grey16.fill(0);
    reinterpret_cast<quint16*>(grey16.scanLine(1))[2] = 0x1234;
    QImage mono(4, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(2, 1, 1);

    const QString png = QStringLiteral("frame_000001.png");
    const QString colours = QStringLiteral("R 0:11 10:1; G 0:11 20:1; B 0:11 30:1");
    QTest::newRow("GRAY8 grey value") << grey << QByteArray("PNG") << 0 << "x 2, y 1: value 77" << "grey 0:8 77:1"
                                      << QString() << png;
    QTest::newRow("GRAY8 palette index")
        << palette << QByteArray("BMP") << 0 << "x 2, y 1: value 2" << "grey 0:11 2:1"
        << "palette image: the picture shows its colour indices as grey" << png;
    QTest::newRow("RGB32 bytes") << rgb << QByteArray("PNG") << 0 << "x 2, y 1: B 30, G 20, R 10, X 255" << colours
                                 << QString() << png;
    QTest::newRow("RGB32 at 400 %") << rgb << QByteArray("PNG") << 2 << "x 2, y 1: B 30, G 20, R 10, X 255"
                                    << colours << QString() << png;
    QTest::newRow("RGB48 announced for ARGB32") << alpha << QByteArray("PNG") << 0
                                                << "x 2, y 1: B 30, G 20, R 10, A 128" << colours << QString() << png;
    QTest::newRow("None, 16 bit") << grey16 << QByteArray("PNG") << 0 << "x 2, y 1: bytes 34 12" << QString()
                                  << QString() << "frame_000001_3x3_16bit_8bpr.raw";
    QTest::newRow("None, 1 bit at 400 %") << mono << QByteArray("PNG") << 2 << "x 2, y 1: bytes 20" << QString()
                                          << QString() << "frame_000001_4x3_1bit_4bpr.raw";
}

void ViewerTest::inspector()
{
    QFETCH(QImage, image);
    QFETCH(QByteArray, fileFormat);
    QFETCH(int, zoomIns);
    QFETCH(QString, expected);
    QFETCH(QString, histogram);
    QFETCH(QString, paletteNote);
    QFETCH(QString, savedName);
    ImageFolder folder;
    folder.addImage(QStringLiteral("pixel.") + QString::fromLatin1(fileFormat.toLower()), image, fileFormat);
    openPaused(folder.path());
    key(Qt::Key_1);
    for (int i = 0; i < zoomIns; ++i)
        key(Qt::Key_Plus);
    FrameView& view = m_window->frameView();
    const int zoom = 1 << zoomIns;
    QCOMPARE(view.zoom(), double(zoom));

    // The last screen pixel of the frame pixel's square, so a wrong zoom is seen.
    hover(view, view.frameRect().topLeft() + QPoint(2, 1) * zoom + QPoint(zoom - 1, zoom - 1));
    QCOMPARE(m_window->inspectorText(), expected);
    hover(view, view.frameRect().topLeft() - QPoint(1, 1));
    QCOMPARE(m_window->inspectorText(), QString());
    // A frame that cannot be drawn says so in its place.
    QCOMPARE(view.message().isEmpty(), !frame().image.isNull());
    QCOMPARE(histogramText(m_window->histogramView().channels()), histogram);
    QCOMPARE(m_window->paletteNote(), paletteNote);

    // Saved as kxcam-play's --save saves it: a PNG of the bytes, or the bytes themselves.
    QTemporaryDir saved;
    const QString path = m_window->saveShownFrame(saved.path());
    QCOMPARE(QFileInfo(path).fileName(), savedName);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    if (frame().image.isNull())
        QCOMPARE(file.readAll(), frame().raw);
    else
        QCOMPARE(QImage(path).convertToFormat(frame().image.format()), frame().image);
}

void ViewerTest::inspectedBytes_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<int>("pixelFormat");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("histogram");

    QImage rgb24(4, 3, QImage::Format_RGB888);
    rgb24.fill(Qt::black);
    rgb24.setPixel(2, 1, qRgb(10, 20, 30));
    QImage rgb16(4, 3, QImage::Format_RGB16);
    rgb16.fill(0);
    reinterpret_cast<quint16*>(rgb16.scanLine(1))[2] = 0x1234;

    QTest::newRow("RGB24") << rgb24 << 2 << "x 2, y 1: R 10, G 20, B 30" << "R 0:11 10:1; G 0:11 20:1; B 0:11 30:1";
    QTest::newRow("GRAY16, little-endian") << rgb16 << 4 << "x 2, y 1: low 52, high 18" << "grey 0:11 18:1";
    QTest::newRow("None has no bytes to name") << rgb24 << 0 << QString() << QString();
    QTest::newRow("outside the frame") << rgb24.copy(0, 0, 2, 1) << 2 << QString() << "R 0:2; G 0:2; B 0:2";
}

// The formats no decoder here delivers, checked on the inspector alone.
void ViewerTest::inspectedBytes()
{
    QFETCH(QImage, image);
    QFETCH(int, pixelFormat);
    QFETCH(QString, expected);
    QFETCH(QString, histogram);
    QCOMPARE(pixelDescription(image, pixelFormat, QPoint(2, 1)), expected);
    QCOMPARE(histogramText(frameHistogram(image, pixelFormat)), histogram);
}

void ViewerTest::missingFolder_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("reason");  // in kxcam-play's words, as tst_player's exitStatus rows give them
    const QString missing = QDir(samplesFolder()).filePath(QStringLiteral("no such folder"));
    QTest::newRow("missing folder") << missing << QStringLiteral("the camera cannot open the folder %1").arg(missing);
    const QString viewer = QStringLiteral(KXCAM_VIEWER_PATH);
    QTest::newRow("file given as the folder")
        << viewer << QStringLiteral("the camera cannot open the folder %1: it is a file, not a folder").arg(viewer);
}

// A folder that cannot be opened says why in the window, in kxcam-play's
// words, and the window opens the next one, dropped on it, afresh: no
// warning or count of the last one.
void ViewerTest::missingFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, reason);
    open(folder);
    QCOMPARE(state(), Playback::State::NoCamera);
    QCOMPARE(m_window->frameView().message(), reason);
    QCOMPARE(m_window->statusText(), QStringLiteral("no camera: ") + reason);
    QCOMPARE(m_window->warningPane().lines(),
             QStringList{QStringLiteral("open: Virtual Camera: Folder(  %1  ) not exist").arg(debugQuoted(folder))});
    QCOMPARE(m_window->warningPane().heading(), QStringLiteral("Warnings: 1"));
    QVERIFY(!actionNamed(*m_window, QStringLiteral("Play"))->isEnabled());
    key(Qt::Key_Right);
    QCOMPARE(state(), Playback::State::NoCamera);

    dropFolder(samplesFolder());
    QCOMPARE(m_window->playback().folder(), samplesFolder());
    QCOMPARE(state(), Playback::State::Paused);
    QCOMPARE(m_window->frameView().message(), QString());
    QCOMPARE(frame().number, 1);
    QVERIFY(!drawnFrame(m_window->frameView()).isNull());
    QCOMPARE(m_window->warningPane().lines(), QStringList());
    QCOMPARE(m_window->warningPane().heading(), QStringLiteral("Warnings: 0"));
    QVERIFY2(m_window->statusText().startsWith(QStringLiteral("frame 1 of %1: ").arg(samplePaths().size())),
             qPrintable(m_window->statusText()));
    QVERIFY2(m_window->statusText().endsWith(QStringLiteral(" %, 0 warnings")), qPrintable(m_window->statusText()));
}

void ViewerTest::warnings_data()
{
    QTest::addColumn<QStringList>("badFiles");      // not images
    QTest::addColumn<QStringList>("damagedFiles");  // PNGs whose decoder warns, yet delivers them
    QTest::addColumn<int>("goodFiles");
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QStringList>("origins");  // of the lines, bad files' first
    QTest::addColumn<QString>("firstShown");  // once the folder has opened, paused on its first frame
    QTest::addColumn<QString>("lastFrame");
    const QString broken = QStringLiteral("broken.png");
    QTest::newRow("no image files") << QStringList() << QStringList() << 0 << QString()
                                    << QStringList{QStringLiteral("trigger 1")}
                                    << "no frame yet, 1 warning, end of folder" << "no frame yet";
    // Played between good_0.png and good_1.png.
    QTest::newRow("one undecodable file") << QStringList{QStringLiteral("good_0_broken.png")} << QStringList() << 2
                                          << QString() << QStringList{QStringLiteral("trigger 2, good_0_broken.png")}
                                          << "frame 1 of 3: good_0.png" << "frame 3 of 3: good_1.png";
    // The folder opens on the first file that gives a frame.
    QTest::newRow("two undecodable files")
        << QStringList{broken, QStringLiteral("sub/bad.jpg")} << QStringList() << 1 << QString()
        << QStringList{QStringLiteral("trigger 1, broken.png"), QStringLiteral("trigger 3, sub/bad.jpg")}
        << "frame 2 of 3: good_0.png" << "frame 2 of 3: good_0.png";
    QTest::newRow("nothing decodes") << QStringList{QStringLiteral("a.png"), QStringLiteral("b.png")} << QStringList() << 0
                                     << QString()
                                     << QStringList{QStringLiteral("trigger 1, a.png"), QStringLiteral("trigger 2, b.png")}
                                     << "no frame yet, 2 warnings, end of folder" << "no frame yet";
    QTest::newRow("a decoder's warning") << QStringList() << QStringList{QStringLiteral("damaged.png")} << 1
                                         << QString() << QStringList{QStringLiteral("trigger 1, damaged.png")}
                                         << "frame 1 of 2: damaged.png" << "frame 2 of 2: good_0.png";
    QTest::newRow("rules hide warnings") << QStringList{broken} << QStringList() << 1
                                         << QStringLiteral("*.warning=false\n*.critical=false")
                                         << QStringList{QStringLiteral("trigger 1, broken.png")}
                                         << "frame 2 of 2: good_0.png" << "frame 2 of 2: good_0.png";
}

// Each warning of the module and its decoders is a line of the pane, after
// the trigger and file it came with, counted above it and in the status line,
// whatever the logging rules; the run ends after the last file all the same.
void ViewerTest::warnings()
{
    QFETCH(QStringList, badFiles);
    QFETCH(QStringList, damagedFiles);
    QFETCH(int, goodFiles);
    QFETCH(QString, rules);
    QFETCH(QStringList, origins);
    QFETCH(QString, firstShown);
    QFETCH(QString, lastFrame);
    QLoggingCategory::setFilterRules(rules);
    ImageFolder folder;
    QStringList messages;
    for (const QString& bad : badFiles)
        messages << QStringLiteral("Virtual Camera: Could not load image file(  %1  )")
                        .arg(debugQuoted(folder.addFile(bad, "not an image")));
    for (const QString& damaged : damagedFiles) {
        folder.addFile(damaged, pngWithDamagedText());
        messages << QStringLiteral("libpng warning: tEXt: CRC error");
    }
    for (int i = 0; i < goodFiles; ++i)
        folder.addImage(QStringLiteral("good_%1.png").arg(i), patternImage(8, 6, QImage::Format_RGB32, i));
    if (messages.isEmpty())
        messages << QStringLiteral("Virtual Camera: No image files in  %1").arg(debugQuoted(folder.path()));
    QStringList expected;
    for (int i = 0; i < messages.size(); ++i)
        expected << origins.value(i) + QStringLiteral(": ") + messages.at(i);

    open(folder.path());
    QTRY_VERIFY2(m_window->statusText().startsWith(firstShown), qPrintable(m_window->statusText()));
    if (state() == Playback::State::Paused)
        key(Qt::Key_Space);
    QTRY_COMPARE(state(), Playback::State::EndOfFolder);
    QCOMPARE(frame().number, goodFiles + damagedFiles.size());
    QStringList lines = m_window->warningPane().lines();
    lines.sort();
    expected.sort();
    QCOMPARE(lines, expected);
    QCOMPARE(m_window->warningPane().heading(), QStringLiteral("Warnings: %1").arg(expected.size()));
    const QString count = expected.size() == 1 ? QStringLiteral("1 warning") : QStringLiteral("%1 warnings").arg(expected.size());
    QVERIFY2(m_window->statusText().startsWith(lastFrame + QStringLiteral(", ")), qPrintable(m_window->statusText()));
    QVERIFY2(m_window->statusText().endsWith(count + QStringLiteral(", end of folder")),
             qPrintable(m_window->statusText()));
}

// The camera opens on a thread of its own while the window goes on: what the
// window's thread logs meanwhile is not the camera's.
void ViewerTest::otherThreadsWarningsStayOut()
{
    QStringList announced;
    connect(m_log.get(), &WarningLog::warned, this,
            [&](const QString& origin, const QString& message) { announced << origin + QStringLiteral(": ") + message; },
            Qt::DirectConnection);
    QSemaphore inside;
    QSemaphore windowLogged;
    std::thread opening([&] {
        const WarningLog::ModuleCall call(*m_log, QStringLiteral("open"));
        inside.release();
        windowLogged.acquire();
        qWarning("the decoder's");
    });
    inside.acquire();
    qWarning("the window's");
    windowLogged.release();
    opening.join();
    QCOMPARE(announced, QStringList{QStringLiteral("open: the decoder's")});
    QCOMPARE(m_log->warningCount(), 1);
}

// Follow, turned on by its key, reopens the camera following the folder: at
// its last file the window waits, without ending, and shows each file written
// after it, counted as the folder grows.
void ViewerTest::followPlaysArrivals()
{
    ImageFolder folder;
    // Settled long ago: a file written just before the camera opens waits for its settle time (Qt 5.10).
    QFile settled(folder.addImage(QStringLiteral("a.png"), patternImage(8, 6, QImage::Format_RGB32, 0)));
    QVERIFY(settled.open(QIODevice::ReadWrite));
    QVERIFY(settled.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    settled.close();
    openPaused(folder.path());
    key(Qt::Key_W);
    QVERIFY(actionNamed(*m_window, QStringLiteral("Follow"))->isChecked());
    QTRY_COMPARE(state(), Playback::State::Paused);
    key(Qt::Key_Space);
    QTRY_VERIFY2(m_window->statusText().startsWith(QStringLiteral("frame 1 of 1: a.png")) &&
                     m_window->statusText().endsWith(QStringLiteral(", 0 warnings, waiting for files")),
                 qPrintable(m_window->statusText()));
    QCOMPARE(state(), Playback::State::Playing);
    folder.addImage(QStringLiteral("b.png"), patternImage(8, 6, QImage::Format_RGB32, 1));
    QTRY_VERIFY2(m_window->statusText().startsWith(QStringLiteral("frame 2 of 2: b.png")), qPrintable(m_window->statusText()));
    QTRY_VERIFY2(m_window->statusText().endsWith(QStringLiteral(", 0 warnings, waiting for files")),
                 qPrintable(m_window->statusText()));
    QCOMPARE(state(), Playback::State::Playing);
    QCOMPARE(frame().number, 2);
}

void ViewerTest::preloadRecreatesCamera_data()
{
    QTest::addColumn<bool>("preload");
    QTest::addColumn<int>("frames");
    QTest::addColumn<int>("warnings");
    QTest::newRow("decoded at each trigger") << false << 1 << 2;
    QTest::newRow("preloaded") << true << 2 << 1;
}

// Turning preload on recreates the camera, which then plays the files it
// decoded when it opened, even once they are gone; the window starts afresh
// with it.
void ViewerTest::preloadRecreatesCamera()
{
    QFETCH(bool, preload);
    QFETCH(int, frames);
    QFETCH(int, warnings);
    ImageFolder folder;
    const QStringList paths{folder.addImage(QStringLiteral("a.png"), patternImage(8, 6, QImage::Format_RGB32, 1)),
                            folder.addImage(QStringLiteral("b.png"), patternImage(8, 6, QImage::Format_RGB32, 2))};
    folder.addFile(QStringLiteral("z.png"), "not an image");
    openPaused(folder.path());
    QCOMPARE(m_window->statusText(),
             QStringLiteral("frame 1 of 3: a.png, 8 \u00d7 6, 32 bit, RGB32 (3), 192 bytes, zoom 6400 %, 0 warnings"));
    if (preload) {
        key(Qt::Key_Right);
        key(Qt::Key_Right);
        QVERIFY(m_window->statusText().startsWith(QStringLiteral("frame 2 of 3: b.png, ")));
        QVERIFY(m_window->statusText().endsWith(QStringLiteral(", 1 warning")));
        key(Qt::Key_P);
        // Opened away from the window's thread, which shows why there is no frame yet.
        QCOMPARE(state(), Playback::State::Opening);
        // Listed there too: the count comes through the window's queue, so none has come yet.
        QCOMPARE(m_window->frameView().message(), QStringLiteral("Listing 0 files\u2026"));
        QTRY_COMPARE(state(), Playback::State::Paused);
        QCOMPARE(m_window->frameView().message(), QString());
        QCOMPARE(frame().number, 0);
        QCOMPARE(m_window->statusText(), QStringLiteral("no frame yet, 0 warnings"));
    }
    QCOMPARE(m_window->playback().preloads(), preload);
    QCOMPARE(state(), Playback::State::Paused);
    for (const QString& path : paths)
        QVERIFY(QFile::remove(path));

    key(Qt::Key_Space);
    QTRY_COMPARE(state(), Playback::State::EndOfFolder);
    QCOMPARE(frame().number, frames);
    QCOMPARE(m_window->warningPane().count(), warnings);
}

void ViewerTest::keysWhateverHasFocus_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<Playback::State>("state");
    QTest::addColumn<int>("frameNumber");
    QTest::addColumn<bool>("loops");
    QTest::addColumn<bool>("fitted");
    QTest::newRow("Space plays") << Qt::Key_Space << Playback::State::Playing << 1 << false << true;
    QTest::newRow("Right steps") << Qt::Key_Right << Playback::State::Paused << 2 << false << true;
    QTest::newRow("Home restarts") << Qt::Key_Home << Playback::State::Playing << 0 << false << true;
    QTest::newRow("L loops") << Qt::Key_L << Playback::State::Paused << 1 << true << true;
    QTest::newRow("+ zooms") << Qt::Key_Plus << Playback::State::Paused << 1 << false << false;
    QTest::newRow("a digit stays with the box") << Qt::Key_1 << Playback::State::Paused << 1 << false << true;
}

// Once the rate box has had focus, the window's keys still reach the window,
// but for the digits a rate is typed with.
void ViewerTest::keysWhateverHasFocus()
{
    QFETCH(Qt::Key, key);
    QFETCH(Playback::State, state);
    QFETCH(int, frameNumber);
    QFETCH(bool, loops);
    QFETCH(bool, fitted);
    openPaused(samplesFolder());
    auto* rate = m_window->findChild<QDoubleSpinBox*>();
    rate->setFocus();
    QCOMPARE(QApplication::focusWidget(), rate);
    this->key(key);
    QCOMPARE(this->state(), state);
    QCOMPARE(frame().number, frameNumber);
    QCOMPARE(m_window->playback().loops(), loops);
    QCOMPARE(m_window->frameView().fitsWindow(), fitted);
}

void ViewerTest::commandLine_data()
{
    // Help and version go through the C library's stdout in text mode, which on Windows ends a line with CR LF.
#ifdef Q_OS_WIN
    const QString lineEnd = QStringLiteral("\r\n");
#else
    const QString lineEnd = QStringLiteral("\n");
#endif
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");  // a pattern the program's output matches
    QTest::newRow("kxcam-play's output options do not apply")
        << QStringList{QStringLiteral("--json")} << true << 2 << QStringLiteral("kxcam-view: Unknown option 'json'\\.");
    QTest::newRow("rate out of range") << QStringList{QStringLiteral("--fps"), QStringLiteral("0")} << true << 2
                                       << QStringLiteral("kxcam-view: --fps needs a rate from");
    QTest::newRow("one folder at most") << QStringList{QStringLiteral("a"), QStringLiteral("b")} << true << 2
                                        << QStringLiteral("kxcam-view: one folder at most, not 2");
    QTest::newRow("help without a display") << QStringList{QStringLiteral("--help")} << false << 0
                                            << QStringLiteral("^Usage: .*kxcam-view.* \\[--\\] \\[FOLDER\\]") + lineEnd;
    // The same words and status as kxcam-play's exitStatus rows.
    const QString missing = QDir::temp().filePath(QStringLiteral("kxcam-no-such-folder"));
    QTest::newRow("missing module")
        << QStringList{QStringLiteral("--module"), missing + QStringLiteral("/none.so")} << true << 1
        << QStringLiteral("(^|\\n)kxcam-view: cannot load camera module %1/none\\.so: no such file").arg(missing) + lineEnd;
    QTest::newRow("exit statuses in the help")
        << QStringList{QStringLiteral("--help")} << false << 0
        << lineEnd + QStringLiteral("Exit status: 0 when the window is closed, 1 when the module cannot be loaded, 2 "
                                    "for bad options\\.") + lineEnd;
    QTest::newRow("version without a display")
        << QStringList{QStringLiteral("-v")} << false << 0
        << QStringLiteral("^kxcam-view \\d+\\.\\d+\\.\\d+") + lineEnd + QStringLiteral("$");
}

// The program parses its options with kxcam-play's code, without the options
// of kxcam-play's output, and refuses a bad command line before any window;
// help and version need no display.
void ViewerTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, status);
    QFETCH(QString, output);
    QProcess viewer;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // The offscreen plug-in's own start-up leak is not the program's (see gui_test_main).
    environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    if (!display) {
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("DISPLAY"), QString());
    }
    viewer.setProcessEnvironment(environment);
    viewer.setProcessChannelMode(QProcess::MergedChannels);
    viewer.start(QStringLiteral(KXCAM_VIEWER_PATH), arguments);
    QVERIFY(viewer.waitForFinished(10000));
    const QString text = QString::fromLocal8Bit(viewer.readAll());
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(viewer.exitCode(), status);
    QVERIFY2(QRegularExpression(output, QRegularExpression::DotMatchesEverythingOption).match(text).hasMatch(),
             qPrintable(text));
}

void ViewerTest::statusCounts_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("files");
    QTest::addColumn<QString>("place");
    QTest::newRow("few") << 0 << 3 << QStringLiteral("frame 1 of 3: ");
    QTest::newRow("a million") << 999 << 1000000 << QStringLiteral("frame 1,000 of 1,000,000: ");
}

void ViewerTest::statusCounts()
{
    QFETCH(int, position);
    QFETCH(int, files);
    QFETCH(QString, place);
    HostFrame frame;
    frame.number = 1;
    frame.position = position;
    frame.file = QStringLiteral("a.png");
    RunFacts facts;
    facts.files = files;
    const QString line = statusLine(frame, facts);
    QVERIFY2(line.startsWith(place + QStringLiteral("a.png, ")), qPrintable(line));
}

int main(int argc, char* argv[])
{
    ViewerTest test;
    return runGuiTest(test, argc, argv);
}

#include "tst_viewer.moc"
