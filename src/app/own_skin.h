#pragma once

#include <QByteArray>

namespace app {

// The program's own skin package (made at build time from resources/skin),
// stored with the main window as its skin data's SkinStream.
QByteArray ownSkinPackage();

} // namespace app
