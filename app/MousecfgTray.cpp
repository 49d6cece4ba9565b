// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon's requests, the language menu and the texts of the main window.
#include "AppConfig.h"
#include "AppDir.h"
#include "AppVersion.h"
#include "BatteryChartDialog.h"
#include "BatteryStatus.h"
#include "BatteryTray.h"
#include "CommandBar.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMenu.h"
#include "KelPushButton.h"
#include "KeyTable.h"
#include "LanguageChooser.h"
#include "LanguageFont.h"
#include "ModelDescriptor.h"
#include "MousePictures.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "SlotSelector.h"

#include <QApplication>
#include <QTimer>
#include <QTranslator>

QSystemTrayIcon *MousecfgWidget::trayIcon() const {
    return m_tray ? m_tray->icon() : nullptr;
}

int MousecfgWidget::lowBatteryNotices() const {
    return m_tray ? m_tray->lowBatteryNotices() : 0;
}

void MousecfgWidget::iconActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason != QSystemTrayIcon::DoubleClick && reason != QSystemTrayIcon::Trigger)
        return;
    // Minimised is not shown: the icon brings the window back as from hidden.
    if (!isVisible() || isMinimized()) {
        slotWarning();
    } else if (!m_warningShown && reason == QSystemTrayIcon::Trigger) {
        // A double click comes as a click, which showed the window, then the double click:
        // that one never hides it again.
        hide();
    }
}

int MousecfgWidget::language() const {
    return m_languages->language();
}

void MousecfgWidget::retranslateUi() {
    m_versionLabel->setText(QLatin1Char('V') + appVersion());
    m_nameEdit->setToolTip(tr("Press Enter To Apply"));

    m_nameLabel->setText(tr("NAME"));
    m_commandBar->retranslateUi();
    m_battery->retranslateUi();
    if (m_batteryChart)
        m_batteryChart->retranslateUi();
    m_tabs[PageLighting]->setText(tr("LIGHTING"));
    m_tabs[PageCustomize]->setText(tr("CUSTOMIZE"));
    m_tabs[PageDpi]->setText(tr("DPI"));
    m_tabs[PageMacro]->setText(tr("MACRO"));
    m_firmwareBtn->setText(tr("Firmware Update"));
    // What a screen reader says for the controls that show pictures, not texts.
    m_closeBtn->setAccessibleName(tr("Close"));
    m_minBtn->setAccessibleName(tr("Minimise"));
    m_libraryBtn->setAccessibleName(tr("Profile library"));
    m_mouseSelBtn->setAccessibleName(tr("Choose mouse"));
    m_nameEdit->setAccessibleName(tr("Profile name"));
    m_logo->setAccessibleName(currentProductName());
    m_languages->retranslateUi();
    m_pictures->retranslateUi();
    if (m_pages)
        m_pages->retranslate();

    m_slots->retranslateUi();
    if (m_tray)
        m_tray->retranslateUi();

    // The status poll rests for half a second around a language change.
    pausePollingForLanguage();

    m_pictures->relayout();
    setPage(m_page);
    setFont(languageFont());
    update();
}
