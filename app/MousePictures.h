#pragma once
// The CUSTOMIZE page's pictures of the mouse: the front and side pictures with a spot on each
// button, the two wheel spots, the Front/Side toggle, and the picture of a button under the
// pointer. One spot is selected at a time; the window shows the button page for it.
//
// The widgets are the window's children, laid out in its design coordinates; the spots stack
// above everything made before them.

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

    // A spot, or nullptr when there is none of that kind and index.
    KelPushButton *spot(int kind, int index) const;
    // The lowest of the spots: what is made later and must stay under them stacks below it.
    QWidget *lowestSpot() const;

    bool isFrontView() const { return m_front; }
    int selectedKind() const { return m_kind; }
    int selectedIndex() const { return m_index; }

    // Marks one spot of the three sets as selected; false (and nothing changes) when there is
    // no such spot.
    bool select(int kind, int index);
    void setFrontView(bool front);
    // Shows the pictures and the spots the model has, or hides them all.
    void setShown(bool shown);
    // Places everything at the current scale, and marks the spots of the current model's
    // buttons.
    void relayout();
    // The wheel spots' pictures, by the current model's data.
    void readWheelPictures();
    void retranslateUi();
    // Shows (or hides) the picture of button slot index over the front picture.
    void showButtonPicture(int index, bool on);

signals:
    // The user clicked a spot or a toggle.
    void spotClicked(int kind, int index);
    void viewClicked(bool front);

private:
    // The front or side picture of the model, decoded and scaled once per model and size.
    void decodePicture(bool front);

    QLabel *m_frontPicture = nullptr;
    QLabel *m_sidePicture = nullptr;
    QLabel *m_buttonPicture = nullptr;
    KelPushButton *m_frontToggle = nullptr;
    KelPushButton *m_sideToggle = nullptr;
    KelPushButton *m_frontSpots[kSpotCount] = {};
    KelPushButton *m_sideSpots[kSpotCount] = {};
    KelPushButton *m_wheelSpots[kWheelSpots] = {};
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
