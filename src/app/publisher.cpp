#include "app/publisher.h"

#include <QUrl>

namespace app {

QString publisherSite() {
    return QStringLiteral("http://www.example.com");
}

QString publisherPageUrl(const QString& version) {
    return publisherSite() + QStringLiteral("/?qq=") +
           QString::fromLatin1(QUrl::toPercentEncoding(version));
}

QString contactText() {
    return QStringLiteral("联系方式:\n即时通讯: 80427316\n手机: 13900000000");
}

} // namespace app
