#pragma once

#include <QString>

#include <exception>
#include <functional>

namespace platform {

// Flag values of the system message box, as the program passes them.
namespace mb {
constexpr unsigned Ok = 0x0;
constexpr unsigned YesNo = 0x4;
constexpr unsigned IconError = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconWarning = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr unsigned DefButton2 = 0x100;
constexpr unsigned DefButton3 = 0x200;
constexpr unsigned Topmost = 0x40000;
// Yes/No, warning icon, No as default, kept above all windows.
constexpr unsigned Confirm = 0x40234;
} // namespace mb

// Results of a message box.
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
constexpr int IdYes = 6;
constexpr int IdNo = 7;

// The title of the application: the caption of every plain message box.
QString applicationTitle();

// Shows a message box and returns the button pressed (IdOk, IdYes, IdNo...).
// The buttons come from flags & 0xF, the icon from flags & 0xF0, the default
// button from flags & 0xF00.
int messageBox(const QString& text, const QString& caption, unsigned flags);

// The plain box: caption "Marvanto", OK, no icon.
void showMessage(const QString& text);

// The confirmation box before a destructive action: caption "警告",
// flags 0x40234. True only when the answer is Yes.
bool confirm(const QString& text);

// The text the standard error box shows for an error message: the message
// with a full stop added when its last character sorts after ".".
QString errorBoxText(const QString& message);

// The standard error box: caption "Marvanto", error icon, OK.
void showErrorBox(const QString& message);
void showErrorBox(const std::exception& error);

// Runs an action that a user started; an error it does not handle itself is
// shown in the standard error box and the program goes on.
void runGuardedByErrorBox(const std::function<void()>& action);

// Tests and the driver answer message boxes instead of a person: the answerer
// gets text, caption and flags and returns the button. Without an answerer a
// real modal box is shown. Pass an empty function to go back to real boxes.
using MessageBoxAnswerer =
    std::function<int(const QString& text, const QString& caption, unsigned flags)>;
void setMessageBoxAnswerer(MessageBoxAnswerer answerer);

// The system message beep (MessageBeep). Tests may watch the beeps.
void messageBeep(unsigned type);
using BeepWatcher = std::function<void(unsigned type)>;
void setBeepWatcher(BeepWatcher watcher);

} // namespace platform
