// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sensor options page: the options global to the mouse (sync, lift-off distance, angle
// snapping, jitter, key response, motion wake, sensor mode), the profile's pointer speed,
// and the button that opens the desktop's mouse settings. Which options show depends on
// the model's sync variant. The values wait in the page until Apply.

#include "SettingsPage.h"

#include <QWidget>

class KelCheckBox;
class KelLabel;
class KelPushButton;
class KelRadioButton;
class KelSlider;
class QSpinBox;
struct ProfileData;
struct ProfileSet;

class KelPointSpeed : public QWidget, public SettingsPage {
    Q_OBJECT

public:
    explicit KelPointSpeed(QWidget *parent = nullptr);

    // Shows the view's profile's pointer speed and the seven options of the set. Showing is
    // never an edit; a key response the mouse cannot take shows and is handed back as the
    // nearest it can, a lift-off byte other than 1 or 2 as 2 mm.
    void loadPage(const ProfileSet &set, const PageView &view) override;
    // Writes the seven options into the set and the pointer speed into the profile it was
    // loaded from.
    void collectProfile(ProfileSet &set) const override;
    // The lift-off distance was set on the report-rate page.
    void setLift(quint8 lift);
    // Whether the desktop takes the pointer speed from programs; where it does not, a note
    // under the options says so (the page grows by it), and the speed still goes into the
    // profile.
    void setHostSpeedApplies(bool applies);
    void relayout() override;
    void retranslateUi() override;

    // Which options a sync variant ("PROFILE/SyncMode") shows: 0 has no angle snapping,
    // jitter or sync on the mouse.
    static bool showsSyncOptions(int syncMode) { return syncMode != 0; }

    quint8 debounce() const { return m_debounce; }
    KelSlider *keySlider() const { return m_keySlider; }
    QSpinBox *speedBox() const { return m_speedBox; }
    KelCheckBox *angleBox() const { return m_angle; }
    KelCheckBox *jitterBox() const { return m_jitter; }
    KelCheckBox *wakeBox() const { return m_wake; }
    KelCheckBox *syncBox() const { return m_sync; }
    KelRadioButton *modeButton(int mode) const { return m_modes[mode]; }
    QString keyValueText() const;

public slots:
    void sValueChangedSlot(int s);
    void checkbtn_clicked();
    void btn_clicked();

private:
    void showLift();
    void showSensorMode();

    KelLabel *m_keyLabel = nullptr;
    KelSlider *m_keySlider = nullptr;
    KelLabel *m_keyValue = nullptr;
    QSpinBox *m_speedBox = nullptr;
    KelPushButton *m_mouseSetting = nullptr;
    KelCheckBox *m_sync = nullptr;
    KelLabel *m_liftLabel = nullptr;
    KelRadioButton *m_lift1 = nullptr;
    KelRadioButton *m_lift2 = nullptr;
    KelCheckBox *m_angle = nullptr;
    KelCheckBox *m_jitter = nullptr;
    KelCheckBox *m_wake = nullptr;
    KelLabel *m_sensorLabel = nullptr;
    // Under the options where the desktop takes no pointer speed from programs: says so.
    KelLabel *m_speedNote = nullptr;
    KelRadioButton *m_modes[3] = {};

    int m_profileIndex = 0;
    quint8 m_mouseSpeed = 0;
    quint8 m_syncValue = 0;
    quint8 m_liftValue = 0;
    quint8 m_angleValue = 0;
    quint8 m_jitterValue = 0;
    quint8 m_debounce = 1;
    quint8 m_wakeValue = 0;
    quint8 m_sensorMode = 0;
    int m_syncMode = 0;
    bool m_hostSpeedApplies = true;
};
