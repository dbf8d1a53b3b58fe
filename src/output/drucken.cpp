#include "output/drucken.h"

#include "output/printsurface.h"

#include <exception>

bool druckenMitMeldung(Interaction& interaction, const QString& title, QPageLayout::Orientation orientation,
                       const std::function<void(PrintSurface&)>& draw, Interaction::PrintMode mode) {
    bool failed = false;
    bool printed = false;
    try {
        printed = interaction.print(
            title, orientation,
            [&](PrintSurface& s) {
                if (!s.isActive()) {
                    failed = true;
                    return;
                }
                draw(s);
            },
            mode);
    } catch (const std::exception&) {
        failed = true;
    }
    if (failed) {
        interaction.error(QStringLiteral("Druckerfehler"), Interaction::Button::Ok);
        return false;
    }
    return printed;
}
