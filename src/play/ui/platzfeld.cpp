#include "play/ui/platzfeld.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>

const QString PlatzFeld::kMimeType = QStringLiteral("application/x-velmora-platzfeld");
const QString PlatzListe::kMimeType = QStringLiteral("application/x-velmora-platzeintrag");

PlatzFeld::PlatzFeld(int zeile, int seite, QWidget* parent) : QLabel(parent), zeile_(zeile), seite_(seite) {
    setObjectName(QStringLiteral("platz%1%2").arg(seite).arg(zeile));
    setFixedSize(120, 22);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, p.color(QPalette::ToolTipText));
    setPalette(p);
    setCursor(Qt::PointingHandCursor);
    setAcceptDrops(true);
    setAccessibleName(seite == 1 ? QStringLiteral("Spieler 1") : QStringLiteral("Spieler 2"));
}

void PlatzFeld::setEintrag(const QString& text, int sid) {
    sid_ = sid;
    const QString shown = fontMetrics().elidedText(text, Qt::ElideRight, width() - 4);
    setText(shown);
    setToolTip(shown == text ? QString() : text);
}

void PlatzFeld::mousePressEvent(QMouseEvent* event) {
    // Taken, not passed on: a label ignores presses, and the moves that start the drag would then go to
    // the page beneath it.
    pressAt_ = event->position().toPoint();
    event->accept();
}

void PlatzFeld::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - pressAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    auto* data = new QMimeData;
    data->setData(kMimeType, QStringLiteral("%1:%2").arg(zeile_).arg(seite_).toLatin1());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

void PlatzFeld::dragEnterEvent(QDragEnterEvent* event) {
    // Only entries of the list `platz` fill a side.
    if (event->mimeData()->hasFormat(PlatzListe::kMimeType)) event->acceptProposedAction();
    else event->ignore();
}

void PlatzFeld::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(PlatzListe::kMimeType)) event->acceptProposedAction();
    else event->ignore();
}

void PlatzFeld::dropEvent(QDropEvent* event) {
    bool ok = false;
    const int row = QString::fromLatin1(event->mimeData()->data(PlatzListe::kMimeType)).toInt(&ok);
    if (!ok) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit eintragAbgelegt(zeile_, seite_, row);
}

PlatzListe::PlatzListe(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("platz"));
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    viewport()->setAcceptDrops(true);
    setDefaultDropAction(Qt::CopyAction);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QStringList PlatzListe::mimeTypes() const {
    return {kMimeType};
}

QMimeData* PlatzListe::mimeData(const QList<QListWidgetItem*>& items) const {
    if (items.isEmpty()) return nullptr;
    auto* data = new QMimeData;
    data->setData(kMimeType, QByteArray::number(row(items.first())));
    return data;
}

void PlatzListe::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(PlatzFeld::kMimeType)) event->acceptProposedAction();
    else event->ignore();
}

void PlatzListe::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(PlatzFeld::kMimeType)) event->acceptProposedAction();
    else event->ignore();
}

void PlatzListe::dropEvent(QDropEvent* event) {
    const QStringList parts = QString::fromLatin1(event->mimeData()->data(PlatzFeld::kMimeType)).split(u':');
    if (parts.size() != 2) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit feldZurueck(parts[0].toInt(), parts[1].toInt());
}
