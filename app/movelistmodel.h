#pragma once

#include "board/form.h"

#include <QAbstractTableModel>
#include <QBrush>

#include <array>

// A move list as its view shows it. The rows are the record's own, read and written in place:
// what the operator types is in the record at once, and an event copies nothing.
class MoveListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // fixed paints the header row and the move-number column, which the program writes.
    MoveListModel(MoveList& list, const QBrush& fixed, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    MoveList& list() { return list_; }
    // Tells the view which rows a handler changed.
    void refresh();

private:
    static bool fixed(const QModelIndex& index) { return index.row() == 0 || index.column() == 0; }

    MoveList& list_;
    QBrush fixed_;
    // The rows as the view last showed them.
    std::array<std::array<QString, 2>, MoveList::Rows> shown_;
};
