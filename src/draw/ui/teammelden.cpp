#include "draw/ui/teammelden.h"

#include "common/interaction.h"
#include "store/db_procedures.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tteam_melden::Tteam_melden(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& /*clock*/,
                           QWidget* parent)
    : QDialog(parent), interaction_(interaction), melden_(state, db) {
    setObjectName(QStringLiteral("Tteam_melden"));
    setWindowModality(Qt::ApplicationModal);

    auto* grid = new QGridLayout;
    for (int i = 0; i < TeamMelden::kPositionen; ++i) {
        namen_[i] = new QLabel(this);
        namen_[i]->setObjectName(QStringLiteral("spieler%1").arg(i + 1));
        boxen_[i] = new QCheckBox(this);
        boxen_[i]->setObjectName(QStringLiteral("melden%1").arg(i + 1));
        namen_[i]->setBuddy(boxen_[i]);
        grid->addWidget(namen_[i], i, 0);
        grid->addWidget(boxen_[i], i, 1);
    }
    uebernehmen_ = new QPushButton(QStringLiteral("Übernehmen"), this);
    uebernehmen_->setObjectName(QStringLiteral("uebernehmen"));
    abbrechen_ = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen_->setObjectName(QStringLiteral("abbrechen"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(uebernehmen_);
    buttons->addWidget(abbrechen_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(uebernehmen_, &QPushButton::clicked, this, &Tteam_melden::uebernehmen);
    connect(abbrechen_, &QPushButton::clicked, this, &QDialog::reject);
}

void Tteam_melden::teamanmeldung(int mid, bool anmelden) {
    try {
        melden_.teamanmeldung(mid, anmelden);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    zeigen(mid, anmelden);
}

void Tteam_melden::zeigen(int mid, bool anmelden) {
    try {
        melden_.laden(mid, anmelden);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    setWindowTitle(melden_.caption());
    for (int i = 0; i < TeamMelden::kPositionen; ++i) {
        namen_[i]->hide();
        boxen_[i]->hide();
    }
    // A row per place of the team that holds a player, in the order of the places.
    const QVector<TeamMeldeSpieler>& spieler = melden_.spieler();
    for (int i = 0; i < spieler.size(); ++i) {
        namen_[i]->setText(spieler[i].text);
        boxen_[i]->setText(melden_.boxCaption());
        boxen_[i]->setAccessibleName(melden_.boxCaption() + QStringLiteral(" ") + spieler[i].text);
        boxen_[i]->setChecked(true);
        namen_[i]->show();
        boxen_[i]->show();
    }
    show();
    raise();
    activateWindow();
}

void Tteam_melden::uebernehmen() {
    for (int i = 0; i < melden_.spieler().size(); ++i)
        melden_.setAngekreuzt(i, boxen_[i]->isChecked());
    try {
        melden_.uebernehmen();
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    emit spielerGemeldet();
    accept();
}
