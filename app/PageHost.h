// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's pages in one list: each is made when its tab is first shown (or its values
// first needed), placed by the design rectangles and the scale factor, shown by tab, and
// loaded, collected, worded and laid out through the one contract every page keeps.

#include "SettingsPage.h"

#include <QList>
#include <QRect>

#include <vector>

class ButtonPage;
class KelColorWindow;
class KelDPIWindow;
class KelPointSpeed;
class KelReportRate;
class MacroDialog;
class QWidget;

class PageHost {
public:
    // The tabs, in the order of the window's tab buttons.
    enum Tab { TabLighting = 0, TabCustomize = 1, TabDpi = 2, TabMacro = 3, TabCount = 4 };

    // Pages are made as children of window, below the widget `above`.
    PageHost(QWidget *window, QWidget *above);

    bool made(int tab) const;
    // Makes the pages of a tab, hidden, placed and worded; false when they were made before
    // (or the tab is not one). The caller connects and loads them.
    bool make(int tab);
    // Shows the pages of one tab and hides the others.
    void show(int tab);
    // Through the contract, for every page made.
    void load(const ProfileSet &set, const PageView &view);
    // Loads the pages of one tab only: the others may hold edits not yet collected.
    void loadTab(int tab, const ProfileSet &set, const PageView &view);
    void collect(ProfileSet &set) const;
    void retranslate();
    void relayout();
    // The controls of a tab's pages for Tab: page by page, each in reading order.
    QList<QWidget *> focusOrder(int tab) const;

    // The pages, once made (nullptr before).
    KelColorWindow *lighting() const { return m_lighting; }
    ButtonPage *buttons() const { return m_buttons; }
    KelDPIWindow *dpi() const { return m_dpi; }
    KelReportRate *reportRate() const { return m_reportRate; }
    KelPointSpeed *sensor() const { return m_sensor; }
    MacroDialog *macro() const { return m_macro; }

private:
    struct Part {
        int tab;
        SettingsPage *page;
        QWidget *widget;
        QRect design;
    };
    template <typename Page> Page *add(int tab, const QRect &design);
    void place(const Part &part) const;

    QWidget *m_window;
    QWidget *m_above;
    std::vector<Part> m_parts;
    KelColorWindow *m_lighting = nullptr;
    ButtonPage *m_buttons = nullptr;
    KelDPIWindow *m_dpi = nullptr;
    KelReportRate *m_reportRate = nullptr;
    KelPointSpeed *m_sensor = nullptr;
    MacroDialog *m_macro = nullptr;
};
