#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPoint>

// The placement page's drag and drop: entries of the list `platz` are dropped on a side of a placement
// match (a PlatzFeld), and a side dragged back onto the list is emptied. What a drop means is decided by
// the plan area; the widgets only report it.

// A side of a placement match: "platz1<i>" or "platz2<i>".
class PlatzFeld : public QLabel {
    Q_OBJECT
public:
    static const QString kMimeType; // a side being dragged: "zeile:seite"

    PlatzFeld(int zeile, int seite, QWidget* parent = nullptr);
    int zeile() const { return zeile_; }
    int seite() const { return seite_; }
    int sid() const { return sid_; }
    void setEintrag(const QString& text, int sid);

signals:
    // List entry `listRow` of the list `platz` was dropped here.
    void eintragAbgelegt(int zeile, int seite, int listRow);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    int zeile_;
    int seite_;
    int sid_ = -1;
    QPoint pressAt_;
};

// The list `platz`: winners and losers of every match and the group positions, to be dropped on sides.
class PlatzListe : public QListWidget {
    Q_OBJECT
public:
    static const QString kMimeType; // a list entry being dragged: its row

    explicit PlatzListe(QWidget* parent = nullptr);

signals:
    // A side was dragged back onto the list.
    void feldZurueck(int zeile, int seite);

protected:
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction | Qt::CopyAction; }
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
