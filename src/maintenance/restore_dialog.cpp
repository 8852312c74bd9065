#include "maintenance/restore_dialog.h"

#include "platform/data_dir.h"
#include "platform/message_box.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace maintenance {

RestoreDialog::RestoreDialog(const QList<BackupEntry>& backups, const QString& backupFolder,
                             QWidget* parent)
    : QDialog(parent), mBackups(backups) {
    setObjectName(QStringLiteral("RestoreDialog"));
    // Drawn by the skin as a dialog of the program, like its message boxes.
    setProperty("skinClass", QStringLiteral("#32770"));
    setWindowTitle(QStringLiteral("恢复数据库"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* layout = new QVBoxLayout(this);
    // Where the backups lie: beside the program, or in the user's data folder.
    auto* folder = new QLabel(QStringLiteral("备份文件夹:") +
                              QDir::toNativeSeparators(QDir::cleanPath(backupFolder)));
    folder->setObjectName(QStringLiteral("BackupFolder"));
    folder->setTextFormat(Qt::PlainText);
    folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(folder);
    layout->addWidget(new QLabel(QStringLiteral("请选择要恢复的备份:")));
    mList = new QTableWidget(static_cast<int>(backups.size()), 3);
    mList->setObjectName(QStringLiteral("BackupList"));
    mList->setHorizontalHeaderLabels(
        {QStringLiteral("备份时间"), QStringLiteral("备份说明"), QStringLiteral("数据库")});
    mList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mList->setSelectionBehavior(QAbstractItemView::SelectRows);
    mList->setSelectionMode(QAbstractItemView::SingleSelection);
    mList->setWordWrap(false);
    mList->verticalHeader()->hide();
    mList->horizontalHeader()->setStretchLastSection(false);
    mList->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    for (int row = 0; row < backups.size(); ++row) {
        const BackupEntry& backup = backups[row];
        auto* note = new QTableWidgetItem(QString(backup.note).replace(QLatin1Char('\n'), ' '));
        note->setToolTip(backup.note);
        mList->setItem(row, 0, new QTableWidgetItem(backup.label()));
        mList->setItem(row, 1, note);
        mList->setItem(row, 2, new QTableWidgetItem(QString::number(backup.databases.size())));
    }
    mList->resizeColumnToContents(0);
    mList->resizeColumnToContents(2);
    layout->addWidget(mList, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    mRestore = new QPushButton(QStringLiteral("恢复"));
    mRestore->setObjectName(QStringLiteral("Restore"));
    mRestore->setEnabled(false);
    mCancel = new QPushButton(QStringLiteral("取消"));
    mCancel->setObjectName(QStringLiteral("Cancel"));
    buttons->addWidget(mRestore);
    buttons->addWidget(mCancel);
    layout->addLayout(buttons);

    connect(mList, &QTableWidget::currentCellChanged, this,
            [this](int row) { mRestore->setEnabled(row >= 0); });
    connect(mRestore, &QPushButton::clicked, this, [this] {
        const int row = mList->currentRow();
        if (row >= 0 && row < mBackups.size())
            emit restoreChosen(mBackups[row]);
    });
    connect(mCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(480, 280);
}

RestoreDialog* openRestoreDialog(const QString& backupFolder, QWidget* parent) {
    const QList<BackupEntry> backups = listBackups(backupFolder);
    if (backups.isEmpty()) {
        platform::showMessage(QStringLiteral("没有可恢复的备份。") +
                              (platform::dataDirIsProgramFolder()
                                   ? QString()
                                   : QStringLiteral("\n备份文件夹:") +
                                         QDir::toNativeSeparators(QDir::cleanPath(backupFolder))));
        return nullptr;
    }
    auto* dialog = new RestoreDialog(backups, backupFolder, parent);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    return dialog;
}

} // namespace maintenance
