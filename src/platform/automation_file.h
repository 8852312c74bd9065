#pragma once

#include <QString>

#include <functional>

// Saving of the documents that the automation servers write.
namespace platform::automation {

// The name a document is saved under: the name as given, with `extension`
// (".xlsx", ".docx") added when its last component has none, as the office
// applications do. Throws AutomationError when the last component is empty:
// no name, or a folder's name ending in a slash.
QString saveName(const QString& fileName, const QString& extension);

// Writes `target` through a temporary file beside it: `write` gets the
// temporary file's path and must create it; only when it returns does the file
// replace the target. A failed write leaves no file and an existing target
// untouched. Throws AutomationError when the folder does not exist, the target
// is a folder or read-only, or the file cannot be moved into place; errors
// thrown by `write` pass through.
void writeThroughTemporary(const QString& target,
                           const std::function<void(const QByteArray& temporaryPath)>& write);

} // namespace platform::automation
