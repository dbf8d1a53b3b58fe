// Writes the binary seeds of the fuzz corpus with the program's own writers, so they are the files the
// readers meet in practice: a spreadsheet as libxlsxwriter writes it (shared strings, a date cell), the
// entry form, and a small tournament file with players.
#include "output/entryform.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>
#include <xlsxwriter.h>

namespace {

bool schreiben(const QString& path, const QByteArray& inhalt) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(inhalt) == inhalt.size();
}

bool tabelle(const QString& path, bool inline_) {
    QDir().mkpath(QFileInfo(path).path());
    lxw_workbook_options opt{};
    opt.constant_memory = inline_ ? LXW_TRUE : LXW_FALSE;
    lxw_workbook* wb = workbook_new_opt(path.toUtf8().constData(), &opt);
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* datum = workbook_add_format(wb);
    format_set_num_format(datum, "dd.mm.yyyy");
    const char* kopf[] = {"Nachname", "Vorname", "Verein", "Geburtsdatum", "Geschlecht"};
    for (int c = 0; c < 5; ++c)
        worksheet_write_string(ws, 0, lxw_col_t(c), kopf[c], nullptr);
    worksheet_write_string(ws, 1, 0, "Müller", nullptr);
    worksheet_write_string(ws, 1, 1, "Anna", nullptr);
    worksheet_write_string(ws, 1, 2, "TTC Grün-Weiß", nullptr);
    lxw_datetime geb{2008, 3, 14, 0, 0, 0};
    worksheet_write_datetime(ws, 1, 3, &geb, datum);
    worksheet_write_string(ws, 1, 4, "w", nullptr);
    worksheet_write_string(ws, 2, 0, "Schmidt", nullptr);
    worksheet_write_string(ws, 2, 1, "Jonas", nullptr);
    worksheet_write_number(ws, 2, 3, 39000, nullptr);
    return workbook_close(wb) == LXW_NO_ERROR;
}

bool turnierdatei(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile::remove(path);
    schema::createFile(path);
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        // Small pages and no write-ahead log: a small seed that opens read-only without companions.
        for (const char* sql :
             {"PRAGMA journal_mode=DELETE", "PRAGMA page_size=512",
              "INSERT INTO Turnierdaten (TID, turniername) VALUES (1, 'Kreismeisterschaft')",
              "INSERT INTO Spielerdaten (SID, TID, nachname, vorname, verein, geb, mann, frau) VALUES "
              "(1, 1, 'Müller', 'Anna', 'TTC', '2008-03-14 00:00:00', 0, -1)",
              "INSERT INTO Spielerdaten (SID, TID, nachname, vorname, verein, geb, mann, frau) VALUES "
              "(2, 1, 'Schmidt', 'Jonas', 'TSV', '2007-11-02 00:00:00', -1, 0)",
              "VACUUM"})
            ok = q.exec(QString::fromUtf8(sql)) && ok;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_DIR\n");
        return 2;
    }
    const QDir corpus(QString::fromLocal8Bit(argv[1]));
    entryform::Daten form;
    form.turniername = QStringLiteral("Kreismeisterschaft");
    form.zusatz = QStringLiteral("Einzel");
    form.klassen = {{1, 1, QStringLiteral("Herren A")}, {2, 2, QStringLiteral("Damen Doppel")}};
    const bool ok =
        tabelle(corpus.filePath(QStringLiteral("xlsx/spieler.xlsx")), false) &&
        tabelle(corpus.filePath(QStringLiteral("xlsx/spieler_inline.xlsx")), true) &&
        schreiben(corpus.filePath(QStringLiteral("docx/anmeldeformular.docx")), entryform::docx(form)) &&
        schreiben(corpus.filePath(QStringLiteral("formular_xml/document.xml")),
                  entryform::documentXml(form)) &&
        turnierdatei(corpus.filePath(QStringLiteral("turnierdatei/turnier.sqlite")));
    if (!ok) std::fprintf(stderr, "a seed could not be written\n");
    return ok ? 0 : 1;
}
