#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace platform {

// A save dialog as a window keeps one: no filter, no default extension, no
// title of its own. It asks before an existing file is replaced, and offers
// the name chosen last time again.
class SaveDialog {
public:
    // Shows the dialog. True when a name was chosen; fileName() holds it.
    bool execute(QWidget* parent = nullptr);
    const QString& fileName() const { return mFileName; }

private:
    QString mFileName;
};

// Tests and the driver choose instead of a person: the answerer gets the name
// the dialog offers and returns the chosen name, or nothing for Cancel.
// Without an answerer a real dialog is shown. Pass an empty function to go
// back to real dialogs.
using SaveDialogAnswerer = std::function<std::optional<QString>(const QString& offered)>;
void setSaveDialogAnswerer(SaveDialogAnswerer answerer);

} // namespace platform
