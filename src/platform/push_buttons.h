#pragma once

// Push buttons of the program's windows answer Enter as well as Space: a
// button that has the focus is pressed by Enter, outside dialogs too. (Qt's
// push buttons take Enter only in dialogs, where the dialog's default button
// rules stay as they are.)
namespace platform {

// Installs the behaviour on the application, once.
void pressFocusedButtonsOnEnter();

} // namespace platform
