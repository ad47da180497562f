#include "app/program_icon.h"

#include <QImageReader>
#include <QPixmap>

namespace app {

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32}) {
        // Read as PNG and nothing else: left to find the format itself, Qt
        // loads every image format plugin (and libjpeg) to ask each of them.
        QImageReader reader(QStringLiteral(":/icons/program-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImageReader(&reader));
    }
    return icon;
}

} // namespace app
