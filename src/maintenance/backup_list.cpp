#include "maintenance/backup_list.h"

#include "maintenance/backup.h"
#include "platform/word_list.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace maintenance {

namespace {

const QString NoteFileName = QStringLiteral("备份说明.txt");
const QString TimeLinePrefix = QStringLiteral("数据库备份时间:");

std::optional<BackupEntry> readBackup(const QString& folder) {
    QFile noteFile(folder + QLatin1Char('/') + NoteFileName);
    if (!noteFile.open(QIODevice::ReadOnly))
        return std::nullopt;
    BackupEntry entry;
    entry.folder = QDir::cleanPath(folder);
    for (const QString& fileName : backupOrder()) {
        if (QFileInfo(folder + QLatin1Char('/') + fileName).isFile())
            entry.databases << fileName;
    }
    if (entry.databases.isEmpty())
        return std::nullopt;
    const BackupNote note = readBackupNote(noteFile.readAll());
    entry.time = note.time;
    entry.note = note.note;
    entry.moment = QDateTime::fromString(note.time.trimmed(), QStringLiteral("yyyy-M-d H:mm:ss"));
    return entry;
}

} // namespace

QString BackupEntry::label() const {
    return time.isEmpty() ? QFileInfo(folder).fileName() : time;
}

BackupNote readBackupNote(const QByteArray& bytes) {
    QStringList lines = platform::splitWordList(platform::decodeWordListBytes(bytes));
    BackupNote note;
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        if (lines[i].startsWith(TimeLinePrefix)) {
            note.time = lines[i].mid(TimeLinePrefix.size());
            lines.removeAt(i);
            break;
        }
    }
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    note.note = lines.join(QLatin1Char('\n'));
    return note;
}

QList<BackupEntry> listBackups(const QString& backupFolder) {
    QList<BackupEntry> entries;
    if (auto own = readBackup(backupFolder))
        entries << *own;
    const QStringList names =
        QDir(backupFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        if (name.startsWith(QLatin1Char('.')))
            continue;
        if (auto entry = readBackup(backupFolder + QLatin1Char('/') + name))
            entries << *entry;
    }
    // Newest first; of two in the same second the later suffix ("-2" after
    // the plain name, "-10" after "-9") was made later.
    const auto suffix = [](const BackupEntry& entry) {
        const QString name = QFileInfo(entry.folder).fileName();
        const qsizetype dash = name.lastIndexOf(QLatin1Char('-'));
        bool number = false;
        const int value = dash > 0 ? name.mid(dash + 1).toInt(&number) : 0;
        return number ? std::pair(name.left(dash), value) : std::pair(name, 1);
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&suffix](const BackupEntry& a, const BackupEntry& b) {
                         if (a.moment.isValid() != b.moment.isValid())
                             return a.moment.isValid();
                         if (a.moment != b.moment)
                             return a.moment > b.moment;
                         return suffix(a) > suffix(b);
                     });
    return entries;
}

} // namespace maintenance
