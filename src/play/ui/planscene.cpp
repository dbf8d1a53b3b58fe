#include "play/ui/planscene.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGraphicsProxyWidget>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsTextItem>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

constexpr int kErrorLeft = 20;
constexpr int kErrorTop = 40;
constexpr int kErrorWidth = 560;

PlanScene* planScene(QGraphicsItem* item) {
    return qobject_cast<PlanScene*>(item->scene());
}

QPixmap drawnTool(PlanToolAction action) {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing, true);
    switch (action) {
    case PlanToolAction::MatchList:
        // A sheet with lines and a small clock.
        g.setPen(QColor(60, 60, 60));
        g.setBrush(Qt::white);
        g.drawRect(2, 1, 10, 13);
        for (int y = 4; y <= 10; y += 3)
            g.drawLine(4, y, 10, y);
        g.setBrush(QColor(250, 210, 80));
        g.drawEllipse(QPointF(12, 12), 3.5, 3.5);
        break;
    case PlanToolAction::Redraw:
        // Two arrows chasing each other.
        g.setPen(QPen(QColor(30, 110, 40), 2));
        g.drawArc(3, 3, 10, 10, 30 * 16, 150 * 16);
        g.drawArc(3, 3, 10, 10, 210 * 16, 150 * 16);
        g.drawLine(3, 6, 3, 2);
        g.drawLine(13, 10, 13, 14);
        break;
    case PlanToolAction::Print:
        // A printer with its paper.
        g.setPen(QColor(50, 50, 50));
        g.setBrush(Qt::white);
        g.drawRect(4, 1, 8, 5);
        g.setBrush(QColor(150, 150, 160));
        g.drawRect(1, 6, 14, 6);
        g.setBrush(Qt::white);
        g.drawRect(4, 10, 8, 5);
        break;
    }
    return p;
}

} // namespace

// --- PlanTextItem ----------------------------------------------------------------------------------

PlanTextItem::PlanTextItem(const PlanText& text, const QFont& font, const QString& shown)
    : box_(text.box), full_(text.text), shown_(shown), font_(font), background_(text.background),
      flags_(Qt::AlignTop | Qt::TextSingleLine |
             (text.alignRight ? Qt::AlignRight : text.centred ? Qt::AlignHCenter : Qt::AlignLeft)),
      sid_(text.sid) {
    if (shown_ != full_) setToolTip(full_);
    if (sid_ > 0) setCursor(Qt::WhatsThisCursor);
    else setAcceptedMouseButtons(Qt::NoButton);
}

void PlanTextItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (background_.alpha() > 0) painter->fillRect(box_, background_);
    painter->setFont(font_);
    painter->setPen(Qt::black);
    // drawText clips to the box.
    painter->drawText(box_, flags_, shown_);
}

void PlanTextItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
    if (sid_ <= 0) {
        event->ignore();
        return;
    }
    event->accept();
    if (PlanScene* s = planScene(this)) emit s->namePressed(sid_, event->screenPos());
}

void PlanTextItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
    event->accept();
    if (PlanScene* s = planScene(this)) emit s->nameReleased();
}

// --- PlanStatusItem --------------------------------------------------------------------------------

PlanStatusItem::PlanStatusItem(const PlanStatusCell& cell)
    : box_(cell.box), spielnummer_(cell.spielnummer), mirrored_(cell.mirrored) {
    setCursor(Qt::PointingHandCursor);
    setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton);
}

void PlanStatusItem::setPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
}

void PlanStatusItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    if (picture_.isNull()) return;
    // Centred in the cell.
    const QPointF at(box_.center().x() - picture_.width() / 2.0, box_.center().y() - picture_.height() / 2.0);
    painter->drawPixmap(at, picture_);
}

void PlanStatusItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
    event->accept();
    if (PlanScene* s = planScene(this)) s->afterEvent([s, n = spielnummer_, m = mirrored_, b = event->button()] {
        emit s->statusClicked(n, m, b);
    });
}

// --- PlanToolItem ----------------------------------------------------------------------------------

PlanToolItem::PlanToolItem(const PlanTool& tool, const QPixmap& picture)
    : QGraphicsPixmapItem(picture), action_(tool.action), tag_(tool.tag) {
    setPos(tool.box.topLeft());
    setToolTip(tool.hint);
    setCursor(Qt::PointingHandCursor);
    setShapeMode(QGraphicsPixmapItem::BoundingRectShape);
}

void PlanToolItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    if (PlanScene* s = planScene(this)) s->afterEvent([s, a = action_, t = tag_] { emit s->toolClicked(a, t); });
}

// --- PlanScene -------------------------------------------------------------------------------------

PlanScene::PlanScene(const QString& imagesDir, QObject* parent) : QGraphicsScene(parent), imagesDir_(imagesDir) {
    setBackgroundBrush(Qt::white);
    // Items never move; the index only costs time when a page of thousands of items is filled.
    setItemIndexMethod(QGraphicsScene::NoIndex);
}

void PlanScene::afterEvent(std::function<void()> report) {
    QMetaObject::invokeMethod(this, std::move(report), Qt::QueuedConnection);
}

QFont PlanScene::planFont(const QString& family, int pointSize, bool bold) {
    QFont f(family);
    f.setPixelSize(qMax(1, (pointSize * 96 + 36) / 72));
    f.setBold(bold);
    return f;
}

QPixmap PlanScene::toolPicture(const QString& file, PlanToolAction action) const {
    if (!imagesDir_.isEmpty() && !file.isEmpty()) {
        const QString path = QDir(imagesDir_).filePath(file);
        if (QFileInfo::exists(path)) {
            QPixmap p(path);
            if (!p.isNull()) return p;
        }
    }
    return drawnTool(action);
}

void PlanScene::clearPlan() {
    clear();
    byName_.clear();
    error_.clear();
    setSceneRect(QRectF());
}

void PlanScene::setPlan(const PlanLayout& layout) {
    clearPlan();
    QRectF bounds(QPointF(0, 0), QSizeF(layout.size));

    // Fonts and their metrics, measured once per kind of text.
    struct Measure {
        QFont font;
        QFontMetrics metrics;
    };
    QHash<QString, Measure*> measures;
    std::vector<std::unique_ptr<Measure>> owned;
    auto measure = [&](const PlanText& t) -> Measure& {
        const QString key = t.font + QLatin1Char('/') + QString::number(t.size) + (t.bold ? u'b' : u'n');
        if (Measure* m = measures.value(key)) return *m;
        const QFont f = planFont(t.font, t.size, t.bold);
        owned.push_back(std::make_unique<Measure>(Measure{f, QFontMetrics(f)}));
        measures.insert(key, owned.back().get());
        return *owned.back();
    };

    for (const PlanRect& r : layout.rects) {
        auto* item = addRect(r.box, Qt::NoPen, QBrush(r.fill));
        item->setZValue(0);
    }
    // The lines take no input: one path per colour draws them all, instead of thousands of items.
    QHash<QRgb, QPainterPath> paths;
    for (const PlanLine& l : layout.lines) {
        QPainterPath& path = paths[l.color.rgba()];
        path.moveTo(l.from);
        path.lineTo(l.to);
    }
    for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
        // Cosmetic pen: one pixel wide at every zoom of the view.
        auto* item = addPath(*it, QPen(QColor::fromRgba(it.key()), 0), Qt::NoBrush);
        item->setZValue(1);
        bounds |= item->boundingRect();
    }
    for (const PlanText& t : layout.texts) {
        Measure& m = measure(t);
        const QString shown = m.metrics.horizontalAdvance(t.text) <= t.box.width()
                                  ? t.text
                                  : m.metrics.elidedText(t.text, Qt::ElideRight, qMax(0, t.box.width()));
        auto* item = new PlanTextItem(t, m.font, shown);
        item->setZValue(2);
        addItem(item);
        if (!t.name.isEmpty()) byName_.insert(t.name, item);
        bounds |= QRectF(t.box);
    }
    for (const PlanStatusCell& c : layout.cells) {
        auto* item = new PlanStatusItem(c);
        item->setZValue(3);
        addItem(item);
        const QString name = c.name.isEmpty()
                                 ? (c.mirrored ? QStringLiteral("statusx") : QStringLiteral("status")) +
                                       QString::number(c.spielnummer)
                                 : c.name;
        byName_.insert(name, item);
    }
    int toolIndex = 0;
    for (const PlanTool& t : layout.tools) {
        auto* item = new PlanToolItem(t, toolPicture(t.image, t.action));
        item->setZValue(4);
        addItem(item);
        byName_.insert(QStringLiteral("tool%1").arg(toolIndex++), item);
        bounds |= QRectF(t.box);
    }
    if (!layout.error.isEmpty()) {
        error_ = layout.error;
        auto* text = addText(layout.error, planFont(QStringLiteral("Arial"), 10, true));
        text->setDefaultTextColor(QColor(170, 0, 0));
        text->setTextWidth(kErrorWidth);
        text->setPos(kErrorLeft, kErrorTop);
        text->setZValue(5);
        bounds |= text->sceneBoundingRect();
    }
    setSceneRect(bounds);
}

PlanStatusItem* PlanScene::statusCell(const QString& name) const {
    QGraphicsItem* i = item(name);
    return i && i->type() == PlanStatusItem::Type ? static_cast<PlanStatusItem*>(i) : nullptr;
}

PlanTextItem* PlanScene::textItem(const QString& name) const {
    QGraphicsItem* i = item(name);
    return i && i->type() == PlanTextItem::Type ? static_cast<PlanTextItem*>(i) : nullptr;
}

QList<PlanTextItem*> PlanScene::texts() const {
    QList<PlanTextItem*> out;
    for (QGraphicsItem* i : items(Qt::AscendingOrder))
        if (i->type() == PlanTextItem::Type) out << static_cast<PlanTextItem*>(i);
    return out;
}

QList<PlanStatusItem*> PlanScene::statusCells() const {
    QList<PlanStatusItem*> out;
    for (QGraphicsItem* i : items(Qt::AscendingOrder))
        if (i->type() == PlanStatusItem::Type) out << static_cast<PlanStatusItem*>(i);
    return out;
}

QList<PlanToolItem*> PlanScene::tools() const {
    QList<PlanToolItem*> out;
    for (QGraphicsItem* i : items(Qt::AscendingOrder))
        if (i->type() == PlanToolItem::Type) out << static_cast<PlanToolItem*>(i);
    return out;
}

QGraphicsProxyWidget* PlanScene::addWidgetAt(QWidget* widget, const QPoint& pos) {
    QGraphicsProxyWidget* proxy = addWidget(widget);
    proxy->setPos(pos);
    proxy->setZValue(6);
    setSceneRect(sceneRect() | proxy->sceneBoundingRect());
    return proxy;
}

// --- PlanView --------------------------------------------------------------------------------------

PlanView::PlanView(QGraphicsScene* scene, QWidget* parent) : QGraphicsView(scene, parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBackgroundBrush(Qt::white);
    setFocusPolicy(Qt::StrongFocus);
    setDragMode(QGraphicsView::NoDrag);
    setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
}

void PlanView::wheelEvent(QWheelEvent* event) {
    // A fixed, small step per notch, whatever the desktop's wheel setting.
    wheelRest_ += event->angleDelta().y();
    const int notches = wheelRest_ / QWheelEvent::DefaultDeltasPerStep;
    wheelRest_ -= notches * QWheelEvent::DefaultDeltasPerStep;
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - notches * kWheelStep);
    event->accept();
}

void PlanView::enterEvent(QEnterEvent* event) {
    // Not while a dialog of the match or the draw is in front.
    if (!QApplication::activeModalWidget()) setFocus(Qt::MouseFocusReason);
    QGraphicsView::enterEvent(event);
}
