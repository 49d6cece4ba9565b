// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The DPI page: the model's DPI stages as rows (enable, link, X and Y), the active stage,
// and, for a model without a lighting page, the sleep time and "MOVE TO LIGHT OFF". It
// edits its own copy of the shown profile and hands the stages back on Apply; the two
// lighting options belong to profile slot 0 and go to the window as the user sets them.

#include "ProfileData.h"
#include "SettingsPage.h"

#include <QWidget>

class KelCheckBox;
class KelLabel;
class KelSingleDPI;
class KelSlider;
class QButtonGroup;

class KelDPIWindow : public QWidget, public SettingsPage {
    Q_OBJECT

public:
    // The sensor code the page starts with, until setSensorCode.
    static constexpr int kStartSensorCode = 3325;

    explicit KelDPIWindow(QWidget *parent = nullptr);

    // Shows a copy of the view's profile with the view's sensor code, and slot 0's sleep
    // time and "MOVE TO LIGHT OFF" byte. Showing is never an edit.
    void loadPage(const ProfileSet &set, const PageView &view) override;
    // Writes the active stage and the eight stages into the profile it was loaded from.
    void collectProfile(ProfileSet &set) const override;
    // Slot 0's sleep time and "MOVE TO LIGHT OFF" byte, set elsewhere: shown, not an edit.
    void showLightingOptions(quint8 sleepTime, quint8 moveOff);
    // Applies a sensor's range and number conversion to every row.
    void setSensorCode(int code);
    // The mouse changed its stage: shown at once.
    void setActiveStage(quint8 stage);
    // Places the rows and controls by the scale factor now published.
    void relayout() override;
    void retranslateUi() override;

    const ProfileData &profile() const { return m_ProfileData; }
    int sensorCode() const { return m_sensorCode; }
    int stageCount() const { return m_stageCount; }
    bool showsSleep() const { return m_showSleep; }
    KelSingleDPI *row(int stage) const { return m_rows[stage]; }
    KelSlider *sleepSlider() const { return m_sleepSlider; }
    KelCheckBox *moveOffBox() const { return m_moveOffBox; }
    QString sleepText() const;

signals:
    void MouseinSignal(quint8 stage);
    // The user set the sleep time or "MOVE TO LIGHT OFF" (0 checked, 255 not).
    void SleepTimeChanged(quint8 minutes);
    void MoveOffChanged(quint8 value);

public slots:
    void onRadioChanged(int id);
    void onLinkChanged(quint8 link, quint8 stage);
    void onEnableChanged(quint8 used, quint8 stage);
    void onSliderChanged(int x, int y, quint8 stage);
    void checkbtn_clicked();
    void slider_clicked(int iValue);

private:
    void showActiveStage();
    void showSleepValue(int minutes);

    ProfileData m_ProfileData;
    int m_profileIndex = 0;
    KelSingleDPI *m_rows[kDpiStageCount] = {};
    QButtonGroup *m_stageGroup = nullptr;
    KelLabel *m_title = nullptr;
    KelLabel *m_sleepLabel = nullptr;
    KelSlider *m_sleepSlider = nullptr;
    KelLabel *m_sleepValue = nullptr;
    KelCheckBox *m_moveOffBox = nullptr;
    int m_sensorCode = kStartSensorCode;
    int m_stageCount = kDpiStageCount;
    bool m_showSleep = false;
};
