#pragma once
// The LIGHTING page: the lighting effect with its brightness, speed and colour, the sleep
// time and "MOVE TO LIGHT OFF". It edits the working set in place and sends nothing; the
// next apply carries the changes to the mouse.
//
// The mouse holds one lighting table, built from the first profile's effect records, and
// takes the effect from the active profile. So the page is handed two records: the one whose
// effect it shows, and the first profile's, which holds the colour, brightness and speed of
// every effect, the sleep time and the move-off flag. Both may be the same record.

#include <QWidget>

class DefaultColorArea;
class KelAction;
class KelCheckBox;
class KelLabel;
class KelMenu;
class KelPushButton;
class KelSlider;
class QAction;
struct LedModeInfo;
struct ProfileData;

class KelColorWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kEffectCount = 14;

    explicit KelColorWindow(QWidget *parent = nullptr);

    // Shows the records; the pointers are kept until the next load and are written when
    // the user changes something.
    void loadProfile(ProfileData *effectRecord, ProfileData *lightingRecord);
    // The mouse reports the effect it runs now (already stored by the window): shows it.
    void setLightMode(quint8 effect);
    // The effect the page shows (may be a number that names no effect).
    int shownEffect() const { return m_effect; }

    void retranslateUi();
    // Places every control again for the published scale factor.
    void relayout();

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
    LedModeInfo *shownLedMode() const;
    void showEffect(int effect);
    void showEffectValues();
    void showSleepValue();
    void rebuildMenu();

    ProfileData *m_effectRecord = nullptr;
    ProfileData *m_lightingRecord = nullptr;
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
