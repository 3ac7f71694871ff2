// Every image of the third-party corpus played through the module: each is
// delivered exactly as Qt decodes it, or answered with the load warning.
#include "image_folder.h"
#include "log_capture.h"
#include "recording_camera.h"

#include <QtTest>

namespace {

struct ManifestRow {
    bool null = true;
    int width = 0;
    int height = 0;
    int depth = 0;
    int format = 0;
    qint64 sizeInBytes = 0;
    QString hash;
};

QString corpusDir()
{
    return QStringLiteral(KXCAM_CORPUS_DIR);
}

QString fnv1a(const QByteArray& bytes)
{
    quint64 hash = 0xcbf29ce484222325ull;
    for (char byte : bytes) {
        hash ^= quint8(byte);
        hash *= 0x100000001b3ull;
    }
    return QStringLiteral("%1").arg(hash, 16, 16, QLatin1Char('0'));
}

QMap<QString, QStringList> readTable(const QString& name)
{
    QMap<QString, QStringList> rows;
    QFile file(corpusDir() + QLatin1Char('/') + name);
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    while (!file.atEnd()) {
        const QStringList columns = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char('\t'));
        if (columns.size() > 1)
            rows.insert(columns.first(), columns.mid(1));
    }
    return rows;
}

#if defined(Q_OS_WIN)
// The row this process's own Qt gives the file, in the manifest's terms.
ManifestRow hostDecode(const QString& path, const QString& unstable)
{
    const QImage image(path);
    ManifestRow row;
    row.null = image.isNull();
    row.width = image.width();
    row.height = image.height();
    row.depth = image.depth();
    row.format = image.format();
    row.sizeInBytes = image.sizeInBytes();
    row.hash = fnv1a(unstable == QLatin1String("padding") ? pixelRows(image) : imageBytes(image));
    return row;
}
#endif

}  // namespace

Q_DECLARE_METATYPE(ManifestRow)

class CorpusTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void deliveredAsDecoded_data();
    void deliveredAsDecoded();
};

void CorpusTest::initTestCase()
{
    if (!QFileInfo::exists(corpusDir() + QStringLiteral("/MANIFEST.tsv")))
        QSKIP("the image corpus is not beside the repository");
}

void CorpusTest::deliveredAsDecoded_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("preload");
    QTest::addColumn<ManifestRow>("expected");
    QTest::addColumn<QString>("unstable");
    const QMap<QString, QStringList> manifest = readTable(QStringLiteral("MANIFEST.tsv"));
    const QMap<QString, QStringList> unstable = readTable(QStringLiteral("UNSTABLE.tsv"));
    const QRegularExpression image(QStringLiteral("\\.(png|bmp|jpe?g)$"), QRegularExpression::CaseInsensitiveOption);
    for (auto it = manifest.cbegin(); it != manifest.cend(); ++it) {
        if (!image.match(it.key()).hasMatch() || it.value().size() < 7)
            continue;
        const QStringList& c = it.value();
        ManifestRow row;
        row.null = c[0] == QLatin1String("1");
        row.width = c[1].toInt();
        row.height = c[2].toInt();
        row.depth = c[3].toInt();
        row.format = c[4].toInt();
        row.sizeInBytes = c[5].toLongLong();
        row.hash = c[6];
        // Files whose padding is undefined have a stable hash over their pixel rows;
        // files whose pixels are undefined are compared by size and format only.
        QString kind;
        if (unstable.contains(it.key())) {
            kind = unstable.value(it.key()).value(0);
            row.hash = unstable.value(it.key()).value(1);
        }
        for (bool preload : {false, true})
            QTest::addRow("%s %s", qPrintable(it.key()), preload ? "preload" : "decode")
                << it.key() << preload << row << kind;
    }
}

void CorpusTest::deliveredAsDecoded()
{
    QFETCH(QString, file);
    QFETCH(bool, preload);
    QFETCH(ManifestRow, expected);
    QFETCH(QString, unstable);
    ImageFolder folder;
    const QString copy = folder.path() + QLatin1Char('/') + QFileInfo(file).fileName();
    QVERIFY(QFile::copy(corpusDir() + QLatin1Char('/') + file, copy));
#if defined(Q_OS_WIN)
    // The manifest comes from Debian's Qt, which decodes JPEG with the system's
    // libjpeg; Qt for Windows bundles another, with which some damaged JPEGs
    // decode to other bytes or not at all. There the frame must be this host's
    // own decode.
    expected = hostDecode(copy, unstable);
#endif

    // Played twice round; the host scribbles over the first frame, so the
    // second is decoded or copied into a buffer full of another picture.
    RecordingCamera camera(folder.path(), preload, true);
    dirtyHeap(int(expected.sizeInBytes));
    camera.duringFrame = [](ICameraObject& c) { std::fill(c.m_imageData, c.m_imageData + c.m_imageSize, 0xff); };
    LogCapture log;
    QCOMPARE(camera->open(), 1);
    QCOMPARE(camera->start(), 1);
    camera->trigger();
    if (expected.null) {
        QVERIFY(camera.frames.isEmpty());
        QCOMPARE(log.lines(), QStringList{QStringLiteral("warning: Virtual Camera: Could not load image file(  \"%1\"  )").arg(copy)});
        return;
    }
    camera->trigger();
    QCOMPARE(log.lines(), QStringList());
    QCOMPARE(camera.frames.size(), 2);
    const QByteArray defined = definedBytes(copy);
    for (const DeliveredFrame& frame : camera.frames) {
        QCOMPARE(frame.width, expected.width);
        QCOMPARE(frame.height, expected.height);
        QCOMPARE(frame.bitsPerPixel, expected.depth);
        QCOMPARE(frame.pixelFormat, announcedPixelFormat(QImage::Format(expected.format)));
        QCOMPARE(qint64(frame.imageSize), expected.sizeInBytes);
        QCOMPARE(frame.recordWidth, expected.width);
        QCOMPARE(frame.recordHeight, expected.height);
        // Every byte, padding included, is what the file defines or 0.
        QVERIFY(frame.bytes == defined);
    }
    const QByteArray bytes = camera.frames[0].bytes;
    if (unstable == QLatin1String("padding"))
        QCOMPARE(fnv1a(pixelRows(camera.frames[0])), expected.hash);
    // The corpus hashed Qt's whole buffer: the frame's own when the file's rows carry no padding bytes of their own.
    else if (unstable.isEmpty() && decodedBytes(copy) == bytes)
        QCOMPARE(fnv1a(bytes), expected.hash);
}

QTEST_GUILESS_MAIN(CorpusTest)
#include "tst_corpus.moc"
