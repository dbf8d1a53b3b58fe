#pragma once

#include "store/appstate.h"

#include <QHash>
#include <QString>
#include <QVariant>

// Everything that differs between the file database (SQLite) and the server database (PostgreSQL).
// Statements in the logic are written once; the dialect adapts them before they are prepared.
class Dialect {
public:
    explicit Dialect(DbKind kind) : kind_(kind) {}

    DbKind kind() const { return kind_; }
    // The number a boolean is written as: -1 in the file database, 1 on the server.
    int trueValue() const { return kind_ == DbKind::File ? -1 : 1; }

    // Adapts one statement: [name] brackets, LIKE without regard to case, the literals true/false.
    QString adapt(const QString& sql) const;
    // Turns a bound value into what the engine stores: booleans as numbers, dates as canonical text in SQLite.
    QVariant bindValue(const QVariant& v) const;

    // The schema upgrade to version 3 adds the column Import.klassen.
    QString addImportKlassen() const;

private:
    DbKind kind_;
};
