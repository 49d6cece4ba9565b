// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one top-level window: a frameless, skinned window drawn from its background picture,
// with the page tabs, the mouse pictures with their button spots, the profile controls,
// the status area and the command buttons.

#include "LanguageConfig.h"
#include "MouseRequests.h"
#include "MouseSession.h"
#include "PageHost.h"
#include "ProfileData.h"
#include "WindowBackground.h"

#include <QBitmap>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QSessionManager>
#include <QStringList>
#include <QSystemTrayIcon>
#include <QVector>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class BatteryChartDialog;
class BatteryStatus;
class BatteryTray;
class CommandBar;
class CommandServer;
class FirmwareUpdater;
class KelProcessDialog;
class LanguageChooser;
class KelLabel;
class OsdChannel;
class KelLineEdit;
class KelMenu;
class KelProcessbar;
class KelPushButton;
class MousePictures;
class QAction;
class SlotSelector;
class QLabel;
class QTranslator;

class MousecfgWidget : public QWidget {
    Q_OBJECT

public:
    enum Page {
        PageLighting = PageHost::TabLighting,
        PageCustomize = PageHost::TabCustomize,
        PageDpi = PageHost::TabDpi,
        PageMacro = PageHost::TabMacro,
        PageCount = PageHost::TabCount
    };

    MousecfgWidget();
    ~MousecfgWidget() override;

    // The name of the program's option that starts it into the notification area.
    static constexpr char kStartHiddenOption[] = "hidden";

    // Supported mice present at the last look (zero: the window starts hidden).
    int connectedModelCount() const { return m_devices.presentCount(); }

    // The page shown: the one asked for, unless the model has no lighting.
    static int effectivePage(int index, bool ledDisable);
    // True when a pointer move this far from the press point moves the window.
    static bool dragMoves(const QPoint &distance);

    int currentPage() const { return m_page; }
    // The mouse pictures of CUSTOMIZE, with the spot selected there.
    MousePictures *pictures() const { return m_pictures; }
    int scaleStep() const { return m_iDpiVal; }
    // The battery and connection corner.
    BatteryStatus *batteryStatus() const { return m_battery; }
    // The battery's week, while it is shown.
    BatteryChartDialog *batteryChart() const;
    // The text shown for a report-rate code; empty for an unknown code.
    static QString rateText(int code);
    double factor() const { return m_factor; }
    int language() const;
    bool warningShown() const { return m_warningShown; }

    KelPushButton *tab(int index) const { return m_tabs[index]; }
    QSystemTrayIcon *trayIcon() const;
    // Low-battery notices shown in the tray since start.
    int lowBatteryNotices() const;

    // The sets: the one the pages edit, and the one the mouse is believed to hold (last
    // loaded or sent).
    ProfileSet &workingSet() { return m_working; }
    const ProfileSet &appliedSet() const { return m_applied; }
    // The mouse reported itself off ("MOUSE OFF"): a send is refused.
    bool mouseOff() const;
    // What the mouse session found and opened, as it last told.
    const MouseDevices &devices() const { return m_devices; }
    // Writes what is kept in memory only (the battery readings not yet written, a macro's
    // unsaved steps) and ends the mouse session: the program is ending without its
    // destructors.
    void writeBeforeExit();
    // The program ends without having asked about a macro's unsaved steps (a signal, a
    // session manager that lets no program ask): they are kept in a macro of their own.
    void keepUnsavedMacroSteps();
    // A firmware updater this program started, and still running, is waited for: until it
    // ends the program keeps its single-instance lock, so nothing else takes the mouse.
    void waitForFirmwareUpdater();
    // Started into the notification area: the window shows when the tray icon is clicked, or
    // at once when no notification area comes within a few seconds. Set before the event loop.
    void setStartHidden(bool hidden) { m_startHidden = hidden; }
    // The session that talks to the mouse, on its own thread.
    MouseSession *session() const { return m_session; }
    // A send is under way.
    bool sending() const { return m_sending; }
    // The session's status poll on or off.
    void setPolling(bool on);

    // Sets every text of the window again in the current language.
    void retranslateUi();
    // Publishes a new scale step and lays the window out for it.
    void applyScaleStep(int step);
    // Selects a page by the page rule.
    void setPage(int index);
    // Marks one spot of the three sets as selected.
    void selectSpot(int kind, int index);
    void setFrontView(bool front);

signals:
    // The program should end (the tray's "Quit", or closing without a tray), a macro's unsaved
    // steps having been offered for saving.
    void quitRequested();
    // A send ended (or was refused) with this result, after the user was told.
    void sendDone(int result);
    // What `status` tells may read differently now: a battery report, a slot, stage or rate
    // taken in or sent, a link come or gone.
    void statusMayHaveChanged();

public slots:
    // The desktop session is ending (logging out of an X11 desktop): a macro's unsaved steps
    // are offered for saving when the session manager lets the program ask.
    void commitSessionData(QSessionManager &manager);
    // The session is being saved: the next login starts the program into the tray when the
    // window is there now.
    void saveSessionState(QSessionManager &manager);
    void iconActivated(QSystemTrayIcon::ActivationReason reason);
    void SelBtnChanged(quint8 iBtn, quint8 iType);
    void slotGotoMacro(quint8 page);
    void slot_show_mousename(QAction *action);
    void slotEnableButtons(bool bEnable);
    void slotLiftChange(quint8 iLift);
    void slotSleepTimeChange(quint8 minutes);
    void slotMoveOffChange(quint8 value);
    void slotWarning();
    void slotWarnClose();
    void slotPopOneClickBox();
    void slotRefreshProfile(quint8 iProfile);
    void slotRefreshDPIStage(quint8 iDPI);
    void slotRefreshLightMode(quint8 iBuff1);
    void slotRefreshRate(quint8 iRate);
    void slotRefreshBatteryStatus(quint8 iCharge, quint8 iLowByte, quint8 iHiByte);
    // Shows the battery's last 7 days (kept up to date while shown).
    void showBatteryChart();
    void slotRefreshStatus(quint8 iProfile, quint8 iDPI, quint8 iRate, quint8 iMode);
    void slotRefreshWriteStatus(quint8 iStatus);

    // Sends the working set to the mouse with the progress dialog, then tells the user how
    // it went (unless the command line asked, which is told instead) and calls `then` with the
    // result and whether the set could be stored first. Returns at once: the session sends a
    // copy of the set on its own thread.
    void send(bool force = false, bool tellUser = true, std::function<void(int, bool)> then = {});

private slots:
    void onButtonClicked();
    void onDevicesChanged(const MouseDevices &devices);
    void onSendFinished(quint64 ticket, int result, unsigned flags);
    void onProfileSelected(quint64 ticket, int index, int result);
    void onWakeChecked(quint64 ticket, int result);
    void onSlotChosen(int index);
    void onLibraryChosen(QAction *action);
    void slotProfileNameChange();
    // Tells the user that the mouse is there but may not be opened, and how to allow it.
    void warnDeviceDenied();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    bool hasUnsavedMacroSteps() const;
    // Shows the macro page and asks whether its unsaved steps are saved.
    void offerUnsavedMacroSteps();
    void createWidgets();
    void layoutWidgets();
    // The background of a scale step, composed on the window's colour.
    const WindowBackground::Step &background(int step);
    void refreshMouseList();
    void loadProfiles();
    // The pages: made once, shown by the page rule, loaded from the working set, and
    // collected into it (MousecfgPages.cpp).
    void makePage(int page);
    void connectPage(int page);
    // Which records the pages show.
    PageView pageView() const;
    void showPages();
    // Tab goes through the window in reading order: the tabs and the profile slots at the
    // left, the top bar, the page shown, then the two command rows.
    void chainFocus();
    void refreshPages();
    // Takes what the pages made so far show into the working set: before a send, and before
    // they are loaded with another record (edits stay until Apply or Cancel).
    void keepPageEdits();
    void showLightingOptions();
    // Makes slot index the current one, reading its file again when asked.
    void switchSlot(int index, bool reload);
    void hideOrQuit();
    // The window's first show and the start-up checks, or the tray when started into it.
    void startUpChecks();
    // Ends the program, as the tray's Quit does.
    void quitProgram();
    // Profile commands (MousecfgProfiles.cpp).
    void loadLibrary();
    void rebuildLibraryMenu();
    void onCommand(int command);
    void profileCommand(int command);
    void resetAllProfiles();
    void loadConfiguration(const QString &path);
    void dropUnsentEdits();
    // The slot names saved after a command gave a slot another profile; when that changed a
    // slot's settings, the next send sends everything (the mouse still holds the old ones).
    void saveSlotNames(bool settingsChanged);
    // Shows the message of a refused profile command; true when the command was done.
    bool showLibraryResult(int result);
    void notice(const QString &text);
    bool confirm(const QString &text);
    // The slot's profile as shown (the pages' edits kept first) differs from its file: edits
    // not yet applied, which another profile in the slot would drop.
    bool slotEditsUnsent(int slot) const;
    // Asks before such edits are dropped; true to go on.
    bool mayDropSlotEdits(int slot);
    bool mayDropAllEdits();
    // A file dialog; save dialogs offer the suggested name. Empty when cancelled.
    QString askFileName(bool save, const QString &caption, const QString &filter,
                        const QString &suffix, const QString &suggested = QString());
    QList<QWidget *> commandWidgets() const;
    // The mouse session on its worker thread: started with the window, ended with it.
    void startSession();
    void endSession();
    // A new session after endSession (the firmware updater could not start).
    void restartSession();
    void pausePollingForLanguage();
    struct PendingSend {
        ProfileSet sent;
        bool tellUser = true;
        // then(result, saved): saved tells whether the settings were stored before the send.
        std::function<void(int, bool)> then;
        bool saved = true;
    };
    void finishSend(const PendingSend &pending, int result);
    // The mouse may hold part of a table: the next send carries every group.
    void markNextSendWhole();
    // Tells the user that the mouse did not take what was sent (result not ResultDone).
    void tellSendFailure(int result);
    // Makes slot index the mouse's active one; `answer` gets the result. A replaceable choice
    // is not made when a later one follows before it starts.
    void selectOnMouse(int index, std::function<void(int)> answer = {}, bool replaceable = false);
    // Asks the mouse whether it is awake now (it is polled only every half minute or so);
    // `answer` gets ResultDone or ResultMouseOff, or ResultCancelled when the session ends.
    void checkAwake(std::function<void(int)> answer);
    // The host's pointer speed from the profile last sent (or the active slot's).
    void applyHostPointerSpeed();
    // The slots' pointer speeds as sent (or stored when nothing needed sending).
    void keepSentSpeeds(const ProfileSet &sent);
    void showOsd(const QString &text);
    // Requests of the command line, taken by the command server and carried out here, so that
    // only one program talks to the mouse (MousecfgRemote.cpp).
    void startRemote();
    using RemoteAnswer = std::function<void(const MouseOutcome &)>;
    // Carries a request out and answers it, at once or when the mouse has answered.
    void performRemote(const MouseRequest &request, RemoteAnswer answer);
    // The command line's commands that send, once the mouse is known awake.
    void performSending(const MouseRequest &request, RemoteAnswer answer);
    MouseOutcome remoteStatus() const;
    MouseOutcome remoteTakeIn(const QString &path, ImportMode mode);

    // Scale.
    double m_factor = 1.0;
    int m_iDpiVal = 0;
    QSize m_rememberedSize;

    // Dragging by the background: where the left button went down (none once the desktop
    // has taken the move over) and where the window was then.
    std::optional<QPoint> m_dragFrom;
    QPoint m_windowOrigin;

    std::unique_ptr<WindowBackground> m_background;

    // Buttons.
    KelPushButton *m_closeBtn = nullptr;
    KelPushButton *m_minBtn = nullptr;
    KelPushButton *m_firmwareBtn = nullptr;
    FirmwareUpdater *m_firmware = nullptr;
    KelPushButton *m_tabs[PageCount] = {};
    CommandBar *m_commandBar = nullptr;
    KelPushButton *m_mouseSelBtn = nullptr;
    KelPushButton *m_libraryBtn = nullptr;
    KelMenu *m_mouseMenu = nullptr;
    KelMenu *m_libraryMenu = nullptr;
    SlotSelector *m_slots = nullptr;
    QStringList m_library;
    QString m_fileFolder;

    // Labels and fields.
    KelLabel *m_nameLabel = nullptr;
    KelLabel *m_versionLabel = nullptr;
    KelLineEdit *m_nameEdit = nullptr;
    QLabel *m_logo = nullptr;

    // Status.
    BatteryStatus *m_battery = nullptr;
    QPointer<BatteryChartDialog> m_batteryChart;
    OsdChannel *m_osd = nullptr;

    // The mouse session, and what it told last.
    std::unique_ptr<MouseWorker> m_worker;
    MouseSession *m_session = nullptr;
    MouseDevices m_devices;
    bool m_devicesKnown = false;           // the session told what it found at start
    bool m_warningDue = false;             // the start-up checks wait for that
    bool m_startHidden = false;            // started into the tray, not yet shown
    std::optional<bool> m_visibleAtLogout; // shown when the session's end asked for data
    int m_trayWaits = 0;                   // looks for a notification area so far
    quint64 m_ticket = 0;
    QHash<quint64, PendingSend> m_sends;
    // Slot switches' and wake checks' answers, by ticket.
    QHash<quint64, std::function<void(int)>> m_profileAnswers;
    bool m_sending = false;
    // The model whose profiles the sets hold.
    QString m_profilesModel;
    // Slot switches asked of the session whose outcome has not come back.
    int m_slotSwitchesPending = 0;
    // Something made the next send whole while a send was under way.
    bool m_nextSendWhole = false;
    KelProcessDialog *m_progress = nullptr;
    // Each slot's pointer speed as last sent, once something was sent.
    bool m_downloaded = false;
    std::array<quint8, kProfileCount> m_downloadedSpeeds{};

    // The sets.
    ProfileSet m_working;
    ProfileSet m_applied;

    std::unique_ptr<PageHost> m_pages;

    // Page and the mouse pictures.
    int m_page = PageLighting;
    MousePictures *m_pictures = nullptr;
    bool m_ledDisable = false;

    // Models.
    bool m_warningShown = false;
    bool m_deniedWarningShown = false;

    // Language and tray.
    LanguageChooser *m_languages = nullptr;
    BatteryTray *m_tray = nullptr;

    // The command line's requests.
    CommandServer *m_commands = nullptr;
};
