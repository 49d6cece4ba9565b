// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro page's command tree ("MOUSE COMMAND"): the five mouse buttons, each with
// "PRESS DOWN" and "BOUNCE UP", and the four movements, each with a distance field. The
// tree follows the item under the mouse; every entry shows a KelTreeItem. From the keyboard
// (Tab reaches the tree) the arrows choose an entry and Enter or Space acts as a click; on a
// distance entry they go to its field, and Enter or Escape there comes back.

#include <QIntValidator>
#include <QTreeWidget>
#include <QWidget>

class KelLabel;
class KelLineEdit;
class QLabel;

// Accepts a movement distance of 1 to 120.
class MyIntValidator2 : public QIntValidator {
    Q_OBJECT

public:
    explicit MyIntValidator2(QObject *parent = nullptr);
    State validate(QString &input, int &pos) const override;
};

// One entry of the tree: an icon and a text, or a label with a distance field.
class KelTreeItem : public QWidget {
    Q_OBJECT

public:
    KelTreeItem(const QString &icon, QWidget *parent = nullptr);
    // An entry with a distance field.
    static KelTreeItem *distanceItem(QWidget *parent = nullptr);

    void setText(const QString &text);
    KelLineEdit *distanceField() const { return m_field; }
    void relayout();

private:
    QLabel *m_icon = nullptr;
    KelLabel *m_text = nullptr;
    KelLineEdit *m_field = nullptr;
};

class KelTreeWidget : public QTreeWidget {
    Q_OBJECT

public:
    // What an entry inserts (Qt::UserRole of its item).
    enum Command { ButtonClick = 0, ButtonPress, ButtonRelease, Movement, DistanceEntry };
    static constexpr int kCommandRole = Qt::UserRole;
    static constexpr int kValueRole = Qt::UserRole + 1; // button mask or direction

    explicit KelTreeWidget(QWidget *parent = nullptr);

    // The nine entries, in order: five buttons, four movements.
    QTreeWidgetItem *buttonItem(int index) const;
    QTreeWidgetItem *moveItem(int direction) const;
    // The distance field of a movement.
    KelLineEdit *distanceField(int direction) const;

    void retranslateUi();
    void relayout();

signals:
    // Enter in a movement's distance field.
    void distanceEntered(int direction, int distance);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    KelTreeItem *entry(QTreeWidgetItem *item) const;

    QTreeWidgetItem *m_buttons[5] = {};
    QTreeWidgetItem *m_moves[4] = {};
};
