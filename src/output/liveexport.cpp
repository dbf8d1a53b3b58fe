#include "output/liveexport.h"

#include "output/htmlexport.h"
#include "store/db_procedures.h"

#include <QDir>
#include <QFileInfo>

namespace liveexport {

namespace {

const QString kKopf = QStringLiteral("<head>\r\n");

// The frameset stays as it is: reloading it would throw the reader back to the start page.
void nachladen(QList<htmlexport::Seite>& seiten, int sekunden) {
    if (sekunden <= 0) return;
    const QString meta = QStringLiteral("<meta http-equiv=\"refresh\" content=\"%1\">\r\n").arg(sekunden);
    for (htmlexport::Seite& s : seiten)
        if (s.datei != kStartseite && s.datei.endsWith(QStringLiteral(".html")))
            s.text.replace(s.text.indexOf(kKopf), kKopf.size(), kKopf + meta);
}

QString turniername(Tdb_procedures& db, int tid) {
    return db.selectOne(QStringLiteral("SELECT turniername FROM Turnierdaten WHERE TID=:t"), {{":t", tid}})
        .text(u"turniername");
}

} // namespace

QString ordner(Tdb_procedures& db, int tid) {
    return db.selectOne(QStringLiteral("SELECT liveordner FROM Einstellungen WHERE TID=:t"), {{":t", tid}})
        .text(u"liveordner");
}

void setOrdner(Tdb_procedures& db, int tid, const QString& ordner) {
    db.exec(QStringLiteral("UPDATE Einstellungen SET liveordner=:o WHERE TID=:t"),
            {{":o", ordner.isEmpty() ? QVariant() : QVariant(ordner)}, {":t", tid}});
}

void allesSchreiben(Tdb_procedures& db, int tid, const QString& ordner, int sekunden) {
    QList<htmlexport::Seite> seiten = htmlexport::seiten(db, tid, turniername(db, tid), kStartseite);
    nachladen(seiten, sekunden);
    htmlexport::schreiben(ordner, seiten);
}

void klasseSchreiben(Tdb_procedures& db, int tid, int kid, const QString& ordner) {
    if (!QFileInfo::exists(QDir(ordner).filePath(kStartseite))) {
        QDir().mkpath(ordner);
        allesSchreiben(db, tid, ordner, kNachladenSekunden);
        return;
    }
    QList<htmlexport::Seite> seiten = htmlexport::klassenseiten(db, kid);
    nachladen(seiten, kNachladenSekunden);
    htmlexport::schreiben(ordner, seiten);
}

void klasseGeschrieben(Tdb_procedures& db, int kid, bool ganz) {
    const int tid = db.selectOne(QStringLiteral("SELECT TID FROM Turnierklassen WHERE KID=:k"), {{":k", kid}})
                        .integer(u"TID");
    const QString o = ordner(db, tid);
    if (o.isEmpty()) return;
    if (ganz) {
        QDir().mkpath(o);
        allesSchreiben(db, tid, o, kNachladenSekunden);
    } else {
        klasseSchreiben(db, tid, kid, o);
    }
}

QList<int> Beobachter::aenderungen(Tdb_procedures& db) {
    QList<int> out;
    QHash<int, QString> neu;
    for (const Row& r : db.select(
             QStringLiteral("SELECT KID,COUNT(*) AS n,SUM(CASE WHEN beendet<>0 THEN 1 ELSE 0 END) AS b,"
                            "SUM(SID1+SID2) AS s,SUM(COALESCE(satz1,0)+COALESCE(satz2,0)+COALESCE(satz3,0)+"
                            "COALESCE(satz4,0)+COALESCE(satz5,0)) AS p,MAX(spielende) AS e FROM Spielplan "
                            "WHERE TID=:t GROUP BY KID"),
             {{":t", tid_}})) {
        const int kid = r.integer(u"KID");
        const QString stand =
            QStringList{r.text(u"n"), r.text(u"b"), r.text(u"s"), r.text(u"p"), r.text(u"e")}.join(u'|');
        neu.insert(kid, stand);
        if (stand_.value(kid) != stand) out << kid;
    }
    stand_ = neu;
    std::sort(out.begin(), out.end());
    return out;
}

Hintergrund::Verbindung Hintergrund::von(const Tdb_procedures& db) {
    Verbindung v;
    v.kind = db.kind();
    if (v.kind == DbKind::File) {
        v.datei = db.location();
    } else {
        // "host:port/database"
        const QString ort = db.location();
        const qsizetype schnitt = ort.lastIndexOf(u'/');
        v.server = ort.left(schnitt);
        v.datenbank = ort.mid(schnitt + 1);
    }
    return v;
}

Hintergrund::Hintergrund() : thread_([this] { lauf(); }) {}

Hintergrund::~Hintergrund() {
    {
        std::lock_guard<std::mutex> l(m_);
        ende_ = true;
    }
    cv_.notify_all();
    thread_.join();
}

void Hintergrund::geaendert(const Verbindung& v, int kid, bool ganz) {
    {
        std::lock_guard<std::mutex> l(m_);
        bool da = false;
        for (Auftrag& a : auftraege_)
            if (a.kid == kid && a.v == v) {
                a.ganz = a.ganz || ganz;
                da = true;
            }
        if (!da) auftraege_.append({v, kid, ganz});
    }
    cv_.notify_all();
}

void Hintergrund::warten() {
    std::unique_lock<std::mutex> l(m_);
    fertig_.wait(l, [this] { return auftraege_.isEmpty() && !beschaeftigt_; });
}

QString Hintergrund::letzterFehler() const {
    std::lock_guard<std::mutex> l(m_);
    return fehler_;
}

void Hintergrund::lauf() {
    // The connection belongs to this thread: made, used and closed here.
    std::unique_ptr<Tdb_procedures> db;
    Verbindung verbunden;
    for (;;) {
        QList<Auftrag> jetzt;
        {
            std::unique_lock<std::mutex> l(m_);
            cv_.wait(l, [this] { return ende_ || !auftraege_.isEmpty(); });
            if (auftraege_.isEmpty()) break;
            jetzt.swap(auftraege_);
            beschaeftigt_ = true;
        }
        for (const Auftrag& a : jetzt) {
            QString fehler;
            try {
                if (!db || !(verbunden == a.v)) {
                    db = std::make_unique<Tdb_procedures>();
                    if (a.v.kind == DbKind::File)
                        db->connectFile(a.v.datei);
                    else
                        db->connectServer(a.v.server, a.v.datenbank);
                    verbunden = a.v;
                }
                klasseGeschrieben(*db, a.kid, a.ganz);
            } catch (const ExportFehler& e) {
                fehler = e.message();
            } catch (const DbError& e) {
                fehler = e.message();
                db.reset();
            }
            if (!fehler.isEmpty()) {
                std::lock_guard<std::mutex> l(m_);
                fehler_ = fehler;
            }
        }
        {
            std::lock_guard<std::mutex> l(m_);
            beschaeftigt_ = false;
        }
        fertig_.notify_all();
    }
    db.reset();
    fertig_.notify_all();
}

} // namespace liveexport
