#pragma once

#include <QString>

namespace app {

// The publisher's site: scheme and host.
QString publisherSite();

// The publisher's page for a version text: the site, "/?qq=" and the version,
// the version percent-encoded so that any text stays one query value.
QString publisherPageUrl(const QString& version);

// The contact text of "联系方式": a heading line, then the instant-messaging
// number and the mobile number on a line each.
QString contactText();

} // namespace app
