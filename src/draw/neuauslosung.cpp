#include "draw/neuauslosung.h"

#include "common/interaction.h"
#include "store/db_procedures.h"

bool neueAuslosungErlaubt(Tdb_procedures& db, Interaction& interaction, int kid) {
    const Row r =
        db.selectOne(QStringLiteral("SELECT COUNT(*) AS n, SUM(CASE WHEN beendet<>0 THEN 1 ELSE 0 END) AS e "
                                    "FROM Spielplan WHERE KID=:k"),
                     {{":k", kid}});
    if (r.integer(u"n") == 0) return true;
    const int ergebnisse = r.integer(u"e");
    QString text =
        QStringLiteral("Die Klasse ist bereits ausgelost. Eine neue Auslosung ersetzt den Spielplan und "
                       "alle eingetragenen Ergebnisse.");
    if (ergebnisse == 1)
        text += QStringLiteral(" Dabei geht 1 eingetragenes Ergebnis verloren.");
    else if (ergebnisse > 1)
        text += QStringLiteral(" Dabei gehen %1 eingetragene Ergebnisse verloren.").arg(ergebnisse);
    text += QStringLiteral(" Trotzdem neu auslosen?");
    return interaction.confirmDefaultNo(text, Interaction::Question::YesNo);
}
