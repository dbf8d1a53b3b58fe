#include "results/ui/tergebnis_team_dialog.h"

#include "results/ui/spielverwaltung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using spielverwaltung::liste;

namespace {

// The suffixes of the line-up boxes: `spielerc1` … `spielerc4`, `spielerc11`, `spielerc21`.
const char* const kPositionen[6] = {"1", "2", "3", "4", "11", "21"};

QComboBox* auswahl(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

} // namespace

TergebnisTeamDialog::TergebnisTeamDialog(Tergebnis_team& model, QWidget* parent)
    : QDialog(parent), m_(model) {
    setObjectName(QStringLiteral("Tergebnis_team"));
    setWindowTitle(m_.caption());
    setPalette(QPalette(QColor(0xF9, 0xFA, 0xE7)));
    setAutoFillBackground(true);
    resize(482, 523);

    auto* layout = new QVBoxLayout(this);
    auto* kopf = new QGridLayout;
    layout->addLayout(kopf);
    QFont fett = font();
    fett.setBold(true);
    team1_ = new QLabel(this);
    team1_->setObjectName(QStringLiteral("team1"));
    team1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    team1_->setFont(fett);
    team2_ = new QLabel(this);
    team2_->setObjectName(QStringLiteral("team2"));
    team2_->setFont(fett);
    gruppe_ = new QLabel(QStringLiteral("Gruppe:"), this);
    gruppe_->setObjectName(QStringLiteral("gruppe"));
    kopf->addWidget(team1_, 0, 1);
    kopf->addWidget(new QLabel(QStringLiteral(":"), this), 0, 2, Qt::AlignCenter);
    kopf->addWidget(team2_, 0, 3);
    kopf->addWidget(gruppe_, 1, 0, 1, 4);
    for (int i = 0; i < 6; ++i) {
        const QString text =
            i < 4 ? QStringLiteral("Spieler %1:").arg(i + 1) : QStringLiteral("Doppel %1:").arg(i - 3);
        auto* label = new QLabel(text, this);
        kopf->addWidget(label, 2 + i, 0);
        if (i < 4) spielerLabel_[i] = label;
        for (int t = 0; t < 2; ++t) {
            QComboBox* box = auswahl(this, QString::fromLatin1(t == 0 ? "spielerc" : "spielerd") +
                                               QString::fromLatin1(kPositionen[i]));
            box->setAccessibleName(text + (t == 0 ? QStringLiteral(" Team 1") : QStringLiteral(" Team 2")));
            if (t == 0) label->setBuddy(box);
            aufstellung_[t][i] = box;
            kopf->addWidget(box, 2 + i, t == 0 ? 1 : 3);
        }
    }

    seiten_ = new QTabWidget(this);
    seiten_->setObjectName(QStringLiteral("seiten"));
    layout->addWidget(seiten_, 1);

    // "Spielplanung": one row per rubber.
    auto* planung = new QWidget;
    auto* pl = new QGridLayout(planung);
    // "Fertig": the team result and one row per rubber.
    auto* fertig = new QWidget;
    auto* fl = new QGridLayout(fertig);
    auto* endLabel = new QLabel(QStringLiteral("Endergebnis"), fertig);
    endLabel->setFont(fett);
    ergebnis_ = auswahl(fertig, QStringLiteral("ergebniscombo"));
    endLabel->setBuddy(ergebnis_);
    fl->addWidget(endLabel, 0, 0);
    fl->addWidget(ergebnis_, 0, 1);
    fl->addWidget(new QLabel(QStringLiteral("(z.B. +9  -7  +3)"), fertig), 0, 2, 1, 9);
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9]{0,2}")), this);

    for (int n = 0; n < Tergebnis_team::kRubbers; ++n) {
        const QString nr = QString::number(n + 1);
        Zeile& z = zeilen_[n];
        z.spiel = new QLabel(QStringLiteral("Spiel ") + nr, planung);
        z.spiel->setObjectName(QStringLiteral("spiel") + nr);
        z.tag = new QDateEdit(planung);
        z.tag->setObjectName(QStringLiteral("tag") + nr);
        z.tag->setCalendarPopup(true);
        z.tag->setAccessibleName(QStringLiteral("Tag Spiel ") + nr);
        z.zeit = new QLineEdit(planung);
        z.zeit->setObjectName(QStringLiteral("zeit") + nr);
        z.zeit->setMaximumWidth(60);
        z.zeit->setAccessibleName(QStringLiteral("Uhrzeit Spiel ") + nr);
        z.tisch = auswahl(planung, QStringLiteral("tisch") + nr);
        z.tisch->setAccessibleName(QStringLiteral("Tisch Spiel ") + nr);
        z.schiri = auswahl(planung, QStringLiteral("schiri") + nr);
        z.schiri->setAccessibleName(QStringLiteral("Schiedsrichter Spiel ") + nr);
        z.spiel->setBuddy(z.tag);
        pl->addWidget(z.spiel, n, 0);
        pl->addWidget(z.tag, n, 1);
        pl->addWidget(z.zeit, n, 2);
        pl->addWidget(z.tisch, n, 3);
        pl->addWidget(z.schiri, n, 4);

        z.sp = new QLabel(QStringLiteral("Spiel ") + nr, fertig);
        z.sp->setObjectName(QStringLiteral("sp") + nr);
        z.erg = auswahl(fertig, QStringLiteral("erg") + nr);
        z.erg->setProperty("tag", n + 1);
        z.sp->setBuddy(z.erg);
        fl->addWidget(z.sp, n + 1, 0);
        fl->addWidget(z.erg, n + 1, 1);
        for (int k = 0; k < 9; ++k) {
            auto* e = new QLineEdit(fertig);
            e->setObjectName(QStringLiteral("satz%1%2").arg(n + 1).arg(k + 1));
            e->setAccessibleName(QStringLiteral("Spiel %1 Satz %2").arg(n + 1).arg(k + 1));
            e->setMaxLength(3);
            e->setValidator(validator);
            e->setFixedWidth(32);
            z.satz[k] = e;
            fl->addWidget(e, n + 1, 2 + k);
            connect(e, &QLineEdit::textEdited, this,
                    [this, n, k](const QString& t) { m_.zeilen[n].satz[k] = t; });
            connect(e, &QLineEdit::editingFinished, this, [this, n, k] {
                QLineEdit* feld = zeilen_[n].satz[k];
                if (fuellen_ || !feld->isEnabled()) return;
                m_.zeilen[n].satz[k] = feld->text();
                if (m_.satzVerlassen(n, k)) return;
                feld->setText(m_.zeilen[n].satz[k]);
                feld->setFocus();
            });
        }
        connect(z.erg, &QComboBox::currentTextChanged, this, [this, n](const QString& text) {
            if (fuellen_) return;
            const bool gelistet = m_.ergItems.contains(text);
            m_.rubberErgebnisGewaehlt(n, text);
            if (!gelistet) return;
            fuellen_ = true;
            for (int k = 0; k < 9; ++k)
                zeilen_[n].satz[k]->setText(m_.zeilen[n].satz[k]);
            fuellen_ = false;
            satzfreigabe(n);
        });
        connect(z.zeit, &QLineEdit::editingFinished, this, [this, n] {
            if (fuellen_) return;
            m_.zeilen[n].zeit = zeilen_[n].zeit->text();
            if (m_.zeitVerlassen(n)) return;
            zeilen_[n].zeit->clear();
            zeilen_[n].zeit->setFocus();
        });
    }
    next1_ = new QCheckBox(QStringLiteral("nächstes mögliches Spiel aufrufen"), planung);
    next1_->setObjectName(QStringLiteral("next1"));
    pl->addWidget(next1_, Tergebnis_team::kRubbers, 0, 1, 5);
    pl->setRowStretch(Tergebnis_team::kRubbers + 1, 1);
    seiten_->addTab(planung, Tergebnis::kSeiten[0]);

    // "Spiel aufgerufen"
    seiten_->addTab(spielverwaltung::aufrufSeite({QStringLiteral("Team 1"), QStringLiteral("Team 2"),
                                                  QStringLiteral("Schiedsrichter")},
                                                 aufruf_,
                                                 [this](int i, bool checked) {
                                                     if (fuellen_) return;
                                                     m_.aufrufGeklickt(matchrecord::Recall(i), checked);
                                                     aufruf_[i]->setToolTip(m_.aufrufHinweis[i]);
                                                 }),
                    Tergebnis::kSeiten[1]);

    schiripool_ = new QCheckBox(QStringLiteral("Verlierer in Schiedsrichterpool übernehmen"), fertig);
    schiripool_->setObjectName(QStringLiteral("schiripool"));
    next_ = new QCheckBox(QStringLiteral("nächstes mögliches Spiel anzeigen"), fertig);
    next_->setObjectName(QStringLiteral("next"));
    fl->addWidget(schiripool_, Tergebnis_team::kRubbers + 1, 0, 1, 11);
    fl->addWidget(next_, Tergebnis_team::kRubbers + 2, 0, 1, 11);
    fl->setRowStretch(Tergebnis_team::kRubbers + 3, 1);
    seiten_->addTab(fertig, Tergebnis::kSeiten[2]);
    seiten_->tabBar()->setFocusPolicy(Qt::NoFocus);

    const spielverwaltung::Knoepfe knoepfe =
        spielverwaltung::knopfzeile(this, layout, [this](Druckziel ziel) { m_.drucken(ziel); });
    drucken_ = knoepfe.drucken;
    druckziel_ = knoepfe.druckziel;
    ok_ = knoepfe.ok;
    cancel_ = knoepfe.cancel;

    connect(ok_, &QPushButton::clicked, this, &TergebnisTeamDialog::okGeklickt);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TergebnisTeamDialog::zeigen() {
    fuellen_ = true;
    setWindowTitle(m_.caption());
    const int seite = m_.seite();
    spielverwaltung::schrittZeigen(seiten_, seite, {drucken_, ok_, cancel_, druckziel_}, m_.okText(),
                                   m_.druckenEnabled);

    team1_->setText(m_.team1);
    team1_->setProperty("tag", m_.mid1);
    team2_->setText(m_.team2);
    team2_->setProperty("tag", m_.mid2);
    gruppe_->setText(m_.gruppeLabel);
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 6; ++i) {
            const auto& a = m_.aufstellung[t];
            if (i < 4)
                liste(aufstellung_[t][i], a.einzelItems, a.einzel[i]);
            else
                liste(aufstellung_[t][i], a.doppelItems, a.doppel[i - 4]);
            aufstellung_[t][i]->setVisible(i >= 4 || i < m_.teamgroesse);
        }
    for (int i = 0; i < 4; ++i)
        spielerLabel_[i]->setVisible(i < m_.teamgroesse);

    for (int n = 0; n < Tergebnis_team::kRubbers; ++n) {
        const Tergebnis_team::Zeile& mz = m_.zeilen[n];
        Zeile& z = zeilen_[n];
        const bool gezeigt = n < m_.rubberAnzahl;
        for (QWidget* w :
             std::initializer_list<QWidget*>{z.spiel, z.tag, z.zeit, z.tisch, z.schiri, z.sp, z.erg})
            w->setVisible(gezeigt);
        z.spiel->setText(mz.spiel);
        z.tag->setDate(mz.tag);
        z.zeit->setText(mz.zeit);
        liste(z.tisch, mz.tischItems, mz.tisch);
        z.tisch->setEnabled(m_.tischEnabled);
        liste(z.schiri, mz.schiriItems, mz.schiri);
        z.schiri->setEnabled(m_.schiriEnabled);
        liste(z.erg, m_.ergItems, mz.erg);
        for (int k = 0; k < 9; ++k) {
            z.satz[k]->setText(mz.satz[k]);
            z.satz[k]->setVisible(gezeigt && k < m_.satzFelder);
        }
        satzfreigabe(n);
    }
    next1_->setChecked(m_.next1);
    next1_->setVisible(m_.next1Visible);
    for (int i = 0; i < 6; ++i) {
        aufruf_[i]->setChecked(m_.aufruf[i]);
        aufruf_[i]->setToolTip(m_.aufrufHinweis[i]);
    }
    liste(ergebnis_, m_.ergebnisItems, m_.ergebniscombo);
    schiripool_->setChecked(m_.schiripool);
    schiripool_->setEnabled(m_.schiripoolEnabled);
    next_->setChecked(m_.next);
    fuellen_ = false;

    switch (seite) {
    case 0:
        (m_.rubberAnzahl > 0 && zeilen_[0].tisch->isEnabled() ? static_cast<QWidget*>(zeilen_[0].tisch) : ok_)
            ->setFocus();
        break;
    case 1:
        ok_->setFocus();
        break;
    default:
        ergebnis_->setFocus();
        break;
    }
}

void TergebnisTeamDialog::satzfreigabe(int n) {
    const QColor offen(0xF9, 0xE6, 0xFF);
    for (int k = 0; k < 9; ++k) {
        QLineEdit* e = zeilen_[n].satz[k];
        const bool an = k < m_.zeilen[n].satzAktiv;
        e->setEnabled(an);
        QPalette p = e->palette();
        p.setColor(QPalette::Base, an ? offen : QColor(Qt::white));
        e->setPalette(p);
    }
}

void TergebnisTeamDialog::insModell() {
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 6; ++i) {
            const QString text = aufstellung_[t][i]->currentText();
            if (i < 4)
                m_.aufstellung[t].einzel[i] = text;
            else
                m_.aufstellung[t].doppel[i - 4] = text;
        }
    for (int n = 0; n < Tergebnis_team::kRubbers; ++n) {
        Tergebnis_team::Zeile& mz = m_.zeilen[n];
        const Zeile& z = zeilen_[n];
        mz.tag = z.tag->date();
        mz.zeit = z.zeit->text();
        mz.tisch = z.tisch->currentText();
        mz.schiri = z.schiri->currentText();
        mz.erg = z.erg->currentText();
        for (int k = 0; k < 9; ++k)
            mz.satz[k] = z.satz[k]->text();
    }
    m_.ergebniscombo = ergebnis_->currentText();
    m_.schiripool = schiripool_->isChecked();
    m_.next = next_->isChecked();
    m_.next1 = next1_->isChecked();
}

void TergebnisTeamDialog::okGeklickt() {
    ok_->setEnabled(false);
    insModell();
    const Tergebnis::Ausgang a = m_.okClick();
    ok_->setEnabled(true);
    if (!a.geschlossen) return;
    emit bestaetigt(a);
    accept();
}
