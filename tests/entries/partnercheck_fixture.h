#pragma once

#include "entries/partnercheck.h"
#include "entries/spieler_fixture.h"

#include <QSqlError>
#include <QSqlQuery>
#include <tuple>

// One Doppelpartner row: class, player, partner (0 for NULL), team name (empty for NULL).
struct PaarZeile {
    PaarZeile(int k, int s, int p, const QString& m = {}) : kid(k), sid(s), partner(p), mannschaft(m) {}
    int kid;
    int sid;
    int partner;
    QString mannschaft;
    bool operator==(const PaarZeile& o) const {
        return std::tie(kid, sid, partner, mannschaft) == std::tie(o.kid, o.sid, o.partner, o.mannschaft);
    }
};
inline void PrintTo(const PaarZeile& z, std::ostream* os) {
    *os << "(" << z.kid << "," << z.sid << "," << z.partner << "," << z.mannschaft.toStdString() << ")";
}

// Players 1 Albers, 2 Brandt, 3 Claus (men), 4 Dietz, 5 Ernst (women); 1 to 4 entered in the doubles
// class 11 "Herren". Class 12 is a mixed class, 13 a team class and 14 "Senioren" another doubles class. The
// pairing of the real program is installed on the panel.
class PartnerFixture : public SpielerFixture {
protected:
    void SetUp() override {
        SpielerFixture::SetUp();
        if (IsSkipped()) return;
        panel->setPairingHook(&check);
        addClass(11, 1, QStringLiteral("Herren"), true, true);
        addClass(12, 2, QStringLiteral("Mixed"), true, true);
        addClass(13, 3, QStringLiteral("Liga"), true, true);
        addClass(14, 1, QStringLiteral("Senioren"), true, true);
        addPlayer(1, QStringLiteral("Albers"), QStringLiteral("Anton"));
        addPlayer(2, QStringLiteral("Brandt"), QStringLiteral("Bernd"));
        addPlayer(3, QStringLiteral("Claus"), QStringLiteral("Carl"));
        addPlayer(4, QStringLiteral("Dietz"), QStringLiteral("Dora"));
        addPlayer(5, QStringLiteral("Ernst"), QStringLiteral("Emma"));
        for (int sid : {4, 5})
            db().exec(QStringLiteral("UPDATE Spielerdaten SET mann=:m, frau=:f WHERE SID=:s"),
                      {{":m", false}, {":f", true}, {":s", sid}});
        for (int sid : {1, 2, 3, 4})
            enter(sid, 11);
    }

    // Everyone into the mixed class 12, the men 1 to 3 and the women 4 and 5.
    void enterMixed() {
        for (int sid : {1, 2, 3, 4, 5})
            enter(sid, 12);
    }
    // Players 1 to 4 into the doubles class 14 as well.
    void enterSenioren() {
        for (int sid : {1, 2, 3, 4})
            enter(sid, 14);
    }

    void setRows(const QList<PaarZeile>& rows) {
        db().exec(QStringLiteral("DELETE FROM Doppelpartner"));
        for (const auto& r : rows)
            db().exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:k,:s,:p,:m)"),
                      {{":k", r.kid},
                       {":s", r.sid},
                       {":p", r.partner ? QVariant(r.partner) : QVariant()},
                       {":m", r.mannschaft.isEmpty() ? QVariant() : QVariant(r.mannschaft)}});
    }

    QList<PaarZeile> rows() {
        QList<PaarZeile> list;
        for (const Row& r : db().select(QStringLiteral("SELECT * FROM Doppelpartner ORDER BY KID,SID")))
            list.append(
                {r.integer(u"KID"), r.integer(u"SID"), r.integer(u"partner_SID"), r.text(u"mannschaft")});
        return list;
    }

    // The partner line of a class, as the panel shows it.
    int lineOf(int kid) const {
        for (int i = 0; i < panel->partnerLines().size(); ++i)
            if (panel->partnerLines()[i].kid == kid) return i;
        return -1;
    }

    // The partner chosen in the dialog for the class's line (empty: none).
    void choosePartner(int kid, const QString& partner) {
        const int line = lineOf(kid);
        ASSERT_GE(line, 0) << kid;
        const QString text = panel->partnerLines()[line].text;
        Doppelauswahl auswahl(*panel, line, text.left(text.indexOf(u':') + 1));
        ASSERT_TRUE(auswahl.take(partner));
    }

    // Runs a statement outside the data module's prepared statements (DDL of the server engine).
    void raw(const QString& sql) {
        QSqlQuery q(db().database());
        ASSERT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
    }

    // Makes every insert of a Doppelpartner row of class kid fail, as a full disk or lost server would.
    void failInsertsInClass(int kid) {
        if (GetParam() == DbKind::File) {
            raw(QStringLiteral("CREATE TRIGGER halt BEFORE INSERT ON Doppelpartner WHEN NEW.KID=%1 "
                               "BEGIN SELECT RAISE(ABORT,'gestoppt'); END")
                    .arg(kid));
        } else {
            raw(QStringLiteral("CREATE FUNCTION halt() RETURNS trigger AS $$ BEGIN IF NEW.kid=%1 THEN "
                               "RAISE EXCEPTION 'gestoppt'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql")
                    .arg(kid));
            raw(QStringLiteral(
                "CREATE TRIGGER halt BEFORE INSERT ON Doppelpartner FOR EACH ROW EXECUTE FUNCTION halt()"));
        }
    }

    Partnercheck check;
};
