#pragma once

// The small dialog in which the user chooses the backup to restore.

#include "maintenance/backup_list.h"

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace maintenance {

// Lists the backups, newest first: the backup's time, its note and how many
// of the nine databases it holds. 恢复 asks for the row chosen; 取消 closes.
class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    // `backupFolder` is named at the top, so the user knows where backups lie.
    RestoreDialog(const QList<BackupEntry>& backups, const QString& backupFolder,
                  QWidget* parent = nullptr);

    QTableWidget* list() const { return mList; }
    QPushButton* restoreButton() const { return mRestore; }
    QPushButton* cancelButton() const { return mCancel; }

signals:
    void restoreChosen(const maintenance::BackupEntry& backup);

private:
    QList<BackupEntry> mBackups;
    QTableWidget* mList = nullptr;
    QPushButton* mRestore = nullptr;
    QPushButton* mCancel = nullptr;
};

// Opens the dialog over the parent (modal, without blocking the caller) with
// the backups under the backup folder, or shows "没有可恢复的备份。" when
// there are none. The dialog deletes itself when closed.
RestoreDialog* openRestoreDialog(const QString& backupFolder, QWidget* parent);

} // namespace maintenance
