#pragma once

#include <QAbstractListModel>
#include <vector>

// A read-only list model over a pick list kept by the stores, so that a combo
// box shows the list without a copy of it.
class PickListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PickListModel(const std::vector<QString>* items, QObject* parent = nullptr)
        : QAbstractListModel(parent), items_(items), count_(items ? int(items->size()) : 0) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : count_;
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= count_) return {};
        if (role == Qt::DisplayRole || role == Qt::EditRole) return items_->at(index.row());
        return {};
    }

    // The list was rebuilt as a whole.
    void Reset(const std::vector<QString>* items) {
        beginResetModel();
        items_ = items;
        count_ = items ? int(items->size()) : 0;
        endResetModel();
    }
    // One entry was inserted into the list at row.
    void Inserted(int row) {
        beginInsertRows({}, row, row);
        count_ = int(items_->size());
        endInsertRows();
    }

private:
    const std::vector<QString>* items_;
    int count_;
};
