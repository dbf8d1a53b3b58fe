#include "entries/spieler.h"

#include "common/interaction.h"
#include "entries/ageclass.h"
#include "entries/startnummer.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

const QString Spielerverwaltung::kSpeichern = QStringLiteral("Spieler speichern");
const QString Spielerverwaltung::kAendern = QStringLiteral("Änderung übernehmen");

namespace {

const QString kOhneVerein = QStringLiteral("ohne Verein");
const QString kDatumFalsch = QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben");
const QString kNameVergeben = QStringLiteral("Ein Spieler mit diesem Namen existiert bereits");

QString kindPrefix(int system) {
    switch (system) {
    case 1:
        return QStringLiteral("Doppel - ");
    case 2:
        return QStringLiteral("Mixed - ");
    case 3:
        return QStringLiteral("Team - ");
    default:
        return QStringLiteral("Einzel - ");
    }
}

QCollator germanCollator() {
    QCollator c{QLocale(QLocale::German, QLocale::Germany)};
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

QVariant orNull(const std::optional<int>& v) {
    return v ? QVariant(*v) : QVariant();
}
QVariant orNull(const std::optional<double>& v) {
    return v ? QVariant(*v) : QVariant();
}
QVariant orNull(const QDate& d) {
    return d.isValid() ? QVariant(d) : QVariant();
}

} // namespace

QDate readGermanDate(const QString& text) {
    const QString t = text.trimmed();
    // Day and month with or without a leading zero; the year with four digits.
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})$"));
    const auto m = re.match(t);
    if (!m.hasMatch()) return {};
    return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

QString germanNumber(double value) {
    QLocale de(QLocale::German, QLocale::Germany);
    de.setNumberOptions(QLocale::OmitGroupSeparator);
    // Fifteen digits hide the binary noise of sums such as 0.1 + 0.2.
    return de.toString(value, 'g', 15);
}

std::optional<double> readGermanNumber(const QString& text) {
    const QString t = text.trimmed();
    QLocale de(QLocale::German, QLocale::Germany);
    de.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = de.toDouble(t, &ok);
    if (ok) return v;
    v = QLocale::c().toDouble(t, &ok);
    if (ok) return v;
    return std::nullopt;
}

// The fields in the form they are written.
struct Spielerverwaltung::Validated : SpielerDatensatz {};

void insertSpieler(Tdb_procedures& db, int tid, int sid, const SpielerDatensatz& s) {
    db.exec(QStringLiteral("INSERT INTO Spielerdaten VALUES (:d0,:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,"
                           ":d11,:d12,:d13,:d14,:d15,:d16)"),
            {{":d0", tid},
             {":d1", sid},
             {":d2", s.nachname},
             {":d3", s.vorname},
             {":d4", s.verein},
             {":d5", orNull(s.geb)},
             {":d6", orNull(s.nummer)},
             {":d7", s.kverband},
             {":d8", s.bverband},
             {":d9", s.lverband},
             {":d10", s.land},
             {":d11", orNull(s.zuzahlen)},
             {":d12", s.bezahlt},
             {":d13", s.angemeldet},
             {":d14", s.mann},
             {":d15", s.frau},
             {":d16", s.spklasse}});
}

void insertKlassenmeldung(Tdb_procedures& db, int tid, int kid, int sid) {
    db.exec(QStringLiteral("INSERT INTO Spieler_im_turnier VALUES (:TID,:KID,:SID)"),
            {{":TID", tid}, {":KID", kid}, {":SID", sid}});
}

Spielerverwaltung::Spielerverwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction)
    : state_(state), db_(db), interaction_(interaction), saveCaption_(kSpeichern) {}

void Spielerverwaltung::setPairingHook(PairingHook* hook) {
    hook_ = hook ? hook : &defaultHook_;
}

void Spielerverwaltung::open() {
    clearFields();
    klassen_.clear();
    const Rows classes = db_.select(
        QStringLiteral(
            "SELECT KID,kbezeichnung,system,gebuehr FROM Turnierklassen WHERE TID=:k ORDER BY KID"),
        {{":k", state_.tid}});
    for (const Row& r : classes) {
        const int system = r.integer(u"system");
        klassen_.append(
            {r.integer(u"KID"), system, r.number(u"gebuehr"), kindPrefix(system) + r.text(u"kbezeichnung")});
    }
    auswahl_ = QVector<bool>(klassen_.size(), false);
    ++classListVersion_;

    // One read gives the players, the clubs and every value list.
    spielerinfos_.clear();
    const Rows players =
        db_.select(QStringLiteral("SELECT angemeldet,SID,nachname,vorname,verein,kverband,bverband,"
                                  "lverband,land,spklasse FROM Spielerdaten WHERE TID=:k ORDER BY SID"),
                   {{":k", state_.tid}});
    spielerinfos_.reserve(players.size());
    static const std::array<const char16_t*, 5> valueColumns{u"kverband", u"bverband", u"lverband", u"land",
                                                             u"spklasse"};
    std::array<QSet<QString>, 5> values;
    QSet<QString> clubs;
    for (const Row& r : players) {
        spielerinfos_.append({r.integer(u"SID"), r.text(u"nachname"), r.text(u"vorname"), r.text(u"verein"),
                              r.boolean(u"angemeldet")});
        if (!spielerinfos_.last().verein.isEmpty()) clubs.insert(spielerinfos_.last().verein);
        for (size_t i = 0; i < valueColumns.size(); ++i) {
            const QString v = r.text(valueColumns[i]);
            if (!v.isEmpty()) values[i].insert(v);
        }
    }
    const QCollator collator = germanCollator();
    auto sorted = [&](const QSet<QString>& set) {
        QStringList l(set.begin(), set.end());
        std::sort(l.begin(), l.end(), collator);
        return l;
    };
    for (size_t i = 0; i < values.size(); ++i)
        werte_[i] = sorted(values[i]);
    vereine_ = sorted(clubs);
    vereinCurrent_ = -1;
    ++valueListVersion_;

    feeTotal_ = 0.0;
    saveEnabled_ = false;
    saveCaption_ = kSpeichern;
    forgetPlayer();
    rebuildPlayerList();
}

void Spielerverwaltung::clearFields() {
    // The sex stays as it was: players of one sex are often entered one after another.
    const bool mann = felder_.mann;
    const bool frau = felder_.frau;
    felder_ = SpielerFelder();
    felder_.mann = mann;
    felder_.frau = frau;
    partner_.clear();
}

void Spielerverwaltung::forgetPlayer() {
    loadedName_.clear();
    loadedSid_ = 0;
    loadedNumber_ = -1;
}

void Spielerverwaltung::rebuildPlayerList() {
    spielerliste_.clear();
    spielerliste_.reserve(spielerinfos_.size());
    for (const auto& s : spielerinfos_)
        if (!s.deleted()) spielerliste_.append({s.sid, s.text(), s.angemeldet});
    spielerCurrent_ = loadedSid_ > 0 ? playerIndex(loadedSid_) : -1;
    ++playerListVersion_;
}

int Spielerverwaltung::playerIndex(int sid) const {
    for (int i = 0; i < spielerliste_.size(); ++i)
        if (spielerliste_[i].sid == sid) return i;
    return -1;
}

int Spielerverwaltung::indexOfKid(int kid) const {
    for (int i = 0; i < klassen_.size(); ++i)
        if (klassen_[i].kid == kid) return i;
    return -1;
}

QList<int> Spielerverwaltung::selectedKids() const {
    QList<int> kids;
    for (int i = 0; i < klassen_.size(); ++i)
        if (auswahl_[i]) kids << klassen_[i].kid;
    return kids;
}

void Spielerverwaltung::setClassSelection(int index, bool on) {
    auswahl_[index] = on;
}

void Spielerverwaltung::clearClassSelection() {
    auswahl_.fill(false);
    recomputeFee();
}

void Spielerverwaltung::recomputeFee() {
    double total = 0.0;
    for (int i = 0; i < klassen_.size(); ++i)
        if (auswahl_[i]) total += klassen_[i].gebuehr;
    feeTotal_ = total;
}

void Spielerverwaltung::removePartnerLineOf(int kid) {
    partner_.erase(std::remove_if(partner_.begin(), partner_.end(),
                                  [kid](const PartnerLine& l) { return l.kid == kid; }),
                   partner_.end());
}

const SpielerInfo* Spielerverwaltung::findByName(const QString& nachname, const QString& vorname) const {
    for (const auto& s : spielerinfos_)
        if (!s.deleted() && s.nachname == nachname && s.vorname == vorname) return &s;
    return nullptr;
}

void Spielerverwaltung::loadPlayer(int sid) {
    clearFields();
    const Row r = db_.selectOne(QStringLiteral("SELECT * FROM Spielerdaten WHERE SID=:ID"), {{":ID", sid}});
    felder_.nachname = r.text(u"nachname");
    felder_.vorname = r.text(u"vorname");
    felder_.verein = r.text(u"verein");
    if (!r.isNull(u"geb")) felder_.geb = r.date(u"geb").toString(QStringLiteral("dd.MM.yyyy"));
    if (!r.isNull(u"nummer")) felder_.nummer = QString::number(r.integer(u"nummer"));
    felder_.kverband = r.text(u"kverband");
    felder_.bverband = r.text(u"bverband");
    felder_.lverband = r.text(u"lverband");
    felder_.land = r.text(u"land");
    felder_.spklasse = r.text(u"spklasse");
    if (!r.isNull(u"zubezahlen")) felder_.zuzahlen = germanNumber(r.number(u"zubezahlen"));
    felder_.angemeldet = r.boolean(u"angemeldet");
    felder_.bezahlt = r.boolean(u"bezahlt");
    felder_.mann = r.boolean(u"mann");
    felder_.frau = r.boolean(u"frau");
    loadedName_ = felder_.nachname + QStringLiteral(", ") + felder_.vorname;
    loadedSid_ = sid;

    auswahl_.fill(false);
    vereinCurrent_ = -1;
    const Rows entries =
        db_.select(QStringLiteral("SELECT KID FROM Spieler_im_turnier WHERE SID=:ID"), {{":ID", sid}});
    for (const Row& e : entries) {
        const int i = indexOfKid(e.integer(u"KID"));
        if (i >= 0) auswahl_[i] = true;
    }
    recomputeFee();

    // The partner's name comes with the same read, not one read per line.
    const Rows pairs = db_.select(
        QStringLiteral("SELECT d.mannschaft,d.KID,d.partner_SID,p.nachname,p.vorname FROM Doppelpartner AS d "
                       "LEFT JOIN Spielerdaten AS p ON p.SID=d.partner_SID WHERE d.SID=:d0"),
        {{":d0", sid}});
    QList<QPair<int, PartnerLine>> lines;
    for (const Row& p : pairs) {
        const int i = indexOfKid(p.integer(u"KID"));
        if (i < 0) continue;
        QString who;
        if (!p.isNull(u"mannschaft"))
            who = p.text(u"mannschaft");
        else if (!p.isNull(u"nachname"))
            who = p.text(u"nachname") + QStringLiteral(", ") + p.text(u"vorname");
        lines.append({i, PartnerLine{klassen_[i].kid, klassen_[i].text + QStringLiteral(": ") + who}});
    }
    // One line per doubles, mixed or team class entered, also where no pair row exists yet (entries
    // that came by import); the next save writes the row.
    for (int i = 0; i < klassen_.size(); ++i) {
        if (!auswahl_[i] || klassen_[i].system == 0) continue;
        const bool hasLine =
            std::any_of(lines.cbegin(), lines.cend(), [i](const auto& l) { return l.first == i; });
        if (!hasLine)
            lines.append({i, PartnerLine{klassen_[i].kid, klassen_[i].text + QStringLiteral(": ")}});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& l : lines)
        partner_.append(l.second);
}

void Spielerverwaltung::choosePlayer(int sid) {
    const auto it = std::find_if(spielerinfos_.cbegin(), spielerinfos_.cend(),
                                 [sid](const SpielerInfo& s) { return s.sid == sid; });
    if (it == spielerinfos_.cend() || it->deleted()) return;
    loadPlayer(sid);
    saveEnabled_ = false;
    saveCaption_ = kAendern;
    spielerCurrent_ = playerIndex(sid);
    bool ok = false;
    const int n = felder_.nummer.trimmed().toInt(&ok);
    loadedNumber_ = ok ? n : -1;
}

void Spielerverwaltung::newPlayer() {
    clearFields();
    saveEnabled_ = true;
    saveCaption_ = kSpeichern;
    forgetPlayer();
    rebuildPlayerList();
    clearClassSelection();
    vereinCurrent_ = -1;
    spielerCurrent_ = -1;
}

void Spielerverwaltung::chooseClub(const QString& club) {
    spielerCurrent_ = -1;
    clearClassSelection();
    // Without a class the partner lines would stand for nothing.
    partner_.clear();
    felder_.verein = club;
    markChanged();
    spielerliste_.clear();
    for (const auto& s : spielerinfos_)
        if (!s.deleted() && s.verein == club) spielerliste_.append({s.sid, s.text(), s.angemeldet});
    ++playerListVersion_;
    vereinCurrent_ = vereine_.indexOf(club);
}

void Spielerverwaltung::showAllPlayers() {
    rebuildPlayerList();
}

void Spielerverwaltung::searchPlayer(const QString& surnameText) {
    vereinCurrent_ = -1;
    const SpielerInfo* best = nullptr;
    for (const auto& s : spielerinfos_) {
        if (s.deleted() || !s.nachname.startsWith(surnameText, Qt::CaseInsensitive)) continue;
        if (!best || s.nachname < best->nachname ||
            (s.nachname == best->nachname && s.vorname < best->vorname))
            best = &s;
    }
    if (!best) return;
    const int i = playerIndex(best->sid);
    if (i >= 0) spielerCurrent_ = i;
}

void Spielerverwaltung::searchClub(const QString& clubText) {
    // The club list follows the typed text: the first club it begins, or none, never the club of the
    // player shown before.
    vereinCurrent_ = -1;
    if (clubText.isEmpty()) return;
    for (int i = 0; i < vereine_.size(); ++i) {
        if (vereine_[i].startsWith(clubText, Qt::CaseInsensitive)) {
            vereinCurrent_ = i;
            return;
        }
    }
}

void Spielerverwaltung::takeSearchedClub() {
    if (vereinCurrent_ >= 0 && vereinCurrent_ < vereine_.size()) chooseClub(vereine_[vereinCurrent_]);
}

Spielerverwaltung::Outcome Spielerverwaltung::setClassSelected(int index, bool selected) {
    if (index < 0 || index >= klassen_.size()) return {};
    const QVector<bool> before = auswahl_;
    const int kid = klassen_[index].kid;
    setClassSelection(index, selected);

    // A refusal leaves the entry unselected; whatever it was before, the lists follow.
    auto refuse = [&](SpielerFeld focus) {
        setClassSelection(index, false);
        removePartnerLineOf(kid);
        if (!auswahl_.contains(true)) partner_.clear();
        if (auswahl_ != before) {
            recomputeFee();
            felder_.zuzahlen = germanNumber(feeTotal_);
            markChanged();
        }
        return Outcome{false, focus};
    };

    const QString geb = felder_.geb.trimmed();
    const QDate birth = readGermanDate(geb);
    if (!geb.isEmpty() && !birth.isValid()) {
        interaction_.warning(kDatumFalsch);
        return refuse(SpielerFeld::Geburtsdatum);
    }
    state_.kid = kid;

    const Row sex =
        db_.selectOne(QStringLiteral("SELECT mann,frau FROM Turnierklassen WHERE KID=:ID"), {{":ID", kid}});
    const bool sexOk = (felder_.mann && sex.boolean(u"mann")) || (felder_.frau && sex.boolean(u"frau"));
    if (!sexOk && !interaction_.askYesNo(
                      QStringLiteral("Der Spieler entspricht nicht den Geschlechtskriterien dieser Klasse\n"
                                     "Spieler trotzdem für diese Klasse melden?")))
        return refuse(SpielerFeld::None);

    if (!geb.isEmpty() && selected) {
        const auto ageClass = ageClassOfClass(db_, kid);
        if (ageClass && !admitsBirthDate(*ageClass, birth) &&
            !interaction_.askYesNo(
                QStringLiteral("Der Spieler entspricht nicht den Alterskriterien dieser Klasse.\n"
                               "Spieler trotzdem für diese Klasse melden?")))
            return refuse(SpielerFeld::Geburtsdatum);
    }

    if (selected) {
        const bool hasLine = std::any_of(partner_.cbegin(), partner_.cend(),
                                         [kid](const PartnerLine& l) { return l.kid == kid; });
        if (klassen_[index].system != 0 && !hasLine)
            partner_.append({kid, klassen_[index].text + QStringLiteral(": ")});
    } else {
        removePartnerLineOf(kid);
    }
    recomputeFee();
    felder_.zuzahlen = germanNumber(feeTotal_);
    markChanged();
    return {true, SpielerFeld::None};
}

void Spielerverwaltung::markChanged() {
    if (!saveEnabled_) {
        saveEnabled_ = true;
        saveCaption_ = kAendern;
    }
    if (loadedName_.isEmpty()) {
        saveEnabled_ = true;
        saveCaption_ = kSpeichern;
    }
}

void Spielerverwaltung::setMann(bool on) {
    felder_.mann = on;
    felder_.frau = !on;
    markChanged();
}

void Spielerverwaltung::setFrau(bool on) {
    felder_.frau = on;
    felder_.mann = !on;
    markChanged();
}

void Spielerverwaltung::proposeStartNumber() {
    felder_.nummer = QString::number(nextFreeStartNumber(db_, state_.tid));
    markChanged();
}

void Spielerverwaltung::addSorted(QStringList& list, const QString& text) {
    if (text.isEmpty() || list.contains(text)) return;
    const QCollator collator = germanCollator();
    list.insert(std::upper_bound(list.begin(), list.end(), text, collator), text);
    ++valueListVersion_;
}

void Spielerverwaltung::addValue(Werteliste list, const QString& text) {
    addSorted(werte_[static_cast<int>(list)], text.trimmed());
}

void Spielerverwaltung::rememberValues(const Validated& v) {
    addSorted(vereine_, v.verein);
    addSorted(werte_[static_cast<int>(Werteliste::Kreisverband)], v.kverband);
    addSorted(werte_[static_cast<int>(Werteliste::Bezirksverband)], v.bverband);
    addSorted(werte_[static_cast<int>(Werteliste::Landesverband)], v.lverband);
    addSorted(werte_[static_cast<int>(Werteliste::Land)], v.land);
    addSorted(werte_[static_cast<int>(Werteliste::Spielklasse)], v.spklasse);
}

void Spielerverwaltung::partnerLineClicked(int row) {
    if (row < 0 || row >= partner_.size()) return;
    const QString text = partner_[row].text;
    if (text.startsWith(u'T')) {
        interaction_.message(
            Interaction::Icon::Information,
            QStringLiteral("Die Teamverwaltung kann nur von im Menüpunkt \"Teamverwaltung\" erfolgen"),
            Interaction::Button::Ok);
        return;
    }
    hook_->openPairing(*this, row, text.left(text.indexOf(u':') + 1));
}

void Spielerverwaltung::replacePartnerLine(int row, const QString& text) {
    if (row < 0 || row >= partner_.size()) return;
    const int kid = partner_[row].kid;
    partner_.removeAt(row);
    partner_.append({kid, text});
    markChanged();
    if (changed_) changed_();
}

std::optional<Spielerverwaltung::Validated> Spielerverwaltung::validate(Outcome& out) {
    if (felder_.nachname.trimmed().isEmpty()) {
        interaction_.warning(QStringLiteral("Bitte geben Sie einen Nachnamen ein"));
        out.focus = SpielerFeld::Nachname;
        return std::nullopt;
    }
    if (felder_.vorname.trimmed().isEmpty()) {
        interaction_.warning(QStringLiteral("Bitte geben Sie einen Vornamen ein"));
        out.focus = SpielerFeld::Vorname;
        return std::nullopt;
    }
    if (felder_.verein.trimmed().isEmpty()) felder_.verein = kOhneVerein;

    Validated v;
    const QString geb = felder_.geb.trimmed();
    if (!geb.isEmpty()) {
        v.geb = readGermanDate(geb);
        if (!v.geb.isValid()) {
            interaction_.warning(kDatumFalsch);
            out.focus = SpielerFeld::Geburtsdatum;
            return std::nullopt;
        }
    }

    const QString nummer = felder_.nummer.trimmed();
    if (!nummer.isEmpty()) {
        bool ok = false;
        const int n = nummer.toInt(&ok);
        if (!ok) {
            interaction_.error(QStringLiteral("Die Rückennummer muss eine ganze Zahl sein"));
            out.focus = SpielerFeld::Rueckennummer;
            return std::nullopt;
        }
        if (n != -99 && n != loadedNumber_ && startNumberInUse(db_, state_.tid, n)) {
            interaction_.error(QStringLiteral("Diese Rückennummer existiert bereits"));
            out.focus = SpielerFeld::Rueckennummer;
            return std::nullopt;
        }
        v.nummer = n;
    }

    const QString fee = felder_.zuzahlen.trimmed();
    if (!fee.isEmpty()) {
        v.zuzahlen = readGermanNumber(fee);
        if (!v.zuzahlen) {
            interaction_.warning(QStringLiteral("Die Startgebühr muss eine Zahl sein"));
            out.focus = SpielerFeld::Startgebuehr;
            return std::nullopt;
        }
    }

    v.nachname = felder_.nachname;
    v.vorname = felder_.vorname;
    v.verein = felder_.verein;
    v.kverband = felder_.kverband.trimmed();
    v.bverband = felder_.bverband.trimmed();
    v.lverband = felder_.lverband.trimmed();
    v.land = felder_.land.trimmed();
    v.spklasse = felder_.spklasse.trimmed();
    v.bezahlt = felder_.bezahlt;
    v.angemeldet = felder_.angemeldet;
    v.mann = felder_.mann;
    v.frau = felder_.frau;
    return v;
}

bool Spielerverwaltung::nameTaken(const QString& nachname, const QString& vorname, int exceptSid) {
    // Exact comparison: names that differ only in letter case are different players.
    return !db_.selectOne(
                   QStringLiteral("SELECT SID FROM Spielerdaten WHERE TID=:t AND nachname=:n AND vorname=:v "
                                  "AND SID<>:s"),
                   {{":t", state_.tid}, {":n", nachname}, {":v", vorname}, {":s", exceptSid}})
                .isEmpty();
}

Spielerverwaltung::Conflict Spielerverwaltung::conflictOf(const Validated& v, int exceptSid) {
    // Checked again under the table lock: another desk may have taken the name or the number since
    // the fields were checked.
    db_.lockTable(QStringLiteral("Spielerdaten"));
    if (nameTaken(v.nachname, v.vorname, exceptSid)) return Conflict::Name;
    if (v.nummer &&
        !db_.selectOne(QStringLiteral("SELECT SID FROM Spielerdaten WHERE TID=:t AND nummer=:n AND SID<>:s"),
                       {{":t", state_.tid}, {":n", *v.nummer}, {":s", exceptSid}})
             .isEmpty())
        return Conflict::Number;
    return Conflict::None;
}

Spielerverwaltung::Outcome Spielerverwaltung::refuse(Conflict conflict) {
    if (conflict == Conflict::Number) {
        interaction_.error(QStringLiteral("Diese Rückennummer existiert bereits"));
        return {false, SpielerFeld::Rueckennummer};
    }
    interaction_.warning(kNameVergeben);
    return {false, SpielerFeld::Nachname};
}

void Spielerverwaltung::writeEntries(int sid) {
    for (int kid : selectedKids())
        insertKlassenmeldung(db_, state_.tid, kid, sid);
}

Spielerverwaltung::Outcome Spielerverwaltung::insertPlayer(const Validated& v) {
    int sid = 0;
    Conflict conflict = Conflict::None;
    {
        Transaction t(db_);
        conflict = conflictOf(v, 0);
        if (conflict == Conflict::None) {
            sid = db_.nextId(QStringLiteral("Spielerdaten"), QStringLiteral("SID"));
            insertSpieler(db_, state_.tid, sid, v);
            writeEntries(sid);
            hook_->store(*this, sid);
            t.commit();
        }
    }
    // The message waits until the transaction is over, so no lock is held while the user reads it.
    if (conflict != Conflict::None) return refuse(conflict);

    spielerinfos_.append({sid, v.nachname, v.vorname, v.verein, v.angemeldet});
    spielerliste_.append({sid, spielerinfos_.last().text(), v.angemeldet});
    ++playerListVersion_;
    spielerCurrent_ = spielerliste_.size() - 1;
    rememberValues(v);
    saveEnabled_ = false;
    lastSid_ = sid;
    loadedSid_ = sid;
    loadedName_ = spielerinfos_.last().text();
    loadedNumber_ = v.nummer.value_or(-1);
    return {true, SpielerFeld::None};
}

Spielerverwaltung::Outcome Spielerverwaltung::updatePlayer(const Validated& v) {
    const int sid = loadedSid_;
    if (sid <= 0) return {};
    Conflict conflict = Conflict::None;
    {
        Transaction t(db_);
        conflict = conflictOf(v, sid);
        if (conflict == Conflict::None) {
            db_.exec(QStringLiteral(
                         "UPDATE Spielerdaten SET nachname=:d1, vorname=:d2, verein=:d3, geb=:d4, "
                         "nummer=:d5, kverband=:d6, bverband=:d7, lverband=:d8, land=:d9, zubezahlen=:d10,"
                         "bezahlt=:d11,angemeldet=:d12,mann=:d13,frau=:d14,spklasse=:d15 WHERE SID=:ID"),
                     {{":d1", v.nachname},
                      {":d2", v.vorname},
                      {":d3", v.verein},
                      {":d4", orNull(v.geb)},
                      {":d5", orNull(v.nummer)},
                      {":d6", v.kverband},
                      {":d7", v.bverband},
                      {":d8", v.lverband},
                      {":d9", v.land},
                      {":d10", orNull(v.zuzahlen)},
                      {":d11", v.bezahlt},
                      {":d12", v.angemeldet},
                      {":d13", v.mann},
                      {":d14", v.frau},
                      {":d15", v.spklasse},
                      {":ID", sid}});
            db_.exec(QStringLiteral("DELETE FROM Spieler_im_Turnier WHERE SID=:SID"), {{":SID", sid}});
            writeEntries(sid);
            hook_->store(*this, sid);
            t.commit();
        }
    }
    if (conflict != Conflict::None) return refuse(conflict);

    for (auto& s : spielerinfos_) {
        if (s.sid != sid) continue;
        s.nachname = v.nachname;
        s.vorname = v.vorname;
        s.verein = v.verein;
        s.angemeldet = v.angemeldet;
        loadedName_ = s.text();
    }
    const int row = playerIndex(sid);
    if (row >= 0) {
        spielerliste_[row].text = loadedName_;
        spielerliste_[row].angemeldet = v.angemeldet;
        ++playerListVersion_;
    }
    spielerCurrent_ = row;
    rememberValues(v);
    loadedNumber_ = v.nummer.value_or(-1);
    saveEnabled_ = false;
    return {true, SpielerFeld::None};
}

Spielerverwaltung::Outcome Spielerverwaltung::save() {
    Outcome out;
    const auto v = validate(out);
    if (!v) return out;
    const bool insert = saveEnabled_ && saveCaption_ == kSpeichern;
    const bool update = !insert && saveEnabled_ && saveCaption_ == kAendern;
    if (!insert && loadedSid_ <= 0) return {!update, SpielerFeld::None};

    // The name is refused before the pairing asks anything; the write checks it once more.
    if ((insert || update) && nameTaken(v->nachname, v->vorname, insert ? 0 : loadedSid_)) {
        interaction_.warning(kNameVergeben);
        return {false, SpielerFeld::Nachname};
    }
    // The pairing's questions come before the write, so the player and his pairs go in one transaction.
    if (!hook_->prepare(*this)) return {false, SpielerFeld::None};
    if (insert) return insertPlayer(*v);
    if (update) return updatePlayer(*v);

    // Nothing of the player changed: only his pairings are stored.
    Transaction t(db_);
    hook_->store(*this, loadedSid_);
    t.commit();
    return {true, SpielerFeld::None};
}

Spielerverwaltung::Outcome Spielerverwaltung::remove() {
    if (felder_.nachname.trimmed().isEmpty()) return {};
    if (!interaction_.askYesNo(QStringLiteral("Wollen Sie den Spieler \"") + felder_.nachname +
                               QStringLiteral(", ") + felder_.vorname +
                               QStringLiteral("\" wirklich löschen?")))
        return {};
    bool deleted = false;
    const SpielerInfo* found = findByName(felder_.nachname, felder_.vorname);
    if (found) {
        const int sid = found->sid;
        const QString club = found->verein;
        {
            Transaction t(db_);
            const Params p{{":SID", sid}};
            db_.exec(QStringLiteral("DELETE FROM Spielerdaten WHERE SID=:SID"), p);
            db_.exec(QStringLiteral("DELETE FROM Spieler_im_turnier WHERE SID=:SID"), p);
            db_.exec(QStringLiteral("DELETE FROM Doppelpartner WHERE SID=:SID"), p);
            db_.exec(QStringLiteral("UPDATE Doppelpartner SET partner_SID=NULL WHERE partner_SID=:SID"), p);
            t.commit();
        }
        deleted = true;
        for (auto& s : spielerinfos_)
            if (s.sid == sid) s.sid = -1;
        const int row = playerIndex(sid);
        if (row >= 0) {
            spielerliste_.removeAt(row);
            ++playerListVersion_;
        }
        const bool clubInUse =
            std::any_of(spielerinfos_.cbegin(), spielerinfos_.cend(),
                        [&](const SpielerInfo& s) { return !s.deleted() && s.verein == club; });
        if (!clubInUse && vereine_.removeAll(club) > 0) ++valueListVersion_;
    }
    clearFields();
    clearClassSelection();
    vereinCurrent_ = -1;
    spielerCurrent_ = -1;
    saveEnabled_ = false;
    saveCaption_ = kSpeichern;
    forgetPlayer();
    return {deleted, SpielerFeld::None};
}
