#include "records/purchase_window.h"

#include "platform/ado.h"
#include "platform/message_box.h"
#include "records/entry_boxes.h"
#include "records/whole_number.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <limits>

namespace records {

namespace {

QLineEdit* lineEditOf(QWidget* box) {
    auto* combo = qobject_cast<QComboBox*>(box);
    return combo ? combo->lineEdit() : nullptr;
}

// A key press that types a character into a box. Keys that type nothing
// (arrows, Delete), focus keys and shortcuts with Ctrl, Alt or Meta are
// commands, not characters.
bool typesCharacter(const QKeyEvent& key) {
    if (key.text().isEmpty() || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        return false;
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return key.text().front() != QChar(0x7F);
}

} // namespace

std::optional<QString> totalPrice(const QString& quantity, const QString& unitPrice) {
    const auto count = wholeNumber(quantity);
    const auto price = wholeNumber(unitPrice);
    if (!count || !price)
        return std::nullopt;
    const std::int64_t product = std::int64_t{*count} * *price;
    if (product < std::numeric_limits<std::int32_t>::min() ||
        product > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return QString::number(product);
}

bool isQuantityCharacter(QChar c) {
    return (c >= u'0' && c <= u'9') || c == QChar(8);
}

std::string goodsSearchQuery(const QString& text) {
    return "Select * from data where 商品 like '%" + platform::quoteDoubled(text.toStdString()) +
           "%'";
}

PurchaseWindow::PurchaseWindow(QWidget* parent) : RecordWindow(purchaseDescriptor(), parent) {
    auto* row = new QHBoxLayout;
    QComboBox* searchBox = makeDropDownBox(QStringLiteral("ComboBox_Search"));
    auto* label = new QLabel(QStringLiteral("查询:"));
    label->setBuddy(searchBox);
    auto* searchButton = new QPushButton(QStringLiteral("查询"));
    searchButton->setObjectName(QStringLiteral("Button2"));
    searchButton->setMinimumWidth(75);
    row->addWidget(label);
    row->addWidget(searchBox, 1);
    row->addWidget(searchButton);
    listPageLayout()->addLayout(row);
    connect(searchButton, &QPushButton::clicked, this,
            [this] { platform::runGuardedByErrorBox([this] { search(); }); });

    // The quantity filter sees the keys before the box does: those the drop-down
    // box hands on to its line and those sent to the line itself. Typed text
    // arrives only as keys, never composed by an input method.
    mQuantityBox = box(QStringLiteral("ShuLiang"));
    if (QLineEdit* quantity = lineEditOf(mQuantityBox)) {
        mQuantityBox->setAttribute(Qt::WA_InputMethodEnabled, false);
        quantity->setAttribute(Qt::WA_InputMethodEnabled, false);
        mQuantityBox->installEventFilter(this);
        quantity->installEventFilter(this);
        mQuantityEdit = quantity;
    }
    if (QLineEdit* total = lineEditOf(box(QStringLiteral("Zongjia")))) {
        total->installEventFilter(this);
        mTotalEdit = total;
    }
}

bool PurchaseWindow::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == mQuantityBox || watched == mQuantityEdit) &&
        event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (typesCharacter(*key) && !isQuantityCharacter(key->text().front())) {
            platform::messageBeep(1);
            return true;
        }
    }
    if (watched == mTotalEdit && event->type() == QEvent::MouseButtonDblClick)
        computeTotal();
    return RecordWindow::eventFilter(watched, event);
}

void PurchaseWindow::computeTotal() {
    if (const auto total =
            totalPrice(boxText(QStringLiteral("ShuLiang")), boxText(QStringLiteral("Jinjia"))))
        setBoxText(QStringLiteral("Zongjia"), *total);
}

void PurchaseWindow::search() {
    const QString text = boxText(QStringLiteral("ComboBox_Search"));
    if (text.isEmpty()) {
        platform::showMessage(QStringLiteral("请输入商品名称"));
        return;
    }
    refresh();
    query().close();
    query().setSql(goodsSearchQuery(text));
    query().open();
    setColumnWidths(descriptor().columnWidths);
    setStatusText(
        countText(descriptor().countPrefix, query().recordCount(), descriptor().countSuffix));
}

} // namespace records
