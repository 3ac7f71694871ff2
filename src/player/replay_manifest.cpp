#include "replay_manifest.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>

namespace {

// The first record names the program and the layout of the records.
bool checkHeader(const QJsonObject& header, QString& error)
{
    const QString program = QCoreApplication::applicationName();
    const QJsonValue format = header.value(QLatin1String("recordFormat"));
    if (!header.value(QLatin1String("camera")).isObject() || header.value(QLatin1String("program")).toString() != program
        || !format.isDouble()) {
        error = QStringLiteral("its first line does not name %1 and a record format, as %1 --json writes it "
                               "(a manifest of another program, or of a version before record formats)")
                    .arg(program);
        return false;
    }
    if (format.toInt() != triggerRecordFormat) {
        error = QStringLiteral("it holds record format %1, written by %2 %3; this %2 reads format %4: write the manifest again with it")
                    .arg(format.toInt())
                    .arg(program, header.value(QLatin1String("version")).toString())
                    .arg(triggerRecordFormat);
        return false;
    }
    return true;
}

}  // namespace

bool ReplayManifest::read(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read the manifest %1: %2").arg(path, file.errorString());
        return false;
    }
    return parse(file.readAll(), path, error);
}

bool ReplayManifest::parse(const QByteArray& lines, const QString& name, QString& error)
{
    m_triggers.clear();
    QList<QByteArray> records = lines.split('\n');
    if (!records.isEmpty() && records.last().trimmed().isEmpty())
        records.removeLast();
    QString reason;
    int frames = 0;
    bool summarised = false;
    for (int i = 0; i < records.size() && reason.isEmpty(); ++i) {
        QJsonParseError parseError;
        const QJsonObject record = QJsonDocument::fromJson(records.at(i), &parseError).object();
        if (parseError.error != QJsonParseError::NoError || record.isEmpty())
            reason = QStringLiteral("line %1 is not a JSON object").arg(i + 1);
        else if (summarised)
            reason = QStringLiteral("line %1 follows the summary").arg(i + 1);
        else if (i == 0)
            checkHeader(record, reason);
        else if (record.contains(QLatin1String("summary"))) {
            const QJsonObject summary = record.value(QLatin1String("summary")).toObject();
            summarised = true;
            if (summary.value(QLatin1String("interrupted")).toBool())
                reason = QStringLiteral("the run that wrote it was interrupted");
            else if (summary.value(QLatin1String("frames")).toInt(-1) != frames)
                reason = QStringLiteral("its summary counts %1 frames, its records %2")
                             .arg(summary.value(QLatin1String("frames")).toInt(-1))
                             .arg(frames);
        } else {
            TriggerRecord trigger;
            if (!TriggerRecord::fromJson(record, trigger, reason))
                reason = QStringLiteral("line %1: %2").arg(i + 1).arg(reason);
            else if (trigger.number != m_triggers.size() + 1)
                reason = QStringLiteral("line %1 records trigger %2 where trigger %3 belongs").arg(i + 1).arg(trigger.number).arg(m_triggers.size() + 1);
            frames += trigger.delivered;
            m_triggers.append(trigger);
        }
    }
    if (reason.isEmpty() && !summarised)
        reason = records.isEmpty() ? QStringLiteral("it is empty") : QStringLiteral("it ends before its summary line: it is cut short");
    if (reason.isEmpty())
        return true;
    m_triggers.clear();
    error = QStringLiteral("the manifest %1 cannot be checked against: %2").arg(name, reason);
    return false;
}
