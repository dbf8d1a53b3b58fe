#pragma once

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class PrintSurface;

// The only way logic talks to the user. The program answers through dialogs;
// tests answer from a script and record every message.
class Interaction {
public:
    enum class Icon { None, Information, Warning, Error };
    enum class Button { Ok, Cancel, Yes, No };
    enum class Question { YesNo, OkCancel };

    virtual ~Interaction() = default;

    // A message with one button.
    virtual void message(Icon icon, const QString& text, Button button) = 0;
    // A question; true for "Ja" / "OK".
    virtual bool confirm(const QString& text, Question question) = 0;
    // The same question where a slip of the Enter key would destroy something: "Nein" / "Abbrechen" is
    // the default button.
    virtual bool confirmDefaultNo(const QString& text, Question question) { return confirm(text, question); }
    // File choices; an empty result means the user cancelled.
    virtual QString openFile(const QString& caption, const QString& directory, const QString& filter) = 0;
    // confirmOverwrite false: an existing file is opened, not replaced, so nobody needs to be warned.
    virtual QString saveFile(const QString& caption, const QString& presetPath, const QString& filter,
                             bool confirmOverwrite = true) = 0;
    // Progress of a long operation; maximum 0 hides it.
    virtual void progress(int value, int maximum) = 0;

    enum class PrintMode { Dialog, Preview };
    // Shows the print dialog (or a print preview); when the user confirms, draw() paints the document
    // on a surface already begun in the given orientation. A printer that cannot start a document hands
    // draw() the surface unbegun (isActive() false), so the caller can report it. False when cancelled or
    // the printer failed.
    virtual bool print(const QString& title, QPageLayout::Orientation orientation,
                       const std::function<void(PrintSurface&)>& draw, PrintMode mode) = 0;

    // The print-size dialog of the printed plans ("Drucken"): one of five print sizes, portrait or landscape,
    // and where the printout goes. `groessen` gives the five size captions for a format; without it (group
    // sheets) only the destination is chosen. Nothing when cancelled.
    struct DruckWahl {
        enum class Ziel { Drucker, Vorschau, Pdf };
        int groesse = 2;
        QPageLayout::Orientation format = QPageLayout::Portrait;
        Ziel ziel = Ziel::Drucker;
    };
    using Groessentexte = std::function<QStringList(QPageLayout::Orientation)>;
    // Without a dialog of its own the preset is taken: size 2, portrait, to the printer.
    virtual std::optional<DruckWahl> druckwahl(const Groessentexte& groessen) {
        (void)groessen;
        return DruckWahl{};
    }

    // Error messages carry the button "Abbrechen" unless told otherwise.
    void error(const QString& text, Button button = Button::Cancel) { message(Icon::Error, text, button); }
    void warning(const QString& text, Button button = Button::Ok) { message(Icon::Warning, text, button); }
    void information(const QString& text) { message(Icon::Information, text, Button::Ok); }
    void plain(const QString& text) { message(Icon::None, text, Button::Ok); }
    bool askYesNo(const QString& text) { return confirm(text, Question::YesNo); }
    bool askOkCancel(const QString& text) { return confirm(text, Question::OkCancel); }
};
