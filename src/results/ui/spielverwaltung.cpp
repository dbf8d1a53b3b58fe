#include "results/ui/spielverwaltung.h"

#include "output/ui/druckzielknopf.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace spielverwaltung {

Knoepfe knopfzeile(QWidget* dialog, QBoxLayout* layout, const std::function<void(Druckziel)>& drucken) {
    auto* zeile = new QHBoxLayout;
    layout->addLayout(zeile);
    Knoepfe k;
    k.drucken = new QPushButton(QStringLiteral("Drucken"), dialog);
    k.drucken->setObjectName(QStringLiteral("drucken"));
    k.drucken->setAutoDefault(false);
    k.ok = new QPushButton(QStringLiteral("Übernehmen"), dialog);
    k.ok->setObjectName(QStringLiteral("ok"));
    k.ok->setDefault(true);
    k.cancel = new QPushButton(QStringLiteral("Zurück"), dialog);
    k.cancel->setObjectName(QStringLiteral("cancel"));
    k.cancel->setAutoDefault(false);
    k.druckziel = druckzielKnopf(dialog, drucken);
    QObject::connect(k.drucken, &QPushButton::clicked, dialog, [drucken] { drucken(Druckziel::Drucker); });
    zeile->addWidget(k.drucken);
    zeile->addWidget(k.druckziel);
    zeile->addStretch();
    zeile->addWidget(k.ok);
    zeile->addWidget(k.cancel);
    return k;
}

void schrittZeigen(QTabWidget* seiten, int seite, const Knoepfe& k, const QString& okText,
                   bool druckenEnabled) {
    for (int i = 0; i < seiten->count(); ++i)
        seiten->setTabEnabled(i, i == seite);
    seiten->setCurrentIndex(seite);
    k.ok->setText(okText);
    k.ok->setEnabled(true);
    k.cancel->setEnabled(true);
    k.drucken->setEnabled(druckenEnabled);
    k.druckziel->setEnabled(druckenEnabled);
}

QWidget* aufrufSeite(const QStringList& zeilen, std::array<QCheckBox*, 6>& boxen,
                     const std::function<void(int, bool)>& geklickt) {
    static const char* const namen[6] = {"aufruf2_sp1", "aufruf2_sp2", "aufruf2_sch",
                                         "aufruf3_sp1", "aufruf3_sp2", "aufruf3_sch"};
    auto* seite = new QWidget;
    auto* l = new QGridLayout(seite);
    for (int r = 0; r < zeilen.size(); ++r)
        l->addWidget(new QLabel(zeilen[r], seite), r, 0);
    for (int i = 0; i < 6; ++i) {
        auto* box = new QCheckBox(i < 3 ? QStringLiteral("2. Aufruf") : QStringLiteral("3. Aufruf"), seite);
        box->setObjectName(QString::fromLatin1(namen[i]));
        boxen[i] = box;
        l->addWidget(box, i % 3, 1 + i / 3);
        QObject::connect(box, &QCheckBox::clicked, box,
                         [geklickt, i](bool checked) { geklickt(i, checked); });
    }
    l->setRowStretch(3, 1);
    return seite;
}

void liste(QComboBox* box, const QStringList& items, const QString& text) {
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(items.indexOf(text));
    box->setEditText(text);
}

} // namespace spielverwaltung
