#pragma once

#include <QString>

namespace app {

// Shell special-folder numbers (CSIDL values) that have a counterpart on this
// desktop.
namespace csidl {
constexpr int None = -1;
constexpr int Desktop = 0x00;
constexpr int Programs = 0x02;
constexpr int Personal = 0x05;
constexpr int Startup = 0x07;
constexpr int StartMenu = 0x0B;
constexpr int MyMusic = 0x0D;
constexpr int MyVideo = 0x0E;
constexpr int DesktopDirectory = 0x10;
constexpr int Fonts = 0x14;
constexpr int AppData = 0x1A;
constexpr int LocalAppData = 0x1C;
constexpr int MyPictures = 0x27;
constexpr int Profile = 0x28;
} // namespace csidl

// The folders of this desktop that special folders stand for.
enum class StandardFolder {
    None, // no counterpart
    Desktop,
    Applications, // the menu's launchers
    Autostart,
    Documents,
    Music,
    Videos,
    Pictures,
    Fonts,
    Config,
    Data,
    Home,
};

// Which folder of this desktop a special-folder number stands for.
StandardFolder standardFolderOf(int specialFolder);

// The path of a folder of this desktop for the current user (XDG locations),
// or empty text for StandardFolder::None.
QString standardFolderPath(StandardFolder folder);

// The text of a launcher for `target` (an absolute path): an application
// entry with the name shown, the command line and the working folder.
QString desktopEntryText(const QString& target, const QString& name);

// Writes a launcher `<folder>/<name>.desktop` that starts `target`, made
// executable so that desktops trust it, replacing an existing one. An empty
// name means the target's file name without its extension. A special folder
// of 0 or more wins over `folder`; an empty folder with special folder -1
// means the desktop. True when the launcher was written; false for a missing
// target, a missing folder, a special folder without a counterpart here, or a
// failed write.
bool createShortcut(const QString& target, const QString& name, const QString& folder,
                    int specialFolder);

} // namespace app
