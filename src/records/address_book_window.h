#pragma once

#include "records/record_window.h"

#include <optional>

namespace records {

// The search of the address book: the rows whose column contains the keyword,
// in the table's own order. Nothing when the column is not one of the table's
// columns, so that no other text is ever composed into the statement.
std::optional<std::string> contactSearchQuery(const QStringList& tableColumns,
                                              const QString& column, const QString& keyword);

// The customer address book TForm8: a record window with a search in a column
// chosen from the table's field names.
class AddressBookWindow : public RecordWindow {
    Q_OBJECT
public:
    explicit AddressBookWindow(QWidget* parent = nullptr);

    void search();

protected:
    void afterFirstRefresh() override;
};

} // namespace records
