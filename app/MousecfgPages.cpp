// The main window's pages: made once, placed by the scale factor, shown by the page rule,
// loaded from the working set, collected on Apply and OK, and told what the mouse reports.
// Each page keeps to its own block in every function here.
#include "AppConfig.h"
#include "KelColorWindow.h"
#include "KelLineEdit.h"
#include "KelPushButton.h"
#include "LightingRules.h"
#include "MacroDialog.h"
#include "MacroList.h"
#include "MainLayout.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "Scale.h"

#include <QScrollArea>

using namespace MainLayout;

namespace {
QRect placePage(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height());
}
} // namespace

void MousecfgWidget::createPages() {
    // Lighting page.
    m_colorWindow = new KelColorWindow(this);

    // Button page, inside its scroll area.
    m_btnScroll = new QScrollArea(this);
    m_btnScroll->setObjectName(QStringLiteral("btnScroll"));
    m_btnScroll->setFrameShape(QFrame::NoFrame);
    m_btnScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_btnScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_btnScroll->setStyleSheet(QStringLiteral("QScrollArea{background:transparent;}"));
    m_btnScroll->viewport()->setAutoFillBackground(false);

    // DPI, report-rate and sensor pages.

    // Macro page.
    m_macroDialog = new MacroDialog(this);
    connect(m_macroDialog, &MacroDialog::EnableButtonsSignal, this,
            &MousecfgWidget::slotEnableButtons);
    // Buttons bound to a renamed macro follow it, so they do not point at a missing file.
    connect(m_macroDialog, &MacroDialog::MacroRenamed, this,
            [this](const QString &from, const QString &to) {
                if (renameBoundMacros(workingSet(), from, to) > 0)
                    refreshPages();
            });
}

void MousecfgWidget::layoutPages() {
    // Lighting page. Its rows reach further down than the 199 units of kColorWindow, so it
    // takes the whole height of the content panel, from the panel's top.
    m_colorWindow->setGeometry(placePage(
        QRect(kColorWindow.x(), kContentArea.y(), kColorWindow.width(), kContentArea.height())));
    m_colorWindow->relayout();

    // Button page.
    m_btnScroll->setGeometry(placePage(kBtnWindowArea));

    // DPI, report-rate and sensor pages.

    // Macro page.
    m_macroDialog->setGeometry(placePage(kMacroDialog));
    m_macroDialog->relayout();
}

void MousecfgWidget::showPages() {
    // Lighting page.
    m_colorWindow->setVisible(m_page == PageLighting);

    // Button page.
    m_btnScroll->setVisible(m_page == PageCustomize);

    // DPI, report-rate and sensor pages.

    // Macro page.
    m_macroDialog->setVisible(m_page == PageMacro);
}

void MousecfgWidget::refreshPages() {
    ProfileSet &w = workingSet();
    showProfileIndicator(w.activeIndex());
    m_nameEdit->setText(w.profileNames[w.activeIndex()]);

    // Lighting page: the effect of the active profile (the first one's on model 7350); the
    // colours, brightness, speed, sleep time and move-off of the first profile, which the
    // mouse's one lighting table is built from.
    m_colorWindow->loadProfile(
        &w.profiles[lightingRecordIndex(currentProductName(), w.activeIndex())], &w.profiles[0]);
    m_colorWindow->retranslateUi();

    // Button page.

    // DPI, report-rate and sensor pages.

    // Macro page.
}

void MousecfgWidget::collectPages() {
    ProfileSet &w = workingSet();
    Q_UNUSED(w)

    // DPI, report-rate and sensor pages.
}

void MousecfgWidget::retranslatePages() {
    // Lighting page.
    m_colorWindow->retranslateUi();

    // Button page.

    // DPI, report-rate and sensor pages.

    // Macro page.
    m_macroDialog->retranslateUi();
}
