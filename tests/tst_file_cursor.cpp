// The host's cursor through a folder's files: the file each trigger takes and
// the trigger after which nothing more will come, from what triggers leave behind.
#include "file_cursor.h"

#include <QtTest>

class FileCursorTest : public QObject {
    Q_OBJECT

private slots:
    void stepsAndEnd_data();
    void stepsAndEnd();
    void pathsBelowTheRoot();
};

// outcomes: one letter a trigger, f a frame, w a warning and no frame, - neither.
// steps: what step() answers before each trigger; endsAfter: the trigger
// after which ended() first says so, 0 for none.
void FileCursorTest::stepsAndEnd_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("loop");
    QTest::addColumn<QString>("outcomes");
    QTest::addColumn<QList<int>>("steps");
    QTest::addColumn<int>("endsAfter");
    QTest::addColumn<int>("lastPosition");

    QTest::newRow("no loop: each file once, then the end") << 3 << false << "fff-" << QList<int>{0, 1, 2, -1} << 4 << 2;
    QTest::newRow("loop: the first again after the last") << 3 << true << "fffff" << QList<int>{0, 1, 2, 0, 1} << 0 << 1;
    QTest::newRow("loop over a single file") << 1 << true << "fff" << QList<int>{0, 0, 0} << 0 << 0;
    QTest::newRow("an undecodable file does not end it") << 3 << false << "fwf-" << QList<int>{0, 1, 2, -1} << 4 << 2;
    QTest::newRow("undecodable last file") << 2 << false << "fw-" << QList<int>{0, 1, -1} << 3 << 1;
    QTest::newRow("emptied folder, loop") << 2 << true << "ffwww" << QList<int>{0, 1, 0, 1, 0} << 5 << 0;
    QTest::newRow("a frame restarts the count") << 2 << true << "wwfwww" << QList<int>{0, 1, 0, 1, 0, 1} << 6 << 1;
    QTest::newRow("empty folder") << 0 << false << "w" << QList<int>{-1} << 1 << -1;
    QTest::newRow("empty folder, loop") << 0 << true << "w" << QList<int>{-1} << 1 << -1;
}

void FileCursorTest::stepsAndEnd()
{
    QFETCH(int, files);
    QFETCH(bool, loop);
    QFETCH(QString, outcomes);
    QFETCH(QList<int>, steps);
    QFETCH(int, endsAfter);
    QFETCH(int, lastPosition);

    ImageFileList list(QStringLiteral("/f"));
    const int folder = list.addFolder(QString());
    for (int i = 0; i < files; ++i) {
        const QString name = QStringLiteral("%1.png").arg(i);
        list.append(folder, list.keepNames(name), name.size());
    }
    FileCursor cursor(list);
    QCOMPARE(cursor.position(), -1);
    QList<int> stepped;
    int ended = 0;
    for (int i = 0; i < outcomes.size() && ended == 0; ++i) {
        stepped.append(cursor.step(loop));
        const QChar outcome = outcomes.at(i);
        if (cursor.ended(outcome == QLatin1Char('f'), outcome == QLatin1Char('w'), loop))
            ended = i + 1;
    }
    QCOMPARE(stepped, steps);
    QCOMPARE(ended, endsAfter);
    QCOMPARE(cursor.position(), lastPosition);
}

void FileCursorTest::pathsBelowTheRoot()
{
    ImageFileList list(QStringLiteral("/a/b"));
    const int names = list.keepNames(QStringLiteral("y.pngx.png"));
    const int root = list.addFolder(QString());
    list.append(root, names + 5, 5);
    list.append(list.addFolder(QStringLiteral("sub/")), names, 5);
    const FileCursor cursor(list);
    QCOMPARE(cursor.size(), 2);
    QCOMPARE(cursor.path(1), QStringLiteral("/a/b/sub/y.png"));
    QCOMPARE(cursor.relativePath(0), QStringLiteral("x.png"));
    QCOMPARE(cursor.relativePath(1), QStringLiteral("sub/y.png"));
}

QTEST_GUILESS_MAIN(FileCursorTest)
#include "tst_file_cursor.moc"
