#pragma once

#include <QString>

// How entries read in the draw's lists: their texts and their order.
namespace eintrag {

// German reading order: case and umlauts do not push an entry to the end; texts the collator holds
// equal keep a stable order.
bool lessGerman(const QString& a, const QString& b);

// A player: "Meier, Hans".
QString playerText(const QString& nachname, const QString& vorname);
// A pair as read from the database: "Meier, H. / Schulz, E".
QString pairText(const QString& n1, const QString& v1, const QString& n2, const QString& v2);

} // namespace eintrag
