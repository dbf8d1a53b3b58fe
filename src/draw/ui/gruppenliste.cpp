#include "draw/ui/gruppenliste.h"

#include <QDropEvent>
#include <QMimeData>

const QString GruppenListe::kMimeType = QStringLiteral("application/x-velmora-gruppenzeile");

GruppenListe::GruppenListe(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    // A copy, so the view never removes the dragged line itself: the panel rebuilds the lists.
    setDefaultDropAction(Qt::CopyAction);
}

QMimeData* GruppenListe::zeileMimeData(int row) const {
    auto* data = new QMimeData;
    data->setData(kMimeType, (objectName() + u'\n' + QString::number(row)).toUtf8());
    return data;
}

QStringList GruppenListe::mimeTypes() const {
    return {kMimeType};
}

QMimeData* GruppenListe::mimeData(const QList<QListWidgetItem*>& items) const {
    if (items.isEmpty()) return nullptr;
    return zeileMimeData(row(items.first()));
}

void GruppenListe::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasFormat(kMimeType)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void GruppenListe::dragMoveEvent(QDragMoveEvent* event) {
    if (!event->mimeData()->hasFormat(kMimeType)) {
        event->ignore();
        return;
    }
    QListWidget::dragMoveEvent(event); // scrolls and shows where the line would land
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void GruppenListe::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasFormat(kMimeType)) {
        event->ignore();
        return;
    }
    const QStringList parts = QString::fromUtf8(event->mimeData()->data(kMimeType)).split(u'\n');
    bool ok = parts.size() == 2;
    const int sourceRow = ok ? parts[1].toInt(&ok) : -1;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    setState(QAbstractItemView::NoState);
    viewport()->update();
    if (!ok) return;
    const QModelIndex target = indexAt(event->position().toPoint());
    emit zeileAbgelegt(parts[0], sourceRow, target.isValid() ? target.row() : -1);
}
