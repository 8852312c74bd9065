#pragma once

// Where the shop's own data lives: the module databases, the word lists the
// owner may edit and the backups. Read-only resources (banner, calendar page)
// stay with the program (app_dir.h).
//
// The data folder is the executable's folder when that folder holds a
// `database` folder and may be written (the portable layout: everything
// beside the executable). Otherwise it is the user's data folder, normally
// ~/.local/share/marvanto, which is made on first start with copies of the
// empty databases and word lists that ship with the program. An installed
// program lies in a folder the user cannot write and ships its empty
// databases as templates, not as a `database` folder, so it always keeps the
// shop's data in the user's data folder, where no package upgrade reaches.

#include <QString>

#include <stdexcept>

namespace platform {

// The data folder cannot be made or written; the message is Chinese and names
// the folder.
class DataDirError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The data folder, ending in a separator. Decided once for the executable's
// folder (again after setAppDir).
QString dataDir();

// A path below the data folder.
QString dataPath(const QString& relative);

// True when the data folder is the executable's own folder.
bool dataDirIsProgramFolder();

// The user's data folder for the program, whether or not it is used.
QString userDataDir();

// The folder of the program that holds the empty databases and word lists a
// new data folder is made from: `data-template` of an installed program, or
// the executable's folder itself.
QString dataTemplateDir();

// Makes sure the data folder exists and holds its databases: a user data
// folder without a `database` folder gets copies of the templates, built
// aside and put in place whole, and the word lists it lacks. Nothing that
// exists is ever replaced. Throws DataDirError when the folder cannot be made
// or written; a later call tries again.
void prepareDataDir();

// Throws DataDirError naming the folder when `folder` is there but may not be
// written, or is not there and cannot be made in the folder that would hold it.
void requireWritable(const QString& folder);

} // namespace platform
