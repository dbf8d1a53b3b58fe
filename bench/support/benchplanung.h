#pragma once
// The scheduler benchmarks' tournament in the file database: 40 classes with 50 matches each, all 2,000
// planned over three days on 20 tables.
#include "benchplaene.h"
#include "play/matchrecord.h"
#include "play/planung.h"
#include "store/db_procedures.h"
#include "store/schema.h"

#include <QTemporaryDir>

namespace benchplanung {

constexpr int kKlassen = 40;
constexpr int kSpieleJeKlasse = 50;
constexpr int kTische = 20;
constexpr int kTage = 3;
const QDate kErsterTag(2026, 5, 1);

class Turnier {
public:
    Turnier() {
        path_ = dir_.filePath(QStringLiteral("b.sqlite"));
        schema::createFile(path_);
        db.connectFile(path_);
        Transaction t(db);
        db.exec(
            QStringLiteral("INSERT INTO Turnierdaten (TID, turniername, tvon, tbis) VALUES (1,'B',:v,:b)"),
            {{":v", kErsterTag}, {":b", kErsterTag.addDays(kTage - 1)}});
        for (int c = 1; c <= kTische; ++c)
            db.exec(QStringLiteral("INSERT INTO Platten1 VALUES (1,:p,1)"),
                    {{":p", QStringLiteral("Tisch %1").arg(c, 2, 10, QChar(u'0'))}});
        int g = 0;
        for (int kid = 1; kid <= kKlassen; ++kid) {
            db.exec(
                QStringLiteral("INSERT INTO Turnierklassen (KID, TID, system, kbezeichnung, farbe) VALUES "
                               "(:k,1,0,:n,'lightblue')"),
                {{":k", kid}, {":n", QStringLiteral("Klasse %1").arg(kid, 2, 10, QChar(u'0'))}});
            for (int snr = 1; snr <= kSpieleJeKlasse; ++snr, ++g) {
                SpielplanRow m;
                m.KID = kid;
                m.TID = 1;
                m.spielnummer = snr;
                m.SID1 = 1000 + 2 * g;
                m.SID2 = 1001 + 2 * g;
                m.spieler1 = QStringLiteral("Spieler%1, Vorname").arg(m.SID1);
                m.spieler2 = QStringLiteral("Spieler%1, Vorname").arg(m.SID2);
                const int tag = g % kTage, platz = g / kTage;
                m.geplanter_tag = kErsterTag.addDays(tag);
                m.geplanter_tisch = QStringLiteral("Tisch %1").arg(platz % kTische + 1, 2, 10, QChar(u'0'));
                m.geplante_zeit = QDateTime(m.geplanter_tag, planung::zeitVon(1 + 2 * (platz / kTische)));
                matchrecord::insertMatch(db, m);
            }
        }
        t.commit();
    }

    Tdb_procedures db;
    benchplaene::Silent ui;

private:
    QTemporaryDir dir_;
    QString path_;
};

} // namespace benchplanung
