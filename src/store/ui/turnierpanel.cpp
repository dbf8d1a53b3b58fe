#include "store/ui/turnierpanel.h"

#include "common/clock.h"
#include "common/interaction.h"
#include "common/ui/statusmeldung.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "ui_turnierpanel.h"

#include <QTextCursor>

namespace {

const QString kCaptionCreate = QStringLiteral("Turnier speichern");
const QString kCaptionChanged = QStringLiteral("Änderung übernehmen");
const QString kCaptionLoaded = QStringLiteral("Änderung speichern");

} // namespace

TurnierPanel::TurnierPanel(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                           QWidget* parent)
    : QWidget(parent), state_(state), db_(db), interaction_(interaction), clock_(clock),
      ui_(std::make_unique<Ui::TurnierPanel>()) {
    ui_->setupUi(this);
    ui_->turnier_speichern->setEnabled(false);

    const QLineEdit* lines[] = {
        ui_->turniername,   ui_->zusatzname, ui_->austragungsort, ui_->veranstalter, ui_->v_homepage,
        ui_->gesamtleitung, ui_->osr,        ui_->tische,         ui_->netze,        ui_->baelle,
        ui_->zaehlgeraete,  ui_->banden,     ui_->erstehilfe};
    for (const QLineEdit* e : lines)
        connect(e, &QLineEdit::textChanged, this, &TurnierPanel::markChanged);
    const QPlainTextEdit* memos[] = {ui_->turnierleitung,  ui_->schiedsrichter, ui_->startberechtigung,
                                     ui_->turniermodus,    ui_->meldeinfo,      ui_->auslosunginfo,
                                     ui_->meldung_an,      ui_->preise,         ui_->verpflegung,
                                     ui_->wegbeschreibung, ui_->verschiedenes};
    for (const QPlainTextEdit* e : memos)
        connect(e, &QPlainTextEdit::textChanged, this, &TurnierPanel::markChanged);
    const QDateEdit* dates[] = {ui_->Tvon, ui_->Tbis, ui_->meldeschluss, ui_->auslosung};
    for (const QDateEdit* e : dates)
        connect(e, &QDateEdit::dateChanged, this, &TurnierPanel::markChanged);

    connect(ui_->turniername, &QLineEdit::textChanged, ui_->statictext1, &QLabel::setText);
    // The last day follows the first day; it can be changed afterwards.
    connect(ui_->Tvon, &QDateEdit::dateChanged, ui_->Tbis, &QDateEdit::setDate);
    connect(ui_->turnier_speichern, &QPushButton::clicked, this, [this] {
        if (!save()) return;
        statusmeldung(this, QStringLiteral("Turnierdaten gespeichert"));
        ui_->turniername->setFocus(Qt::OtherFocusReason);
    });
    connect(ui_->anmeldeformular, &QPushButton::clicked, this, &TurnierPanel::anmeldeformularRequested);
}

TurnierPanel::~TurnierPanel() = default;

void TurnierPanel::markChanged() {
    QPushButton* b = ui_->turnier_speichern;
    if (b->isEnabled()) return;
    b->setEnabled(true);
    b->setText(kCaptionChanged);
}

void TurnierPanel::clearFields() {
    for (QLineEdit* e : {ui_->turniername, ui_->zusatzname, ui_->austragungsort, ui_->veranstalter,
                         ui_->v_homepage, ui_->gesamtleitung, ui_->osr, ui_->tische, ui_->netze, ui_->baelle,
                         ui_->zaehlgeraete, ui_->banden, ui_->erstehilfe})
        e->clear();
    for (QPlainTextEdit* e : {ui_->turnierleitung, ui_->schiedsrichter, ui_->startberechtigung,
                              ui_->turniermodus, ui_->meldeinfo, ui_->auslosunginfo, ui_->meldung_an,
                              ui_->preise, ui_->verpflegung, ui_->wegbeschreibung, ui_->verschiedenes})
        e->clear();
    const QDate today = clock_.today();
    for (QDateEdit* e : {ui_->Tvon, ui_->Tbis, ui_->meldeschluss, ui_->auslosung})
        e->setDate(today);
}

void TurnierPanel::fillFields(int tid) {
    const std::optional<TournamentRecord> found = readTournament(db_, tid);
    if (!found) return;
    const TournamentRecord& r = *found;
    ui_->statictext1->setText(r.turniername);
    ui_->turniername->setText(r.turniername);
    ui_->zusatzname->setText(r.zusatz);
    ui_->austragungsort->setText(r.austragungsort);
    // First day before last day: setting the first day moves the last one.
    ui_->Tvon->setDate(r.tvon);
    ui_->Tbis->setDate(r.tbis);
    ui_->veranstalter->setText(r.veranstalter);
    ui_->v_homepage->setText(r.homepage);
    ui_->gesamtleitung->setText(r.gesamtleitung);
    ui_->osr->setText(r.osr);
    ui_->meldeschluss->setDate(r.meldeschluss);
    ui_->auslosung->setDate(r.auslosung);
    ui_->tische->setText(r.tische);
    ui_->netze->setText(r.netze);
    ui_->baelle->setText(r.baelle);
    ui_->zaehlgeraete->setText(r.zaehlgeraete);
    ui_->banden->setText(r.banden);
    ui_->erstehilfe->setText(r.erstehilfe);

    const std::pair<QPlainTextEdit*, const QString*> memos[] = {
        {ui_->startberechtigung, &r.startberechtigung},
        {ui_->turniermodus, &r.turniermodus},
        {ui_->turnierleitung, &r.turnierleitung},
        {ui_->schiedsrichter, &r.schiedsrichter},
        {ui_->meldeinfo, &r.meldeinfo},
        {ui_->meldung_an, &r.meldung_an},
        {ui_->auslosunginfo, &r.ainfo},
        {ui_->preise, &r.preise},
        {ui_->verpflegung, &r.verpflegung},
        {ui_->wegbeschreibung, &r.weg},
        {ui_->verschiedenes, &r.verschiedenes},
    };
    for (const auto& [edit, value] : memos) {
        // An empty (or NULL) memo leaves the field as the preceding clear left it.
        if (!value->isEmpty()) edit->setPlainText(memoToPlainText(*value));
        edit->moveCursor(QTextCursor::Start);
        edit->ensureCursorVisible();
    }
}

TournamentRecord TurnierPanel::record() const {
    TournamentRecord r;
    r.turniername = ui_->turniername->text();
    r.zusatz = ui_->zusatzname->text();
    r.austragungsort = ui_->austragungsort->text();
    r.tvon = ui_->Tvon->date();
    r.tbis = ui_->Tbis->date();
    r.startberechtigung = memoFromPlainText(ui_->startberechtigung->toPlainText());
    r.turniermodus = memoFromPlainText(ui_->turniermodus->toPlainText());
    r.veranstalter = ui_->veranstalter->text();
    r.homepage = ui_->v_homepage->text();
    r.gesamtleitung = ui_->gesamtleitung->text();
    r.turnierleitung = memoFromPlainText(ui_->turnierleitung->toPlainText());
    r.schiedsrichter = memoFromPlainText(ui_->schiedsrichter->toPlainText());
    r.osr = ui_->osr->text();
    r.meldeschluss = ui_->meldeschluss->date();
    r.auslosung = ui_->auslosung->date();
    r.meldeinfo = memoFromPlainText(ui_->meldeinfo->toPlainText());
    r.meldung_an = memoFromPlainText(ui_->meldung_an->toPlainText());
    r.ainfo = memoFromPlainText(ui_->auslosunginfo->toPlainText());
    r.tische = ui_->tische->text();
    r.baelle = ui_->baelle->text();
    r.netze = ui_->netze->text();
    r.zaehlgeraete = ui_->zaehlgeraete->text();
    r.banden = ui_->banden->text();
    r.preise = memoFromPlainText(ui_->preise->toPlainText());
    r.verpflegung = memoFromPlainText(ui_->verpflegung->toPlainText());
    r.weg = memoFromPlainText(ui_->wegbeschreibung->toPlainText());
    r.verschiedenes = memoFromPlainText(ui_->verschiedenes->toPlainText());
    r.erstehilfe = ui_->erstehilfe->text();
    return r;
}

bool TurnierPanel::save() {
    QPushButton* b = ui_->turnier_speichern;
    if (!b->isEnabled()) return false;
    if (b->text() == kCaptionCreate) {
        int tid = 0;
        try {
            tid = insertTournament(db_, record(), createOptions_);
        } catch (const DbError& e) {
            interaction_.error(e.message());
            return false;
        }
        state_.tid = tid;
        b->setEnabled(false);
        emit tournamentInserted(tid);
        return true;
    }
    if (ui_->turniername->text().trimmed().isEmpty()) {
        interaction_.plain(QStringLiteral("Bitte geben Sie einen Turniernamen ein"));
        return false;
    }
    try {
        updateTournament(db_, state_.tid, record());
    } catch (const DbError& e) {
        interaction_.error(e.message());
        return false;
    }
    b->setEnabled(false);
    return true;
}

int TurnierPanel::createSave(const QString& name, const TournamentOptions& options) {
    createOptions_ = options;
    ui_->turniername->setText(name);
    QPushButton* b = ui_->turnier_speichern;
    b->setText(kCaptionCreate);
    b->setEnabled(true);
    if (!save()) return 0;
    b->setText(kCaptionChanged);
    b->setEnabled(false);
    return state_.tid;
}

void TurnierPanel::setLoadedState() {
    ui_->turnier_speichern->setText(kCaptionLoaded);
    ui_->turnier_speichern->setEnabled(false);
}

void TurnierPanel::showFirstPage() {
    ui_->Turniermenu->setCurrentIndex(0);
}
