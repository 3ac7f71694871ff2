#include "name_filters.h"

namespace {

// QString's case-insensitive comparison, with ASCII against ASCII, the usual
// case, settled without the case tables.
bool equalFolded(QChar a, QChar b)
{
    if (a == b)
        return true;
    if (a.unicode() < 0x80 && b.unicode() < 0x80) {
        const auto lower = [](ushort unit) { return unit >= 'A' && unit <= 'Z' ? ushort(unit + ('a' - 'A')) : unit; };
        return lower(a.unicode()) == lower(b.unicode());
    }
    return a.toCaseFolded() == b.toCaseFolded();
}

// Whether the name ends in the pattern's units after its "*".
bool endsWithSuffixOf(const QChar* name, int length, const QString& pattern)
{
    const int suffixLength = pattern.size() - 1;
    if (length < suffixLength)
        return false;
    const QChar* tail = name + (length - suffixLength);
    for (int i = 0; i < suffixLength; ++i) {
        if (!equalFolded(tail[i], pattern[i + 1]))
            return false;
    }
    return true;
}

}  // namespace

bool matchesNameFilters(const QChar* name, int length, const QStringList& nameFilters)
{
    for (const QString& pattern : nameFilters) {
        if (endsWithSuffixOf(name, length, pattern))
            return true;
    }
    return false;
}
