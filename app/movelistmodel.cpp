#include "app/movelistmodel.h"

MoveListModel::MoveListModel(MoveList& list, const QBrush& fixed, QObject* parent)
    : QAbstractTableModel(parent)
    , list_(list)
    , fixed_(fixed)
    , shown_(list.cells)
{
}

int MoveListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : MoveList::Rows;
}

int MoveListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant MoveListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return list_.at(index.column(), index.row());
    case Qt::BackgroundRole:
        return fixed(index) ? QVariant(fixed_) : QVariant();
    default:
        return {};
    }
}

bool MoveListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || fixed(index))
        return false;
    const QString text = value.toString();
    QString& shown = shown_[size_t(index.row())][size_t(index.column())];
    list_.at(index.column(), index.row()) = text;
    if (text != shown) {
        shown = text;
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    }
    return true;
}

Qt::ItemFlags MoveListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (fixed(index))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void MoveListModel::refresh()
{
    int first = -1;
    int last = -1;
    for (int r = 0; r < MoveList::Rows; ++r) {
        auto& shown = shown_[size_t(r)];
        const auto& now = list_.cells[size_t(r)];
        // Most rows share their text with the copy shown; telling that apart costs no compare.
        bool same = true;
        for (size_t c = 0; c < 2; ++c) {
            if (now[c].isSharedWith(shown[c]) || now[c] == shown[c])
                continue;
            shown[c] = now[c];
            same = false;
        }
        if (same)
            continue;
        if (first < 0)
            first = r;
        last = r;
    }
    if (first >= 0)
        emit dataChanged(index(first, 0), index(last, 1), {Qt::DisplayRole, Qt::EditRole});
}
