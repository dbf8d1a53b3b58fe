#include "output/htmlexport.h"

#include "common/classkind.h"
#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QUrl>
#include <cstdio>

namespace exportdatei {

QString nichtGeschrieben(const QString& path) {
    return QStringLiteral("Die Datei „%1“ konnte nicht geschrieben werden.")
        .arg(QDir::toNativeSeparators(path));
}

void schreiben(const QString& path, const QByteArray& bytes) {
    // QSaveFile writes to a temporary file beside the target and renames it on commit; a failed write
    // removes the temporary file and leaves an older file of that name as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ExportFehler(nichtGeschrieben(path));
}

void schreibenUeber(const QString& path, const std::function<bool(const QString& temp)>& schreiber) {
    const QFileInfo ziel(path);
    // The temporary name lies beside the target, so the final rename stays on one file system and
    // replaces an older file in one step. It is created as an ordinary new file (not a QTemporaryFile,
    // which is owner-only), so the export ends up with the permissions every new file of the user gets.
    QString temp;
    for (int versuch = 0; versuch < 100; ++versuch) {
        const QString name = ziel.absolutePath() + QStringLiteral("/.") + ziel.fileName() + QLatin1Char('.') +
                             QString::number(QRandomGenerator::global()->generate(), 36);
        QFile neu(name);
        if (neu.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            temp = name;
            break;
        }
        if (!QFile::exists(name)) break; // no name clash: the folder cannot be written
    }
    if (temp.isEmpty()) throw ExportFehler(nichtGeschrieben(path));
    const bool ok = schreiber(temp) && std::rename(QFile::encodeName(temp).constData(),
                                                   QFile::encodeName(path).constData()) == 0;
    if (!ok) {
        QFile::remove(temp);
        throw ExportFehler(nichtGeschrieben(path));
    }
}

} // namespace exportdatei

namespace htmlexport {

namespace {

const QString kNbsp = QStringLiteral("&nbsp;");

// A page built line by line; every line ends with CR LF.
class Puffer {
public:
    Puffer& operator<<(const QString& line) {
        text_ += line;
        text_ += QLatin1String("\r\n");
        return *this;
    }
    QString text() const { return text_; }

private:
    QString text_;
};

// The opening lines shared by every page: UTF-8, the phone-friendly viewport and the stylesheet.
void kopf(Puffer& p, const QString& titel) {
    p << QStringLiteral("<!DOCTYPE html>") << QStringLiteral("<html>") << QStringLiteral("<head>")
      << QStringLiteral("<meta charset=\"utf-8\">")
      << QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">")
      << QStringLiteral("<title>") + escape(titel) + QStringLiteral("</title>")
      << QStringLiteral("<link rel=\"stylesheet\" href=\"") + stylesheetDatei() + QStringLiteral("\">")
      << QStringLiteral("</head>");
}

QString datum(const QDate& d) {
    return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QString zeitpunkt(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("dd.MM.yyyy hh:mm")) : QString();
}

// An escaped value, or &nbsp; when it is empty, so the cell keeps its border.
QString wertOderLeer(const QString& v) {
    return v.isEmpty() ? kNbsp : escape(v);
}

QString zelle(const QString& v) {
    return QStringLiteral("<td>") + wertOderLeer(v) + QStringLiteral("</td>");
}

QString personName(const Row& r, const QString& nachname, const QString& vorname) {
    return r.text(nachname) + QStringLiteral(", ") + r.text(vorname);
}

// Set scores as entered: -100 is how "-0" is stored.
QString satzText(const Row& r, int n) {
    const QString col = QStringLiteral("satz%1").arg(n);
    if (r.isNull(col)) return {};
    const int v = r.integer(col);
    return v == -100 ? QStringLiteral("-0") : QString::number(v);
}

QString link(const QString& key, const QString& prefix) {
    return QString::fromLatin1(QUrl::toPercentEncoding(prefix + key + QStringLiteral(".html")));
}

Seite frameset(const QString& datei, const QString& turniername) {
    Puffer p;
    p << QStringLiteral("<!DOCTYPE html>") << QStringLiteral("<html>") << QStringLiteral("<head>")
      << QStringLiteral("<meta charset=\"utf-8\">")
      << QStringLiteral("<title>") + escape(turniername) + QStringLiteral("</title>")
      << QStringLiteral("</head>") << QStringLiteral("<frameset rows=\"50px,*\" border=\"0\">")
      << QStringLiteral("  <frame src=\"titel.html\" name=\"titel\" noresize scrolling=no>")
      << QStringLiteral("  <frameset cols=\"150px,*\" border=\"0\">")
      << QStringLiteral("    <frame src=\"navigation.html\" name=\"navi\" noresize>")
      << QStringLiteral("    <frame src=\"turnierdaten.html\" name=\"daten\" noresize>")
      << QStringLiteral(" </frameset>") << QStringLiteral("</frameset>") << QStringLiteral("</html>");
    return {datei, p.text()};
}

Seite navigation() {
    Puffer p;
    kopf(p, QStringLiteral("Navigation"));
    p << QStringLiteral("<body bgcolor=\"#99F9D0\" class=\"navigation\">")
      << QStringLiteral("<li><a href=\"turnierdaten.html\" target=\"daten\">Home</a><br><br></li>")
      << QStringLiteral("<li><a href=\"klassenindex.html\" target=\"daten\">Turnierklassen</a><br><br></li>")
      << QStringLiteral("<li><a href=\"spielerdaten.html\" target=\"daten\">Spielerdaten</a><br><br></li>")
      << QStringLiteral("<li><a href=\"schiri.html\" target=\"daten\">Schiedsrichter</a><br><br></li>")
      << QStringLiteral("<li><a href=\"spielplanindex.html\" target=\"daten\">Spielpläne</a><br></li>")
      << QStringLiteral("</body>") << QStringLiteral("</html>");
    return {QStringLiteral("navigation.html"), p.text()};
}

Seite titel() {
    Puffer p;
    kopf(p, QStringLiteral("Velmora"));
    p << QStringLiteral("<body bgcolor=\"darkblue\" class=\"titel\">")
      << QStringLiteral("<div align=\"right\">")
      << QStringLiteral("<font face=\"Arial\" size=\"5\" color=\"white\">")
      << QStringLiteral("<p>Velmora v.1.0</p>") << QStringLiteral("</font>") << QStringLiteral("</div>")
      << QStringLiteral("</body>") << QStringLiteral("</html>");
    return {QStringLiteral("titel.html"), p.text()};
}

Seite turnierdaten(Tdb_procedures& db, int tid, const QString& turniername) {
    struct Feld {
        const char* spalte;
        const char* label;
        bool datum;
    };
    static const Feld felder[] = {
        {"turniername", "Turniername", false},
        {"zusatz", "Zusatz", false},
        {"austragungsort", "Austragungsort", false},
        {"tvon", "Von", true},
        {"tbis", "Bis", true},
        {"startberechtigung", "Startberechtigung", false},
        {"turniermodus", "Turniermodus", false},
        {"veranstalter", "Veranstalter", false},
        {"homepage", "Homepage", false},
        {"turnierleitung", "Turnierleitung", false},
        {"gesamtleitung", "Gesamtleitung", false},
        {"schiedsrichter", "Schiedsrichter", false},
        {"osr", "Oberschiedsrichter", false},
        {"meldeschluss", "Meldeschluss", true},
        {"auslosung", "Auslosung", true},
        {"meldeinfo", "Meldeinfo", false},
        {"meldung_an", "Meldung an", false},
        {"ainfo", "Anmeldungsinfo", false},
        {"tische", "Tische", false},
        {"baelle", "Bälle", false},
        {"netze", "Netze", false},
        {"zaehlgeraete", "Zählgeräte", false},
        {"banden", "Banden", false},
        {"preise", "Preise", false},
        {"verpflegung", "Verpflegung", false},
        {"weg", "Wegbeschreibung", false},
        {"verschiedenes", "Verschiedenes", false},
        {"erstehilfe", "Erste Hilfe", false},
    };
    Puffer p;
    kopf(p, turniername);
    p << QStringLiteral("<body bgcolor=\"#FFFFC4\">") << QStringLiteral("<div align=\"left\">")
      << QStringLiteral("<h1>") + escape(turniername) + QStringLiteral("</h1><br>")
      << QStringLiteral("<table border=\"0\">");
    const Row r = db.selectOne(QStringLiteral("SELECT * FROM Turnierdaten WHERE TID=:ID"), {{":ID", tid}});
    for (const Feld& f : felder) {
        const QString spalte = QString::fromLatin1(f.spalte);
        const QString wert = f.datum ? datum(r.date(spalte)) : r.text(spalte).trimmed();
        if (wert.isEmpty()) continue;
        p << QStringLiteral("<tr>") << QStringLiteral("<td>") + QString::fromUtf8(f.label)
          << QStringLiteral("</td>") << QStringLiteral("<td>") + escape(wert) << QStringLiteral("</td>")
          << QStringLiteral("</tr>");
    }
    p << QStringLiteral("</table>") << QStringLiteral("</div>") << QStringLiteral("</body>")
      << QStringLiteral("</html>");
    return {QStringLiteral("turnierdaten.html"), p.text()};
}

QString geschlecht(const Row& k) {
    const bool mann = k.boolean(u"mann");
    const bool frau = k.boolean(u"frau");
    if (mann && frau) return QStringLiteral("Mixed");
    if (mann) return QStringLiteral("Herren");
    if (frau) return QStringLiteral("Damen");
    return {};
}

QString gebuehr(const Row& k) {
    if (k.isNull(u"gebuehr")) return {};
    return QLocale(QLocale::German, QLocale::Germany).toString(k.number(u"gebuehr"), 'f', 2);
}

// One class page: its settings beside the list of its entrants. The partners or team names of all
// entrants are read in one statement.
Seite klassenseite(Tdb_procedures& db, const Row& k, const QString& key) {
    const int kid = k.integer(u"KID");
    const int system = k.integer(u"system");
    Puffer p;
    kopf(p, classkind::caption(k.text(u"kbezeichnung"), system));
    p << QStringLiteral("<body bgcolor=\"#E6D8FE\">") << QStringLiteral("<div align=\"left\">")
      << QStringLiteral("<table border=\"0\"  cellspacing=\"0\" width=\"100%\">")
      << QStringLiteral("<tr><td valign=top width=\"50%\">") << QStringLiteral("<table border=\"0\">");
    const QString uhrzeit =
        k.time(u"uhrzeit").isValid() ? k.time(u"uhrzeit").toString(QStringLiteral("hh:mm")) : QString();
    const QList<QPair<QString, QString>> zeilen = {
        {QStringLiteral("Klassenbezeichnung"), k.text(u"kbezeichnung")},
        {QStringLiteral("System"), classkind::word(system)},
        {QStringLiteral("Klassenbeschreibung"), k.text(u"kbeschreibung")},
        {QStringLiteral("Spielberechtigung"), k.text(u"spielberechtigung")},
        {QStringLiteral("Gebühr"), gebuehr(k)},
        {QStringLiteral("Geschlecht"), geschlecht(k)},
        {QStringLiteral("Min. Teilnehmer"), k.text(u"min")},
        {QStringLiteral("Max. Teilnehmer"), k.text(u"max")},
        {QStringLiteral("Gewinnsätze"), k.text(u"saetze")},
        {QStringLiteral("verfügbare Platten"), k.text(u"platten")},
        {QStringLiteral("Austragungstag"), datum(k.date(u"atag"))},
        {QStringLiteral("Uhrzeit"), uhrzeit},
    };
    for (const auto& [label, wert] : zeilen)
        p << QStringLiteral("<tr>") << QStringLiteral("<td>") + label + QStringLiteral("</td>") << zelle(wert)
          << QStringLiteral("</tr>");
    p << QStringLiteral("</table></td><td valign=\"top\" width=\"50%\">")
      << QStringLiteral("<table border=\"1\">") << QStringLiteral("<tr>");
    const bool paare = system == classkind::Doppel || system == classkind::Mixed;
    const bool team = system == classkind::Team;
    QString extra;
    if (paare) extra = QStringLiteral("<th>Doppelpartner</th>");
    if (team) extra = QStringLiteral("<th>Team</th>");
    p << QStringLiteral("<th>Spielername</th><th>Verein</th>") + extra + QStringLiteral("</tr>");

    QHash<int, QString> zusatz; // SID -> partner or team
    if (paare) {
        for (const Row& r :
             db.select(QStringLiteral("SELECT d.SID,s.nachname,s.vorname FROM Spielerdaten AS s "
                                      "INNER JOIN Doppelpartner AS d ON (s.SID=d.partner_SID) "
                                      "WHERE d.KID=:ID"),
                       {{":ID", kid}}))
            zusatz.insert(r.integer(u"SID"),
                          personName(r, QStringLiteral("nachname"), QStringLiteral("vorname")));
    } else if (team) {
        for (const Row& r : db.select(
                 QStringLiteral("SELECT SID,mannschaft FROM Doppelpartner WHERE KID=:ID"), {{":ID", kid}}))
            if (!r.text(u"mannschaft").isEmpty()) zusatz.insert(r.integer(u"SID"), r.text(u"mannschaft"));
    }
    const Rows spieler =
        db.select(QStringLiteral("SELECT s.* FROM Spielerdaten as s INNER JOIN Spieler_im_Turnier "
                                 "as st ON (s.SID=st.SID AND st.KID=:ID) ORDER by nachname,vorname"),
                  {{":ID", kid}});
    for (const Row& s : spieler) {
        p << QStringLiteral("<tr>")
          << zelle(personName(s, QStringLiteral("nachname"), QStringLiteral("vorname")))
          << zelle(s.text(u"verein"));
        if (paare || team)
            p << zelle(zusatz.value(s.integer(u"SID")));
        else
            p << QString();
        p << QStringLiteral("</tr>");
    }
    p << QStringLiteral("</table>") << QStringLiteral("</td></tr></table>") << QStringLiteral("</div>")
      << QStringLiteral("</body>") << QStringLiteral("</html>");
    return {key + QStringLiteral(".html"), p.text()};
}

Seite index(const Rows& klassen, bool plaene) {
    Puffer p;
    kopf(p, plaene ? QStringLiteral("Spielpläne") : QStringLiteral("Turnierklassen"));
    p << (plaene ? QStringLiteral("<body bgcolor=\"#FCDCDF\">")
                 : QStringLiteral("<body bgcolor=\"#E6D8FE\">"))
      << QStringLiteral("<div align=\"center\">");
    for (const Row& k : klassen) {
        const int system = k.integer(u"system");
        const QString key = klassenschluessel(k.text(u"kbezeichnung"), system);
        p << QStringLiteral("<a href=\"") + link(key, plaene ? QStringLiteral("sp_") : QString()) +
                 QStringLiteral("\">") + escape(k.text(u"kbezeichnung")) + QStringLiteral(" (") +
                 classkind::word(system) + QStringLiteral(")</a><br>");
    }
    p << QStringLiteral("</div>") << QStringLiteral("</body>") << QStringLiteral("</html>");
    return {plaene ? QStringLiteral("spielplanindex.html") : QStringLiteral("klassenindex.html"), p.text()};
}

Seite spielerdaten(Tdb_procedures& db, int tid) {
    Puffer p;
    kopf(p, QStringLiteral("Spielerdaten"));
    p << QStringLiteral("<body bgcolor=\"#FCDCDF\">") << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<h2>Spielerdaten</h2><br>") << QStringLiteral("<table border=\"1\">")
      << QStringLiteral("<tr><th>Spielername</th><th>Verein</th><th>Geb.</th><th>Nr.</th><th>Kreis</th>"
                        "<th>Bezirk</th><th>Verband</th><th>Land</th>")
      << QStringLiteral("<th>Spielklasse</th></tr>");
    const Rows spieler = db.select(
        QStringLiteral("SELECT * FROM Spielerdaten Where TID=:ID ORDER BY nachname,vorname"), {{":ID", tid}});
    QHash<int, QString> namen; // for the team lines below, so no player is read twice
    for (const Row& s : spieler) {
        const QString name = personName(s, QStringLiteral("nachname"), QStringLiteral("vorname"));
        namen.insert(s.integer(u"SID"), name);
        p << QStringLiteral("<tr>") + zelle(name) << zelle(s.text(u"verein")) << zelle(datum(s.date(u"geb")))
          << zelle(s.text(u"nummer")) << zelle(s.text(u"kverband")) << zelle(s.text(u"bverband"))
          << zelle(s.text(u"lverband")) << zelle(s.text(u"land"))
          << zelle(s.text(u"spklasse")) + QStringLiteral("</tr>");
    }
    p << QStringLiteral("</table><br><br>") << QStringLiteral("<h2>Teamdaten</h2>")
      << QStringLiteral("<table border=\"1\">")
      << QStringLiteral(
             "<tr><th>Teamname</th><th>Verein</th><th>Spieler</th><th>Doppel</th><th>Reserve</th></tr>");
    const auto nameVon = [&](const Row& t, const char* spalte) {
        return namen.value(t.integer(QString::fromLatin1(spalte)));
    };
    // A player line: the name, or an empty line when the place is not taken.
    const auto spielerZeile = [&](const Row& t, const char* spalte) {
        return t.integer(QString::fromLatin1(spalte)) < 1
                   ? QStringLiteral("<br><br>")
                   : escape(nameVon(t, spalte)) + QStringLiteral("<br>");
    };
    const auto doppelZeile = [&](const Row& t, const char* a, const char* b) {
        const bool hatA = t.integer(QString::fromLatin1(a)) >= 1;
        const bool hatB = t.integer(QString::fromLatin1(b)) >= 1;
        if (hatA && hatB)
            return escape(nameVon(t, a) + QStringLiteral(" - ") + nameVon(t, b)) + QStringLiteral("<br>");
        if (hatA) return escape(nameVon(t, a)) + QStringLiteral("<br>");
        if (hatB) return escape(nameVon(t, b)) + QStringLiteral("<br>");
        return QString();
    };
    for (const Row& t :
         db.select(QStringLiteral("SELECT * FROM Teams Where TID=:ID ORDER BY teamname"), {{":ID", tid}})) {
        p << QStringLiteral("<tr><td valign=\"top\">") + wertOderLeer(t.text(u"teamname")) +
                 QStringLiteral("</td>")
          << QStringLiteral("<td valign=\"top\">") + wertOderLeer(t.text(u"verein")) + QStringLiteral("</td>")
          << QStringLiteral("<td valign=\"top\">");
        for (const char* s : {"s1", "s2", "s3", "s4"})
            p << spielerZeile(t, s);
        p << QStringLiteral("</td>") << QStringLiteral("<td valign=\"top\">");
        const QString d1 = doppelZeile(t, "d1_1", "d1_2");
        const QString d2 = doppelZeile(t, "d2_1", "d2_2");
        if (!d1.isEmpty()) p << d1;
        if (!d2.isEmpty()) p << d2;
        p << QStringLiteral("</td>") << QStringLiteral("<td valign=\"top\">");
        for (const char* s : {"r1", "r2"})
            p << spielerZeile(t, s);
        p << QStringLiteral("</td></tr>");
    }
    p << QStringLiteral("</table><br><br>") << QStringLiteral("</div>") << QStringLiteral("</body>")
      << QStringLiteral("</html>");
    return {QStringLiteral("spielerdaten.html"), p.text()};
}

Seite schiri(Tdb_procedures& db, int tid) {
    Puffer p;
    kopf(p, QStringLiteral("Schiedsrichterdaten"));
    p << QStringLiteral("<body bgcolor=\"#F0F0F0\">") << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<h2>Schiedsrichterdaten</h2><br>") << QStringLiteral("<table border=\"1\">")
      << QStringLiteral(
             "<tr><th>Name</th><th>Verein</th><th>Geb.</th><th>Kreis</th><th>Bezirk</th><th>Verband</th>"
             "<th>Land</th>")
      << QStringLiteral("<th>Spielklasse</th></tr>");
    for (const Row& s : db.select(QStringLiteral("SELECT * FROM Schiri Where TID=:ID ORDER BY snname,svname"),
                                  {{":ID", tid}})) {
        p << QStringLiteral("<tr>") + zelle(personName(s, QStringLiteral("snname"), QStringLiteral("svname")))
          << zelle(s.text(u"sverein")) << zelle(datum(s.date(u"sgeb"))) << zelle(s.text(u"skverband"))
          << zelle(s.text(u"sbverband")) << zelle(s.text(u"slverband")) << zelle(s.text(u"sland"))
          << zelle(s.text(u"sklasse")) + QStringLiteral("</tr>");
    }
    p << QStringLiteral("</table>") << QStringLiteral("</div>") << QStringLiteral("</body>")
      << QStringLiteral("</html>");
    return {QStringLiteral("schiri.html"), p.text()};
}

// The match plan of one class; a match whose two sides are not both known yet is left out.
Seite spielplanseite(Tdb_procedures& db, const Row& k, const QString& key) {
    Puffer p;
    kopf(p, QStringLiteral("Spielplan ") + classkind::caption(k.text(u"kbezeichnung"), k.integer(u"system")));
    p << QStringLiteral("<body bgcolor=\"#FCDCDF\">") << QStringLiteral("<div align=\"center\">")
      << QStringLiteral("<font size=\"2\">") << QStringLiteral("<table border=\"1\">")
      << QStringLiteral("<tr><th>Nr.</th><th>Spieler&nbsp;1</th><th>Spieler&nbsp;2</th><th>S1</th><th>S2</th>"
                        "<th>S3</th><th>S4</th><th>S5</th><th>S6</th><th>S7</th><th>S8</th><th>S9</th>")
      << QStringLiteral("<th>Ergebnis</th><th>An&nbsp;Tisch</th><th>Spielstart</th><th>Spielende</th></tr>");
    for (const Row& m :
         db.select(QStringLiteral("SELECT * FROM Spielplan WHERE KID=:ID ORDER BY spielnummer"),
                   {{":ID", k.integer(u"KID")}})) {
        if (m.text(u"spieler1").isEmpty() || m.text(u"spieler2").isEmpty()) continue;
        p << QStringLiteral("<tr>") << zelle(m.text(u"spielnummer")) << zelle(m.text(u"spieler1"))
          << zelle(m.text(u"spieler2"));
        for (int s = 1; s <= 9; ++s)
            p << zelle(satzText(m, s));
        p << zelle(m.text(u"ergebnis")) << zelle(m.text(u"an_platte"))
          << zelle(zeitpunkt(m.dateTime(u"spielstart"))) << zelle(zeitpunkt(m.dateTime(u"spielende")))
          << QStringLiteral("</tr>");
    }
    p << QStringLiteral("</table>") << QStringLiteral("</font>") << QStringLiteral("</div>")
      << QStringLiteral("</body>") << QStringLiteral("</html>");
    return {QStringLiteral("sp_") + key + QStringLiteral(".html"), p.text()};
}

// Readable on a phone (narrow, wide tables scroll) and on a hall screen (larger type).
const char kStylesheet[] =
    R"(body { font-family: Arial, "Liberation Sans", Helvetica, sans-serif; font-size: 16px;
       line-height: 1.4; margin: 0.5em; color: #111; }
h1 { font-size: 1.6em; margin: 0.2em 0; }
h2 { font-size: 1.3em; margin: 0.3em 0; }
table { border-collapse: collapse; max-width: 100%; }
th, td { padding: 0.2em 0.5em; text-align: left; vertical-align: top; }
table[border="1"] th, table[border="1"] td { border: 1px solid #666; }
th { background: rgba(0, 0, 0, 0.08); }
a { color: #0645ad; }
li { list-style: none; }
body.titel { margin: 0; color: white; }
body.titel p { margin: 0.3em 0.6em; }
@media (max-width: 640px) {
  body { font-size: 14px; margin: 0.2em; }
  th, td { padding: 0.15em 0.3em; }
  table[border="1"] { display: block; overflow-x: auto; }
}
@media (min-width: 1600px) {
  body { font-size: 22px; }
}
)";

} // namespace

QString escape(const QString& text) {
    QString out = text.toHtmlEscaped(); // & < > "
    out.replace(QLatin1Char('\''), QLatin1String("&#39;"));
    return out;
}

QString klassenschluessel(const QString& kbezeichnung, int system) {
    QString key = kbezeichnung + QString::number(system);
    for (QChar& c : key)
        if (c.unicode() < 32 || QStringView(u"/\\:*?\"<>|").contains(c)) c = QLatin1Char('_');
    return key;
}

QList<Seite> seiten(Tdb_procedures& db, int tid, const QString& turniername, const QString& framesetDatei) {
    QList<Seite> out;
    out << frameset(framesetDatei, turniername) << navigation() << titel()
        << turnierdaten(db, tid, turniername);
    const Rows klassen =
        db.select(QStringLiteral("SELECT * FROM Turnierklassen WHERE TID=:ID order by kbezeichnung,system"),
                  {{":ID", tid}});
    out << index(klassen, false);
    // A class page appears once although both indexes link to it; two classes with the same file key
    // share the file, the later one wins.
    for (const Row& k : klassen)
        out << klassenseite(db, k, klassenschluessel(k.text(u"kbezeichnung"), k.integer(u"system")));
    out << index(klassen, true) << spielerdaten(db, tid) << schiri(db, tid);
    for (const Row& k : klassen)
        out << spielplanseite(db, k, klassenschluessel(k.text(u"kbezeichnung"), k.integer(u"system")));
    out << Seite{stylesheetDatei(), QString::fromUtf8(kStylesheet)};
    return out;
}

QList<Seite> klassenseiten(Tdb_procedures& db, int kid) {
    QList<Seite> out;
    for (const Row& k : db.select(QStringLiteral("SELECT * FROM Turnierklassen WHERE KID=:ID"), {{":ID", kid}})) {
        const QString key = klassenschluessel(k.text(u"kbezeichnung"), k.integer(u"system"));
        out << klassenseite(db, k, key) << spielplanseite(db, k, key);
    }
    return out;
}

void schreiben(const QString& folder, const QList<Seite>& seiten, Interaction* progress) {
    const QDir dir(folder);
    int n = 0;
    for (const Seite& s : seiten) {
        exportdatei::schreiben(dir.filePath(s.datei), s.text.toUtf8());
        if (progress) progress->progress(++n, int(seiten.size()));
    }
}

QString exportieren(const AppState& state, Tdb_procedures& db, Interaction& interaction,
                    const QString& programDir) {
    interaction.progress(0, 0);
    const QString vorschlag = QDir(programDir).filePath(klassenschluessel(state.turniername, 0).chopped(1));
    const QString path =
        interaction.saveFile(QStringLiteral("HTML-Export"), vorschlag, QStringLiteral("HTML (*.htm)"));
    if (path.isEmpty()) return {};
    const QFileInfo info(path);
    const QString frameset = info.fileName() + QStringLiteral(".html");
    bool ok = false;
    try {
        const QList<Seite> alle = seiten(db, state.tid, state.turniername, frameset);
        schreiben(info.absolutePath(), alle, &interaction);
        ok = true;
    } catch (const ExportFehler& e) {
        interaction.progress(0, 0);
        interaction.error(e.message());
    } catch (const DbError& e) {
        interaction.progress(0, 0);
        interaction.error(e.message());
    }
    interaction.progress(0, 0);
    return ok ? QDir(info.absolutePath()).filePath(frameset) : QString();
}

} // namespace htmlexport
