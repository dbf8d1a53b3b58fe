#include "common/ui/ankreuzliste.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace {
void zeigeHaken(QListWidget* list) {
    // Only a picture of the selection: the boxes are not checkable themselves, so a click on one
    // toggles the line once, through the selection, and never twice.
    const QSignalBlocker block(list);
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        if (item->flags() & Qt::ItemIsUserCheckable) item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        const Qt::CheckState state = item->isSelected() ? Qt::Checked : Qt::Unchecked;
        if (item->data(Qt::CheckStateRole) != QVariant(int(state))) item->setCheckState(state);
    }
}
} // namespace

void alsAnkreuzliste(QListWidget* list) {
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] { zeigeHaken(list); });
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, list, [list] { zeigeHaken(list); });
    zeigeHaken(list);
}
