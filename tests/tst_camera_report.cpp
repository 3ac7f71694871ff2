// What a host reads from the camera's own log lines, without a camera: each
// line's form read back into what it says, and what a run of them says of the
// trigger under way and of the end of the folder.
#include "camera_report.h"

#include <QtTest>

Q_DECLARE_METATYPE(CameraEvent::Kind)

class CameraReportTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void trigger_data();
    void trigger();
};

void CameraReportTest::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<CameraEvent::Kind>("kind");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("files");
    QTest::addColumn<double>("seconds");
    using Kind = CameraEvent::Kind;
    QTest::newRow("file") << R"(Virtual Camera: file 17 of 200 "sub/name.png")" << Kind::File << "sub/name.png" << 17 << 200 << 0.0;
    QTest::newRow("file with a quote, a tab, a newline, a backslash and a control character")
        << R"(Virtual Camera: file 1 of 1 "a\"b\tc\nd\\e\u0001f %1.png")" << Kind::File
        << QStringLiteral("a\"b\tc\nd\\e\u0001f %1.png") << 1 << 1 << 0.0;
    QTest::newRow("file outside ASCII") << QStringLiteral("Virtual Camera: file 2 of 3 \"\u65e5\u672c/\u00df.png\"")
                                        << Kind::File << QStringLiteral("\u65e5\u672c/\u00df.png") << 2 << 3 << 0.0;
    QTest::newRow("end of the list") << "Virtual Camera: end of the list, 200 files" << Kind::EndOfList << "" << 0 << 200 << 0.0;
    QTest::newRow("waiting") << "Virtual Camera: waiting for files after 1204" << Kind::Waiting << "" << 0 << 1204 << 0.0;
    QTest::newRow("a turn without a frame") << "Virtual Camera: no frame in a whole turn of 3 files"
                                            << Kind::TurnWithoutFrame << "" << 0 << 3 << 0.0;
    QTest::newRow("scanning") << R"(Virtual Camera: scanning "/abs/folder": 35000 files so far)" << Kind::Scanning
                              << "/abs/folder" << 0 << 35000 << 0.0;
    QTest::newRow("scanned") << R"(Virtual Camera: scanned "/abs/fol\"der": 200 files in 0.012 s)" << Kind::Scanned
                             << "/abs/fol\"der" << 0 << 200 << 0.012;
    QTest::newRow("preloading") << "Virtual Camera: preloading 120 of 200 files" << Kind::Preloading << "" << 120 << 200 << 0.0;
    QTest::newRow("preloaded") << "Virtual Camera: preloaded 200 of 200 files in 3.210 s" << Kind::Preloaded << ""
                               << 200 << 200 << 3.21;
    // Lines of another form say nothing: a host reads no file from them.
    QTest::newRow("a quote left bare") << R"(Virtual Camera: file 1 of 2 "a"b.png")" << Kind::None << "" << 0 << 0 << 0.0;
    QTest::newRow("unquoted") << "Virtual Camera: file 1 of 2 a.png" << Kind::None << "" << 0 << 0 << 0.0;
    QTest::newRow("a raw newline in the name") << "Virtual Camera: file 1 of 2 \"a\nb.png\"" << Kind::None << "" << 0 << 0 << 0.0;
    QTest::newRow("more after the line") << "Virtual Camera: end of the list, 2 files\n" << Kind::None << "" << 0 << 0 << 0.0;
    QTest::newRow("another prefix") << R"(Other Camera: file 1 of 2 "a.png")" << Kind::None << "" << 0 << 0 << 0.0;
    QTest::newRow("a warning of the camera's") << R"(Virtual Camera: Could not load image file(  "/f/a.png"  ))"
                                               << Kind::None << "" << 0 << 0 << 0.0;
}

void CameraReportTest::parse()
{
    QFETCH(QString, line);
    QFETCH(CameraEvent::Kind, kind);
    QFETCH(QString, path);
    QFETCH(int, position);
    QFETCH(int, files);
    QFETCH(double, seconds);
    const CameraEvent event = CameraEvent::parse(line);
    QCOMPARE(event.kind, kind);
    QCOMPARE(event.path, path);
    QCOMPARE(event.position, position);
    QCOMPARE(event.files, files);
    QCOMPARE(event.seconds, seconds);
}

void CameraReportTest::trigger_data()
{
    QTest::addColumn<QStringList>("lines");  // the camera's lines and warnings, a trigger begun before each "|"
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<bool>("waiting");
    const QString scanned = QStringLiteral(R"(Virtual Camera: scanned "/f": 3 files in 0.001 s)");
    QTest::newRow("a file") << QStringList{scanned, "|", R"(Virtual Camera: file 2 of 3 "sub/b.png")"} << 1
                            << "/f/sub/b.png" << 3 << false << false;
    QTest::newRow("the next trigger forgets the last file")
        << QStringList{scanned, "|", R"(Virtual Camera: file 3 of 3 "c.png")", "|", "Virtual Camera: end of the list, 3 files"}
        << -1 << "" << 3 << true << false;
    QTest::newRow("a file that does not decode") << QStringList{scanned, "|", R"(Virtual Camera: file 1 of 3 "a.png")",
                                                                R"(Virtual Camera: Could not load image file(  "/f/a.png"  ))"}
                                                 << 0 << "/f/a.png" << 3 << false << false;
    QTest::newRow("a whole turn without a frame")
        << QStringList{scanned, "|", R"(Virtual Camera: file 3 of 3 "c.png")", "Virtual Camera: no frame in a whole turn of 3 files"}
        << 2 << "/f/c.png" << 3 << true << false;
    QTest::newRow("no image files") << QStringList{R"(Virtual Camera: scanned "/f": 0 files in 0.001 s)", "|",
                                                   R"(Virtual Camera: No image files in  "/f")"}
                                    << -1 << "" << 0 << true << false;
    QTest::newRow("a rescan at the trigger") << QStringList{scanned, "|", R"(Virtual Camera: scanned "/g": 5 files in 0.001 s)",
                                                            R"(Virtual Camera: file 1 of 5 "a.png")"}
                                             << 0 << "/g/a.png" << 5 << false << false;
    QTest::newRow("a warning before the trigger ends nothing")
        << QStringList{scanned, R"(Virtual Camera: No image files in  "/f")", "|", R"(Virtual Camera: file 1 of 3 "a.png")"}
        << 0 << "/f/a.png" << 3 << false << false;
    QTest::newRow("a followed folder waits after its last file, trigger after trigger")
        << QStringList{scanned, "|", R"(Virtual Camera: file 3 of 3 "c.png")", "|", "Virtual Camera: waiting for files after 3", "|"}
        << -1 << "" << 3 << false << true;
    QTest::newRow("an empty followed folder warns, then waits: not ended")
        << QStringList{R"(Virtual Camera: scanned "/f": 0 files in 0.001 s)", "|", R"(Virtual Camera: No image files in  "/f")",
                       "Virtual Camera: waiting for files after 0"}
        << -1 << "" << 0 << false << true;
    QTest::newRow("a file that arrives ends the wait")
        << QStringList{scanned, "|", "Virtual Camera: waiting for files after 3", "|", R"(Virtual Camera: file 4 of 4 "d.png")"}
        << 3 << "/f/d.png" << 4 << false << false;
}

void CameraReportTest::trigger()
{
    QFETCH(QStringList, lines);
    QFETCH(int, position);
    QFETCH(QString, path);
    QFETCH(int, files);
    QFETCH(bool, ended);
    QFETCH(bool, waiting);
    CameraReport report;
    for (const QString& line : lines) {
        if (line == QLatin1String("|"))
            report.beginTrigger();
        else if (line.contains(QLatin1String("No image files")) || line.contains(QLatin1String("Could not load")))
            report.takeWarning(line);
        else
            report.take(CameraEvent::parse(line));
    }
    QCOMPARE(report.position(), position);
    QCOMPARE(report.path(), path);
    QCOMPARE(report.files(), files);
    QCOMPARE(report.folderEnded(), ended);
    QCOMPARE(report.waiting(), waiting);
}

QTEST_GUILESS_MAIN(CameraReportTest)
#include "tst_camera_report.moc"
