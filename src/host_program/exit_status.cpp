#include "exit_status.h"

#include <QStringList>

namespace {

struct Meaning {
    ExitStatus status;
    const char* program;  // null for both programs
    const char* text;
};

constexpr char player[] = "kxcam-play";
constexpr char viewer[] = "kxcam-view";

constexpr Meaning meanings[] = {
    {exitSuccess, player, "when the run played to its end"},
    {exitSuccess, viewer, "when the window is closed"},
    {exitFailure, player,
     "when the module cannot be loaded, the camera cannot open the folder, an output cannot be written or the "
     "manifest of --check cannot be read"},
    {exitFailure, viewer, "when the module cannot be loaded"},
    {exitBadOptions, nullptr, "for bad options"},
    {exitReplayDiffers, player, "when the replay differs from that manifest"},
    {exitInterrupted, player, "when Ctrl-C (SIGINT) ended the run (after its summary; a second Ctrl-C ends it at once)"},
    {exitTerminated, player, "when SIGTERM ended the run (after its summary)"},
};

}  // namespace

QString exitStatusHelp(const QString& program)
{
    QStringList statuses;
    for (const Meaning& meaning : meanings)
        if (!meaning.program || program == QLatin1String(meaning.program))
            statuses.append(QStringLiteral("%1 %2").arg(int(meaning.status)).arg(QLatin1String(meaning.text)));
    return QStringLiteral("Exit status: %1.").arg(statuses.join(QStringLiteral(", ")));
}
