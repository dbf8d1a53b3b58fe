#include "play/ui/spielplanliste_form.h"

#include "common/interaction.h"
#include "play/spielplandruck.h"
#include "play/ui/planscene.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
// Wide enough for every column of the list.
constexpr int kMinListWidth = 760;
} // namespace

Tspielplan_form::Tspielplan_form(Interaction& interaction, QWidget* parent)
    : QWidget(parent, Qt::Window), interaction_(interaction) {
    setObjectName(QStringLiteral("Tspielplan_form"));
    setWindowTitle(QStringLiteral("Spielplan"));
    resize(840, 620);

    auto* layout = new QVBoxLayout(this);
    heading_ = new QLabel(this);
    heading_->setObjectName(QStringLiteral("ueberschrift"));
    QFont f = heading_->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.4);
    heading_->setFont(f);
    layout->addWidget(heading_);

    scene_ = new PlanScene(QString(), this);
    view_ = new PlanView(scene_, this);
    view_->setObjectName(QStringLiteral("ScrollBox1"));
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(view_, 1);

    auto* buttons = new QHBoxLayout;
    zurueck_ = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck_->setObjectName(QStringLiteral("dxButton1"));
    drucken_ = new QPushButton(QStringLiteral("Drucken"), this);
    drucken_->setObjectName(QStringLiteral("dxButton3"));
    buttons->addWidget(zurueck_);
    buttons->addStretch(1);
    buttons->addWidget(drucken_);
    layout->addLayout(buttons);

    connect(zurueck_, &QPushButton::clicked, this, &QWidget::close);
    connect(drucken_, &QPushButton::clicked, this, &Tspielplan_form::drucken);
}

void Tspielplan_form::fuellen(const PlanDaten& d, int gid, const QString& titel, const QString& turniername) {
    // The window keeps its own copy: the plan area may read its class again while the list is open.
    kopie_ = d;
    daten_ = &kopie_;
    gid_ = gid;
    turniername_ = turniername;
    QString text = titel;
    if (gid >= 0) text += QStringLiteral(" Gruppe ") + QChar(u'A' + gid);
    heading_->setText(text);
    drawnWidth_ = 0;
    zeichnen();
    view_->verticalScrollBar()->setValue(0);
}

QString Tspielplan_form::ueberschrift() const {
    return heading_->text();
}

void Tspielplan_form::zeichnen() {
    if (!daten_) return;
    const int width = qMax(kMinListWidth, view_->viewport()->width()) - 20;
    if (width == drawnWidth_) return;
    drawnWidth_ = width;
    scene_->setPlan(spielplanliste(*daten_, gid_, width));
}

void Tspielplan_form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    zeichnen();
}

bool Tspielplan_form::drucken() {
    if (!daten_) return false;
    return spielplanlisteDrucken(interaction_, turniername_, heading_->text(), spielplanzeilen(daten_->matches, gid_));
}
