// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The LIGHTING page: the lighting effect with its brightness, speed and colour, the sleep
// time and "MOVE TO LIGHT OFF". It edits its own copy and sends nothing; the window collects
// the effect and its settings, and the next apply carries them to the mouse.
//
// The mouse holds one lighting table, built from the first profile's effect records, and
// takes the effect from the active profile. So the page shows two records: the one whose
// effect it shows (the view's effect record), and the first profile's, which holds the
// colour, brightness and speed of every effect, the sleep time and the move-off flag. Both
// may be the same record. The sleep time and the move-off flag go to the window as the user
// sets them, as the DPI page's do.

#include "ProfileData.h"
#include "SettingsPage.h"

#include <QWidget>

class DefaultColorArea;
class KelAction;
class KelCheckBox;
class KelLabel;
class KelMenu;
class KelPushButton;
class KelSlider;
class QAction;
class KelColorWindow : public QWidget, public SettingsPage {
    Q_OBJECT

public:
    static constexpr int kEffectCount = 14;

    explicit KelColorWindow(QWidget *parent = nullptr);

    // Shows the effect of the view's effect record with the first profile's settings of it; a
    // brightness or speed beyond its slider is handed back as the slider shows it.
    void loadPage(const ProfileSet &set, const PageView &view) override;
    // Writes the effect into the effect record and the effects' settings into the first.
    void collectProfile(ProfileSet &set) const override;
    // The mouse reports the effect it runs now (already stored by the window): shows it.
    void setLightMode(quint8 effect);
    // Slot 0's sleep time and "MOVE TO LIGHT OFF" byte, set elsewhere: shown, not an edit.
    void showLightingOptions(quint8 sleepTime, quint8 moveOff);
    // The effect the page shows (may be a number that names no effect).
    int shownEffect() const { return m_effect; }

    void retranslateUi() override;
    // Places every control again for the published scale factor.
    void relayout() override;

signals:
    // The user set the sleep time or "MOVE TO LIGHT OFF" (0 checked, 255 not).
    void SleepTimeChanged(quint8 minutes);
    void MoveOffChanged(quint8 value);

public slots:
    // Takes a colour for the shown effect.
    void slotSendLedState(QColor color);
    // Opens the colour editor on the shown effect's colour.
    void color_clicked();
    void checkbtn_clicked();

private slots:
    void onSliderChanged(int value);
    void onEffectTriggered(QAction *action);

private:
    // The first profile's settings of the shown effect, or nullptr when it names none.
    LedModeInfo *shownLedMode();
    void showEffect(int effect);
    void showEffectValues();
    void showSleepValue();
    void showEffectText();
    void rebuildMenu();

    // The copy shown: the effect record's index and effect, and the first profile's settings
    // of every effect.
    int m_effectIndex = 0;
    uint8_t m_ledMode = 0;
    LedModeInfo m_ledModes[kLedModeCount];
    uint8_t m_sleepTime = 0;
    int m_effect = 0;
    bool m_speedInFirstRow = false;

    KelLabel *m_effectLabel = nullptr;
    KelLabel *m_brightLabel = nullptr;
    KelLabel *m_speedLabel = nullptr;
    KelLabel *m_colourLabel = nullptr;
    KelLabel *m_sleepLabel = nullptr;
    KelLabel *m_sleepValue = nullptr;
    KelSlider *m_brightSlider = nullptr;
    KelSlider *m_speedSlider = nullptr;
    KelSlider *m_sleepSlider = nullptr;
    DefaultColorArea *m_swatch = nullptr;
    KelPushButton *m_effectBtn = nullptr;
    KelCheckBox *m_moveOff = nullptr;
    KelMenu *m_effectMenu = nullptr;
    KelAction *m_effectActions[kEffectCount] = {};
};
