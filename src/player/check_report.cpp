#include "check_report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QByteArray checkLines(const ManifestCheck& check, const QString& manifest, bool json)
{
    if (json)
        return QJsonDocument(QJsonObject{{QStringLiteral("check"),
                                          QJsonObject{{QStringLiteral("manifest"), manifest},
                                                      {QStringLiteral("triggers"), check.manifestTriggers()},
                                                      {QStringLiteral("differences"), check.differences()},
                                                      {QStringLiteral("first"), QJsonArray::fromStringList(check.firstDifferences())}}}})
                   .toJson(QJsonDocument::Compact)
               + '\n';
    QByteArray lines;
    for (const QString& difference : check.firstDifferences())
        lines += QStringLiteral("check: %1\n").arg(difference).toUtf8();
    if (check.differences() == 0)
        return lines + QStringLiteral("check: the replay agrees with %1, trigger by trigger (%2 triggers)\n")
                           .arg(manifest)
                           .arg(check.manifestTriggers())
                           .toUtf8();
    return lines + QStringLiteral("check: %1 of %2 triggers %3 from %4%5\n")
                       .arg(check.differences())
                       .arg(check.manifestTriggers())
                       .arg(QLatin1String(check.differences() == 1 ? "differs" : "differ"), manifest)
                       .arg(check.differences() > check.firstDifferences().size() ? QStringLiteral("; the first %1 shown").arg(check.firstDifferences().size()) : QString())
                       .toUtf8();
}
