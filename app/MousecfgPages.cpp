// The main window's pages: made when first shown, placed by the scale factor, shown by the
// page rule, loaded from the working set, collected on Apply and OK, and told what the mouse
// reports. Each page keeps to its own block in every function here.
#include "AppConfig.h"
#include "KelBtnWindow.h"
#include "KelColorWindow.h"
#include "KelDPIWindow.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "KelPointSpeed.h"
#include "KelPushButton.h"
#include "KelReportRate.h"
#include "LightingRules.h"
#include "MacroDialog.h"
#include "MacroList.h"
#include "MainLayout.h"
#include "MousecfgWidget.h"
#include "ProfileData.h"
#include "Scale.h"

#include <QScrollArea>
#include <QScrollBar>

using namespace MainLayout;

namespace {
QRect placePage(const QRect &design) {
    return scaledRect(design.x(), design.y(), design.width(), design.height());
}
} // namespace

bool MousecfgWidget::pageMade(int page) const {
    switch (page) {
    case PageLighting:
        return m_colorWindow != nullptr;
    case PageCustomize:
        return m_btnWindow != nullptr;
    case PageDpi:
        return m_dpiWindow != nullptr;
    case PageMacro:
        return m_macroDialog != nullptr;
    default:
        return false;
    }
}

// A page is made when it is first shown, or when its values are first needed: until then the
// working set holds everything it would show. It goes where a page made with the window went:
// below the spots of the mouse picture, which stack above everything made before them.
void MousecfgWidget::makePage(int page) {
    if (pageMade(page))
        return;
    QWidget *made = nullptr;
    switch (page) {
    case PageLighting:
        m_colorWindow = new KelColorWindow(this);
        made = m_colorWindow;
        break;
    case PageCustomize: {
        // Inside its scroll area.
        m_btnScroll = new QScrollArea(this);
        m_btnScroll->setObjectName(QStringLiteral("btnScroll"));
        m_btnScroll->setFrameShape(QFrame::NoFrame);
        m_btnScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_btnScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_btnScroll->setStyleSheet(QStringLiteral("QScrollArea{background:transparent;}"));
        m_btnScroll->viewport()->setAutoFillBackground(false);
        m_btnScroll->verticalScrollBar()->setStyleSheet(
            QStringLiteral("QScrollBar:vertical{background:transparent;width:8px;margin:0;}"
                           "QScrollBar::handle:vertical{background:rgb(70,76,84);border-radius:4px;"
                           "min-height:20px;}"
                           "QScrollBar::add-line,QScrollBar::sub-line{height:0;}"
                           "QScrollBar::add-page,QScrollBar::sub-page{background:transparent;}"));
        m_btnWindow = new KelBtnWindow(m_btnScroll, &m_working.activeProfile());
        m_btnScroll->setWidget(m_btnWindow);
        m_btnWindow->setAutoFillBackground(false); // the scroll area turns it on
        connect(m_btnWindow, &KelBtnWindow::GotoMacroTab, this, &MousecfgWidget::slotGotoMacro);
        connect(m_btnWindow, &KelBtnWindow::PopOneClickBox, this,
                &MousecfgWidget::slotPopOneClickBox);
        // A button of the page stands for a spot of the mouse picture: the main buttons for
        // the spots of the picture shown (the side picture marks the same buttons), the
        // wheel buttons for the wheel spots.
        connect(m_btnWindow, &KelBtnWindow::SelBtnChanged, this, [this](quint8 iBtn, quint8 bType) {
            SelBtnChanged(iBtn, bType == 2 ? SpotWheel : (m_front ? SpotFront : SpotSide));
        });
        connect(m_btnWindow, &KelBtnWindow::SelBtnControl, this,
                [this](KelPushButton *btn, bool on) {
                    for (int i = 0; i < kSpotCount; ++i) {
                        if (btn == m_btnWindow->button(0, i))
                            slotMouseOver(spot(m_front ? SpotFront : SpotSide, i), on);
                    }
                });
        made = m_btnScroll;
        break;
    }
    case PageDpi:
        // DPI, report-rate and sensor pages. The lift-off distance chosen on the report-rate
        // page is the set's at once, and the sensor page is told so that Apply hands back
        // the same; the DPI page's two lighting options belong to profile slot 0.
        m_dpiWindow = new KelDPIWindow(this);
        m_reportRate = new KelReportRate(this);
        m_pointSpeed = new KelPointSpeed(this);
        connect(m_reportRate, &KelReportRate::RefreshLift, this, &MousecfgWidget::slotLiftChange);
        connect(m_reportRate, &KelReportRate::RefreshLift, m_pointSpeed, &KelPointSpeed::setLift);
        connect(m_dpiWindow, &KelDPIWindow::SleepTimeChanged, this,
                [this](quint8 minutes) { m_working.profiles[0].LedSleepTime = minutes; });
        connect(m_dpiWindow, &KelDPIWindow::MoveOffChanged, this,
                [this](quint8 value) { m_working.profiles[0].LedMoveOFF = value; });
        m_dpiWindow->stackUnder(m_frontSpots[0]);
        m_reportRate->stackUnder(m_frontSpots[0]);
        made = m_pointSpeed;
        break;
    case PageMacro:
        m_macroDialog = new MacroDialog(this);
        connect(m_macroDialog, &MacroDialog::EnableButtonsSignal, this,
                &MousecfgWidget::slotEnableButtons);
        // Buttons bound to a renamed macro follow it, so they do not point at a missing file.
        connect(m_macroDialog, &MacroDialog::MacroRenamed, this,
                [this](const QString &from, const QString &to) {
                    // Only the button page shows macro names; the other pages keep their
                    // edits. A button page not made yet reads the names when it is.
                    if (renameBoundMacros(m_working, from, to) > 0 && m_btnWindow)
                        m_btnWindow->loadProfile(&m_working.activeProfile(), sensorCode());
                });
        made = m_macroDialog;
        break;
    default:
        return;
    }
    made->stackUnder(m_frontSpots[0]);
    // Hidden until the page rule shows it, then placed, worded and filled as the pages made
    // with the window are.
    made->hide();
    if (page == PageDpi) {
        m_dpiWindow->hide();
        m_reportRate->hide();
    }
    layoutPage(page);
    retranslatePage(page);
    refreshPage(page);
}

void MousecfgWidget::layoutPages() {
    for (int page = 0; page < PageCount; ++page)
        if (pageMade(page))
            layoutPage(page);
}

void MousecfgWidget::layoutPage(int page) {
    switch (page) {
    case PageLighting:
        // Its rows reach further down than the 199 units of kColorWindow, so it takes the
        // whole height of the content panel, from the panel's top.
        m_colorWindow->setGeometry(placePage(QRect(kColorWindow.x(), kContentArea.y(),
                                                   kColorWindow.width(), kContentArea.height())));
        m_colorWindow->relayout();
        break;
    case PageCustomize:
        m_btnScroll->setGeometry(placePage(kBtnWindowArea));
        m_btnWindow->relayout(m_btnScroll->height());
        break;
    case PageDpi:
        m_dpiWindow->setGeometry(placePage(kDpiWindow));
        m_reportRate->setGeometry(placePage(kReportRate));
        m_pointSpeed->setGeometry(placePage(kPointSpeed));
        m_dpiWindow->relayout();
        m_reportRate->relayout();
        m_pointSpeed->relayout();
        break;
    case PageMacro:
        m_macroDialog->setGeometry(placePage(kMacroDialog));
        m_macroDialog->relayout();
        break;
    default:
        break;
    }
}

void MousecfgWidget::showPages() {
    makePage(m_page);

    // Lighting page.
    if (m_colorWindow)
        m_colorWindow->setVisible(m_page == PageLighting);

    // Button page: it marks the spot selected on the mouse picture.
    if (m_btnWindow) {
        m_btnScroll->setVisible(m_page == PageCustomize);
        const int btnGroup = m_spotKind == SpotWheel ? 2 : 0;
        m_btnWindow->selectGroup(m_spotIndex, btnGroup);
        if (KelPushButton *b = m_btnWindow->button(btnGroup, m_spotIndex))
            m_btnScroll->ensureWidgetVisible(b, 0, 0);
    }

    // DPI, report-rate and sensor pages.
    if (m_dpiWindow) {
        m_dpiWindow->setVisible(m_page == PageDpi);
        m_reportRate->setVisible(m_page == PageDpi);
        m_pointSpeed->setVisible(m_page == PageDpi);
    }

    // Macro page.
    if (m_macroDialog)
        m_macroDialog->setVisible(m_page == PageMacro);
}

void MousecfgWidget::refreshPages() {
    ProfileSet &w = m_working;
    showProfileIndicator(w.activeIndex());
    m_nameEdit->setText(w.profileNames[w.activeIndex()]);
    for (int page = 0; page < PageCount; ++page)
        if (pageMade(page))
            refreshPage(page);
}

void MousecfgWidget::refreshPage(int page) {
    ProfileSet &w = m_working;
    switch (page) {
    case PageLighting:
        // The effect of the active profile (the first one's on model 7350); the colours,
        // brightness, speed, sleep time and move-off of the first profile, which the
        // mouse's one lighting table is built from.
        m_colorWindow->loadProfile(
            &w.profiles[lightingRecordIndex(currentProductName(), w.activeIndex())],
            &w.profiles[0]);
        m_colorWindow->retranslateUi();
        break;
    case PageCustomize:
        m_btnWindow->loadProfile(&w.activeProfile(), sensorCode());
        break;
    case PageDpi: {
        const ProfileData &shown = w.activeProfile();
        m_dpiWindow->loadProfile(shown, sensorCode(), w.profiles[0].LedSleepTime,
                                 w.profiles[0].LedMoveOFF);
        m_reportRate->loadProfile(shown, w.LiftHigh);
        m_pointSpeed->loadProfile(shown, w.Sync, w.LiftHigh, w.AngleValue, w.Jitter, w.Debounce,
                                  w.Wake, w.SensorMode);
        break;
    }
    default: // the macro page shows the macro files, not the working set
        break;
    }
}

void MousecfgWidget::collectPages() {
    // DPI, report-rate and sensor pages. They hand back the values as they bound them, so
    // they are made for this when they have not been shown.
    makePage(PageDpi);
    keepPageEdits();
}

void MousecfgWidget::keepPageEdits() {
    // The other pages edit the working set itself.
    if (!pageMade(PageDpi))
        return;
    ProfileSet &w = m_working;
    m_dpiWindow->collectProfile(w);
    m_reportRate->collectProfile(w);
    m_pointSpeed->collectProfile(w);
}

void MousecfgWidget::retranslatePages() {
    for (int page = 0; page < PageCount; ++page)
        if (pageMade(page))
            retranslatePage(page);
}

void MousecfgWidget::retranslatePage(int page) {
    switch (page) {
    case PageLighting:
        m_colorWindow->retranslateUi();
        break;
    case PageCustomize:
        m_btnWindow->retranslateUi();
        break;
    case PageDpi:
        m_dpiWindow->retranslateUi();
        m_reportRate->retranslateUi();
        m_pointSpeed->retranslateUi();
        break;
    case PageMacro:
        m_macroDialog->retranslateUi();
        break;
    default:
        break;
    }
}

// Button page.
void MousecfgWidget::slotPopOneClickBox() {
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                      tr("AT LEAST ONE CLICK FUNCTION TO BE RETAINED."), QString(), this);
    box.exec();
}
