#include "draw/teamsystemeingabe.h"

#include "common/interaction.h"

using teamsystem::Seite;

TeamsystemEingabe::TeamsystemEingabe(Interaction& interaction) : interaction_(interaction) {}

void TeamsystemEingabe::laden(Tdb_procedures& db, int kid) {
    zeigen(teamsystem::laden(db, kid), kid);
}

void TeamsystemEingabe::zeigen(const TeamSystem& system, int kid) {
    kid_ = kid;
    setSpieler(system.spieler);
    setReserve(system.reserve);
    for (int k = 0; k < teamsystem::kSpiele; ++k) {
        const TeamRubber& r = system.spiele[k];
        a_[k] = r.a ? teamsystem::codeText(*r.a, Seite::A) : QString();
        b_[k] = r.b ? teamsystem::codeText(*r.b, Seite::B) : QString();
    }
}

void TeamsystemEingabe::setSpieler(int spieler) {
    spieler_ = teamsystem::clampSpieler(spieler);
}

void TeamsystemEingabe::setReserve(int reserve) {
    reserve_ = teamsystem::clampReserve(reserve);
}

QString& TeamsystemEingabe::box(Seite seite, int spiel) {
    return seite == Seite::A ? a_.at(spiel) : b_.at(spiel);
}

QString TeamsystemEingabe::text(Seite seite, int spiel) const {
    return seite == Seite::A ? a_.at(spiel) : b_.at(spiel);
}

void TeamsystemEingabe::setText(Seite seite, int spiel, const QString& text) {
    box(seite, spiel) = text;
}

bool TeamsystemEingabe::verlassen(Seite seite, int spiel) {
    QString& t = box(seite, spiel);
    if (const std::optional<int> code = teamsystem::codeOf(t, spieler_, seite)) {
        t = teamsystem::codeText(*code, seite);
        return true;
    }
    if (t.trimmed().isEmpty()) {
        t.clear();
        return true;
    }
    interaction_.warning(teamsystem::kUngueltigerSpieler, Interaction::Button::Cancel);
    t.clear();
    return false;
}

std::optional<TeamsystemEingabe::Box> TeamsystemEingabe::pruefen() {
    for (int k = 0; k < teamsystem::kSpiele; ++k)
        for (const Seite seite : {Seite::A, Seite::B})
            if (!verlassen(seite, k)) return Box{seite, k};
    return std::nullopt;
}

TeamSystem TeamsystemEingabe::system() const {
    TeamSystem s;
    s.spieler = spieler_;
    s.reserve = reserve_;
    for (int k = 0; k < teamsystem::kSpiele; ++k) {
        s.spiele[k].a = teamsystem::codeOf(a_[k], spieler_, Seite::A);
        s.spiele[k].b = teamsystem::codeOf(b_[k], spieler_, Seite::B);
    }
    return s;
}
