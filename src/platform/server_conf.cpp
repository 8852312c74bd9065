#include "platform/server_conf.h"

#include "platform/ado.h"
#include "platform/ascii_text.h"
#include "platform/data_dir.h"
#include "platform/server_link.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace platform {

namespace {

// Blanks around names and values; a line of a file written on Windows
// ends in a carriage return.
std::string_view trimmed(std::string_view text) {
    return trimmedBlanks(text, " \t\r");
}

QString confFile() {
    return dataPath(ServerConfName);
}

} // namespace

std::string serverUrlOf(std::string_view confText) {
    if (confText.starts_with("\xEF\xBB\xBF"))
        confText.remove_prefix(3);
    bool inServer = false;
    std::string url;
    while (!confText.empty()) {
        const auto newline = confText.find('\n');
        const std::string_view line = trimmed(confText.substr(0, newline));
        confText.remove_prefix(newline == std::string_view::npos ? confText.size() : newline + 1);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            inServer = close != std::string_view::npos &&
                       asciiLowered(trimmed(line.substr(1, close - 1))) == "server";
            continue;
        }
        const auto equals = line.find('=');
        if (!inServer || equals == std::string_view::npos ||
            asciiLowered(trimmed(line.substr(0, equals))) != "url")
            continue;
        std::string_view value = trimmed(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        url = std::string(value);
    }
    return url;
}

std::string serverUrl() {
    QFile file(confFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return serverUrlOf(file.readAll().toStdString());
}

void requireServerUri(const std::string& url) {
    if (!isServerConnectionString(url))
        throw AdoError(QStringLiteral("%1 中 [server] 的 url 不是数据库服务器的地址;"
                                      "它应当以 postgresql:// 开头,例如 "
                                      "postgresql://shop@192.168.1.10/marvanto")
                           .arg(QDir::toNativeSeparators(confFile()))
                           .toStdString(),
                       DatabaseFault::Unreachable);
}

QString confPermissionWarning(const QString& path, const std::string& url, unsigned mode) {
    if ((mode & 077) == 0 || !uriHasPassword(url))
        return {};
    const QString native = QDir::toNativeSeparators(path);
    return QStringLiteral("文件 %1 中写有数据库的密码,但本机的其他用户也能读取这个文件。\n"
                          "请执行 chmod 600 \"%1\" 只让自己读取它,"
                          "或者把密码从文件中删去,改写在 ~/.pgpass 中。")
        .arg(native);
}

QString serverConfWarning() {
    const QString path = confFile();
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return confPermissionWarning(path, serverUrl(), static_cast<unsigned>(status.st_mode));
}

} // namespace platform
