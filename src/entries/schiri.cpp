#include "entries/schiri.h"

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QLocale>
#include <QVariant>
#include <algorithm>

const QString Schiriverwaltung::kSpeichern = QStringLiteral("Speichern");
const QString Schiriverwaltung::kAenderungUebernehmen = QStringLiteral("Änderung übernehmen");

namespace {

const QString kOhneVerein = QStringLiteral("ohne Verein");

QString kindSuffix(int system) {
    switch (system) {
    case 0:
        return QStringLiteral(" (Einzel)");
    case 1:
        return QStringLiteral(" (Doppel)");
    case 2:
        return QStringLiteral(" (Mixed)");
    case 3:
        return QStringLiteral(" (Team)");
    default:
        return QString();
    }
}

// Value lists read alphabetically as a German reader expects: letter case and umlauts do not push a
// value to the end.
const QCollator& germanCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

bool lessGerman(const QString& a, const QString& b) {
    const int c = germanCollator().compare(a, b);
    return c != 0 ? c < 0 : a < b; // values that differ only in case keep a fixed order
}

void addSorted(QStringList& list, const QString& value) {
    if (value.isEmpty() || list.contains(value)) return;
    list.insert(std::lower_bound(list.begin(), list.end(), value, lessGerman) - list.begin(), value);
}

QStringList distinctValues(Tdb_procedures& db, const QString& column, int tid) {
    const Rows rows = db.select(
        QStringLiteral("SELECT DISTINCT %1 FROM Spielerdaten WHERE TID=:k").arg(column), {{":k", tid}});
    QStringList values;
    values.reserve(rows.size());
    for (const Row& r : rows) {
        const QString v = r.text(column);
        if (!v.trimmed().isEmpty() && !values.contains(v)) values << v;
    }
    std::sort(values.begin(), values.end(), lessGerman);
    return values;
}

QVariant birthValue(const std::optional<QDate>& birth) {
    return birth ? QVariant(*birth) : QVariant();
}

} // namespace

std::optional<QDate> parseGermanDate(const QString& text) {
    const QString t = text.trimmed();
    const QDate d = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    if (!d.isValid()) return std::nullopt;
    return d;
}

Schiriverwaltung::Schiriverwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction)
    : state_(state), db_(db), interaction_(interaction), saveCaption_(kSpeichern) {}

QString Schiriverwaltung::nameText() const {
    return fields_.nachname + QStringLiteral(", ") + fields_.vorname;
}

int Schiriverwaltung::indexOfName(const QString& name) const {
    for (int i = 0; i < entries_.size(); ++i)
        if (entries_[i].name == name) return i;
    return -1;
}

void Schiriverwaltung::setSelectedEntry(int index) {
    selected_ = index >= 0 && index < entries_.size() ? index : -1;
}

void Schiriverwaltung::open() {
    entries_.clear();
    classes_.clear();
    values_ = {};
    selected_ = -1;
    selectedClasses_.clear();
    clearFields();
    searchText_.clear();
    loadedName_.clear();
    loadedId_ = 0;
    saveEnabled_ = false;
    saveCaption_ = kSpeichern;
    fillLists();
}

void Schiriverwaltung::fillLists() {
    const int tid = state_.tid;
    const Rows classRows = db_.select(
        QStringLiteral("SELECT KID,system,kbezeichnung FROM Turnierklassen WHERE TID=:ID ORDER BY KID"),
        {{":ID", tid}});
    classes_.reserve(classRows.size());
    for (const Row& r : classRows)
        classes_.append({r.integer(u"KID"), r.text(u"kbezeichnung") + kindSuffix(r.integer(u"system"))});

    values_.vereine = distinctValues(db_, QStringLiteral("verein"), tid);
    values_.kverband = distinctValues(db_, QStringLiteral("kverband"), tid);
    values_.bverband = distinctValues(db_, QStringLiteral("bverband"), tid);
    values_.lverband = distinctValues(db_, QStringLiteral("lverband"), tid);
    values_.land = distinctValues(db_, QStringLiteral("land"), tid);
    values_.spielklasse = distinctValues(db_, QStringLiteral("spklasse"), tid);

    // Ordered by id, so the list shows umpires in the order they were entered on either engine.
    const Rows umpires =
        db_.select(QStringLiteral("SELECT * FROM Schiri WHERE TID=:k ORDER BY SCHIRIID"), {{":k", tid}});
    entries_.reserve(umpires.size());
    for (const Row& r : umpires)
        entries_.append({r.integer(u"SCHIRIID"), r.text(u"snname") + QStringLiteral(", ") + r.text(u"svname"),
                         r.text(u"sverein"), r.boolean(u"sangemeldet")});
}

void Schiriverwaltung::clearFields() {
    fields_ = {};
}

void Schiriverwaltung::load(int schiriId) {
    clearFields();
    const Row r =
        db_.selectOne(QStringLiteral("SELECT * FROM Schiri WHERE SCHIRIID=:ID"), {{":ID", schiriId}});
    fields_.nachname = r.text(u"snname");
    fields_.vorname = r.text(u"svname");
    loadedName_ = nameText();
    loadedId_ = schiriId;
    if (!r.isNull(u"sgeb")) fields_.geburtstag = r.date(u"sgeb").toString(QStringLiteral("dd.MM.yyyy"));
    fields_.verein = r.text(u"sverein");
    fields_.kverband = r.text(u"skverband");
    fields_.bverband = r.text(u"sbverband");
    fields_.lverband = r.text(u"slverband");
    fields_.land = r.text(u"sland");
    fields_.spielklasse = r.text(u"sklasse");
    fields_.angemeldet = r.boolean(u"sangemeldet");
    if (!r.isNull(u"smemo")) fields_.memo = r.text(u"smemo");

    selectedClasses_.clear();
    const Rows kids = db_.select(QStringLiteral("SELECT KID FROM Schiri_im_turnier WHERE SCHIRIID=:ID"),
                                 {{":ID", schiriId}});
    for (const Row& k : kids)
        selectedClasses_.insert(k.integer(u"KID"));
}

void Schiriverwaltung::choose(int index) {
    if (index < 0 || index >= entries_.size()) return;
    load(entries_[index].schiriId);
    selected_ = index;
    searchText_ = fields_.nachname;
    saveEnabled_ = false;
    saveCaption_ = kAenderungUebernehmen;
}

int Schiriverwaltung::search(const QString& searchText) {
    searchText_ = searchText;
    const Row r = db_.selectOne(
        QStringLiteral(
            "SELECT snname,svname FROM Schiri WHERE TID=:bez AND snname LIKE :name ORDER BY snname,svname"),
        {{":bez", state_.tid}, {":name", searchText + u'%'}});
    if (!r.isEmpty()) {
        const int index = indexOfName(r.text(u"snname") + QStringLiteral(", ") + r.text(u"svname"));
        if (index >= 0) selected_ = index;
    }
    return selected_;
}

void Schiriverwaltung::newUmpire() {
    clearFields();
    // The surname field starts empty, and so does the search typed into it.
    searchText_.clear();
    loadedName_.clear();
    loadedId_ = 0;
    saveEnabled_ = true;
    saveCaption_ = kSpeichern;
    selected_ = -1;
    selectedClasses_.clear();
}

void Schiriverwaltung::markChanged() {
    if (!saveEnabled_) {
        saveEnabled_ = true;
        saveCaption_ = kAenderungUebernehmen;
    }
    if (loadedName_.isEmpty()) {
        saveEnabled_ = true;
        saveCaption_ = kSpeichern;
    }
}

void Schiriverwaltung::save() {
    if (fields_.nachname.trimmed().isEmpty()) {
        interaction_.error(QStringLiteral("Bitte geben Sie einen Nachnamen ein"));
        return;
    }
    if (fields_.vorname.trimmed().isEmpty()) {
        interaction_.error(QStringLiteral("Bitte geben Sie einen Vornamen ein"));
        return;
    }
    if (fields_.verein.trimmed().isEmpty()) fields_.verein = kOhneVerein;

    std::optional<QDate> birth;
    if (!fields_.geburtstag.trimmed().isEmpty()) {
        birth = parseGermanDate(fields_.geburtstag);
        if (!birth) {
            interaction_.error(QStringLiteral("Das Geburtsdatum wurde nicht korrekt eingegeben"));
            return;
        }
    }

    const QString duplicate = QStringLiteral("Ein Schiedsrichter mit diesem Namen existiert bereits");
    if (saveEnabled_ && saveCaption_ == kSpeichern) {
        if (indexOfName(nameText()) >= 0) {
            interaction_.error(duplicate);
            return;
        }
        insert(birth);
    }
    if (!saveEnabled_ || saveCaption_ != kAenderungUebernehmen) return;
    // Changes belong to the umpire whose data the fields show, even when a search has moved the
    // selection to another line since.
    if (loadedId_ <= 0) return;

    const QString name = nameText();
    if (name == loadedName_ || indexOfName(name) < 0)
        update(loadedId_, birth);
    else
        interaction_.error(duplicate);
}

void Schiriverwaltung::writeClasses(int schiriId) {
    for (const SchiriClass& c : std::as_const(classes_)) {
        if (!selectedClasses_.contains(c.kid)) continue;
        db_.exec(QStringLiteral("INSERT INTO Schiri_im_turnier VALUES (:TID,:SID,:KID)"),
                 {{":TID", state_.tid}, {":SID", schiriId}, {":KID", c.kid}});
    }
}

void Schiriverwaltung::insert(const std::optional<QDate>& birth) {
    const SchiriFields& f = fields_;
    const QString verein = f.verein.trimmed();
    Transaction t(db_);
    const int id = db_.nextId(QStringLiteral("Schiri"), QStringLiteral("SCHIRIID"));
    db_.exec(
        QStringLiteral("INSERT INTO Schiri VALUES (:d0,:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,:d12)"),
        {{":d0", state_.tid},
         {":d1", id},
         {":d2", f.nachname},
         {":d3", f.vorname},
         {":d4", birthValue(birth)},
         {":d5", verein},
         {":d6", f.angemeldet},
         {":d7", f.kverband.trimmed()},
         {":d8", f.bverband.trimmed()},
         {":d9", f.lverband.trimmed()},
         {":d10", f.land.trimmed()},
         {":d11", f.memo.trimmed()},
         {":d12", f.spielklasse.trimmed()}});
    writeClasses(id);
    t.commit();

    // The lists change only once the rows are stored, so a failed insert leaves them as they were.
    entries_.append({id, nameText(), verein, f.angemeldet});
    loadedId_ = id;
    selected_ = entries_.size() - 1;
    addSorted(values_.vereine, verein);
    addSorted(values_.kverband, f.kverband.trimmed());
    addSorted(values_.bverband, f.bverband.trimmed());
    addSorted(values_.lverband, f.lverband.trimmed());
    addSorted(values_.land, f.land.trimmed());
    saveEnabled_ = false;
    loadedName_ = nameText();
}

void Schiriverwaltung::update(int schiriId, const std::optional<QDate>& birth) {
    const SchiriFields& f = fields_;
    Transaction t(db_);
    db_.exec(
        QStringLiteral("UPDATE Schiri SET snname=:d1, svname=:d2, sverein=:d3, sgeb=:d4, skverband=:d5, "
                       "sbverband=:d6, slverband=:d7, sland=:d8, sangemeldet=:d9, smemo=:d10, sklasse=:d11 "
                       "WHERE SCHIRIID=:ID"),
        {{":d1", f.nachname},
         {":d2", f.vorname},
         {":d3", f.verein},
         {":d4", birthValue(birth)},
         {":d5", f.kverband.trimmed()},
         {":d6", f.bverband.trimmed()},
         {":d7", f.lverband.trimmed()},
         {":d8", f.land.trimmed()},
         {":d9", f.angemeldet},
         {":d10", f.memo.trimmed()},
         {":d11", f.spielklasse.trimmed()},
         {":ID", schiriId}});
    db_.exec(QStringLiteral("DELETE FROM Schiri_im_Turnier WHERE SCHIRIID=:SID"), {{":SID", schiriId}});
    writeClasses(schiriId);
    t.commit();

    // The updated umpire's line moves to the end of the list with its new name, and stays selected.
    for (int i = 0; i < entries_.size(); ++i)
        if (entries_[i].schiriId == schiriId) {
            entries_.removeAt(i);
            break;
        }
    entries_.append({schiriId, nameText(), f.verein, f.angemeldet});
    selected_ = entries_.size() - 1;
    loadedName_ = nameText();
    saveEnabled_ = false;
}

void Schiriverwaltung::remove() {
    // The question names the umpire the fields show; that one is deleted, whatever line is selected.
    if (fields_.nachname.trimmed().isEmpty() || loadedId_ <= 0) return;
    if (!interaction_.askYesNo(QStringLiteral("Wollen Sie den Schiedsrichter \"") + fields_.nachname +
                               QStringLiteral(", ") + fields_.vorname +
                               QStringLiteral("\" wirklich löschen?")))
        return;
    const int id = loadedId_;
    Transaction t(db_);
    db_.exec(QStringLiteral("DELETE FROM Schiri WHERE SCHIRIID=:SID"), {{":SID", id}});
    db_.exec(QStringLiteral("DELETE FROM Schiri_im_turnier WHERE SCHIRIID=:SID"), {{":SID", id}});
    t.commit();

    for (int i = 0; i < entries_.size(); ++i)
        if (entries_[i].schiriId == id) {
            entries_.removeAt(i);
            break;
        }
    selected_ = -1;
    clearFields();
    selectedClasses_.clear();
    searchText_.clear();
    loadedName_.clear();
    loadedId_ = 0;
    saveEnabled_ = false;
    saveCaption_ = kSpeichern;
}
