// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageHost.h"

#include "ButtonPage.h"
#include "FocusOrder.h"
#include "KelColorWindow.h"
#include "KelDPIWindow.h"
#include "KelPointSpeed.h"
#include "KelReportRate.h"
#include "MacroDialog.h"
#include "MainLayout.h"
#include "Scale.h"

using namespace MainLayout;

PageHost::PageHost(QWidget *window, QWidget *above) : m_window(window), m_above(above) {}

bool PageHost::made(int tab) const {
    for (const Part &part : m_parts) {
        if (part.tab == tab)
            return true;
    }
    return false;
}

template <typename Page> Page *PageHost::add(int tab, const QRect &design) {
    auto *page = new Page(m_window);
    // Below the spots of the mouse picture, which stack above everything made before them.
    page->stackUnder(m_above);
    page->hide();
    m_parts.push_back({tab, page, page, design});
    place(m_parts.back());
    page->retranslateUi();
    return page;
}

bool PageHost::make(int tab) {
    if (made(tab))
        return false;
    switch (tab) {
    case TabLighting:
        // Its rows reach further down than kColorWindow, so it takes the whole height of the
        // content panel, from the panel's top.
        m_lighting = add<KelColorWindow>(tab, QRect(kColorWindow.x(), kContentArea.y(),
                                                    kColorWindow.width(), kContentArea.height()));
        return true;
    case TabCustomize:
        m_buttons = add<ButtonPage>(tab, kBtnWindowArea);
        return true;
    case TabDpi:
        m_dpi = add<KelDPIWindow>(tab, kDpiWindow);
        m_reportRate = add<KelReportRate>(tab, kReportRate);
        m_sensor = add<KelPointSpeed>(tab, kPointSpeed);
        return true;
    case TabMacro:
        m_macro = add<MacroDialog>(tab, kMacroDialog);
        return true;
    default:
        return false;
    }
}

void PageHost::place(const Part &part) const {
    const QRect &d = part.design;
    part.widget->setGeometry(scaledRect(d.x(), d.y(), d.width(), d.height()));
    part.page->relayout();
}

void PageHost::show(int tab) {
    for (const Part &part : m_parts)
        part.widget->setVisible(part.tab == tab);
}

void PageHost::load(const ProfileSet &set, const PageView &view) {
    for (const Part &part : m_parts)
        part.page->loadPage(set, view);
}

void PageHost::loadTab(int tab, const ProfileSet &set, const PageView &view) {
    for (const Part &part : m_parts) {
        if (part.tab == tab)
            part.page->loadPage(set, view);
    }
}

void PageHost::collect(ProfileSet &set) const {
    for (const Part &part : m_parts)
        part.page->collectProfile(set);
}

void PageHost::retranslate() {
    for (const Part &part : m_parts)
        part.page->retranslateUi();
}

void PageHost::relayout() {
    for (const Part &part : m_parts)
        place(part);
}

QList<QWidget *> PageHost::focusOrder(int tab) const {
    QList<QWidget *> order;
    for (const Part &part : m_parts) {
        if (part.tab == tab)
            order << readingOrder(part.widget);
    }
    return order;
}
