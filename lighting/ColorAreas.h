// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The painted pieces of the colour editor: the hue bar, the saturation/value field, the
// preview and the clickable colour swatch (the lighting page uses the swatch too). Hue runs
// 0..360 (360 is red again), saturation and value 0..255.

#include <QColor>
#include <QWidget>

// A painted area the pointer picks a point in: a press, or a drag with the left button,
// picks; the release is reported. From the keyboard (Tab reaches it) the arrows move the point a
// step, ten with Shift, Page Up and Page Down ten steps up and down, Home and End to the bottom
// and the top; the key's release is reported as the button's is.
class PickColorArea : public QWidget {
    Q_OBJECT

public:
    explicit PickColorArea(QWidget *parent = nullptr);

signals:
    void mouseReleaseSignal();

protected:
    virtual void pickAt(const QPoint &pos) = 0;
    // Moves the point by dx steps to the right and dy steps up, within the area.
    virtual void stepBy(int dx, int dy) = 0;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};

// A vertical strip through every hue, red at the bottom (0) and at the top (360), with a
// marker at the current hue. Picking takes the hue under the pointer.
class HColorArea : public PickColorArea {
    Q_OBJECT

public:
    explicit HColorArea(QWidget *parent = nullptr);

    // Moves the marker without telling anyone; a marker at one end stays there for the other
    // end's hue, the same red.
    void setHue(int hue);
    int hue() const { return m_hue; }

signals:
    void hueChangedSignal(int hue);

protected:
    void paintEvent(QPaintEvent *event) override;
    void pickAt(const QPoint &pos) override;
    void stepBy(int dx, int dy) override;

private:
    int stripWidth() const;

    int m_hue = 0;
};

// A square of one hue: saturation grows to the right, value upwards. A circle marks the
// current point; picking moves it and reports the point as saturation and value 0..255. The
// left column is saturation 0 and the right one 255, the bottom row value 0 and the top one
// 255, whatever the square's size on the screen.
class SVColorArea : public PickColorArea {
    Q_OBJECT

public:
    explicit SVColorArea(QWidget *parent = nullptr);

    // Moves the point without telling anyone.
    void setHsv(int hue, int saturation, int value);
    int saturation() const { return m_saturation; }
    int value() const { return m_value; }

signals:
    void svChangedSignal(int hue, int saturation, int value);

public slots:
    // A new hue from the bar: the square repaints and the point's colour is reported.
    void hueChangedSlot(int hue);

protected:
    void paintEvent(QPaintEvent *event) override;
    void pickAt(const QPoint &pos) override;
    void stepBy(int dx, int dy) override;

private:
    int m_hue = 0;
    int m_saturation = 0;
    int m_value = 0;
};

// The colour chosen so far.
class PreviewColorArea : public QWidget {
    Q_OBJECT

public:
    explicit PreviewColorArea(QWidget *parent = nullptr);

    void setColor(const QColor &colour);
    QColor color() const { return m_colour; }

public slots:
    void svChangedSlot(int hue, int saturation, int value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_colour = Qt::black;
};

// A swatch of one colour that reports a click, or Space or Enter while it has the focus.
class DefaultColorArea : public QWidget {
    Q_OBJECT

public:
    explicit DefaultColorArea(QWidget *parent = nullptr);
    explicit DefaultColorArea(const QColor &colour, QWidget *parent = nullptr);

    void setColor(const QColor &colour);
    QColor color() const { return m_colour; }

signals:
    void ClickedSignal();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QColor m_colour;
};

// The colour of hue 0..360 (360 is hue 0), saturation and value, fully opaque, as red,
// green and blue.
QColor colourFromHsv(int hue, int saturation, int value);
