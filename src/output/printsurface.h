#pragma once

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QPoint>
#include <QString>

class QPagedPaintDevice;

// The one drawing layer every printout uses, on a printer, a print preview or a PDF file alike.
// Units are tenths of a millimetre with y growing upwards from the top-left corner of the printable
// area: a point 2 cm below it is y = -200. Text is placed by its top-left corner.
class PrintSurface {
public:
    // The device must outlive the surface. Orientation is taken before begin().
    explicit PrintSurface(QPagedPaintDevice* device);
    ~PrintSurface();
    PrintSurface(const PrintSurface&) = delete;
    PrintSurface& operator=(const PrintSurface&) = delete;

    void setOrientation(QPageLayout::Orientation orientation);
    bool begin();
    void newPage();
    void end();
    bool isActive() const { return painter_.isActive(); }
    int pageCount() const { return pages_; }

    // Page measures in device dots, as the printer reports them.
    int resolutionY() const;
    int pageWidthDots() const;
    int pageHeightDots() const;
    int offsetLeftDots() const;
    int offsetTopDots() const;
    // Dots to tenths of a millimetre (254 / resolution), the same factor on both axes.
    double tenthsPerDot() const;

    // Moves the origin of the drawing: drawing at (x, y) lands at (x - ox, y - oy).
    void setWindowOrigin(int ox, int oy);
    QPoint windowOrigin() const { return origin_; }

    void setFont(const QString& family, int heightTenths, bool bold = false, bool italic = false,
                 bool underline = false);
    QFont font() const { return font_; }
    void textOut(int x, int y, const QString& text);
    int textWidth(const QString& text) const;
    int textHeight() const;

    void setPenWidth(int tenths);
    void setPenColor(const QColor& color);
    void moveTo(int x, int y);
    void lineTo(int x, int y);
    void line(int x1, int y1, int x2, int y2);
    void fillRect(int x1, int y1, int x2, int y2, const QColor& color = Qt::black);

    QPainter& painter() { return painter_; }

private:
    QPointF toDevice(int x, int y) const;
    double scale() const;

    QPagedPaintDevice* device_;
    QPainter painter_;
    QFont font_;
    QPoint origin_;
    QPoint current_;
    int penTenths_ = 3;
    QColor penColor_ = Qt::black;
    int pages_ = 0;
};
