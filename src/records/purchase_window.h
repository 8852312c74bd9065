#pragma once

#include "records/record_window.h"

#include <optional>

class QComboBox;

namespace records {

// The total price of a purchase: quantity × unit price, both whole numbers.
// Nothing when either is not a whole number or the product leaves the signed
// 32-bit range.
std::optional<QString> totalPrice(const QString& quantity, const QString& unitPrice);

// A key that the quantity box takes: a digit 0 to 9 or backspace.
bool isQuantityCharacter(QChar c);

// The purchases whose goods name contains a text, in the table's own order.
std::string goodsSearchQuery(const QString& text);

// The purchase window TForm3: a record window whose quantity box takes digits
// only, whose total box computes quantity × unit price on a double click, and
// which searches the purchases by goods name.
class PurchaseWindow : public RecordWindow {
    Q_OBJECT
public:
    explicit PurchaseWindow(QWidget* parent = nullptr);

    void computeTotal();
    void search();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mQuantityBox = nullptr;
    QWidget* mQuantityEdit = nullptr;
    QWidget* mTotalEdit = nullptr;
};

} // namespace records
