#include "common/ui/ganzetexte.h"

#include <QListWidget>

namespace {
void tooltipsSetzen(QListWidget* list, int first, int last) {
    for (int i = first; i <= last && i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        // Setting the tooltip changes the item again; only a differing one is written.
        if (item->toolTip() != item->text()) item->setToolTip(item->text());
    }
}
} // namespace

void ganzeTexteZeigen(QWidget* panel) {
    for (QListWidget* list : panel->findChildren<QListWidget*>()) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextElideMode(Qt::ElideRight);
        list->setWordWrap(false);
        QAbstractItemModel* model = list->model();
        QObject::connect(
            model, &QAbstractItemModel::rowsInserted, list,
            [list](const QModelIndex&, int first, int last) { tooltipsSetzen(list, first, last); });
        QObject::connect(model, &QAbstractItemModel::dataChanged, list,
                         [list](const QModelIndex& from, const QModelIndex& to) {
                             tooltipsSetzen(list, from.row(), to.row());
                         });
        tooltipsSetzen(list, 0, list->count() - 1);
    }
}
