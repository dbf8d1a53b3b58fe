#include "entries/ui/importpanel.h"

#include "common/interaction.h"
#include "entries/ui/timport_form.h"
#include "store/db_procedures.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ImportPanel::ImportPanel(AppState& state, Tdb_procedures& db, Interaction& interaction,
                         const QString& programDir, QWidget* parent)
    : QWidget(parent), interaction_(interaction), programDir_(programDir), model_(state, db, interaction) {
    setObjectName(QStringLiteral("import"));
    auto* titel = new QLabel(QStringLiteral("Importieren von Spielern"), this);
    titel->setObjectName(QStringLiteral("importtitel"));
    QFont f = titel->font();
    f.setPointSizeF(f.pointSizeF() * 1.5);
    f.setBold(true);
    titel->setFont(f);

    datenquelle_ = new QPushButton(QStringLiteral("Datenquelle öffnen"), this);
    datenquelle_->setObjectName(QStringLiteral("datenquelle"));
    liste1_ = new QListWidget(this);
    liste1_->setObjectName(QStringLiteral("importliste1"));
    liste1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    liste2_ = new QListWidget(this);
    liste2_->setObjectName(QStringLiteral("importliste2"));
    liste2_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    hin_ = new QPushButton(QStringLiteral("->>"), this);
    hin_->setObjectName(QStringLiteral("hinzufuegen"));
    hin_->setAccessibleName(QStringLiteral("Zur Importliste"));
    zurueck_ = new QPushButton(QStringLiteral("<<-"), this);
    zurueck_->setObjectName(QStringLiteral("entfernen"));
    zurueck_->setAccessibleName(QStringLiteral("Aus der Importliste"));
    importieren_ = new QPushButton(QStringLiteral("Importieren"), this);
    importieren_->setObjectName(QStringLiteral("importieren"));

    auto* l1 = new QLabel(QStringLiteral("Spieler wählen"), this);
    l1->setBuddy(liste1_);
    liste1_->setAccessibleName(l1->text());
    auto* l2 = new QLabel(QStringLiteral("Spieler importieren"), this);
    l2->setBuddy(liste2_);
    liste2_->setAccessibleName(l2->text());

    auto* mitte = new QVBoxLayout;
    mitte->addStretch(1);
    mitte->addWidget(hin_);
    mitte->addWidget(zurueck_);
    mitte->addStretch(1);
    auto* grid = new QGridLayout;
    grid->addWidget(l1, 0, 0);
    grid->addWidget(l2, 0, 2);
    grid->addWidget(liste1_, 1, 0);
    grid->addLayout(mitte, 1, 1);
    grid->addWidget(liste2_, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titel);
    layout->addWidget(datenquelle_, 0, Qt::AlignLeft);
    layout->addLayout(grid, 1);
    layout->addWidget(importieren_, 0, Qt::AlignRight);

    dialog_ = new Timport_form(state, db, interaction, this);

    connect(datenquelle_, &QPushButton::clicked, this, &ImportPanel::datenquelleOeffnen);
    connect(hin_, &QPushButton::clicked, this, [this] {
        readSelection();
        model_.hinzufuegen();
        refresh();
    });
    connect(zurueck_, &QPushButton::clicked, this, [this] {
        readSelection();
        model_.entfernen();
        refresh();
    });
    connect(importieren_, &QPushButton::clicked, this, &ImportPanel::importieren);
    connect(dialog_, &Timport_form::uebernommen, this, [this](const QList<Importitem>& k) {
        model_.setKandidaten(k);
        refresh();
    });
}

void ImportPanel::showPanel() {
    model_.leeren();
    refresh();
}

void ImportPanel::datenquelleOeffnen() {
    const QString path = interaction_.openFile(
        QStringLiteral("Datenquelle öffnen"), programDir_,
        QStringLiteral(
            "Turnier-Datenbank (*.sqlite);;Exceldaten (*.xlsx *.csv);;Anmeldeformular (Word) (*.docx)"));
    if (path.isEmpty()) return;
    dialog_->oeffnen(path);
}

void ImportPanel::readSelection() {
    model_.auswahl1.clear();
    model_.auswahl2.clear();
    for (int i = 0; i < liste1_->count(); ++i)
        if (liste1_->item(i)->isSelected()) model_.auswahl1 << i;
    for (int i = 0; i < liste2_->count(); ++i)
        if (liste2_->item(i)->isSelected()) model_.auswahl2 << i;
}

void ImportPanel::refresh() {
    auto fill = [](QListWidget* list, const QList<Importitem>& items, const QList<int>& sel) {
        list->clear();
        for (const Importitem& i : items)
            list->addItem(i.text());
        for (int r : sel)
            if (r >= 0 && r < list->count()) list->item(r)->setSelected(true);
    };
    fill(liste1_, model_.kandidaten(), model_.auswahl1);
    fill(liste2_, model_.importliste(), model_.auswahl2);
}

void ImportPanel::importieren() {
    try {
        model_.importieren();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    refresh();
    emit importiert();
}
