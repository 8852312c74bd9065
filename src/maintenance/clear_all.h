#pragma once

// Emptying one record module entirely, through its record window.

#include <QString>

#include <array>

namespace records {
class RecordWindow;
}

namespace maintenance {

struct ClearAllItem {
    QString caption;      // the menu item
    QString windowClass;  // the record window whose query and database it uses
    QString confirmation; // the question asked first
};

// The nine items of the menu 特殊操作, in menu order.
const std::array<ClearAllItem, 9>& clearAllItems();

// Refuses a damaged database with its message; otherwise asks with the
// confirmation text and on Yes deletes every row of the window's table
// through the window's query and runs the window's refresh. Any failure, the
// refresh's included, is silent. True when the rows were deleted and the list
// refreshed.
bool clearAll(records::RecordWindow& window, const QString& confirmation);

} // namespace maintenance
