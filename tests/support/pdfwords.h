#pragma once

#include <QList>
#include <QString>

// The words of a PDF with their boxes, as pdftotext -bbox reads them, in millimetres from the top-left
// corner of their page; pages count from 1. Printout tests check where a text landed with it.
struct PdfWord {
    QString text;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int page = 0;
};

QList<PdfWord> pdfWords(const QString& pdf);
// The words that read exactly `text`, in reading order.
QList<PdfWord> pdfWordsNamed(const QList<PdfWord>& words, const QString& text);
