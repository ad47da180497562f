#include "app/console.h"

#include <cstdio>

namespace app {

void tell(Channel channel, const QString &text)
{
    std::FILE *stream = channel == Channel::Output ? stdout : stderr;
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace app
