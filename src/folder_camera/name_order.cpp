#include "name_order.h"

namespace {

ushort upperUnit(ushort unit)
{
    if (unit < 0x80)
        return unit >= 'a' && unit <= 'z' ? ushort(unit - ('a' - 'A')) : unit;
    const uint upper = QChar::toUpper(uint(unit));
    return upper <= 0xffff ? ushort(upper) : unit;
}

}  // namespace

// The name upper-cased, a 0, which sorts before any unit a name can hold, and
// the name as it is.
QString nameOrderKey(const QString& name)
{
    QString key(2 * name.size() + 1, Qt::Uninitialized);
    QChar* out = key.data();
    for (const QChar unit : name)
        *out++ = QChar(upperUnit(unit.unicode()));
    *out++ = QChar(0);
    std::copy(name.cbegin(), name.cend(), out);
    return key;
}
