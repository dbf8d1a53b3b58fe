#pragma once

#include "play/planlayout.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHash>
#include <QPixmap>
#include <functional>

class QGraphicsProxyWidget;

// A text of a plan in its box: elided when it does not fit, with the whole text as tooltip, and never
// painted beyond the box, so a long name cannot run into the next cell.
class PlanTextItem : public QGraphicsItem {
public:
    PlanTextItem(const PlanText& text, const QFont& font, const QString& shown);
    QRectF boundingRect() const override { return box_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    const QString& text() const { return full_; }
    // What the box shows: the text, or its start and "…" when it is too long.
    const QString& shownText() const { return shown_; }
    bool elided() const { return shown_ != full_; }
    int sid() const { return sid_; }
    const QFont& font() const { return font_; }

    enum { Type = UserType + 1 };
    int type() const override { return Type; }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QRectF box_;
    QString full_;
    QString shown_;
    QFont font_;
    QColor background_;
    int flags_;
    int sid_;
};

// The clickable picture of a match. It starts transparent; the status of the running class gives it its
// picture, state tag and hint later.
class PlanStatusItem : public QGraphicsItem {
public:
    explicit PlanStatusItem(const PlanStatusCell& cell);
    QRectF boundingRect() const override { return box_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int spielnummer() const { return spielnummer_; }
    bool mirrored() const { return mirrored_; }
    // State tag 1 … 5 (waiting, playable, called, started, finished).
    int state() const { return state_; }
    void setState(int state) { state_ = state; }
    const QPixmap& picture() const { return picture_; }
    void setPicture(const QPixmap& picture);

    enum { Type = UserType + 2 };
    int type() const override { return Type; }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    QRectF box_;
    int spielnummer_;
    bool mirrored_;
    int state_ = 1;
    QPixmap picture_;
};

// A tool picture of a page (match list, redraw, print).
class PlanToolItem : public QGraphicsPixmapItem {
public:
    PlanToolItem(const PlanTool& tool, const QPixmap& picture);
    PlanToolAction action() const { return action_; }
    int tag() const { return tag_; }

    enum { Type = UserType + 3 };
    int type() const override { return Type; }

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;

private:
    PlanToolAction action_;
    int tag_;
};

// One plan page on a graphics scene, filled from its layout. Items that other code finds again (status
// cells, named labels, tools) are kept by their names.
class PlanScene : public QGraphicsScene {
    Q_OBJECT
public:
    // imagesDir: the pictures folder beside the program; a picture that is missing there is drawn.
    explicit PlanScene(const QString& imagesDir = QString(), QObject* parent = nullptr);

    // Replaces everything on the scene by the drawing of `layout`.
    void setPlan(const PlanLayout& layout);
    void clearPlan();

    // Status cells ("status12", "statusx12"), named texts ("Sieger7") and tools ("tool0" …) by name.
    QGraphicsItem* item(const QString& name) const { return byName_.value(name); }
    PlanStatusItem* statusCell(const QString& name) const;
    PlanTextItem* textItem(const QString& name) const;
    QList<PlanTextItem*> texts() const;
    QList<PlanStatusItem*> statusCells() const;
    QList<PlanToolItem*> tools() const;
    // The error text shown instead of a drawing, when the page could not be drawn.
    QString errorText() const { return error_; }

    // A widget placed on the page at pixel position pos (the placement page's combo box and drop labels).
    QGraphicsProxyWidget* addWidgetAt(QWidget* widget, const QPoint& pos);

    // The picture of a tool: the file below the images folder, or a small drawn stand-in.
    QPixmap toolPicture(const QString& file, PlanToolAction action) const;

    // Fonts are sized in pixels from their point size at 96 dpi, so texts measure alike on every screen
    // and in tests.
    static QFont planFont(const QString& family, int pointSize, bool bold);

signals:
    // Clicks on cells and tools are reported once the mouse event is over: what they start may draw the
    // page anew, which deletes the item that was clicked.
    void statusClicked(int spielnummer, bool mirrored, Qt::MouseButton button);
    void toolClicked(PlanToolAction action, int tag);
    // A name whose entry id is positive is pressed (screen position of the pointer) or released.
    void namePressed(int sid, const QPoint& screenPos);
    void nameReleased();

private:
    void afterEvent(std::function<void()> report);

    friend class PlanTextItem;
    friend class PlanStatusItem;
    friend class PlanToolItem;

    QString imagesDir_;
    QHash<QString, QGraphicsItem*> byName_;
    QString error_;
};

// The scroll box of a plan page: white, scrolling by 5 pixels per notch of the mouse wheel, and focused as
// the pointer moves over it so the wheel acts on it.
class PlanView : public QGraphicsView {
    Q_OBJECT
public:
    explicit PlanView(QGraphicsScene* scene, QWidget* parent = nullptr);
    static constexpr int kWheelStep = 5;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

private:
    int wheelRest_ = 0;
};
