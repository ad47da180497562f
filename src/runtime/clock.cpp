#include "runtime/clock.h"

#include "runtime/seam.h"

namespace runtime {
namespace {

Seam<QDateTime()> &clock()
{
    static Seam<QDateTime()> seam(&QDateTime::currentDateTime);
    return seam;
}

} // namespace

QDateTime presentDate()
{
    return clock()();
}

Clock setClock(Clock replacement)
{
    return clock().replace(std::move(replacement));
}

} // namespace runtime
