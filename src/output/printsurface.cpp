#include "output/printsurface.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPen>

PrintSurface::PrintSurface(QPagedPaintDevice* device) : device_(device) {
    font_ = QFont(QStringLiteral("Arial"));
    font_.setPixelSize(35);
}

PrintSurface::~PrintSurface() {
    if (painter_.isActive()) painter_.end();
}

void PrintSurface::setOrientation(QPageLayout::Orientation orientation) { device_->setPageOrientation(orientation); }

bool PrintSurface::begin() {
    if (!painter_.begin(device_)) return false;
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    pages_ = 1;
    setFont(font_.family(), 35);
    setPenWidth(penTenths_);
    return true;
}

void PrintSurface::newPage() {
    if (device_->newPage()) ++pages_;
}

void PrintSurface::end() {
    if (painter_.isActive()) painter_.end();
}

int PrintSurface::resolutionY() const { return device_->logicalDpiY(); }

// Measures in dots of the device's own resolution.
int PrintSurface::pageWidthDots() const { return device_->pageLayout().fullRectPixels(device_->logicalDpiY()).width(); }
int PrintSurface::pageHeightDots() const {
    return device_->pageLayout().fullRectPixels(device_->logicalDpiY()).height();
}
int PrintSurface::offsetLeftDots() const { return device_->pageLayout().paintRectPixels(device_->logicalDpiY()).left(); }
int PrintSurface::offsetTopDots() const { return device_->pageLayout().paintRectPixels(device_->logicalDpiY()).top(); }

double PrintSurface::tenthsPerDot() const { return 254.0 / device_->logicalDpiY(); }

double PrintSurface::scale() const {
    // Device pixels per tenth of a millimetre.
    return device_->logicalDpiY() / 254.0;
}

QPointF PrintSurface::toDevice(int x, int y) const {
    // Like a printer's device context, the origin is the top-left corner of the printable area;
    // callers that need the paper's edge take the offsets into account themselves.
    const double s = scale();
    return QPointF((x - origin_.x()) * s, -(y - origin_.y()) * s);
}

void PrintSurface::setWindowOrigin(int ox, int oy) { origin_ = QPoint(ox, oy); }

void PrintSurface::setFont(const QString& family, int heightTenths, bool bold, bool italic, bool underline) {
    font_ = QFont(family);
    font_.setPixelSize(qMax(1, qRound(heightTenths * scale())));
    font_.setBold(bold);
    font_.setItalic(italic);
    font_.setUnderline(underline);
    if (painter_.isActive()) painter_.setFont(font_);
}

void PrintSurface::textOut(int x, int y, const QString& text) {
    const QFontMetricsF fm(font_, device_);
    const QPointF p = toDevice(x, y);
    painter_.setPen(QPen(penColor_));
    painter_.drawText(QPointF(p.x(), p.y() + fm.ascent()), text);
    setPenWidth(penTenths_);
}

int PrintSurface::textWidth(const QString& text) const {
    const QFontMetricsF fm(font_, device_);
    return qRound(fm.horizontalAdvance(text) / scale());
}

int PrintSurface::textHeight() const {
    const QFontMetricsF fm(font_, device_);
    return qRound(fm.height() / scale());
}

void PrintSurface::setPenWidth(int tenths) {
    penTenths_ = tenths;
    if (painter_.isActive()) painter_.setPen(QPen(penColor_, qMax(1.0, tenths * scale()), Qt::SolidLine, Qt::SquareCap));
}

void PrintSurface::setPenColor(const QColor& color) {
    penColor_ = color;
    setPenWidth(penTenths_);
}

void PrintSurface::moveTo(int x, int y) { current_ = QPoint(x, y); }

void PrintSurface::lineTo(int x, int y) {
    painter_.drawLine(toDevice(current_.x(), current_.y()), toDevice(x, y));
    current_ = QPoint(x, y);
}

void PrintSurface::line(int x1, int y1, int x2, int y2) {
    moveTo(x1, y1);
    lineTo(x2, y2);
}

void PrintSurface::fillRect(int x1, int y1, int x2, int y2, const QColor& color) {
    const QPointF a = toDevice(x1, y1);
    const QPointF b = toDevice(x2, y2);
    painter_.fillRect(QRectF(a, b).normalized(), color);
}
