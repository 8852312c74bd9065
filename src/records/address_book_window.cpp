#include "records/address_book_window.h"

#include "platform/ado.h"
#include "platform/message_box.h"
#include "records/entry_boxes.h"
#include "records/module_storage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace records {

namespace {

const QString NoKeyword = QStringLiteral("请输入搜索关键字");

QComboBox* makeSearchBox(const QString& name, const QString& text) {
    QComboBox* combo = makeDropDownBox(name);
    combo->setEditText(text);
    return combo;
}

QStringList columnsOf(const QString& databaseFile) {
    for (const ModuleTable& table : moduleTables()) {
        if (table.fileName == databaseFile)
            return table.columns;
    }
    return {};
}

} // namespace

std::optional<std::string> contactSearchQuery(const QStringList& tableColumns,
                                              const QString& column, const QString& keyword) {
    if (!tableColumns.contains(column))
        return std::nullopt;
    return "Select * from data where " + column.toStdString() + " like '%" +
           platform::quoteDoubled(keyword.toStdString()) + "%'";
}

AddressBookWindow::AddressBookWindow(QWidget* parent)
    : RecordWindow(addressBookDescriptor(), parent) {
    // The search group box stands beside the group box of the entry boxes
    // and holds the hidden ID.
    auto* group = new QGroupBox(QStringLiteral("查询"));
    group->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(group);
    auto* searchButton = new QPushButton(QStringLiteral("查询"));
    searchButton->setObjectName(QStringLiteral("Button1"));
    searchButton->setMinimumWidth(75);
    grid->addWidget(new QLabel(QStringLiteral("关键字:")), 0, 0, Qt::AlignRight);
    grid->addWidget(makeSearchBox(QStringLiteral("SearchKeywords"), QStringLiteral("请输入关键字")),
                    0, 1);
    grid->addWidget(new QLabel(QStringLiteral("字段:")), 1, 0, Qt::AlignRight);
    grid->addWidget(makeSearchBox(QStringLiteral("SearchOptiong"), QStringLiteral("姓名")), 1, 1);
    grid->addWidget(searchButton, 2, 1, Qt::AlignRight);
    grid->setRowStretch(3, 1);
    grid->setColumnMinimumWidth(1, 200);
    if (QWidget* id = box(QStringLiteral("ID")))
        id->setParent(group);
    entryRow()->addWidget(group);
    connect(searchButton, &QPushButton::clicked, this,
            [this] { platform::runGuardedByErrorBox([this] { search(); }); });
}

void AddressBookWindow::afterFirstRefresh() {
    // The columns to choose from are the field names of the list; the text
    // stays 姓名.
    auto* options = findChild<QComboBox*>(QStringLiteral("SearchOptiong"));
    const QString text = options->currentText();
    options->clear();
    for (const std::string& name : query().result().fieldNames())
        options->addItem(QString::fromStdString(name));
    options->setCurrentIndex(-1);
    options->setEditText(text);
}

void AddressBookWindow::search() {
    const QString keyword = boxText(QStringLiteral("SearchKeywords"));
    const QString column = boxText(QStringLiteral("SearchOptiong"));
    const auto sql = keyword == NoKeyword ? std::nullopt
                                          : contactSearchQuery(columnsOf(descriptor().databaseFile),
                                                               column, keyword);
    if (!sql) {
        platform::showMessage(NoKeyword);
        return;
    }
    query().close();
    query().setSql(*sql);
    query().open();
    setStatusText(QStringLiteral("共找到%1 个记录").arg(query().recordCount()));
    setColumnWidths(descriptor().columnWidths);
}

} // namespace records
