// The main window's pages: made once, placed by the scale factor, shown by the page rule,
// loaded from the working set, collected on Apply and OK, and told what the mouse reports.
// Each page keeps to its own block in every function here.
#include "AppConfig.h"
#include "KelBtnWindow.h"
#include "KelColorWindow.h"
#include "KelLineEdit.h"
#include "KelMessageBox.h"
#include "KelPushButton.h"
#include "LightingRules.h"
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
    m_btnScroll->verticalScrollBar()->setStyleSheet(
        QStringLiteral("QScrollBar:vertical{background:transparent;width:8px;margin:0;}"
                       "QScrollBar::handle:vertical{background:rgb(70,76,84);border-radius:4px;"
                       "min-height:20px;}"
                       "QScrollBar::add-line,QScrollBar::sub-line{height:0;}"
                       "QScrollBar::add-page,QScrollBar::sub-page{background:transparent;}"));
    m_btnWindow = new KelBtnWindow(m_btnScroll, &workingSet().activeProfile());
    m_btnScroll->setWidget(m_btnWindow);
    m_btnWindow->setAutoFillBackground(false); // the scroll area turns it on
    connect(m_btnWindow, &KelBtnWindow::GotoMacroTab, this, &MousecfgWidget::slotGotoMacro);
    connect(m_btnWindow, &KelBtnWindow::PopOneClickBox, this, &MousecfgWidget::slotPopOneClickBox);
    // A button of the page stands for a spot of the mouse picture: the main buttons for the
    // spots of the picture shown (the side picture marks the same buttons), the wheel
    // buttons for the wheel spots.
    connect(m_btnWindow, &KelBtnWindow::SelBtnChanged, this, [this](quint8 iBtn, quint8 bType) {
        SelBtnChanged(iBtn, bType == 2 ? SpotWheel : (m_front ? SpotFront : SpotSide));
    });
    connect(m_btnWindow, &KelBtnWindow::SelBtnControl, this, [this](KelPushButton *btn, bool on) {
        for (int i = 0; i < kSpotCount; ++i) {
            if (btn == m_btnWindow->button(0, i))
                slotMouseOver(spot(m_front ? SpotFront : SpotSide, i), on);
        }
    });

    // DPI, report-rate and sensor pages.

    // Macro page.
}

void MousecfgWidget::layoutPages() {
    // Lighting page. Its rows reach further down than the 199 units of kColorWindow, so it
    // takes the whole height of the content panel, from the panel's top.
    m_colorWindow->setGeometry(placePage(
        QRect(kColorWindow.x(), kContentArea.y(), kColorWindow.width(), kContentArea.height())));
    m_colorWindow->relayout();

    // Button page.
    m_btnScroll->setGeometry(placePage(kBtnWindowArea));
    m_btnWindow->relayout(m_btnScroll->height());

    // DPI, report-rate and sensor pages.

    // Macro page.
}

void MousecfgWidget::showPages() {
    // Lighting page.
    m_colorWindow->setVisible(m_page == PageLighting);

    // Button page: it marks the spot selected on the mouse picture.
    m_btnScroll->setVisible(m_page == PageCustomize);
    const int btnGroup = m_spotKind == SpotWheel ? 2 : 0;
    m_btnWindow->selectGroup(m_spotIndex, btnGroup);
    if (KelPushButton *b = m_btnWindow->button(btnGroup, m_spotIndex))
        m_btnScroll->ensureWidgetVisible(b, 0, 0);

    // DPI, report-rate and sensor pages.

    // Macro page.
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
    m_btnWindow->loadProfile(&w.activeProfile(), sensorCode());

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
    m_btnWindow->retranslateUi();

    // DPI, report-rate and sensor pages.

    // Macro page.
}

// Button page.
void MousecfgWidget::slotPopOneClickBox() {
    KelMessageBox box(KelMessageBox::KindWarning, tr("Warning"),
                      tr("AT LEAST ONE CLICK FUNCTION TO BE RETAINED."), QString(), this);
    box.exec();
}
