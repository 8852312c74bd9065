#pragma once

// marvanto.conf in the data folder: its section [server] with the key url (a
// libpq connection URI) puts the nine modules' books on that PostgreSQL
// server. Without the file, or without a url in it, the books are the files
// of database/.

#include <QString>

#include <string>
#include <string_view>

namespace platform {

inline const QString ServerConfName = QStringLiteral("marvanto.conf");

// The url of the section [server] of an INI text; empty when there is none.
// Section and key names ignore case; blanks around names and values, and
// quotes around a value, are dropped; lines starting with ; or # are
// comments.
std::string serverUrlOf(std::string_view confText);

// The url of the data folder's marvanto.conf, read at each call; empty when
// the books are the files.
std::string serverUrl();

// Throws AdoError (Unreachable: no server can be reached by it) when the url
// of marvanto.conf is not a PostgreSQL URI (postgresql://...): the message
// names the file and the form, not the url, which may hold a password.
void requireServerUri(const std::string& url);

// The warning for a conf file that holds a password in its url while other
// users may read it (any group or other permission bit in `mode`); empty
// when there is nothing to warn about.
QString confPermissionWarning(const QString& path, const std::string& url, unsigned mode);

// The warning above for the data folder's marvanto.conf.
QString serverConfWarning();

} // namespace platform
