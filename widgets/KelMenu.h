// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dark pop-up menu: the selected entry in the interface colour, texts in the language's
// font. Colour and font are taken again each time the menu opens.

#include <QAction>
#include <QMenu>

class KelMenu : public QMenu {
    Q_OBJECT

public:
    explicit KelMenu(QWidget *parent = nullptr);
    explicit KelMenu(const QString &title, QWidget *parent = nullptr);

    // The style sheet for a selection colour.
    static QString menuStyleSheet(const QColor &selection);
    // Applies the current interface colour and language font.
    void refreshStyle();
    // A menu taller than the screen scrolls instead of breaking into columns.
    void setScrollable(bool scrollable);
    // Closes, without a choice, every menu of owner that is open: a page shown for another
    // slot closes the menu opened for the one before, whose choice would land in this one.
    static void closeOpenMenus(QWidget *owner);

private:
    bool m_scrollable = false;
};

// A menu entry that carries a number (a slot, a model index, a language number).
class KelAction : public QAction {
    Q_OBJECT

public:
    explicit KelAction(const QString &text, QObject *parent = nullptr, int id = 0);

    int id() const { return m_id; }
    void setId(int id) { m_id = id; }

private:
    int m_id;
};
