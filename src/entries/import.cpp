#include "entries/import.h"

#include "common/interaction.h"
#include "entries/import_formular.h"
#include "entries/import_zip.h"
#include "entries/partnercheck.h"
#include "entries/spieler.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>

namespace {

const QString kNachname = QStringLiteral("Nachname");
const QString kVorname = QStringLiteral("Vorname");
const QString kVerein = QStringLiteral("Verein");
const QString kGeburtstag = QStringLiteral("Geburtstag");
const QString kLand = QStringLiteral("Land");
const QString kLandesverband = QStringLiteral("Landesverband");
const QString kBundesverband = QStringLiteral("Bundesverband");
const QString kKreisverband = QStringLiteral("Kreisverband");
const QString kOhneVerein = QStringLiteral("ohne Verein");

// The staging column is this wide on the server.
constexpr int kSpielklasseBreite = 50;

QDate datumAus(const QString& text) {
    const QDate d = readGermanDate(text);
    if (d.isValid()) return d;
    return QDate::fromString(text.trimmed(), Qt::ISODate);
}

// The field a header cell names, or empty.
QString feldVonKopf(const QString& zelle) {
    const QString z = zelle.trimmed();
    for (const QString& f : Importquelle::vorhandeneDaten())
        if (z.compare(f, Qt::CaseInsensitive) == 0) return f;
    if (z.compare(QLatin1String("Geburtsdatum"), Qt::CaseInsensitive) == 0) return kGeburtstag;
    return {};
}

QString schluessel(const QString& nachname, const QString& vorname) {
    return nachname + QChar(0x1F) + vorname;
}

} // namespace

Quellart quellartVon(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    // The old binary formats go the same way, so their readers can say what to do with them.
    if (suffix == u"docx" || suffix == u"doc") return Quellart::Formular;
    if (suffix == u"xlsx" || suffix == u"xls" || suffix == u"csv" || suffix == u"txt")
        return Quellart::Tabelle;
    return Quellart::Turnierdatei;
}

QStringList Importquelle::vorhandeneDaten() {
    return {kNachname, kVorname, kVerein, kGeburtstag, kLand, kLandesverband, kBundesverband, kKreisverband};
}

Importquelle::Importquelle(AppState& state, Tdb_procedures& db, Interaction& interaction)
    : state_(state), db_(db), interaction_(interaction) {}

bool Importquelle::oeffnen(const QString& path) {
    art_ = quellartVon(path);
    pfad_ = path;
    turniere_.clear();
    gewaehltesTurnier = -1;
    tabelle_ = Tabelle();
    reihenfolge_.clear();
    kopfzeile_ = false;
    formularVerein_.clear();
    formularSpieler_.clear();
    try {
        switch (art_) {
        case Quellart::Turnierdatei:
            turniere_ = importturnierdatei::turniere(path);
            if (!turniere_.isEmpty()) gewaehltesTurnier = 0;
            return true;
        case Quellart::Tabelle: {
            Tabelle t = importtabelle::lesen(path);
            interaction_.progress(t.spalten, t.spalten);
            // A first row that names the name columns is a header: it presets the order as far as its
            // cells name fields one after another.
            const QStringList& kopf = t.zeilen.first();
            QStringList felder;
            for (const QString& z : kopf)
                felder << feldVonKopf(z);
            kopfzeile_ = felder.contains(kNachname) && felder.contains(kVorname);
            if (kopfzeile_) {
                for (const QString& f : felder) {
                    if (f.isEmpty() || reihenfolge_.contains(f)) break;
                    reihenfolge_ << f;
                }
            }
            tabelle_ = std::move(t);
            interaction_.progress(0, 0);
            return true;
        }
        case Quellart::Formular:
            return formularLesen(path);
        }
    } catch (const ImportFehler& e) {
        interaction_.progress(0, 0);
        art_ = quellartVon(path);
        tabelle_ = Tabelle();
        reihenfolge_.clear();
        kopfzeile_ = false;
        interaction_.error(e.message());
    }
    return false;
}

bool Importquelle::formularLesen(const QString& path) {
    const Formular form = importformular::lesen(path);
    const int spalten = form.kids.size();
    const int schritte = 17 * spalten + 16;

    QSet<int> eigene;
    for (const Row& r :
         db_.select(QStringLiteral("SELECT KID FROM Turnierklassen WHERE TID=:ID"), {{":ID", state_.tid}}))
        eigene.insert(r.integer(u"KID"));

    const QString verein = form.verein.isEmpty() ? kOhneVerein : form.verein;
    QList<Importitem> spieler;
    bool fremdeKlassen = false;
    int schritt = 0;
    try {
        Transaction t(db_);
        db_.exec(QStringLiteral("DELETE FROM Import"));
        for (const Formular::Zeile& z : form.zeilen) {
            Importitem item;
            item.sid = Importitem::kFormular;
            item.nachname = z.nachname;
            item.vorname = z.vorname;
            item.verein = verein;
            item.spielklasse = z.spielklasse;
            item.mann = true;
            item.frau = false;
            for (int k = 0; k < spalten; ++k) {
                if (!z.klassen.value(k)) continue;
                const int kid = form.kids[k];
                db_.exec(QStringLiteral("INSERT INTO Import VALUES (:d1,:d2,:d3,:d4,:d5)"),
                         {{":d1", z.nachname},
                          {":d2", z.vorname},
                          {":d3", kid},
                          {":d4", verein},
                          {":d5", z.spielklasse.left(kSpielklasseBreite)}});
                if (eigene.contains(kid))
                    item.kids << kid;
                else
                    fremdeKlassen = true;
            }
            schritt += spalten + 1;
            interaction_.progress(std::min(schritt, schritte), schritte);
            spieler.prepend(item);
        }
        t.commit();
    } catch (const DbError&) {
        interaction_.progress(0, 0);
        interaction_.error(QStringLiteral("Es trat ein Fehler auf!"));
        return false;
    }
    interaction_.progress(0, 0);
    formularVerein_ = form.verein;
    formularSpieler_ = spieler;
    if (fremdeKlassen)
        interaction_.warning(
            QStringLiteral("Das Anmeldeformular %1 nennt Klassen, die es in diesem Turnier nicht "
                           "gibt; für sie werden keine Meldungen übernommen.")
                .arg(importdatei::dateiname(path)));
    return true;
}

void Importquelle::anReihenfolge(const QString& feld) {
    if (vorhandeneDaten().contains(feld) && !reihenfolge_.contains(feld)) reihenfolge_ << feld;
}

void Importquelle::ausReihenfolge(const QString& feld) {
    reihenfolge_.removeAll(feld);
}

std::optional<QList<Importitem>> Importquelle::kandidaten() {
    switch (art_) {
    case Quellart::Turnierdatei: {
        if (gewaehltesTurnier < 0 || gewaehltesTurnier >= turniere_.size()) {
            interaction_.error(QStringLiteral("Daten konnten nicht übernommen werden"));
            return std::nullopt;
        }
        QList<importturnierdatei::Spieler> quelle;
        try {
            quelle = importturnierdatei::spieler(pfad_, turniere_[gewaehltesTurnier].tid);
        } catch (const ImportFehler& e) {
            interaction_.error(QStringLiteral("Daten konnten nicht übernommen werden\n\n") + e.message());
            return std::nullopt;
        }
        QList<Importitem> out;
        out.reserve(quelle.size());
        for (const auto& s : quelle) {
            Importitem i;
            i.sid = s.sid;
            i.nachname = s.nachname;
            i.vorname = s.vorname;
            i.verein = s.verein;
            i.geb = s.geb;
            i.mann = s.mann;
            i.frau = s.frau;
            i.kverband = s.kverband;
            i.bverband = s.bverband;
            i.lverband = s.lverband;
            i.land = s.land;
            out << i;
        }
        return out;
    }
    case Quellart::Tabelle:
        return tabellenKandidaten();
    case Quellart::Formular:
        return formularSpieler_;
    }
    return std::nullopt;
}

std::optional<QList<Importitem>> Importquelle::tabellenKandidaten() {
    const QString mindestens =
        QStringLiteral("Sie müssen mindestens die Felder Nachname und Vorname ausgewählt haben");
    if (!reihenfolge_.contains(kNachname) || !reihenfolge_.contains(kVorname) || tabelle_.spalten <= 1) {
        interaction_.error(mindestens, Interaction::Button::Ok);
        return std::nullopt;
    }
    if (reihenfolge_.size() > tabelle_.spalten) {
        interaction_.error(
            QStringLiteral("Sie können nicht mehr Spalten als im Excelformular vorhanden sind auswählen "));
        return std::nullopt;
    }
    QList<Importitem> out;
    out.reserve(tabelle_.zeilen.size());
    for (int r = kopfzeile_ ? 1 : 0; r < tabelle_.zeilen.size(); ++r) {
        const QStringList& zeile = tabelle_.zeilen[r];
        Importitem i;
        i.sid = Importitem::kTabelle;
        for (int c = 0; c < reihenfolge_.size(); ++c) {
            const QString& feld = reihenfolge_[c];
            const QString v = zeile.value(c).trimmed();
            if (feld == kNachname)
                i.nachname = v;
            else if (feld == kVorname)
                i.vorname = v;
            else if (feld == kVerein)
                i.verein = v;
            else if (feld == kGeburtstag)
                i.geb = datumAus(v);
            else if (feld == kLand)
                i.land = v;
            else if (feld == kLandesverband)
                i.lverband = v;
            else if (feld == kBundesverband)
                i.bverband = v;
            else if (feld == kKreisverband)
                i.kverband = v;
        }
        if (i.nachname.isEmpty() || i.vorname.isEmpty()) continue;
        if (i.verein.isEmpty()) i.verein = kOhneVerein;
        out << i;
    }
    return out;
}

Spielerimport::Spielerimport(AppState& state, Tdb_procedures& db, Interaction& interaction)
    : state_(state), db_(db), interaction_(interaction) {}

void Spielerimport::leeren() {
    liste1_.clear();
    liste2_.clear();
    auswahl1.clear();
    auswahl2.clear();
}

void Spielerimport::setKandidaten(const QList<Importitem>& items) {
    liste1_ = items;
    auswahl1.clear();
    for (int i = 0; i < liste1_.size(); ++i)
        auswahl1 << i;
}

namespace {

// Moves the selected lines whose text the other list does not have yet; the order is kept.
void verschieben(QList<Importitem>& von, QList<int>& auswahl, QList<Importitem>& nach) {
    QList<int> sel = auswahl;
    std::sort(sel.begin(), sel.end());
    sel.erase(std::unique(sel.begin(), sel.end()), sel.end());
    QSet<QString> texte;
    for (const Importitem& i : nach)
        texte.insert(i.text());
    QList<Importitem> bleibt, geht;
    int s = 0;
    for (int i = 0; i < von.size(); ++i) {
        const bool gewaehlt = s < sel.size() && sel[s] == i;
        if (gewaehlt) ++s;
        if (gewaehlt && !texte.contains(von[i].text())) {
            texte.insert(von[i].text());
            geht << von[i];
        } else {
            bleibt << von[i];
        }
    }
    von = bleibt;
    nach += geht;
    auswahl.clear();
}

} // namespace

void Spielerimport::hinzufuegen() {
    verschieben(liste1_, auswahl1, liste2_);
}

void Spielerimport::entfernen() {
    verschieben(liste2_, auswahl2, liste1_);
}

Spielerimport::Ergebnis Spielerimport::importieren() {
    Ergebnis e;
    const int tid = state_.tid;
    const int anzahl = liste2_.size();
    try {
        Transaction t(db_);
        // Under the lock no other desk adds a player of the same name between the check and the insert.
        db_.lockTable(QStringLiteral("Spielerdaten"));
        QSet<QString> namen;
        for (const Row& r : db_.select(
                 QStringLiteral("SELECT nachname,vorname FROM Spielerdaten WHERE TID=:ID"), {{":ID", tid}}))
            namen.insert(schluessel(r.text(u"nachname"), r.text(u"vorname")));
        QHash<int, int> systeme;
        for (const Row& r : db_.select(QStringLiteral("SELECT KID,system FROM Turnierklassen WHERE TID=:ID"),
                                       {{":ID", tid}}))
            systeme.insert(r.integer(u"KID"), r.integer(u"system"));

        int sid = db_.nextId(QStringLiteral("Spielerdaten"), QStringLiteral("SID"));
        for (int n = 0; n < anzahl; ++n) {
            const Importitem& item = liste2_[n];
            const QString key = schluessel(item.nachname, item.vorname);
            if (namen.contains(key)) {
                e.vorhanden << item;
                continue;
            }
            SpielerDatensatz s;
            s.nachname = item.nachname;
            s.vorname = item.vorname;
            s.verein = item.verein;
            s.geb = item.geb;
            s.kverband = item.kverband;
            s.bverband = item.bverband;
            s.lverband = item.lverband;
            s.land = item.land;
            s.spklasse = item.ausFormular() ? item.spielklasse : QString();
            s.mann = item.mann;
            s.frau = item.frau;
            insertSpieler(db_, tid, sid, s);
            QList<int> kids = item.kids;
            std::sort(kids.begin(), kids.end());
            kids.erase(std::unique(kids.begin(), kids.end()), kids.end());
            for (int kid : kids) {
                if (!systeme.contains(kid)) continue;
                insertKlassenmeldung(db_, tid, kid, sid);
                // Doubles, mixed and team entries start without partner or team.
                if (systeme.value(kid) != 0) doppelinsert(db_, kid, sid, 0);
            }
            namen.insert(key);
            ++sid;
            ++e.importiert;
            if (n % 50 == 49) interaction_.progress(n + 1, anzahl);
        }
        t.commit();
    } catch (...) {
        interaction_.progress(0, 0);
        throw;
    }
    interaction_.progress(0, 0);
    leeren();
    if (!e.vorhanden.isEmpty()) {
        QString text =
            QStringLiteral("Diese Spieler gibt es in diesem Turnier schon; sie wurden nicht importiert:\n");
        for (const Importitem& i : e.vorhanden)
            text += QStringLiteral("\n") + i.text() + QStringLiteral(" (") + i.verein + QStringLiteral(")");
        interaction_.information(text);
    }
    interaction_.plain(QStringLiteral("Der Import wurde abgeschlossen."));
    return e;
}
