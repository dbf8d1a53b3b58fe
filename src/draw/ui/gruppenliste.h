#pragma once

#include <QListWidget>

// A list of the `Gruppen` panel whose lines can be dragged onto the panel's other lists. A drag carries
// the source list's objectName and row; the drop only reports where it landed, the panel decides what it
// means. Lines are never moved by the drag itself.
class GruppenListe : public QListWidget {
    Q_OBJECT
public:
    static const QString kMimeType;

    explicit GruppenListe(QWidget* parent = nullptr);

    // What a drag of `row` carries.
    QMimeData* zeileMimeData(int row) const;

signals:
    // A line of the list named `source` was dropped here; targetRow is -1 when not dropped on a line.
    void zeileAbgelegt(const QString& source, int sourceRow, int targetRow);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
