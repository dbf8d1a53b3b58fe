#include "app/qtinteraction.h"

#include "output/printsurface.h"
#include "output/ui/tdruck_form.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

namespace {
QMessageBox::Icon boxIcon(Interaction::Icon icon) {
    switch (icon) {
    case Interaction::Icon::Information:
        return QMessageBox::Information;
    case Interaction::Icon::Warning:
        return QMessageBox::Warning;
    case Interaction::Icon::Error:
        return QMessageBox::Critical;
    case Interaction::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString boxTitle() {
    return QApplication::applicationDisplayName();
}
} // namespace

void QtInteraction::setParentWidget(QWidget* parent) {
    parent_ = parent;
}

void QtInteraction::setProgressBar(QProgressBar* bar) {
    bar_ = bar;
}

QString QtInteraction::buttonText(Button button) {
    switch (button) {
    case Button::Ok:
        return QStringLiteral("OK");
    case Button::Cancel:
        return QStringLiteral("Abbrechen");
    case Button::Yes:
        return QStringLiteral("Ja");
    case Button::No:
        return QStringLiteral("Nein");
    }
    return {};
}

void QtInteraction::message(Icon icon, const QString& text, Button button) {
    QMessageBox box(boxIcon(icon), boxTitle(), text, QMessageBox::NoButton, parent_);
    QPushButton* b = box.addButton(buttonText(button), QMessageBox::AcceptRole);
    box.setDefaultButton(b);
    box.setEscapeButton(b);
    box.exec();
}

bool QtInteraction::confirm(const QString& text, Question question) {
    return ask(text, question, false);
}

bool QtInteraction::confirmDefaultNo(const QString& text, Question question) {
    return ask(text, question, true);
}

bool QtInteraction::ask(const QString& text, Question question, bool defaultNo) {
    QMessageBox box(QMessageBox::Question, boxTitle(), text, QMessageBox::NoButton, parent_);
    const bool yesNo = question == Question::YesNo;
    QPushButton* yes = box.addButton(buttonText(yesNo ? Button::Yes : Button::Ok), QMessageBox::YesRole);
    QPushButton* no = box.addButton(buttonText(yesNo ? Button::No : Button::Cancel), QMessageBox::NoRole);
    box.setDefaultButton(defaultNo ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

QString QtInteraction::openFile(const QString& caption, const QString& directory, const QString& filter) {
    return QFileDialog::getOpenFileName(parent_, caption, directory, filter);
}

QString QtInteraction::saveFile(const QString& caption, const QString& presetPath, const QString& filter,
                                bool confirmOverwrite) {
    return QFileDialog::getSaveFileName(parent_, caption, presetPath, filter, nullptr,
                                        confirmOverwrite ? QFileDialog::Options() : QFileDialog::DontConfirmOverwrite);
}

void QtInteraction::progress(int value, int maximum) {
    if (!bar_) return;
    if (maximum <= 0) {
        // No operation running: an empty bar, not the busy indicator a range of 0..0 would show.
        bar_->setRange(0, 1);
        bar_->setValue(0);
    } else {
        bar_->setRange(0, maximum);
        bar_->setValue(qBound(0, value, maximum));
    }
    // Long operations run on the interface thread; draw the bar now, not after they end.
    bar_->repaint();
}

bool QtInteraction::print(const QString& title, QPageLayout::Orientation orientation,
                          const std::function<void(PrintSurface&)>& draw, PrintMode mode) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageOrientation(orientation);
    bool drawn = true;
    auto paint = [&](QPrinter* target) {
        PrintSurface surface(target);
        if (!surface.begin()) {
            drawn = false;
            draw(surface);
            return;
        }
        draw(surface);
        surface.end();
    };
    if (mode == PrintMode::Preview) {
        QPrintPreviewDialog preview(&printer, parent_);
        preview.setWindowTitle(title);
        QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, paint);
        return preview.exec() == QDialog::Accepted && drawn;
    }
    QPrintDialog dialog(&printer, parent_);
    dialog.setWindowTitle(QStringLiteral("Drucken"));
    if (dialog.exec() != QDialog::Accepted) return false;
    paint(&printer);
    return drawn;
}

std::optional<Interaction::DruckWahl> QtInteraction::druckwahl(const Groessentexte& groessen) {
    Tdruck_form dialog(parent_);
    dialog.vorbereiten(groessen);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.wahl();
}
