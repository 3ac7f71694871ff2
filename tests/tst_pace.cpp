// The pace both programs play at, without a camera: what a pace rule's
// schedule is made of, and how long the timer waits for a due time.
#include "pace_rule.h"

#include <QtTest>

#include <climits>

class PaceTest : public QObject {
    Q_OBJECT

private slots:
    void ruleSchedule_data();
    void ruleSchedule();
    void paceWait_data();
    void paceWait();
};

void PaceTest::ruleSchedule_data()
{
    QTest::addColumn<QString>("pace");  // --pace; empty for none
    QTest::addColumn<double>("speed");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QList<double>>("due");  // for files recorded 0 and 100 ms in; empty when unpaced
    QTest::newRow("none") << QString() << 2.0 << QString() << QList<double>();
    QTest::newRow("file times, twice as fast") << QStringLiteral("mtime") << 2.0 << QStringLiteral("file times")
                                               << QList<double>{0, 0.05};
    QTest::newRow("times in file names") << QStringLiteral("name:_(?<ms>\\d+)") << 1.0
                                         << QStringLiteral("times in file names") << QList<double>{0, 0.1};
}

void PaceTest::ruleSchedule()
{
    QFETCH(QString, pace);
    QFETCH(double, speed);
    QFETCH(QString, description);
    QFETCH(QList<double>, due);
    PaceRule rule;
    QString error;
    QVERIFY2(pace.isEmpty() || PaceRule::parse(pace, rule, error), qPrintable(error));
    QCOMPARE(rule.description(), description);
    PaceSchedule schedule = rule.schedule(speed);
    QCOMPARE(schedule.paced(), !due.isEmpty());
    for (int i = 0; i < due.size(); ++i)
        QCOMPARE(schedule.nextDue(i, RecordedTime{QStringLiteral("f"), true, i * qint64(100000000)}), due.at(i));
}

void PaceTest::paceWait_data()
{
    QTest::addColumn<double>("rate");
    QTest::addColumn<int>("trigger");
    QTest::addColumn<double>("elapsed");
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("a whole interval ahead") << 10.0 << 1 << 0.0 << 100;
    QTest::newRow("a part of a millisecond ahead, rounded up") << 10.0 << 1 << 0.0995 << 1;
    QTest::newRow("due") << 10.0 << 1 << 0.1 << 0;
    QTest::newRow("overdue") << 10.0 << 1 << 0.3 << 0;
    QTest::newRow("beyond the timer's range") << 1e-7 << 1 << 0.0 << INT_MAX;
}

// The timer waits until the trigger is due, never less.
void PaceTest::paceWait()
{
    QFETCH(double, rate);
    QFETCH(int, trigger);
    QFETCH(double, elapsed);
    QFETCH(int, milliseconds);
    PaceSchedule schedule(rate);
    double due = 0.0;
    for (int i = 0; i <= trigger; ++i)
        due = schedule.nextDue(-1, RecordedTime());
    QCOMPARE(PaceSchedule::waitMilliseconds(due, elapsed), milliseconds);
}

QTEST_GUILESS_MAIN(PaceTest)

#include "tst_pace.moc"
