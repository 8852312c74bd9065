#include "platform/file_dialog.h"

#include <QFileDialog>

namespace platform {

namespace {

SaveDialogAnswerer& answerer() {
    static SaveDialogAnswerer instance;
    return instance;
}

std::optional<QString> askForName(QWidget* parent, const QString& offered) {
    if (answerer())
        return answerer()(offered);
    // The dialog asks before it lets an existing file be replaced.
    const QString chosen = QFileDialog::getSaveFileName(parent, QString(), offered);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

} // namespace

bool SaveDialog::execute(QWidget* parent) {
    const std::optional<QString> chosen = askForName(parent, mFileName);
    if (!chosen || chosen->isEmpty())
        return false;
    mFileName = *chosen;
    return true;
}

void setSaveDialogAnswerer(SaveDialogAnswerer newAnswerer) {
    answerer() = std::move(newAnswerer);
}

} // namespace platform
