#pragma once

// The program's folder for a benchmark: the database folder and the three
// word lists (empty, or with the given lines) in a temporary folder.

#include "platform/app_dir.h"
#include "records/module_storage.h"

#include <QDir>
#include <QFile>
#include <QString>

namespace bench {

inline void prepareAppFolder(const QString& path, const QByteArray& listLines = {}) {
    platform::setAppDir(path);
    QDir(path).mkdir(QStringLiteral("database"));
    for (const auto& name : {records::wordlists::StaffNames, records::wordlists::GoodsNames,
                             records::wordlists::Amounts}) {
        QFile list(platform::appPath(name));
        list.open(QIODevice::WriteOnly);
        list.write(listLines);
    }
}

} // namespace bench
