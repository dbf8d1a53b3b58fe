#include "output/xlsxexport.h"

#include "common/interaction.h"
#include "output/htmlexport.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QDir>
#include <QFile>
#include <xlsxwriter.h>

namespace xlsxexport {

namespace {

// Closes a workbook that was left early, so no temporary file of the library stays open.
struct WorkbookGuard {
    lxw_workbook* wb = nullptr;
    ~WorkbookGuard() {
        if (wb) workbook_close(wb);
    }
};

} // namespace

void schreiben(const QString& path, const listen::Liste& liste, Interaction* progress) {
    exportdatei::schreibenUeber(path, [&](const QString& temp) {
        bool ok = false;
        WorkbookGuard g;
        const QByteArray tempName = QFile::encodeName(temp);
        g.wb = workbook_new(tempName.constData());
        if (g.wb) {
            const QByteArray blatt = liste.blattname.toUtf8();
            lxw_worksheet* ws = workbook_add_worksheet(g.wb, blatt.constData());
            if (ws) {
                lxw_format* fett = workbook_add_format(g.wb);
                format_set_bold(fett);
                bool alle =
                    worksheet_write_string(ws, 0, 0, liste.titel.toUtf8().constData(), fett) == LXW_NO_ERROR;
                for (int c = 0; c < liste.kopf.size(); ++c)
                    alle = alle &&
                           worksheet_write_string(ws, 1, lxw_col_t(c), liste.kopf[c].toUtf8().constData(),
                                                  fett) == LXW_NO_ERROR;
                const int n = int(liste.zeilen.size());
                for (int r = 0; r < n && alle; ++r) {
                    const QStringList& z = liste.zeilen[r];
                    for (int c = 0; c < z.size(); ++c) {
                        if (z[c].isEmpty()) continue;
                        alle = alle &&
                               worksheet_write_string(ws, lxw_row_t(r + 2), lxw_col_t(c),
                                                      z[c].toUtf8().constData(), nullptr) == LXW_NO_ERROR;
                    }
                    if (progress && (r % 100 == 0 || r + 1 == n)) progress->progress(r + 1, n);
                }
                const lxw_error closed = workbook_close(g.wb);
                g.wb = nullptr;
                ok = alle && closed == LXW_NO_ERROR;
            }
        }
        return ok;
    });
}

QString exportieren(const AppState& state, Tdb_procedures& db, Interaction& interaction,
                    const QString& programDir, const listen::Datensatz& d, const QStringList& captions) {
    QString path = interaction.saveFile(QStringLiteral("Excel-Export"),
                                        QDir(programDir).filePath(listen::blattname(d.text)),
                                        QStringLiteral("Excel-Arbeitsmappe (*.xlsx)"));
    if (path.isEmpty()) return {};
    if (!path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) path += QStringLiteral(".xlsx");
    try {
        const listen::Liste l = listen::liste(db, state.tid, state.turniername, d, captions);
        schreiben(path, l, &interaction);
    } catch (const ExportFehler& e) {
        interaction.progress(0, 0);
        interaction.error(e.message());
        return {};
    } catch (const DbError& e) {
        interaction.progress(0, 0);
        interaction.error(e.message());
        return {};
    }
    interaction.progress(0, 0);
    return path;
}

} // namespace xlsxexport
