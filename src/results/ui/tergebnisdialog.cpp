#include "results/ui/tergebnisdialog.h"

#include "results/ui/spielverwaltung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

using spielverwaltung::liste;

TergebnisDialog::TergebnisDialog(Tergebnis& model, QWidget* parent) : QDialog(parent), m_(model) {
    setObjectName(QStringLiteral("Tergebnis"));
    setWindowTitle(m_.caption());
    setPalette(QPalette(QColor(0xF9, 0xFA, 0xE7)));
    setAutoFillBackground(true);

    auto* layout = new QVBoxLayout(this);
    auto* kopf = new QGridLayout;
    layout->addLayout(kopf);
    auto label = [this](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    platte_ = label("platte", "An Tisch:");
    schiriLabel_ = label("schiri", "Schiedsrichter:");
    gruppe_ = label("gruppe", "Gruppe:");
    spieler1_ = label("spieler1", "Spieler 1:");
    spieler2_ = label("spieler2", "Spieler 2:");
    kopf->addWidget(spieler1_, 0, 0);
    kopf->addWidget(spieler2_, 1, 0);
    kopf->addWidget(gruppe_, 2, 0);
    kopf->addWidget(platte_, 0, 1);
    kopf->addWidget(schiriLabel_, 1, 1);
    auto* zeit = new QHBoxLayout;
    kopf->addLayout(zeit, 3, 0, 1, 2);
    starttag_ = new QDateEdit(this);
    starttag_->setObjectName(QStringLiteral("starttag"));
    starttag_->setCalendarPopup(true);
    startzeit_ = new QLineEdit(this);
    startzeit_->setObjectName(QStringLiteral("startzeit"));
    startzeit_->setMaximumWidth(70);
    auto* jetzt = new QPushButton(QStringLiteral("<-- Jetzt"), this);
    jetzt->setObjectName(QStringLiteral("JetztButton"));
    jetzt->setAutoDefault(false);
    auto* tagLabel = new QLabel(QStringLiteral("Geplanter Start"), this);
    tagLabel->setBuddy(starttag_);
    auto* zeitLabel = new QLabel(QStringLiteral("Uhrzeit"), this);
    zeitLabel->setBuddy(startzeit_);
    zeit->addWidget(tagLabel);
    zeit->addWidget(starttag_);
    zeit->addWidget(zeitLabel);
    zeit->addWidget(startzeit_);
    zeit->addWidget(jetzt);
    zeit->addStretch();

    seiten_ = new QTabWidget(this);
    seiten_->setObjectName(QStringLiteral("seiten"));
    layout->addWidget(seiten_, 1);

    // "Spielplanung"
    auto* planung = new QWidget;
    auto* pl = new QFormLayout(planung);
    platten_ = new QComboBox(planung);
    platten_->setObjectName(QStringLiteral("plattencombo"));
    platten_->setEditable(true);
    schiri_ = new QComboBox(planung);
    schiri_->setObjectName(QStringLiteral("schiricombo"));
    schiri_->setEditable(true);
    geplanterTisch_ = new QLabel(planung);
    geplanterTisch_->setObjectName(QStringLiteral("geplanter_tisch"));
    next1_ = new QCheckBox(QStringLiteral("nächstes mögliches Spiel aufrufen"), planung);
    next1_->setObjectName(QStringLiteral("next1"));
    pl->addRow(QStringLiteral("An Tisch"), platten_);
    pl->addRow(QStringLiteral("Schiedsrichter"), schiri_);
    pl->addRow(geplanterTisch_);
    pl->addRow(next1_);
    seiten_->addTab(planung, Tergebnis::kSeiten[0]);

    // "Spiel aufgerufen": a call box writes its column at once, as the operator ticks it.
    seiten_->addTab(spielverwaltung::aufrufSeite({QStringLiteral("Spieler1"), QStringLiteral("Spieler2"),
                                                  QStringLiteral("Schiesrichter")},
                                                 aufruf_,
                                                 [this](int i, bool checked) {
                                                     if (fuellen_) return;
                                                     m_.aufrufGeklickt(matchrecord::Recall(i), checked);
                                                     aufruf_[i]->setToolTip(m_.aufrufHinweis[i]);
                                                 }),
                    Tergebnis::kSeiten[1]);

    // "Fertig"
    auto* fertig = new QWidget;
    auto* fl = new QGridLayout(fertig);
    auto* endLabel = new QLabel(QStringLiteral("Endergebnis:"), fertig);
    QFont fett = endLabel->font();
    fett.setBold(true);
    endLabel->setFont(fett);
    ergebnis_ = new QComboBox(fertig);
    ergebnis_->setObjectName(QStringLiteral("ergebniscombo"));
    ergebnis_->setEditable(true);
    ergebnis_->setInsertPolicy(QComboBox::NoInsert);
    endLabel->setBuddy(ergebnis_);
    fl->addWidget(endLabel, 0, 0);
    fl->addWidget(ergebnis_, 0, 1, 1, 3);
    auto* satzLabel = new QLabel(QStringLiteral("Satzergebnisse"), fertig);
    satzLabel->setToolTip(QStringLiteral("(z.B. +9  -7  +3)"));
    fl->addWidget(satzLabel, 1, 0);
    fl->addWidget(new QLabel(QStringLiteral("(z.B. +9  -7  +3)"), fertig), 1, 1, 1, 5);
    auto* saetze = new QHBoxLayout;
    fl->addLayout(saetze, 2, 0, 1, 9);
    // An optional sign and up to two digits; anything else never gets into the field.
    auto* validator = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9]{0,2}")), this);
    for (int k = 0; k < 9; ++k) {
        auto* e = new QLineEdit(fertig);
        e->setObjectName(QStringLiteral("satz%1").arg(k + 1));
        e->setAccessibleName(QStringLiteral("Satz %1").arg(k + 1));
        e->setMaxLength(3);
        e->setValidator(validator);
        e->setFixedWidth(40);
        e->installEventFilter(this);
        satz_[k] = e;
        saetze->addWidget(e);
        connect(e, &QLineEdit::textEdited, this, [this, k](const QString& t) { m_.satz[k] = t; });
        connect(e, &QLineEdit::editingFinished, this, [this, k] { satzVerlassen(k); });
    }
    saetze->addStretch();
    schiripool_ = new QCheckBox(QStringLiteral("Verlierer in Schiedsrichterpool übernehmen"), fertig);
    schiripool_->setObjectName(QStringLiteral("schiripool"));
    next_ = new QCheckBox(QStringLiteral("nächstes mögliches Spiel anzeigen"), fertig);
    next_->setObjectName(QStringLiteral("next"));
    fl->addWidget(schiripool_, 3, 0, 1, 9);
    fl->addWidget(next_, 4, 0, 1, 9);
    fl->setRowStretch(5, 1);
    seiten_->addTab(fertig, Tergebnis::kSeiten[2]);
    // Only the caller chooses the page.
    seiten_->tabBar()->setFocusPolicy(Qt::NoFocus);

    const spielverwaltung::Knoepfe knoepfe =
        spielverwaltung::knopfzeile(this, layout, [this](Druckziel ziel) { m_.drucken(ziel); });
    drucken_ = knoepfe.drucken;
    druckziel_ = knoepfe.druckziel;
    ok_ = knoepfe.ok;
    cancel_ = knoepfe.cancel;

    // An editable combo box keeps Enter for itself; these hand it on as the dialog's confirmation.
    for (QComboBox* box : {ergebnis_, platten_, schiri_}) {
        box->installEventFilter(this);
        if (box->lineEdit()) box->lineEdit()->installEventFilter(this);
    }

    connect(ergebnis_, &QComboBox::currentTextChanged, this, &TergebnisDialog::ergebnisGeaendert);
    connect(platten_, &QComboBox::currentTextChanged, this, [this](const QString& t) {
        if (fuellen_) return;
        m_.plattenGewaehlt(t);
        platte_->setText(m_.platteLabel);
        geplanterTisch_->setText(m_.geplanterTischLabel);
    });
    connect(startzeit_, &QLineEdit::editingFinished, this, [this] {
        if (fuellen_) return;
        m_.startzeit = startzeit_->text();
        if (!m_.startzeitVerlassen()) {
            startzeit_->clear();
            startzeit_->setFocus();
        }
    });
    connect(jetzt, &QPushButton::clicked, this, [this] {
        m_.jetztButton();
        starttag_->setDate(m_.starttag);
        startzeit_->setText(m_.startzeit);
    });
    connect(ok_, &QPushButton::clicked, this, &TergebnisDialog::okGeklickt);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TergebnisDialog::zeigen() {
    fuellen_ = true;
    setWindowTitle(m_.caption());
    const int seite = m_.seite();
    spielverwaltung::schrittZeigen(seiten_, seite, {drucken_, ok_, cancel_, druckziel_}, m_.okText(),
                                   m_.druckenEnabled);

    spieler1_->setText(m_.spieler1Label);
    spieler2_->setText(m_.spieler2Label);
    gruppe_->setText(m_.gruppeLabel);
    platte_->setText(m_.platteLabel.isEmpty() ? QStringLiteral("An Tisch:") : m_.platteLabel);
    schiriLabel_->setText(m_.schiriLabel.isEmpty() ? QStringLiteral("Schiedsrichter:") : m_.schiriLabel);
    platte_->setToolTip(m_.platteHinweis);
    starttag_->setDate(m_.starttag);
    startzeit_->setText(m_.startzeit);

    liste(platten_, m_.plattenItems, m_.plattencombo);
    platten_->setEnabled(m_.plattenEnabled);
    liste(schiri_, m_.schiriItems, m_.schiricombo);
    schiri_->setEnabled(m_.schiriEnabled);
    geplanterTisch_->setText(m_.geplanterTischLabel);
    next1_->setChecked(m_.next1);
    next1_->setVisible(m_.next1Visible);
    for (int i = 0; i < 6; ++i) {
        aufruf_[i]->setChecked(m_.aufruf[i]);
        aufruf_[i]->setToolTip(m_.aufrufHinweis[i]);
    }
    liste(ergebnis_, m_.ergebnisItems, m_.ergebniscombo);
    for (int k = 0; k < 9; ++k) {
        satz_[k]->setText(m_.satz[k]);
        satz_[k]->setVisible(k < m_.satzFelder);
    }
    satzfreigabe();
    schiripool_->setChecked(m_.schiripool);
    schiripool_->setEnabled(m_.schiripoolEnabled);
    next_->setChecked(m_.next);
    fuellen_ = false;

    switch (seite) {
    case 0:
        (platten_->isEnabled() ? static_cast<QWidget*>(platten_) : ok_)->setFocus();
        break;
    case 1:
        ok_->setFocus();
        break;
    default:
        ergebnis_->setFocus();
        if (ergebnis_->lineEdit()) ergebnis_->lineEdit()->selectAll();
        break;
    }
}

void TergebnisDialog::satzfreigabe() {
    const QColor offen(0xF9, 0xE6, 0xFF);
    for (int k = 0; k < 9; ++k) {
        const bool an = k < m_.satzAktiv;
        satz_[k]->setEnabled(an);
        QPalette p = satz_[k]->palette();
        p.setColor(QPalette::Base, an ? offen : QColor(Qt::white));
        satz_[k]->setPalette(p);
    }
}

void TergebnisDialog::ergebnisGeaendert(const QString& text) {
    if (fuellen_) return;
    const int vorher = m_.satzAktiv;
    const bool liste = m_.ergebnisItems.contains(text);
    m_.ergebnisGewaehlt(text);
    if (!liste && vorher == m_.satzAktiv) return;
    fuellen_ = true;
    for (int k = 0; k < 9; ++k)
        satz_[k]->setText(m_.satz[k]);
    fuellen_ = false;
    satzfreigabe();
}

bool TergebnisDialog::satzVerlassen(int k) {
    if (fuellen_ || !satz_[k]->isEnabled()) return true;
    m_.satz[k] = satz_[k]->text();
    if (m_.satzVerlassen(k)) return true;
    satz_[k]->setText(m_.satz[k]);
    satz_[k]->setFocus();
    return false;
}

void TergebnisDialog::insModell() {
    m_.plattencombo = platten_->currentText();
    m_.schiricombo = schiri_->currentText();
    m_.starttag = starttag_->date();
    m_.startzeit = startzeit_->text();
    m_.ergebniscombo = ergebnis_->currentText();
    for (int k = 0; k < 9; ++k)
        m_.satz[k] = satz_[k]->text();
    m_.schiripool = schiripool_->isChecked();
    m_.next = next_->isChecked();
    m_.next1 = next1_->isChecked();
}

void TergebnisDialog::okGeklickt() {
    ok_->setEnabled(false);
    insModell();
    const Tergebnis::Ausgang a = m_.okClick();
    ok_->setEnabled(true);
    if (!a.geschlossen) return;
    // Reported before the dialog closes, so whoever waits for the close knows what was written.
    emit bestaetigt(a);
    accept();
}

bool TergebnisDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return QDialog::eventFilter(watched, event);
    // Enter in the final result goes on to the first set; in a set to the next open set, and in the last
    // one (or when the next is filled already) it confirms.
    if (watched == ergebnis_ || watched == ergebnis_->lineEdit()) {
        ergebnisGeaendert(ergebnis_->currentText());
        if (m_.satzAktiv > 0 && satz_[0]->isEnabled()) {
            satz_[0]->setFocus();
            satz_[0]->selectAll();
            return true;
        }
        okGeklickt();
        return true;
    }
    for (QComboBox* box : {platten_, schiri_})
        if (watched == box || watched == box->lineEdit()) {
            okGeklickt();
            return true;
        }
    for (int k = 0; k < 9; ++k) {
        if (watched != satz_[k]) continue;
        const int n = k + 1;
        if (n < 9 && satz_[n]->isEnabled() && satz_[n]->isVisible() && satz_[n]->text().isEmpty()) {
            satz_[n]->setFocus();
            return true;
        }
        // A refused entry keeps the focus; nothing is confirmed then.
        if (!satzVerlassen(k)) return true;
        return QDialog::eventFilter(watched, event);
    }
    return QDialog::eventFilter(watched, event);
}
