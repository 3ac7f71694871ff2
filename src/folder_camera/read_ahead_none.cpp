#include "read_ahead.h"

// Systems without a read-ahead hint read each file when its trigger comes.
void readAhead(const QStringList&)
{
}
