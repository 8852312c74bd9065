#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

// The desktop calculators looked for on PATH, in order of preference.
QStringList calculatorPrograms();

// The full path of the first calculator of calculatorPrograms() found on
// PATH, or empty text when none is installed.
QString findCalculator();

// Starts the first calculator found, a new one on every call, without waiting
// for it. Nothing happens when none is installed or it fails to start.
void startCalculator();

// Opens a web address with the desktop's handler for it. A failure shows
// nothing.
void openUrl(const QString& url);

// Tests and the driver watch what would be started or opened instead of
// starting it: the starter gets the calculator's full path, the opener the
// web address. Pass an empty function to start and open for real again.
using ProgramStarter = std::function<void(const QString& program)>;
void setProgramStarter(ProgramStarter starter);
using UrlOpener = std::function<void(const QString& url)>;
void setUrlOpener(UrlOpener opener);

} // namespace platform
