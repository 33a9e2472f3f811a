#pragma once

#include <QAbstractItemModel>
#include <QTableView>

// The text a move list shows at (row, column).
inline QString shownText(const QTableView* list, int row, int column)
{
    return list->model()->index(row, column).data().toString();
}
