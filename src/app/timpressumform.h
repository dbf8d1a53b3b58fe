#pragma once

#include <QDialog>

// The about box: program, version, maker and the licences of the libraries the program ships with.
class TImpressumForm : public QDialog {
    Q_OBJECT
public:
    explicit TImpressumForm(QWidget* parent = nullptr);

    static QString programVersion() { return QStringLiteral("1.02"); }
    static QString text();
};
