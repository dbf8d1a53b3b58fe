#pragma once

#include "entries/spieler.h"
#include "store/appstate.h"
#include "support/scripted_interaction.h"
#include "support/testdb.h"

#include <memory>
#include <ostream>

// Readable failure output for texts and lists of texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

// A tournament (TID 1) with a player panel over it; classes and players are written straight into the
// database so each test states exactly what exists.
class SpielerFixture : public DbTest {
protected:
    void SetUp() override {
        DbTest::SetUp();
        if (IsSkipped()) return;
        state.tid = 1;
        state.turniername = QStringLiteral("Stadtmeisterschaft");
        state.dbKind = GetParam();
        state.trueValue = db().trueValue();
        panel = std::make_unique<Spielerverwaltung>(state, db(), ui);
    }

    void addClass(int kid, int system, const QString& name, bool mann, bool frau, double fee = 0.0,
                  const QString& ageClass = QStringLiteral("ohne Beschränkung"), int tid = 1) {
        db().exec(QStringLiteral("INSERT INTO Turnierklassen (KID,TID,system,kbezeichnung,mann,frau,gebuehr,"
                                 "altersklasseID) VALUES (:k,:t,:s,:n,:m,:f,:g,:a)"),
                  {{":k", kid},
                   {":t", tid},
                   {":s", system},
                   {":n", name},
                   {":m", mann},
                   {":f", frau},
                   {":g", fee},
                   {":a", ageClass}});
    }

    void addAgeClass(const QString& name, const QDate& von, const QDate& bis, bool aelter = false,
                     bool juenger = false) {
        db().exec(QStringLiteral("INSERT INTO Altersklasse VALUES (1,:n,:v,:b,:a,:j)"),
                  {{":n", name},
                   {":v", von.isValid() ? QVariant(von) : QVariant()},
                   {":b", bis.isValid() ? QVariant(bis) : QVariant()},
                   {":a", aelter},
                   {":j", juenger}});
    }

    // A stored player; nummer 0 leaves the start number NULL.
    void addPlayer(int sid, const QString& nachname, const QString& vorname, int nummer = 0, int tid = 1,
                   const QString& verein = QStringLiteral("TTC Nord")) {
        db().exec(
            QStringLiteral("INSERT INTO Spielerdaten VALUES (:t,:s,:n,:v,:c,NULL,:nr,'','','','',NULL,:b,:a,"
                           ":m,:f,'')"),
            {{":t", tid},
             {":s", sid},
             {":n", nachname},
             {":v", vorname},
             {":c", verein},
             {":nr", nummer ? QVariant(nummer) : QVariant()},
             {":b", false},
             {":a", false},
             {":m", true},
             {":f", false}});
    }

    void enter(int sid, int kid) {
        db().exec(QStringLiteral("INSERT INTO Spieler_im_Turnier VALUES (1,:k,:s)"),
                  {{":k", kid}, {":s", sid}});
    }

    int count(const QString& sql, const Params& params = {}) {
        return db().selectOne(sql, params).integer(u"c");
    }
    int players() { return count(QStringLiteral("SELECT COUNT(*) AS c FROM Spielerdaten")); }

    // The classes a player is entered in, as stored.
    QList<int> entriesOf(int sid) {
        QList<int> kids;
        for (const Row& r :
             db().select(QStringLiteral("SELECT KID FROM Spieler_im_Turnier WHERE SID=:s ORDER BY KID"),
                         {{":s", sid}}))
            kids << r.integer(u"KID");
        return kids;
    }

    int sidOf(const QString& nachname, const QString& vorname) {
        return db()
            .selectOne(QStringLiteral("SELECT SID FROM Spielerdaten WHERE nachname=:n AND vorname=:v"),
                       {{":n", nachname}, {":v", vorname}})
            .integer(u"SID");
    }

    int classIndex(int kid) const {
        for (int i = 0; i < panel->klassen().size(); ++i)
            if (panel->klassen()[i].kid == kid) return i;
        return -1;
    }

    // "Neuer Spieler" and the two names typed.
    void startNew(const QString& nachname, const QString& vorname) {
        panel->newPlayer();
        panel->felder().nachname = nachname;
        panel->felder().vorname = vorname;
        panel->markChanged();
    }

    void choose(const QString& nachname, const QString& vorname) {
        const SpielerInfo* s = panel->findByName(nachname, vorname);
        ASSERT_NE(s, nullptr) << nachname.toStdString();
        panel->choosePlayer(s->sid);
    }

    AppState state;
    ScriptedInteraction ui;
    std::unique_ptr<Spielerverwaltung> panel;
};
