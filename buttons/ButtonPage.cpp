// SPDX-License-Identifier: GPL-3.0-or-later
#include "ButtonPage.h"

#include "KelBtnWindow.h"
#include "KelPushButton.h"

#include <QScrollBar>

ButtonPage::ButtonPage(QWidget *parent) : QScrollArea(parent) {
    setObjectName(QStringLiteral("btnScroll"));
    setFrameShape(QFrame::NoFrame);
    // Tab goes to the buttons inside, and the area scrolls to the one with the focus.
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setStyleSheet(QStringLiteral("QScrollArea{background:transparent;}"));
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:vertical{background:transparent;width:8px;margin:0;}"
                       "QScrollBar::handle:vertical{background:rgb(70,76,84);border-radius:4px;"
                       "min-height:20px;}"
                       "QScrollBar::add-line,QScrollBar::sub-line{height:0;}"
                       "QScrollBar::add-page,QScrollBar::sub-page{background:transparent;}"));
    m_buttons = new KelBtnWindow(this);
    setWidget(m_buttons);
    m_buttons->setAutoFillBackground(false); // the scroll area turns it on
}

void ButtonPage::loadPage(const ProfileSet &set, const PageView &view) {
    m_buttons->loadPage(set, view);
}

void ButtonPage::collectProfile(ProfileSet &set) const {
    m_buttons->collectProfile(set);
}

void ButtonPage::retranslateUi() {
    m_buttons->retranslateUi();
}

void ButtonPage::relayout() {
    m_buttons->relayout(height());
}

void ButtonPage::selectGroup(int iBtn, int group) {
    m_buttons->selectGroup(iBtn, group);
    if (KelPushButton *b = m_buttons->button(group, iBtn))
        ensureWidgetVisible(b, 0, 0);
}
