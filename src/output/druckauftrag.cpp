#include "output/druckauftrag.h"

#include "common/interaction.h"
#include "output/htmlexport.h"
#include "output/pdfprint.h"
#include "output/printsurface.h"

#include <exception>

void druckerfehler(Interaction& ui) {
    ui.error(QStringLiteral("Druckerfehler"), Interaction::Button::Ok);
}

bool druckauftrag(Interaction& ui, const QString& titel, QPageLayout::Orientation orientation,
                  const std::function<void(PrintSurface&)>& zeichnen, Druckziel ziel,
                  const QString& pdfVorschlag) {
    if (ziel == Druckziel::Pdf) {
        QString path = ui.saveFile(titel + QStringLiteral(" als PDF speichern"),
                                   pdfVorschlag.isEmpty() ? titel + QStringLiteral(".pdf") : pdfVorschlag,
                                   QStringLiteral("PDF (*.pdf)"));
        if (path.isEmpty()) return false;
        if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
        try {
            exportdatei::schreibenUeber(
                path, [&](const QString& temp) { return printToPdf(temp, orientation, zeichnen); });
        } catch (const ExportFehler& e) {
            ui.error(e.message(), Interaction::Button::Ok);
            return false;
        }
        return true;
    }

    bool failed = false;
    bool printed = false;
    try {
        printed = ui.print(
            titel, orientation,
            [&](PrintSurface& s) {
                if (!s.isActive()) {
                    failed = true;
                    return;
                }
                zeichnen(s);
            },
            ziel == Druckziel::Vorschau ? Interaction::PrintMode::Preview : Interaction::PrintMode::Dialog);
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed) {
        druckerfehler(ui);
        return false;
    }
    return printed;
}
