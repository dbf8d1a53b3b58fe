#include "app/spielsteuerung.h"

#include "common/interaction.h"
#include "play/spielbetrieb.h"
#include "play/ui/planscene.h"
#include "play/ui/spielplanpanel.h"
#include "results/ergebnisverarbeitung.h"
#include "results/ui/tergebnisdialog.h"
#include "results/ui/tvergleich.h"
#include "store/db_procedures.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QGraphicsSimpleTextItem>
#include <QHash>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QTabWidget>

namespace {

// The result text drawn into a finished cell is a child of the cell, found again by this key.
constexpr int kErgebnisText = 1;

QGraphicsSimpleTextItem* ergebnisText(PlanStatusItem* cell) {
    for (QGraphicsItem* c : cell->childItems())
        if (c->data(kErgebnisText).toBool()) return static_cast<QGraphicsSimpleTextItem*>(c);
    return nullptr;
}

// A plain picture for a state whose image file is missing, so a running class stays readable.
QPixmap ersatzbild(const QColor& farbe, const QString& zeichen) {
    QPixmap p(14, 14);
    p.fill(Qt::transparent);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(farbe);
    painter.setPen(farbe.darker());
    painter.drawEllipse(QRectF(0.5, 0.5, 13, 13));
    painter.setPen(Qt::white);
    QFont f = painter.font();
    f.setPixelSize(10);
    f.setBold(true);
    painter.setFont(f);
    painter.drawText(QRect(0, 0, 14, 14), Qt::AlignCenter, zeichen);
    return p;
}

// Both match dialogs open the same way: filled from their model, shown in front.
template <class Dialog>
void zeigen(Dialog* d) {
    d->zeigen();
    d->show();
    d->raise();
    d->activateWindow();
}

} // namespace

Spielsteuerung::Spielsteuerung(SpielplanPanel& panel, QWidget& fenster, Tdb_procedures& db,
                               Interaction& interaction, const Clock& clock, const QString& programDir)
    : QObject(&panel), panel_(panel), fenster_(fenster), db_(db), interaction_(interaction), clock_(clock),
      programDir_(programDir) {
    ev_ = std::make_unique<Ergebnisverarbeitung>(db, interaction, Tvergleich::entscheider(&fenster));
    popup_ = new QMenu(&panel);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    mauell_ = popup_->addAction(QStringLiteral("Spiel mauell starten"));
    mauell_->setObjectName(QStringLiteral("Spielmauellstarten1"));
    zurueck_ = popup_->addAction(QStringLiteral("Spiel zurücksetzen"));
    zurueck_->setObjectName(QStringLiteral("Spielzurcksetzen1"));
    connect(mauell_, &QAction::triggered, this, &Spielsteuerung::mauellStarten);
    connect(zurueck_, &QAction::triggered, this, &Spielsteuerung::zuruecksetzen);

    const QDir bilder(QDir(programDir).filePath(QStringLiteral("images")));
    const char* const dateien[3] = {"warning.gif", "test3.gif", "test4.gif"};
    const QColor farben[3] = {QColor(0xE0, 0x9A, 0x00), QColor(0x2A, 0x6F, 0xC9), QColor(0x2E, 0x9E, 0x44)};
    const char* const zeichen[3] = {"!", "A", "S"};
    for (int i = 0; i < 3; ++i) {
        bilder_[i] = QPixmap(bilder.filePath(QString::fromLatin1(dateien[i])));
        if (bilder_[i].isNull()) bilder_[i] = ersatzbild(farben[i], QString::fromLatin1(zeichen[i]));
    }
}

Spielsteuerung::~Spielsteuerung() {
    delete dialog_;
    delete planDialog_;
    delete planTeamDialog_;
    delete teamDialog_;
}

bool Spielsteuerung::teamKlasse() const {
    return panel_.titel().trimmed().endsWith(QStringLiteral("(Team)"));
}

QPixmap Spielsteuerung::bild(int tag) const {
    switch (StateTag(tag)) {
    case StateTag::Playable:
        return bilder_[0];
    case StateTag::Called:
        return bilder_[1];
    case StateTag::Started:
        return bilder_[2];
    default:
        return {};
    }
}

void Spielsteuerung::klasseGeoeffnet(int kid) {
    kette_.reset();
    // The dialogs show the models of the class before: they go, the dialogs first.
    delete dialog_;
    delete teamDialog_;
    modell_.reset();
    teamModell_.reset();
    sb_ = std::make_unique<Spielbetrieb>(db_, interaction_, clock_, kid, panel_.koSystemPath());
    // The plan area has just read the class for its drawings; the new run starts from the same data.
    sb_->planshow(panel_.daten());
    modell_ = std::make_unique<Tergebnis>(*sb_, *ev_);
    dialog_ = new TergebnisDialog(*modell_, &fenster_);
    dialog_->setWindowModality(Qt::ApplicationModal);
    connect(dialog_, &TergebnisDialog::bestaetigt, this, &Spielsteuerung::bestaetigt);
    connect(dialog_, &QDialog::finished, this, &Spielsteuerung::dialogZu);
    teamModell_ = std::make_unique<Tergebnis_team>(*sb_, *ev_);
    teamDialog_ = new TergebnisTeamDialog(*teamModell_, &fenster_);
    teamDialog_->setWindowModality(Qt::ApplicationModal);
    connect(teamDialog_, &TergebnisTeamDialog::bestaetigt, this, &Spielsteuerung::bestaetigt);
    connect(teamDialog_, &QDialog::finished, this, &Spielsteuerung::dialogZu);
    zellenZeigen();
    erinnerungenZeigen();
    if (sb_->timerEnabled()) emit klasseLaeuft();
}

void Spielsteuerung::zellenZeigen() {
    if (!sb_) return;
    // A match not finished yet tells its plan; a finished one its sets.
    QHash<int, QString> geplant;
    for (const SpielplanRow& m : panel_.daten().matches)
        geplant.insert(m.spielnummer, planhinweis(m));
    for (int page = 1; page <= 4; ++page) {
        PlanScene* scene = panel_.scene(page);
        if (!scene) continue;
        for (PlanStatusItem* cell : scene->statusCells()) {
            const Statuszelle z = sb_->zelle(cell->spielnummer());
            cell->setState(int(z.tag));
            cell->setPicture(bild(int(z.tag)));
            const QString text =
                z.tag == StateTag::Finished ? (cell->mirrored() ? z.textx : z.text) : QString();
            cell->setToolTip(z.tag == StateTag::Finished ? (cell->mirrored() ? z.hintx : z.hint)
                                                         : geplant.value(cell->spielnummer()));
            QGraphicsSimpleTextItem* t = ergebnisText(cell);
            if (text.isEmpty()) {
                delete t;
                continue;
            }
            if (!t) {
                t = new QGraphicsSimpleTextItem(cell);
                t->setData(kErgebnisText, true);
                t->setAcceptedMouseButtons(Qt::NoButton);
                QFont f = t->font();
                f.setPointSizeF(7.5);
                t->setFont(f);
            }
            t->setText(text);
            t->setPos(cell->boundingRect().topLeft() + QPointF(6, 3));
        }
    }
}

void Spielsteuerung::erinnerungenZeigen() {
    QListWidget* info = panel_.infoListe();
    if (!sb_ || !info) return;
    info->clear();
    info->addItems(sb_->sp_info());
}

void Spielsteuerung::neuZeichnen() {
    if (!sb_) return;
    emit klasseGeschrieben(sb_->kid());
    try {
        panel_.planshow();
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    zellenZeigen();
    erinnerungenZeigen();
}

void Spielsteuerung::starten(int kid) {
    if (!sb_ || sb_->kid() != kid) return;
    panel_.pages()->setCurrentIndex(0);
    // The class start offers its first call; the rest of the chain follows as each call dialog closes.
    std::optional<int> erstes;
    try {
        const bool gestartet = sb_->turniergo([&](int snr) {
            erstes = snr;
            return false;
        });
        if (!gestartet) return;
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    zellenZeigen();
    erinnerungenZeigen();
    emit klasseLaeuft();
    if (erstes) {
        kette_ = std::pair{1, *erstes};
        aufrufOeffnen(*erstes);
    }
}

void Spielsteuerung::anbieten(int phase, int nach) {
    kette_.reset();
    if (!sb_) return;
    const std::optional<int> s = sb_->naechstesAngebot(phase, nach);
    if (!s) return;
    kette_ = std::pair{phase, *s};
    aufrufOeffnen(*s);
}

void Spielsteuerung::aufrufOeffnen(int snr) {
    if (teamKlasse())
        teamModell_->spielaufrufen1(snr);
    else
        modell_->spielaufrufen1(snr);
    dialogOeffnen();
}

void Spielsteuerung::dialogOeffnen() {
    if (teamKlasse())
        zeigen(teamDialog_.data());
    else
        zeigen(dialog_.data());
}

void Spielsteuerung::bestaetigt(const Tergebnis::Ausgang& a) {
    geschrieben_ = true;
    if (a.angebotePhase) kette_ = std::pair{*a.angebotePhase, 0};
}

void Spielsteuerung::dialogZu() {
    // What the dialog wrote is drawn before anything else is offered; "Zurück" wrote nothing.
    if (geschrieben_) neuZeichnen();
    geschrieben_ = false;
    if (!kette_) return;
    const auto [phase, letztes] = *kette_;
    // An offered call goes on to the next one unless "nächstes mögliches Spiel aufrufen" was unticked;
    // the offers after a result begin at the first match of the phase.
    const QCheckBox* next1 = teamKlasse() ? teamDialog_->next1Box() : dialog_->next1Box();
    if (letztes != 0 && !next1->isChecked()) {
        kette_.reset();
        return;
    }
    try {
        anbieten(phase, letztes);
    } catch (const DbError& e) {
        kette_.reset();
        interaction_.error(e.message());
    }
}

void Spielsteuerung::statusGeklickt(int snr, bool gespiegelt, Qt::MouseButton button) {
    if (!sb_ || !dialog_) return;
    if (button == Qt::RightButton) {
        popupSnr_ = snr;
        popup_->popup(QCursor::pos());
        return;
    }
    if (button != Qt::LeftButton) return;
    kette_.reset();
    try {
        if (teamKlasse())
            teamModell_->statusClick(snr);
        else
            modell_->statusClick(snr, gespiegelt);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    dialogOeffnen();
}

void Spielsteuerung::mauellStarten() {
    if (!sb_ || popupSnr_ <= 0) return;
    kette_.reset();
    if (!(teamKlasse() ? teamModell_->spielMauellStarten(popupSnr_) : modell_->spielMauellStarten(popupSnr_)))
        return;
    dialogOeffnen();
}

void Spielsteuerung::zuruecksetzen() {
    if (!sb_ || popupSnr_ <= 0) return;
    try {
        sb_->spielZuruecksetzen(popupSnr_, *ev_);
    } catch (const DbError& e) {
        interaction_.error(e.message());
    }
    // Redrawn in every case: a refusal rebuilds the status too.
    neuZeichnen();
}

void Spielsteuerung::erinnern() {
    if (!sb_) return;
    try {
        sb_->Timer1Timer();
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    erinnerungenZeigen();
}

void Spielsteuerung::planungOeffnen(int kid, int snr) {
    bool team = false;
    try {
        const Row k =
            db_.selectOne(QStringLiteral("SELECT system FROM Turnierklassen WHERE KID=:k"), {{":k", kid}});
        team = k.integer(u"system") == 3;
        if (planSb_ && planSb_->kid() == kid) {
            // Tables, umpires and settings of the class may have changed since it was read.
            planSb_->planshow();
        } else {
            delete planDialog_;
            delete planTeamDialog_;
            planModell_.reset();
            planTeamModell_.reset();
            planSb_ = std::make_unique<Spielbetrieb>(db_, interaction_, clock_, kid, panel_.koSystemPath());
            if (team) {
                planTeamModell_ = std::make_unique<Tergebnis_team>(*planSb_, *ev_);
                planTeamDialog_ = new TergebnisTeamDialog(*planTeamModell_, &fenster_);
                planTeamDialog_->setWindowModality(Qt::ApplicationModal);
                connect(planTeamDialog_, &TergebnisTeamDialog::bestaetigt, this,
                        [this] { emit planungGeschrieben(); });
            } else {
                planModell_ = std::make_unique<Tergebnis>(*planSb_, *ev_);
                planDialog_ = new TergebnisDialog(*planModell_, &fenster_);
                planDialog_->setWindowModality(Qt::ApplicationModal);
                connect(planDialog_, &TergebnisDialog::bestaetigt, this, [this] { emit planungGeschrieben(); });
            }
        }
        if (team)
            planTeamModell_->spielplanen(snr);
        else
            planModell_->spielplanen(snr);
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return;
    }
    if (team)
        zeigen(planTeamDialog_.data());
    else
        zeigen(planDialog_.data());
}
