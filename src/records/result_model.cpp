#include "records/result_model.h"

#include "platform/ado.h"
#include "platform/stored_text.h"

namespace records {

ResultModel::ResultModel(const platform::AdoQuery& query, QObject* parent)
    : QAbstractTableModel(parent), mQuery(query) {}

void ResultModel::reload() {
    beginResetModel();
    mRows = mQuery.recordCount();
    mColumns = mQuery.fieldCount();
    endResetModel();
}

int ResultModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mRows;
}

int ResultModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mColumns;
}

QVariant ResultModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= mRows || index.column() >= mColumns ||
        index.row() >= mQuery.recordCount())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return {};
    const std::string_view text = mQuery.result().cell(index.row(), index.column());
    QString value = platform::storedText(text);
    if (role == Qt::DisplayRole && value.size() > 300)
        value = value.left(300) + QChar(0x2026);
    return value;
}

QVariant ResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal) {
        if (section < 0 || section >= mColumns)
            return {};
        return QString::fromStdString(mQuery.result().fieldNames()[section]);
    }
    return {};
}

} // namespace records
