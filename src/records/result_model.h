#pragma once

#include <QAbstractTableModel>

namespace platform {
class AdoQuery;
}

namespace records {

// The grid's view of a query's current result: one column per field, titled
// with the field name, every cell the field's text. Reads the result in place,
// so a list of a hundred thousand rows costs nothing more to show.
class ResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultModel(const platform::AdoQuery& query, QObject* parent = nullptr);

    // The query opened, closed or lost a row: show its result anew.
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const platform::AdoQuery& mQuery;
    int mRows = 0;
    int mColumns = 0;
};

} // namespace records
