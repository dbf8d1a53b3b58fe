#include "output/ui/druckzielknopf.h"

#include <QMenu>
#include <QToolButton>

QToolButton* druckzielKnopf(QWidget* parent, const std::function<void(Druckziel)>& drucken) {
    auto* knopf = new QToolButton(parent);
    knopf->setObjectName(QStringLiteral("druckziel"));
    knopf->setAccessibleName(QStringLiteral("Weitere Druckziele"));
    knopf->setToolTip(QStringLiteral("Weitere Druckziele"));
    knopf->setPopupMode(QToolButton::InstantPopup);
    knopf->setArrowType(Qt::DownArrow);
    // The arrow says it all; the menu's own marker beside it would be a second one.
    knopf->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    auto* menue = new QMenu(knopf);
    const std::pair<const char*, Druckziel> ziele[] = {{"Drucken …", Druckziel::Drucker},
                                                       {"Seitenansicht …", Druckziel::Vorschau},
                                                       {"Als PDF speichern …", Druckziel::Pdf}};
    for (const auto& [text, ziel] : ziele) {
        QAction* a = menue->addAction(QString::fromUtf8(text));
        a->setObjectName(QStringLiteral("druckziel%1").arg(int(ziel)));
        QObject::connect(a, &QAction::triggered, knopf, [drucken, z = ziel] { drucken(z); });
    }
    knopf->setMenu(menue);
    return knopf;
}
