#pragma once

#include "common/clock.h"
#include "entries/klassen.h"
#include "entries/klassen_fixture.h"
#include "entries/ui/klassenverwalten.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

template <class T> T* child(QWidget& parent, const char* name) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(name));
    if (!widget) ADD_FAILURE() << "no widget " << name;
    return widget;
}

// Public members: the case tables below drive the panel through the fixture.
class ClassPanel : public ::testing::Test {
public:
    void SetUp() override {
        openTournament(db(), state);
        panel = std::make_unique<Klassenverwalten>(state, db(), ui, clock);
    }
    Tdb_procedures& db() { return tdb.db(); }

    template <class T> T* w(const char* name) { return child<T>(*panel, name); }
    QPushButton* button(const char* name) { return w<QPushButton>(name); }
    QLineEdit* name() { return w<QLineEdit>("kbezeichnung"); }
    QComboBox* kind() { return w<QComboBox>("system"); }
    QPushButton* save() { return button("klasse_speichern"); }
    QListWidget* list(int k) {
        static const char* const names[] = {"einzelliste", "doppelliste", "mixedliste", "courbliste"};
        return w<QListWidget>(names[k]);
    }
    QStringList texts(QListWidget* l) {
        QStringList t;
        for (int i = 0; i < l->count(); ++i)
            t << l->item(i)->text();
        return t;
    }
    QStringList tableList() { return texts(w<QListWidget>("plattenlist")); }
    // Chooses a class in its overview list as a click would.
    void choose(int k, const QString& className) {
        const auto found = list(k)->findItems(className, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << className.toStdString();
        list(k)->setCurrentItem(found.first());
    }
    int storedClass(const QString& className, int system) {
        return Klassenverwaltung(state, db(), ui).lookupKid(className, system);
    }
    // Stores classes directly and opens the panel on them.
    void storeAndOpen(const QList<QPair<QString, int>>& classes) {
        Klassenverwaltung k(state, db(), ui);
        for (const auto& [n, system] : classes)
            ASSERT_EQ(k.save(validForm(n, system), 0).outcome, Klassenverwaltung::Outcome::Saved);
        panel->showPanel();
    }

    TestDatabase tdb{DbKind::File};
    AppState state;
    ScriptedInteraction ui;
    FixedClock clock{QDateTime(QDate(2024, 3, 1), QTime(10, 0))};
    std::unique_ptr<Klassenverwalten> panel;
};
