#include "output/pdfprint.h"

#include <QFile>
#include <QPageSize>
#include <QPdfWriter>

bool printToPdf(const QString& path, QPageLayout::Orientation orientation,
                const std::function<void(PrintSurface&)>& draw) {
    {
        QPdfWriter writer(path);
        writer.setCreator(QStringLiteral("Velmora"));
        writer.setResolution(600);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        PrintSurface surface(&writer);
        surface.setOrientation(orientation);
        if (!surface.begin()) {
            QFile::remove(path);
            return false;
        }
        draw(surface);
        surface.end();
    }
    return QFile::exists(path);
}
