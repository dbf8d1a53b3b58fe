#include "entries/ui/anmeldungteam.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tteam_melden::Tteam_melden(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Tteam_melden"));
    setWindowTitle(QStringLiteral("Team anmelden"));

    auto* layout = new QVBoxLayout(this);
    team_ = new QLabel(this);
    team_->setObjectName(QStringLiteral("teamname"));
    QFont bold = team_->font();
    bold.setBold(true);
    team_->setFont(bold);
    layout->addWidget(team_);

    auto* grid = new QGridLayout;
    for (int i = 0; i < kPositionen; ++i) {
        names_[i] = new QLabel(this);
        names_[i]->setObjectName(QStringLiteral("spieler%1").arg(i + 1));
        boxes_[i] = new QCheckBox(QStringLiteral("anmelden"), this);
        boxes_[i]->setObjectName(QStringLiteral("melden%1").arg(i + 1));
        names_[i]->setBuddy(boxes_[i]);
        grid->addWidget(names_[i], i, 0);
        grid->addWidget(boxes_[i], i, 1);
    }
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("Übernehmen"), this);
    ok->setObjectName(QStringLiteral("uebernehmen"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("abbrechen"));
    cancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void Tteam_melden::zeigen(const TeamMeldung& meldung) {
    setWindowTitle(meldung.angemeldet ? QStringLiteral("Team anmelden") : QStringLiteral("Team abmelden"));
    team_->setText(meldung.teamname);
    const QString caption = meldung.angemeldet ? QStringLiteral("anmelden") : QStringLiteral("abmelden");
    for (int i = 0; i < kPositionen; ++i) {
        sids_[i] = 0;
        names_[i]->clear();
        boxes_[i]->setText(caption);
        boxes_[i]->setChecked(true);
        names_[i]->hide();
        boxes_[i]->hide();
    }
    for (const TeamPosition& p : meldung.positionen) {
        if (p.position < 0 || p.position >= kPositionen) continue;
        sids_[p.position] = p.sid;
        names_[p.position]->setText(p.name);
        boxes_[p.position]->setAccessibleName(caption + u' ' + p.name);
        names_[p.position]->show();
        boxes_[p.position]->show();
    }
    // ENTER confirms at once, so the check-in goes on without the mouse.
    if (auto* ok = findChild<QPushButton*>(QStringLiteral("uebernehmen"))) ok->setFocus();
}

QList<int> Tteam_melden::ausgewaehlt() const {
    QList<int> sids;
    for (int i = 0; i < kPositionen; ++i)
        if (sids_[i] > 0 && boxes_[i]->isChecked()) sids << sids_[i];
    return sids;
}
