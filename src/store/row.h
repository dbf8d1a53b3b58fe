#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <memory>

// Column names of one result, looked up without regard to case (PostgreSQL folds them to lower case).
class RowColumns {
public:
    explicit RowColumns(const QStringList& names);
    int indexOf(QStringView name) const;
    const QStringList& names() const { return names_; }

private:
    QStringList names_;
    QHash<QString, int> index_;
};

// One row read through the data module. A NULL field, a missing column, or a row that was never read
// gives empty text, 0 or false: callers rely on that.
class Row {
public:
    Row() = default;
    Row(std::shared_ptr<const RowColumns> columns, QVector<QVariant> values)
        : columns_(std::move(columns)), values_(std::move(values)) {}

    bool isEmpty() const { return !columns_; }
    bool isNull(QStringView name) const;
    QVariant value(QStringView name) const;
    QVariant at(int i) const { return i >= 0 && i < values_.size() ? values_[i] : QVariant(); }
    int columnCount() const { return values_.size(); }

    QString text(QStringView name) const;
    int integer(QStringView name) const;
    double number(QStringView name) const;
    bool boolean(QStringView name) const;
    QDate date(QStringView name) const;
    QTime time(QStringView name) const;
    QDateTime dateTime(QStringView name) const;

private:
    // The stored value, or an invalid one for a missing column; read without a copy.
    const QVariant& ref(QStringView name) const;

    std::shared_ptr<const RowColumns> columns_;
    QVector<QVariant> values_;
};

class Rows : public QVector<Row> {
public:
    using QVector<Row>::QVector;
    // The first row, or an empty row that reads as empty text, 0 and false.
    Row firstOrEmpty() const { return isEmpty() ? Row() : first(); }
};

// Conversions shared by rows and the data module; SQLite keeps dates as canonical text.
namespace dbvalue {
QDateTime toDateTime(const QVariant& v);
QDate toDate(const QVariant& v);
QTime toTime(const QVariant& v);
} // namespace dbvalue
