// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CUSTOMIZE page's pictures of the mouse: the front and side pictures with a spot on each
// button, the Front/Side toggle, and the picture of a button under the pointer. One button is
// selected at a time, a spot or one of the two wheel buttons (chosen on the button page,
// which labels them); the window shows the button page for it.
//
// The widgets are the window's children, laid out in its design coordinates; the spots stack
// above everything made before them.

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

class KelPushButton;
class QLabel;
class QWidget;

class MousePictures : public QObject {
    Q_OBJECT

public:
    enum SpotKind { SpotFront = 0, SpotSide = 1, SpotWheel = 2 };
    static constexpr int kSpotCount = 20;
    static constexpr int kWheelSpots = 2;

    explicit MousePictures(QWidget *window);

    // A spot, or nullptr when there is none of that kind and index (the wheel buttons have
    // none).
    KelPushButton *spot(int kind, int index) const;
    // The lowest of the spots: what is made later and must stay under them stacks below it.
    QWidget *lowestSpot() const;
    // The view toggles and the spots, for the window's Tab order (hidden ones are passed over).
    QList<QWidget *> controls() const;

    bool isFrontView() const { return m_front; }
    int selectedKind() const { return m_kind; }
    int selectedIndex() const { return m_index; }

    // Selects a button: marks its spot, if it has one; false (and nothing changes) when there
    // is no such button.
    bool select(int kind, int index);
    void setFrontView(bool front);
    // Shows the pictures and the spots the model has, or hides them all.
    void setShown(bool shown);
    // Places everything at the current scale, and marks the spots of the current model's
    // buttons.
    void relayout();
    void retranslateUi();
    // Shows (or hides) the picture of button slot index over the front picture.
    void showButtonPicture(int index, bool on);

signals:
    // The user clicked a spot or a toggle.
    void spotClicked(int kind, int index);
    void viewClicked(bool front);

private:
    // What a screen reader calls button slot index: "Button 3".
    static QString buttonName(int index);
    // The front or side picture of the model, decoded and scaled once per model and size.
    void decodePicture(bool front);

    QLabel *m_frontPicture = nullptr;
    QLabel *m_sidePicture = nullptr;
    QLabel *m_buttonPicture = nullptr;
    KelPushButton *m_frontToggle = nullptr;
    KelPushButton *m_sideToggle = nullptr;
    KelPushButton *m_frontSpots[kSpotCount] = {};
    KelPushButton *m_sideSpots[kSpotCount] = {};
    bool m_frontPresent[kSpotCount] = {};
    bool m_sidePresent[kSpotCount] = {};

    // What the picture labels hold: the file and size they were decoded for.
    QString m_decodedPath[2];
    QSize m_decodedSize[2];

    bool m_shown = false;
    bool m_front = true;
    int m_kind = SpotFront;
    int m_index = 0;
};
