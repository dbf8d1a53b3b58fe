#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QPushButton;
class QToolButton;
class QVBoxLayout;

// A collapsible bar of the navigation column: a header button with the bar's caption that folds the
// items in and out, and below it one flat button per item. Items are plain buttons so that the keyboard
// reaches them and screen readers announce their captions.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    explicit NavigationBar(const QString& caption, QWidget* parent = nullptr);

    QString caption() const { return caption_; }

    // Adds an item at the end and gives its index.
    int addItem(const QString& caption);
    void removeItem(int index);
    void renameItem(int index, const QString& caption);
    void clearItems();

    int itemCount() const { return int(items_.size()); }
    QString itemCaption(int index) const;
    QStringList itemCaptions() const;
    // The index of the first item with this caption, -1 when there is none.
    int indexOf(const QString& caption) const;

    void setItemEnabled(int index, bool enabled);
    // Whether the item itself is enabled, whatever the state of the bar.
    bool isItemEnabled(int index) const;

    void setBarEnabled(bool enabled) { setEnabled(enabled); }
    bool isBarEnabled() const { return isEnabled(); }

    void setExpanded(bool expanded);
    bool isExpanded() const { return expanded_; }

    QToolButton* header() const { return header_; }
    QPushButton* itemButton(int index) const;

signals:
    void itemChosen(int index, const QString& caption);
    void expandedChanged(bool expanded);

private:
    struct Item {
        QString caption;
        QPushButton* button;
    };
    void choose(QPushButton* button);
    void fixTabOrder();

    QString caption_;
    QToolButton* header_;
    QWidget* body_;
    QVBoxLayout* bodyLayout_;
    QList<Item> items_;
    bool expanded_ = false;
};
