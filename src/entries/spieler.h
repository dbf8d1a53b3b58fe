#pragma once

#include "entries/pairing.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>
#include <optional>

class Tdb_procedures;
class Interaction;
struct AppState;

// A player of the tournament as the panel keeps him while it is open.
struct SpielerInfo {
    int sid = 0; // -1 once deleted while the panel is open
    QString nachname;
    QString vorname;
    QString verein;
    bool angemeldet = false;

    QString text() const { return nachname + QStringLiteral(", ") + vorname; }
    bool deleted() const { return sid == -1; }
};

// An entry of the class list ("Doppel - Herren A") with the class it stands for.
struct KlassenEintrag {
    int kid = 0;
    int system = 0;
    double gebuehr = 0.0;
    QString text;
};

// A line of the partner list ("Doppel - Herren A: Müller, Hans"); carries its class.
struct PartnerLine {
    int kid = 0;
    QString text;
};

// A line of the player list; carries the player.
struct SpielerZeile {
    int sid = 0;
    QString text;
    bool angemeldet = false;
};

// The player fields as typed.
struct SpielerFelder {
    QString nachname;
    QString vorname;
    QString verein;
    QString geb;
    QString nummer;
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
    QString spklasse;
    QString zuzahlen;
    bool bezahlt = false;
    bool angemeldet = false;
    bool mann = true;
    bool frau = false;
};

// A player's row of Spielerdaten as it is written.
struct SpielerDatensatz {
    QString nachname;
    QString vorname;
    QString verein;
    QDate geb; // invalid: NULL
    std::optional<int> nummer;
    std::optional<double> zuzahlen;
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
    QString spklasse;
    bool bezahlt = false;
    bool angemeldet = false;
    bool mann = false;
    bool frau = false;
};

// Inserts player sid of tournament tid. Runs inside the caller's transaction, which took sid by nextId.
void insertSpieler(Tdb_procedures& db, int tid, int sid, const SpielerDatensatz& s);
// Enters player sid into class kid of tournament tid.
void insertKlassenmeldung(Tdb_procedures& db, int tid, int kid, int sid);

// The field that should take the focus after a refused input.
enum class SpielerFeld { None, Nachname, Vorname, Geburtsdatum, Rueckennummer, Startgebuehr };

// The editable value lists of the panel.
enum class Werteliste { Kreisverband = 0, Bezirksverband, Landesverband, Land, Spielklasse };

// A date typed as "tt.mm.jjjj"; invalid when the text names no existing day.
QDate readGermanDate(const QString& text);
// Numbers as the German user reads and types them ("12,5"); a point is accepted as well.
QString germanNumber(double value);
std::optional<double> readGermanNumber(const QString& text);

// The player panel's working state and every action on it; the widgets only show it and forward.
// Refusals are German messages through Interaction and write nothing; database failures throw DbError
// after the open transaction has been rolled back.
class Spielerverwaltung {
public:
    static const QString kSpeichern; // "Spieler speichern"
    static const QString kAendern;   // "Änderung übernehmen"

    struct Outcome {
        bool done = false;
        SpielerFeld focus = SpielerFeld::None;
    };

    Spielerverwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction);
    // The hook is not owned; null restores the default that does nothing.
    void setPairingHook(PairingHook* hook);
    // Told when the state changes from outside the panel's own actions (the pairing's choice).
    void setChangeListener(std::function<void()> listener) { changed_ = std::move(listener); }

    // Opening the panel: reads classes, players and value lists of the current tournament.
    void open();
    void clearFields();
    // Click (or Enter) on a player list line.
    void choosePlayer(int sid);
    void newPlayer();
    // Click (or Enter) on a club: the player list shows that club's players only.
    void chooseClub(const QString& club);
    // The player list shows every player again.
    void showAllPlayers();
    // Search as you type: selects the first player (by name) whose surname begins with the text.
    void searchPlayer(const QString& surnameText);
    // Search as you type in the club field: selects the first club that begins with the text.
    void searchClub(const QString& clubText);
    // Enter in the club field: the selected club's players, and the club into the field.
    void takeSearchedClub();

    // The user selected or deselected a class of the class list. Asks the sex and age questions.
    Outcome setClassSelected(int index, bool selected);
    // Any edit of a player field.
    void markChanged();
    // "männlich" and "weiblich": exactly one is on.
    void setMann(bool on);
    void setFrau(bool on);
    // "erzeugen": the next free start number into "Rückennummer".
    void proposeStartNumber();
    // Leaving a value list: a new text is added to it.
    void addValue(Werteliste list, const QString& text);

    // Click on a partner line: team lines only explain; others open the pairing.
    void partnerLineClicked(int row);
    // The pairing's choice: a new line for the same class replaces the old one.
    void replacePartnerLine(int row, const QString& text);

    // "Spieler speichern" / "Änderung übernehmen".
    Outcome save();
    // "Spieler löschen".
    Outcome remove();

    SpielerFelder& felder() { return felder_; }
    const SpielerFelder& felder() const { return felder_; }
    const QList<SpielerInfo>& spielerinfos() const { return spielerinfos_; }
    const QList<KlassenEintrag>& klassen() const { return klassen_; }
    bool isClassSelected(int index) const { return index >= 0 && index < auswahl_.size() && auswahl_[index]; }
    QList<int> selectedKids() const;
    const QList<PartnerLine>& partnerLines() const { return partner_; }
    const QList<SpielerZeile>& spielerliste() const { return spielerliste_; }
    int spielerlisteCurrent() const { return spielerCurrent_; }
    const QStringList& vereine() const { return vereine_; }
    int vereinCurrent() const { return vereinCurrent_; }
    const QStringList& werte(Werteliste list) const { return werte_[static_cast<int>(list)]; }
    bool saveEnabled() const { return saveEnabled_; }
    QString saveCaption() const { return saveCaption_; }
    QString loadedName() const { return loadedName_; }
    int loadedSid() const { return loadedSid_; }
    int loadedNumber() const { return loadedNumber_; }
    int lastSid() const { return lastSid_; }
    double feeTotal() const { return feeTotal_; }
    // The player in work by his fields' name, or null (deleted players are not found).
    const SpielerInfo* findByName(const QString& nachname, const QString& vorname) const;

    // Bumped whenever the list changes as a whole, so a view refills only then.
    int playerListVersion() const { return playerListVersion_; }
    int valueListVersion() const { return valueListVersion_; }
    int classListVersion() const { return classListVersion_; }

    AppState& state() { return state_; }
    Tdb_procedures& db() { return db_; }
    Interaction& interaction() { return interaction_; }

private:
    struct Validated;
    void loadPlayer(int sid);
    void forgetPlayer();
    void rebuildPlayerList();
    void setClassSelection(int index, bool on);
    void clearClassSelection();
    void removePartnerLineOf(int kid);
    void recomputeFee();
    void addSorted(QStringList& list, const QString& text);
    void rememberValues(const Validated& v);
    std::optional<Validated> validate(Outcome& out);
    bool nameTaken(const QString& nachname, const QString& vorname, int exceptSid);
    enum class Conflict { None, Name, Number };
    Conflict conflictOf(const Validated& v, int exceptSid);
    Outcome refuse(Conflict conflict);
    void writeEntries(int sid);
    Outcome insertPlayer(const Validated& v);
    Outcome updatePlayer(const Validated& v);
    int indexOfKid(int kid) const;
    int playerIndex(int sid) const;

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
    PairingHook defaultHook_;
    PairingHook* hook_ = &defaultHook_;
    std::function<void()> changed_;

    SpielerFelder felder_;
    QList<SpielerInfo> spielerinfos_;
    QList<KlassenEintrag> klassen_;
    QVector<bool> auswahl_;
    QList<PartnerLine> partner_;
    QList<SpielerZeile> spielerliste_;
    int spielerCurrent_ = -1;
    QStringList vereine_;
    int vereinCurrent_ = -1;
    std::array<QStringList, 5> werte_;

    bool saveEnabled_ = false;
    QString saveCaption_;
    QString loadedName_;
    int loadedSid_ = 0;
    int loadedNumber_ = -1;
    int lastSid_ = 0;
    double feeTotal_ = 0.0;

    int playerListVersion_ = 0;
    int valueListVersion_ = 0;
    int classListVersion_ = 0;
};
