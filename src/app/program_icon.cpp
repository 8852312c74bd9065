#include "app/program_icon.h"

namespace app {

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/marvanto-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace app
