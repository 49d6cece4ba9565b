// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's pages: made when first shown, connected to the window, shown by the page
// rule, loaded from the working set and collected back into it, and told what the mouse
// reports. The pages themselves live in PageHost.
#include "AppConfig.h"
#include "BatteryStatus.h"
#include "ButtonPage.h"
#include "CommandBar.h"
#include "FocusOrder.h"
#include "KelBtnWindow.h"
#include "KelColorWindow.h"
#include "KelDPIWindow.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "KelPointSpeed.h"
#include "KelPushButton.h"
#include "KelReportRate.h"
#include "LanguageChooser.h"
#include "LightingRules.h"
#include "MacroDialog.h"
#include "MacroList.h"
#include "MacroListPanel.h"
#include "MousePictures.h"
#include "MousecfgWidget.h"
#include "PointerSpeed.h"
#include "SlotSelector.h"

#include "MousePictures.h"
#include "ProfileData.h"

// A page is made when it is first shown, or when its values are first needed: until then the
// working set holds everything it would show.
void MousecfgWidget::makePage(int page) {
    if (!m_pages->make(page))
        return;
    connectPage(page);
    // Under a desktop that takes no pointer speed from programs, the sensor page says so.
    if (page == PageDpi)
        m_pages->sensor()->setHostSpeedApplies(PointerSpeed::activeBackend() != PointerSpeed::None);
    // Only the new page is loaded: the pages made before may hold edits not yet collected.
    m_pages->loadTab(page, m_working, pageView());
}

// Every connect of a page to the window: what a page asks of the window, and values that are
// not the page's own record, which the window writes and relays.
void MousecfgWidget::connectPage(int page) {
    switch (page) {
    case PageLighting:
        connect(m_pages->lighting(), &KelColorWindow::SleepTimeChanged, this,
                &MousecfgWidget::slotSleepTimeChange);
        connect(m_pages->lighting(), &KelColorWindow::MoveOffChanged, this,
                &MousecfgWidget::slotMoveOffChange);
        break;
    case PageCustomize: {
        KelBtnWindow *buttons = m_pages->buttons()->buttons();
        connect(buttons, &KelBtnWindow::GotoMacroTab, this, &MousecfgWidget::slotGotoMacro);
        connect(buttons, &KelBtnWindow::PopOneClickBox, this, &MousecfgWidget::slotPopOneClickBox);
        // A button of the page stands for a spot of the mouse picture: the main buttons for
        // the spots of the picture shown (the side picture marks the same buttons), the
        // wheel buttons for the wheel spots.
        connect(buttons, &KelBtnWindow::SelBtnChanged, this, [this](quint8 iBtn, quint8 bType) {
            SelBtnChanged(iBtn, bType == 2                  ? MousePictures::SpotWheel
                                : m_pictures->isFrontView() ? MousePictures::SpotFront
                                                            : MousePictures::SpotSide);
        });
        connect(buttons, &KelBtnWindow::SelBtnControl, this,
                [this, buttons](KelPushButton *btn, bool on) {
                    for (int i = 0; i < MousePictures::kSpotCount; ++i) {
                        if (btn == buttons->button(0, i))
                            m_pictures->showButtonPicture(i, on);
                    }
                });
        break;
    }
    case PageDpi:
        // The lift-off distance chosen on the report-rate page is the set's at once, and the
        // sensor page is told so that its collect hands back the same; the DPI page's two
        // lighting options belong to profile slot 0.
        connect(m_pages->reportRate(), &KelReportRate::RefreshLift, this,
                &MousecfgWidget::slotLiftChange);
        connect(m_pages->reportRate(), &KelReportRate::RefreshLift, m_pages->sensor(),
                &KelPointSpeed::setLift);
        connect(m_pages->dpi(), &KelDPIWindow::SleepTimeChanged, this,
                &MousecfgWidget::slotSleepTimeChange);
        connect(m_pages->dpi(), &KelDPIWindow::MoveOffChanged, this,
                &MousecfgWidget::slotMoveOffChange);
        break;
    case PageMacro:
        connect(m_pages->macro(), &MacroDialog::EnableButtonsSignal, this,
                &MousecfgWidget::slotEnableButtons);
        // Deleting a macro a button plays is asked first: the pages' choices count, and so do
        // the library's profiles (of every model) that no slot holds.
        m_pages->macro()->listPanel()->setBoundCheck([this](const QString &name) {
            keepPageEdits();
            return macroBound(m_working, name) || macroBoundOnDisk(name);
        });
        // Buttons bound to a renamed macro follow it, so they do not point at a missing file.
        connect(m_pages->macro(), &MacroDialog::MacroRenamed, this,
                [this](const QString &from, const QString &to) {
                    keepPageEdits();
                    // What the mouse was sent follows too: a slot switch sends it again.
                    renameBoundMacros(m_applied, from, to);
                    if (renameBoundMacros(m_working, from, to) > 0)
                        refreshPages();
                });
        break;
    default:
        break;
    }
}

PageView MousecfgWidget::pageView() const {
    PageView view;
    view.profile = m_working.activeIndex();
    // The effect of the active profile (the first one's on some models); the settings of
    // every effect are the first profile's, which the mouse's one lighting table is built from.
    view.effectRecord = lightingRecordIndex(currentProductName(), view.profile);
    view.sensorCode = sensorCode();
    return view;
}

// The sleep time and "MOVE TO LIGHT OFF" are profile slot 0's, shown on the lighting page and,
// for models without one, on the DPI page: set on one, shown on both.
void MousecfgWidget::slotSleepTimeChange(quint8 minutes) {
    m_working.profiles[0].LedSleepTime = minutes;
    showLightingOptions();
}

void MousecfgWidget::slotMoveOffChange(quint8 value) {
    m_working.profiles[0].LedMoveOFF = value;
    showLightingOptions();
}

void MousecfgWidget::showLightingOptions() {
    const ProfileData &first = m_working.profiles[0];
    if (m_pages->lighting())
        m_pages->lighting()->showLightingOptions(first.LedSleepTime, first.LedMoveOFF);
    if (m_pages->dpi())
        m_pages->dpi()->showLightingOptions(first.LedSleepTime, first.LedMoveOFF);
}

void MousecfgWidget::showPages() {
    makePage(m_page);
    m_pages->show(m_page);
    // The button page marks the spot selected on the mouse picture.
    if (m_pages->buttons())
        m_pages->buttons()->selectGroup(m_pictures->selectedIndex(),
                                        m_pictures->selectedKind() == MousePictures::SpotWheel ? 2
                                                                                               : 0);
    chainFocus();
}

void MousecfgWidget::chainFocus() {
    QList<QWidget *> chain;
    for (KelPushButton *t : m_tabs)
        chain << t;
    chain << m_slots->indicators() << m_battery->picture();
    chain << m_nameEdit << m_libraryBtn << m_mouseSelBtn << m_languages->button() << m_minBtn
          << m_closeBtn;
    if (m_page == PageCustomize)
        chain << inReadingOrder(m_pictures->controls(), this);
    chain << m_pages->focusOrder(m_page);
    chain << inReadingOrder(m_commandBar->buttons() << m_slots->menuButton() << m_firmwareBtn,
                            this);
    chainTabOrder(chain);
}

void MousecfgWidget::refreshPages() {
    m_slots->showActive(m_working.activeIndex());
    m_nameEdit->setText(m_working.profileNames[m_working.activeIndex()]);
    m_pages->load(m_working, pageView());
    // An import, a library profile or Cancel may change the stage or rate a status tells.
    emit statusMayHaveChanged();
}

void MousecfgWidget::keepPageEdits() {
    m_pages->collect(m_working);
}

// Button page.
void MousecfgWidget::slotPopOneClickBox() {
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                      tr("AT LEAST ONE CLICK FUNCTION TO BE RETAINED."), QString(), this);
    box.exec();
}
