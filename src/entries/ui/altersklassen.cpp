#include "entries/ui/altersklassen.h"

#include "common/interaction.h"
#include "entries/klassen.h"
#include "entries/ui/klassen_verlassen.h"
#include "store/db_procedures.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

QLineEdit* dateField(const QString& name, QWidget* parent) {
    auto* f = new QLineEdit(parent);
    f->setObjectName(name);
    f->setMaxLength(10);
    f->setPlaceholderText(QStringLiteral("tt.mm.jjjj"));
    return f;
}

} // namespace

TAltersklassen::TAltersklassen(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock&,
                               QWidget* parent)
    : QDialog(parent), interaction_(interaction), logic_(state, db, interaction) {
    setObjectName(QStringLiteral("TAltersklassen"));
    setWindowTitle(QStringLiteral("Altersklasse verwalten"));
    setWindowModality(Qt::WindowModal);

    auto* nameLabel = new QLabel(QStringLiteral("Bezeichnung der Altersklasse"), this);
    aname_ = new QLineEdit(this);
    aname_->setObjectName(QStringLiteral("aname"));
    aname_->setMaxLength(50);
    nameLabel->setBuddy(aname_);
    auto* vonLabel = new QLabel(QStringLiteral("Spieler im Alter von"), this);
    avon_ = dateField(QStringLiteral("avon"), this);
    vonLabel->setBuddy(avon_);
    aelter_ = new QCheckBox(QStringLiteral("älter"), this);
    aelter_->setObjectName(QStringLiteral("aelter"));
    auto* bisLabel = new QLabel(QStringLiteral("bis"), this);
    abis_ = dateField(QStringLiteral("abis"), this);
    bisLabel->setBuddy(abis_);
    juenger_ = new QCheckBox(QStringLiteral("jünger"), this);
    juenger_->setObjectName(QStringLiteral("juenger"));

    auto* speichern = new QPushButton(QStringLiteral("Speichern"), this);
    speichern->setObjectName(QStringLiteral("speichern"));
    speichern->setDefault(true);
    auto* loeschen = new QPushButton(QStringLiteral("Löschen"), this);
    loeschen->setObjectName(QStringLiteral("loeschen"));
    loeschen->setAutoDefault(false);
    auto* zurueck = new QPushButton(QStringLiteral("Zurück"), this);
    zurueck->setObjectName(QStringLiteral("zurueck"));
    zurueck->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(aname_, 0, 1, 1, 3);
    grid->addWidget(vonLabel, 1, 0);
    grid->addWidget(avon_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("und"), this), 1, 2);
    grid->addWidget(aelter_, 1, 3);
    grid->addWidget(bisLabel, 2, 0);
    grid->addWidget(abis_, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("und"), this), 2, 2);
    grid->addWidget(juenger_, 2, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(speichern);
    buttons->addWidget(loeschen);
    buttons->addStretch();
    buttons->addWidget(zurueck);
    grid->addLayout(buttons, 3, 0, 1, 4);
    QWidget::setTabOrder(aname_, avon_);
    QWidget::setTabOrder(avon_, aelter_);
    QWidget::setTabOrder(aelter_, abis_);
    QWidget::setTabOrder(abis_, juenger_);
    QWidget::setTabOrder(juenger_, speichern);
    QWidget::setTabOrder(speichern, loeschen);
    QWidget::setTabOrder(loeschen, zurueck);

    connect(aelter_, &QCheckBox::toggled, this, &TAltersklassen::olderToggled);
    connect(juenger_, &QCheckBox::toggled, this, &TAltersklassen::youngerToggled);
    connect(speichern, &QPushButton::clicked, this, &TAltersklassen::save);
    connect(loeschen, &QPushButton::clicked, this, &TAltersklassen::remove);
    connect(zurueck, &QPushButton::clicked, this, &QDialog::reject);
    // An empty bound is no error while typing: the flags decide on saving whether it may stay empty.
    new LeaveCheck(avon_, [this] { return checkDate(avon_); }, {zurueck});
    new LeaveCheck(abis_, [this] { return checkDate(abis_); }, {zurueck});
}

void TAltersklassen::activate(const QString& ageClassText) {
    const QSignalBlocker b1(aelter_);
    const QSignalBlocker b2(juenger_);
    avon_->setEnabled(true);
    abis_->setEnabled(true);
    aelter_->setChecked(false);
    juenger_->setChecked(false);
    std::optional<AgeClass> stored;
    try {
        stored = logic_.find(ageClassText);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    if (!stored) {
        aname_->setText(ageClassText);
        avon_->clear();
        abis_->clear();
        aname_->setEnabled(ageClassText.trimmed() != klassen::ohneBeschraenkung());
        return;
    }
    aname_->setText(stored->name);
    aname_->setEnabled(false);
    avon_->setText(altersklassen::formatDate(stored->von));
    abis_->setText(altersklassen::formatDate(stored->bis));
    aelter_->setChecked(stored->aelter);
    juenger_->setChecked(stored->juenger);
    abis_->setEnabled(!stored->aelter);
    avon_->setEnabled(!stored->juenger);
}

void TAltersklassen::olderToggled(bool on) {
    if (on) {
        abis_->clear();
        abis_->setEnabled(false);
        const QSignalBlocker b(juenger_);
        juenger_->setChecked(false);
        avon_->setEnabled(true);
    } else {
        abis_->setEnabled(true);
    }
}

void TAltersklassen::youngerToggled(bool on) {
    if (on) {
        avon_->clear();
        avon_->setEnabled(false);
        const QSignalBlocker b(aelter_);
        aelter_->setChecked(false);
        abis_->setEnabled(true);
    } else {
        avon_->setEnabled(true);
    }
}

bool TAltersklassen::checkDate(QLineEdit* field) {
    if (field->text().trimmed().isEmpty() || altersklassen::parseDate(field->text())) return true;
    interaction_.error(QStringLiteral("Geben Sie ein gültiges Datum ein"));
    return false;
}

void TAltersklassen::save() {
    const AltersklassenEingabe input{aname_->text(), avon_->text(), abis_->text(), aelter_->isChecked(),
                                     juenger_->isChecked()};
    std::optional<QString> name;
    try {
        name = logic_.save(input);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    if (!name) return;
    emit saved(*name);
    accept();
}

void TAltersklassen::remove() {
    const QString name = aname_->text().trimmed();
    try {
        if (!logic_.remove(name)) return;
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    emit removed(name);
    accept();
}
