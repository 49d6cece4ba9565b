// SPDX-License-Identifier: GPL-3.0-or-later
#include "MousecfgWidget.h"

#include "AccessibleRole.h"
#include "AppConfig.h"
#include "AppLog.h"
#include "BatteryStatus.h"
#include "BatteryTray.h"
#include "CommandBar.h"
#include "FirmwareUpdater.h"
#include "IniFile.h"
#include "KelLabel.h"
#include "KelLineEdit.h"
#include "KelMenu.h"
#include "KelMessageBox.h"
#include "KelProcessbar.h"
#include "KelPushButton.h"
#include "KeyTable.h"
#include "LanguageChooser.h"
#include "LanguageFont.h"
#include "MacroDialog.h"
#include "MainLayout.h"
#include "ModelDescriptor.h"
#include "MousePictures.h"
#include "OsdChannel.h"
#include "PointerSpeed.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"
#include "SavedProfiles.h"
#include "Scale.h"
#include "SkinImage.h"
#include "SlotSelector.h"

#include <QApplication>
#include <QBitmap>
#include <QCloseEvent>
#include <QDebug>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace MainLayout;

namespace {
// 128 pixels is twice the largest a task bar shows.
constexpr int kWindowIconMaxSide = 128;
// How long a start into the tray waits for a notification area: 20 looks, half a second apart.
constexpr int kTrayWaits = 20;
constexpr int kTrayWaitStepMs = 500;

double screenRatio(const QScreen *screen) {
    return screen ? screen->logicalDotsPerInch() / 96.0 : 1.0;
}
} // namespace

const WindowBackground::Step &MousecfgWidget::background(int step) {
    return m_background->forStep(step, palette().color(backgroundRole()));
}

MousecfgWidget::MousecfgWidget() : QWidget(nullptr) {
    // The frame.
    setObjectName(QStringLiteral("MousecfgWidget"));
    setWindowTitle(QStringLiteral("MousecfgWidget"));

    // Background and battery pictures.
    m_background = std::make_unique<WindowBackground>(skinPath(QStringLiteral("cfgMainback.png")));

    // Scale step of the primary screen; size and position.
    QScreen *primary = QGuiApplication::primaryScreen();
    m_iDpiVal = scaleStepForRatio(screenRatio(primary));
    m_factor = scaleFactorForStep(m_iDpiVal);
    setScaleFactor(m_factor);
    setBaseSize(kWidth, kHeight);
    setMinimumSize(kWidth, kHeight);
    resize(scaledSize(kWidth, kHeight));
    m_rememberedSize = size();
    if (primary) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(primary->geometry().center());
        move(frame.topLeft());
    }

    // The window takes the outline of its background. A Wayland compositor takes no outline
    // from a window: there the window is transparent outside it instead (on X11 the outline
    // alone does it).
    setAttribute(Qt::WA_TranslucentBackground);
    const WindowBackground::Step &back = background(m_iDpiVal);
    if (!back.outline.isNull())
        setMask(back.outline);

    // Frameless.
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);

    // Writes that a killed run left unfinished go before anything is written or read.
    removeInterruptedConfigWrites();

    // Tabs and the mouse-selection button are made with the other widgets (below); their
    // pictures are loaded by the buttons themselves. Until the mouse session tells which
    // supported mice are present, the model is the installation's.
    setCurrentProductName(modelListName());
    m_mouseMenu = new KelMenu(this);

    // The language and its translation, and the model's French key names.
    m_languages = new LanguageChooser(this);
    connect(m_languages, &LanguageChooser::languageChanged, this, &MousecfgWidget::retranslateUi);
    setFrenchLanguage(descriptorFrench());
    m_ledDisable = descriptorLedDisable() != 0;

    // The child widgets; the model pictures follow the model chosen from the list.
    createWidgets();
    m_mouseSelBtn->hide();
    layoutWidgets();

    // The mouse session on its own thread finds, opens and polls the mouse; what it finds
    // comes back as signals.
    startSession();

    // Profiles: the applied set from storage, copied into the working set.
    loadProfiles();
    // The host's speed, read at once where the desktop allows; sway's answer comes later, and
    // goes to the slot active at start even when the mouse has changed slots meanwhile.
    const int startSlot = m_working.activeIndex();
    if (const auto speed = PointerSpeed::readSpeedNowOrLater(this, [this, startSlot](int answered) {
            keepPageEdits();
            m_working.profiles[startSlot].mousespeed = quint8(answered);
            refreshPages();
        }))
        m_working.activeProfile().mousespeed = quint8(*speed);

    // Start page, texts, name field.
    setFrontView(true);
    setPage(m_ledDisable ? PageCustomize : PageLighting);
    selectSpot(MousePictures::SpotFront, 0);
    refreshPages();
    retranslateUi();
    // No native focus rectangles: the skinned widgets draw a mark of their own (FocusMark.h)
    // while the keyboard is in use. The sheet on the window reaches every child.
    setStyleSheet(QStringLiteral("*{outline:0px;}"));
    // Tab starts at the tab of the page shown.
    m_tabs[m_page]->setFocus();

    // Icon and tray.
    // Read once for the window, its dialogs and the tray. Every new window hands its icon to
    // the window system in all its sizes; the large ones serve only the menu entry, which
    // takes the installed icon.
    setWindowIcon(readSkinIcon(skinPath(QStringLiteral("icon.ico")), kWindowIconMaxSide));
    // A low level until the mouse reports.
    slotRefreshBatteryStatus(0, 1, 1);
    // From here on battery reports come from the mouse, and go to the tray too.
    m_tray = new BatteryTray(windowIcon(), this);
    connect(m_tray, &BatteryTray::loadConfigRequested, this, &MousecfgWidget::slotWarning);
    connect(m_tray, &BatteryTray::quitRequested, this, &MousecfgWidget::quitProgram);
    connect(m_tray, &BatteryTray::activated, this, &MousecfgWidget::iconActivated);
    connect(m_tray, &BatteryTray::noticeWithoutTray, this, &MousecfgWidget::showOsd);
    // The command line's requests come to this window from now on.
    startRemote();

#ifdef __GLIBC__
    // Reading the profiles left much of the heap free: it goes back to the system rather
    // than staying with the process.
    malloc_trim(0);
#endif

    // The start-up checks run once the event loop is going.
    QTimer::singleShot(200, this, &MousecfgWidget::startUpChecks);
}

MousecfgWidget::~MousecfgWidget() {
    endSession();
}

int MousecfgWidget::effectivePage(int index, bool ledDisable) {
    if (index == PageLighting && ledDisable)
        return PageCustomize;
    return qBound(0, index, PageCount - 1);
}

bool MousecfgWidget::dragMoves(const QPoint &distance) {
    return distance.manhattanLength() > kDragThreshold;
}

void MousecfgWidget::createWidgets() {
    auto button = [this](const QStringList &paths) {
        auto *b = new KelPushButton(paths, this);
        connect(b, &QPushButton::clicked, this, &MousecfgWidget::onButtonClicked);
        return b;
    };

    m_closeBtn = button(skinStates(QStringLiteral("close"), 3));
    m_minBtn = button(skinStates(QStringLiteral("min"), 3));
    m_firmwareBtn = button(skinStates(QStringLiteral("button"), 4));
    m_firmwareBtn->setObjectName(QStringLiteral("firmwareBtn"));
    m_firmwareBtn->setNoElide(true);
    m_firmwareBtn->installEventFilter(this);
    m_firmware = new FirmwareUpdater(this);
    // The updater needs the mouse to itself: the session (its poll, a queued request) ends
    // before the updater starts, and this program ends once it runs.
    connect(m_firmware, &FirmwareUpdater::mouseReleased, this, [this](bool released) {
        if (released)
            endSession();
        else if (!m_worker)
            restartSession();
    });
    connect(m_firmware, &FirmwareUpdater::handedOver, this, [this] {
        hide();
        if (m_tray)
            m_tray->hideIcon();
    });
    connect(m_firmware, &FirmwareUpdater::updaterEnded, this, [] { QCoreApplication::exit(0); });
    m_slots = new SlotSelector(this);
    connect(m_slots, &SlotSelector::slotChosen, this, &MousecfgWidget::onSlotChosen);
    for (KelPushButton *&b : m_tabs) {
        // The tab's second picture (pressed) is the skin's third.
        const QStringList tab = skinStates(QStringLiteral("tabbutton"), 3);
        b = button({tab[0], tab[2], tab[1]});
        b->setToggleMode(true);
        setAccessibleRole(b, QAccessible::PageTab);
    }
    m_commandBar = new CommandBar(this);
    connect(m_commandBar, &CommandBar::triggered, this, &MousecfgWidget::onCommand);

    m_mouseSelBtn = button({skinPath(QStringLiteral("mousesel.png"))});
    m_libraryBtn = button(skinStates(QStringLiteral("library"), 3));
    m_libraryBtn->setObjectName(QStringLiteral("libraryBtn"));
    m_libraryMenu = new KelMenu(this);
    m_libraryMenu->setScrollable(true);
    m_libraryBtn->setMenu(m_libraryMenu);
    connect(m_libraryMenu, &QMenu::triggered, this, &MousecfgWidget::onLibraryChosen);

    m_nameLabel = new KelLabel(this);
    m_versionLabel = new KelLabel(this);
    m_versionLabel->setDesignPixelSize(11);
    m_versionLabel->setStyleSheet(QStringLiteral("color: rgb(120, 126, 134);"));
    m_nameLabel->setStyleSheet(QStringLiteral("color: rgb(200, 200, 200);"));
    m_nameEdit = new KelLineEdit(this);
    m_nameEdit->setObjectName(QStringLiteral("nameEdit"));
    m_nameEdit->setMaxLength(100);
    connect(m_nameEdit, &QLineEdit::returnPressed, this, &MousecfgWidget::slotProfileNameChange);
    m_nameEdit->setStyleSheet(
        QStringLiteral("border-width:2px;background-color:rgb(30,30,30);color:white"));

    m_logo = new QLabel(this);
    m_logo->setScaledContents(true);
    m_logo->setPixmap(readSkinPixmap(skinPath(QStringLiteral("mouselogo.png"))));

    m_battery = new BatteryStatus(this);
    connect(m_battery, &BatteryStatus::historyRequested, this, &MousecfgWidget::showBatteryChart);

    // The mouse pictures and their spots; the pages stack under the spots.
    m_pictures = new MousePictures(this);
    connect(m_pictures, &MousePictures::spotClicked, this, &MousecfgWidget::selectSpot);
    connect(m_pictures, &MousePictures::viewClicked, this, &MousecfgWidget::setFrontView);
    m_pages = std::make_unique<PageHost>(this, m_pictures->lowestSpot());
}

void MousecfgWidget::layoutWidgets() {
    m_closeBtn->setGeometry(scaledRect(kClose));
    m_minBtn->setGeometry(scaledRect(kMinimise));
    m_firmwareBtn->setGeometry(scaledRect(kFirmware));
    m_slots->relayout();
    for (int i = 0; i < PageCount; ++i)
        m_tabs[i]->setGeometry(scaledRect(QRect(kTabX, kTabY + i * kTabStep, kTabW, kTabH)));
    m_commandBar->relayout();
    m_languages->relayout();
    m_mouseSelBtn->setGeometry(scaledRect(kMouseSelect));
    m_libraryBtn->setGeometry(scaledRect(kLibraryButton));
    m_nameLabel->setGeometry(scaledRect(kNameLabel));
    m_versionLabel->setGeometry(scaledRect(kVersion));
    m_nameEdit->setGeometry(scaledRect(kNameField));
    m_logo->setGeometry(scaledRect(kLogo));
    m_battery->relayout();
    m_mouseMenu->setFixedWidth(scaled(150));
    m_libraryMenu->setFixedWidth(152);
    if (m_pages)
        m_pages->relayout();
    m_pictures->relayout();
    setPage(m_page);
}

void MousecfgWidget::setPage(int index) {
    m_page = effectivePage(index, m_ledDisable);
    for (int i = 0; i < PageCount; ++i)
        m_tabs[i]->setChecked(i == m_page);
    m_pictures->setShown(m_page == PageCustomize);
    showPages();
}

void MousecfgWidget::setFrontView(bool front) {
    m_pictures->setFrontView(front);
    setPage(m_page);
}

void MousecfgWidget::selectSpot(int kind, int index) {
    if (m_pictures->select(kind, index))
        showPages();
}

void MousecfgWidget::SelBtnChanged(quint8 iBtn, quint8 iType) {
    selectSpot(iType, iBtn);
}

void MousecfgWidget::slotGotoMacro(quint8 page) {
    setPage(page);
}

void MousecfgWidget::slotEnableButtons(bool bEnable) {
    m_commandBar->setEnabled(bEnable);
    m_slots->setEnabled(bEnable);
    for (QWidget *w : commandWidgets()) {
        if (auto *b = qobject_cast<KelPushButton *>(w))
            b->setEnabled(bEnable);
        else
            w->setEnabled(bEnable);
    }
}

QList<QWidget *> MousecfgWidget::commandWidgets() const {
    QList<QWidget *> list;
    for (KelPushButton *t : m_tabs)
        list << t;
    list << m_closeBtn << m_minBtn << m_firmwareBtn << m_languages->button();
    list << m_nameEdit << m_libraryBtn << m_mouseSelBtn;
    return list;
}

void MousecfgWidget::slotLiftChange(quint8 iLift) {
    m_working.LiftHigh = iLift;
}

void MousecfgWidget::onButtonClicked() {
    QObject *s = sender();
    if (s == m_closeBtn) {
        hideOrQuit();
    } else if (s == m_minBtn) {
        showMinimized();
    } else if (s == m_firmwareBtn) {
        // A click by key or by a screen reader; the mouse's press was taken already.
        m_firmware->offer(m_devices);
    } else {
        for (int i = 0; i < PageCount; ++i) {
            if (s == m_tabs[i]) {
                setPage(i);
                return;
            }
        }
    }
}

void MousecfgWidget::onCommand(int command) {
    // The mouse gets a macro's steps from its file: steps on the macro page not saved yet are
    // offered for saving before what the pages show is sent.
    if ((command == CommandBar::Ok || command == CommandBar::Apply) && hasUnsavedMacroSteps())
        offerUnsavedMacroSteps();
    switch (command) {
    case CommandBar::Ok:
        // OK sends what the pages show, as Apply does, and the window goes once the mouse has
        // it. A send that failed is told with the advice to try again, so the window stays.
        keepPageEdits();
        send(false, true, [this](int result, bool) {
            if (result == ResultDone)
                hideOrQuit();
        });
        break;
    case CommandBar::Apply:
        keepPageEdits();
        send();
        break;
    case CommandBar::Cancel:
        dropUnsentEdits();
        hideOrQuit();
        break;
    default:
        profileCommand(command);
        break;
    }
}

void MousecfgWidget::hideOrQuit() {
    // Without a notification area nothing could bring a hidden window back, and a new
    // start would be refused by the instance lock: close, OK and Cancel then end the program.
    const bool tray = QSystemTrayIcon::isSystemTrayAvailable();
    qCDebug(lcApp, "window closed: %s", tray ? "hidden" : "quitting");
    if (tray) {
        if (m_tray)
            m_tray->showIconWhereTray();
        hide();
    } else {
        quitProgram();
    }
}

bool MousecfgWidget::hasUnsavedMacroSteps() const {
    const MacroDialog *macro = m_pages->macro();
    return macro && macro->hasUnsavedSteps();
}

void MousecfgWidget::offerUnsavedMacroSteps() {
    // Asked over the page it is about, also when the window was in the tray.
    show();
    raise();
    setPage(PageMacro);
    m_pages->macro()->offerToSave();
}

void MousecfgWidget::quitProgram() {
    // A macro's steps not yet saved are offered for saving first; the other pages' edits
    // are the working set's, which Apply and OK send.
    if (hasUnsavedMacroSteps())
        offerUnsavedMacroSteps();
    emit quitRequested();
}

void MousecfgWidget::commitSessionData(QSessionManager &manager) {
    // The program never holds a logout up: it asks only about what would be lost, and only
    // when the session manager grants it the user's attention (allowsInteraction asks for it).
    // The question shows the window: the saved session keeps it as it was.
    m_visibleAtLogout = isVisible();
    const bool unsaved = hasUnsavedMacroSteps();
    const bool ask = unsaved && manager.allowsInteraction();
    qCDebug(lcApp, "session ends: %s",
            ask       ? "asking about unsaved macro steps"
            : unsaved ? "may not ask"
                      : "nothing unsaved");
    if (!ask)
        return;
    offerUnsavedMacroSteps();
    manager.release();
}

void MousecfgWidget::saveSessionState(QSessionManager &manager) {
    // Qt names the program and the saved session; the option is this window's own. A hidden
    // window is in the tray (without one, closing it ends the program), which at logout may
    // already be gone; the next start waits for it.
    const QString option = QLatin1String("--") + QLatin1String(kStartHiddenOption);
    QStringList command = manager.restartCommand();
    command.removeAll(option);
    if (!std::exchange(m_visibleAtLogout, std::nullopt).value_or(isVisible()) && !command.isEmpty())
        command.insert(1, option);
    manager.setRestartCommand(command);
}

void MousecfgWidget::waitForFirmwareUpdater() {
    m_firmware->waitUntilEnded();
}

void MousecfgWidget::writeBeforeExit() {
    if (m_tray)
        m_tray->writeHistoryNow();
    keepUnsavedMacroSteps();
    // The mouse session's thread ends here (a transfer under way is cut short), not while the
    // process's own objects are destroyed around it; a send cut short owes a whole one.
    endSession();
}

void MousecfgWidget::keepUnsavedMacroSteps() {
    if (MacroDialog *macro = m_pages ? m_pages->macro() : nullptr)
        macro->keepUnsavedSteps();
}

void MousecfgWidget::closeEvent(QCloseEvent *event) {
    event->ignore();
    hideOrQuit();
}

void MousecfgWidget::showEvent(QShowEvent *event) {
    m_startHidden = false;
    QWidget::showEvent(event);
}

void MousecfgWidget::startUpChecks() {
    if (m_startHidden) {
        // At login the panel holding the notification area may come after the program.
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            qCDebug(lcApp, "started into the tray");
            if (m_tray)
                m_tray->showIconWhereTray();
            return;
        }
        if (++m_trayWaits < kTrayWaits) {
            QTimer::singleShot(kTrayWaitStepMs, this, &MousecfgWidget::startUpChecks);
            return;
        }
        qCDebug(lcApp, "no notification area: the window shows");
        m_startHidden = false;
    }
    slotWarning();
}

void MousecfgWidget::refreshMouseList() {
    const QStringList names = m_devices.presentNames();
    m_mouseMenu->clear();
    for (const QString &name : names)
        m_mouseMenu->addAction(name);
    if (names.size() < 2) {
        m_mouseSelBtn->hide();
        // Without a mouse the model stays the last one's, whose profiles the pages show and
        // which import and export go on serving.
        if (!names.isEmpty())
            setCurrentProductName(names.first());
        return;
    }
    m_mouseSelBtn->show();
    const QString saved = currentProductName();
    if (names.contains(saved)) {
        m_mouseSelBtn->setText(saved);
    } else {
        setCurrentProductName(names.first());
        m_mouseSelBtn->setText(names.first());
    }
    disconnect(m_mouseMenu, &QMenu::triggered, this, nullptr);
    connect(m_mouseMenu, &QMenu::triggered, this, &MousecfgWidget::slot_show_mousename);
    m_mouseSelBtn->setMenu(m_mouseMenu);
    m_mouseMenu->setFixedWidth(scaled(150));
    m_mouseMenu->refreshStyle();
}

void MousecfgWidget::slot_show_mousename(QAction *action) {
    setFrontView(true);
    m_mouseSelBtn->setText(action->text());
    // The session closes the model that was open and opens this one (slotWarnClose asks).
    setCurrentProductName(action->text());
    const bool ready = mouseReadyFlag();
    slotWarnClose();
    setMouseReadyFlag(ready);
}

void MousecfgWidget::loadProfiles() {
    m_profilesModel = currentProductName();
    loadSavedProfiles(m_applied);
    // The template for new profiles follows the descriptor after every load.
    writeDefaultProfileFile();
    m_working = m_applied;
    loadLibrary();
}

void MousecfgWidget::slotWarning() {
    // The checks are about what the mouse session found: they wait for its first word.
    if (!m_devicesKnown) {
        m_warningDue = true;
        return;
    }
    // Minimised, the window comes back as from hidden (the tray icon, its menu). A Wayland
    // compositor restores no window on a program's word, but shows one mapped again.
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        if (QGuiApplication::platformName() == QLatin1String("wayland"))
            hide();
    }
    show();
    if (connectedModelCount() > 0) {
        if (FirmwareUpdater::tooOld(m_devices)) {
            m_firmware->force();
            return;
        }
        // A Wayland desktop decides itself which window is active.
        if (QGuiApplication::platformName() != QLatin1String("wayland"))
            activateWindow();
        raise();
        warnDeviceDenied();
        return;
    }
    m_warningShown = true;
    KelMessageBox box(KelMessageBox::KindDongle, tr("Warning"), tr("No mouse is connected."),
                      QString(), this, true);
    box.exec();
    // Hidden to the tray until the mouse comes; without a notification area the window stays:
    // a mouse missing for a moment ends no program, and takes no unapplied edits with it.
    if (connectedModelCount() == 0 && QSystemTrayIcon::isSystemTrayAvailable())
        hideOrQuit();
    m_warningShown = false;
}

void MousecfgWidget::slotWarnClose() {
    if (m_session)
        m_session->requestModel(currentProductName());
    setFrontView(true);
    m_pictures->relayout();
    // The same model back (a receiver moved to another port, a cable changed for the
    // receiver) keeps the edits not yet sent; another model brings its own profiles.
    const bool sameModel = m_profilesModel == currentProductName();
    if (sameModel)
        keepPageEdits();
    else
        m_downloaded = false; // the speeds last sent were the other model's slots'
    const ProfileSet edited = m_working;
    loadProfiles();
    if (sameModel)
        m_working = edited;
    // A macro being recorded or edited holds the window on its page, with the other controls
    // off until it ends: taken away from it, nothing could end it.
    const MacroDialog *macro = m_pages->macro();
    if (!macro || !(macro->isRecording() || macro->isEditing()))
        setPage(PageLighting);
    selectSpot(MousePictures::SpotFront, 0);
    refreshPages();
    setMouseReadyFlag(true);
}

void MousecfgWidget::applyScaleStep(int step) {
    m_iDpiVal = step;
    m_factor = scaleFactorForStep(step);
    setScaleFactor(m_factor);
    const WindowBackground::Step &back = background(step);
    if (!back.outline.isNull())
        setMask(back.outline);
    layoutWidgets();
    setFont(languageFont());
}

void MousecfgWidget::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    const QScreen *screen = QGuiApplication::screenAt(geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const int step = scaleStepForRatio(screenRatio(screen));
    if (step != m_iDpiVal) {
        applyScaleStep(step);
        resize(scaledSize(kWidth, kHeight));
    } else if (size() == m_rememberedSize) {
        qCDebug(lcApp, "singleShot");
        for (int s = 0; s < kScaleSteps; ++s) {
            if (scaled(kWidth, scaleFactorForStep(s)) == width()) {
                if (s != m_iDpiVal)
                    applyScaleStep(s);
                break;
            }
        }
    }
    m_rememberedSize = size();
    qCDebug(lcApp, "width = %d, height = %d m_iDpiVal = %d", width(), height(), m_iDpiVal);
}

void MousecfgWidget::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QImage &back = background(m_iDpiVal).picture;
    if (back.isNull()) {
        p.fillRect(rect(), palette().color(backgroundRole()));
        return;
    }
    if (!mask().isEmpty())
        p.setClipRegion(mask());
    p.drawImage(rect(), back);
}

void MousecfgWidget::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        m_dragFrom = event->globalPos();
        m_windowOrigin = pos();
    }
    QWidget::mousePressEvent(event);
}

void MousecfgWidget::mouseMoveEvent(QMouseEvent *event) {
    if (m_dragFrom && (event->buttons() & Qt::LeftButton)) {
        const QPoint distance = event->globalPos() - *m_dragFrom;
        if (dragMoves(distance)) {
            // The desktop moves the window where it can (a Wayland compositor lets no window
            // place itself; an X window manager snaps and keeps it on the screens); the
            // window follows the pointer itself where it cannot. Once the desktop has the
            // move, the rest of this drag is its own.
            if (windowHandle() && windowHandle()->startSystemMove())
                m_dragFrom.reset();
            else
                move(m_windowOrigin + distance);
        }
    }
    QWidget::mouseMoveEvent(event);
}

void MousecfgWidget::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        m_dragFrom.reset();
    QWidget::mouseReleaseEvent(event);
}
