// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelMenu.h"

#include "InterfaceColour.h"
#include "LanguageFont.h"

KelMenu::KelMenu(QWidget *parent) : QMenu(parent) {
    refreshStyle();
    // Before the menu is sized and placed: a font changed since (another scale, another
    // language) would otherwise grow it where it was placed for the old one.
    connect(this, &QMenu::aboutToShow, this, &KelMenu::refreshStyle);
}

KelMenu::KelMenu(const QString &title, QWidget *parent) : QMenu(title, parent) {
    refreshStyle();
    connect(this, &QMenu::aboutToShow, this, &KelMenu::refreshStyle);
}

void KelMenu::closeOpenMenus(QWidget *owner) {
    for (QMenu *menu : owner->findChildren<QMenu *>()) {
        if (menu->isVisible())
            menu->hide();
    }
}

QString KelMenu::menuStyleSheet(const QColor &selection) {
    return QStringLiteral("QMenu{background-color: rgb(30, 30, 30); color: rgb(255, 255, 255);"
                          " border: 1px solid rgb(%1, %2, %3);}"
                          "QMenu::item{padding: 4px 16px 4px 16px; background: transparent;}"
                          "QMenu::item:selected{background-color: rgb(%1, %2, %3);"
                          " color: rgb(0, 0, 0);}"
                          "QMenu::item:disabled{color: rgb(100, 100, 100);}"
                          "QMenu::separator{height: 1px; background: rgb(80, 80, 80);}")
        .arg(selection.red())
        .arg(selection.green())
        .arg(selection.blue());
}

void KelMenu::setScrollable(bool scrollable) {
    m_scrollable = scrollable;
    refreshStyle();
}

void KelMenu::refreshStyle() {
    QString sheet = menuStyleSheet(interfaceColour());
    if (m_scrollable)
        sheet += QStringLiteral("QMenu{menu-scrollable: 1;}");
    if (styleSheet() != sheet)
        setStyleSheet(sheet);
    setFont(languageFont());
}

KelAction::KelAction(const QString &text, QObject *parent, int id)
    : QAction(text, parent), m_id(id) {}
