#include "entries/ui/tisch_verwaltung.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

Ttisch_verwaltung::Ttisch_verwaltung(AppState&, Tdb_procedures&, Interaction&, Clock&, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Ttisch_verwaltung"));
    setWindowTitle(QStringLiteral("Tische verwalten"));
    setWindowModality(Qt::WindowModal);

    auto* listLabel = new QLabel(QStringLiteral("Verfügbare Tische"), this);
    liste_ = new QListWidget(this);
    liste_->setObjectName(QStringLiteral("tischliste"));
    listLabel->setBuddy(liste_);
    auto* nameLabel = new QLabel(QStringLiteral("Tischname"), this);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("tischname"));
    nameLabel->setBuddy(name_);

    aendern_ = new QPushButton(QStringLiteral("Name ändern"), this);
    aendern_->setObjectName(QStringLiteral("name_aendern"));
    // Enter in the name field renames the chosen table.
    aendern_->setDefault(true);
    auto* uebernehmen = new QPushButton(QStringLiteral("Übernehmen"), this);
    uebernehmen->setObjectName(QStringLiteral("uebernehmen"));
    uebernehmen->setAutoDefault(false);
    auto* zurueck = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck->setObjectName(QStringLiteral("zurueck"));
    zurueck->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(listLabel, 0, 0);
    layout->addWidget(liste_, 1, 0, 1, 2);
    layout->addWidget(nameLabel, 2, 0);
    layout->addWidget(name_, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(aendern_);
    buttons->addStretch();
    buttons->addWidget(uebernehmen);
    buttons->addWidget(zurueck);
    layout->addLayout(buttons, 3, 0, 1, 2);
    setTabOrder(liste_, name_);
    setTabOrder(name_, aendern_);
    setTabOrder(aendern_, uebernehmen);
    setTabOrder(uebernehmen, zurueck);

    // Choosing a table by mouse or arrow keys puts its name into the field.
    connect(liste_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* current) {
        if (current) name_->setText(current->text());
    });
    connect(liste_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { name_->setText(item->text()); });
    connect(aendern_, &QPushButton::clicked, this, &Ttisch_verwaltung::renameSelected);
    connect(uebernehmen, &QPushButton::clicked, this, [this] {
        emit tablesAccepted(tables());
        accept();
    });
    connect(zurueck, &QPushButton::clicked, this, &QDialog::reject);
}

void Ttisch_verwaltung::activate(const QStringList& tables) {
    liste_->clear();
    liste_->addItems(tables);
    name_->clear();
}

QStringList Ttisch_verwaltung::tables() const {
    QStringList names;
    names.reserve(liste_->count());
    for (int i = 0; i < liste_->count(); ++i)
        names << liste_->item(i)->text();
    return names;
}

void Ttisch_verwaltung::renameSelected() {
    // The current table is the one whose name the field shows; without one there is nothing to rename.
    QListWidgetItem* item = liste_->currentItem();
    if (!item) return;
    emit classChanged();
    // Names are taken as typed: an empty name or one used twice is the operator's choice.
    item->setText(name_->text());
}
