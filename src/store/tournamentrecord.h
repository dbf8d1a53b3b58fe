#pragma once

#include "store/db_procedures.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

// The descriptive record of one tournament, one field per column of Turnierdaten in column order.
// Memos hold their lines joined by "\r\n".
struct TournamentRecord {
    QString turniername;
    QString zusatz;
    QString austragungsort;
    QDate tvon;
    QDate tbis;
    QString startberechtigung; // memo
    QString turniermodus;      // memo
    QString veranstalter;
    QString homepage;
    QString gesamtleitung;
    QString turnierleitung; // memo
    QString schiedsrichter; // memo
    QString osr;
    QDate meldeschluss;
    QDate auslosung;
    QString meldeinfo;  // memo
    QString meldung_an; // memo
    QString ainfo;      // memo
    QString tische;
    QString baelle;
    QString netze;
    QString zaehlgeraete;
    QString banden;
    QString preise;        // memo
    QString verpflegung;   // memo
    QString weg;           // memo
    QString verschiedenes; // memo
    QString erstehilfe;

    bool operator==(const TournamentRecord&) const = default;
};

// The four options of the create dialog, stored in the tournament's Einstellungen row:
// umpire management, eligibility check, club management, print umpire slips.
using TournamentOptions = std::array<bool, 4>;

// Inserts the record and the tournament's Einstellungen row in one transaction; gives the new TID.
int insertTournament(Tdb_procedures& db, const TournamentRecord& record, const TournamentOptions& options);
// Writes every column of the record of tournament tid.
void updateTournament(Tdb_procedures& db, int tid, const TournamentRecord& record);
// The record of tournament tid, or nothing when there is none. NULL texts and memos read as empty.
std::optional<TournamentRecord> readTournament(Tdb_procedures& db, int tid);

// Memo line breaks: an edit control's text ("\n") to the stored form ("\r\n") and back.
QString memoFromPlainText(const QString& text);
QString memoToPlainText(const QString& memo);
