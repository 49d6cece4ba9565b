// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The slider of one DPI stage: one groove with two handles, X above it and Y below it. In
// linked mode the handles move together. The values it holds are whatever it was given,
// also outside its range (the handles then stand at the nearer end); only the user's
// moves change them, and each move is told with valuesMoved. From the keyboard the arrows
// move a handle one step, Page Up and Page Down a tenth of the range, Home and End to the
// ends: X (both, when linked), or Y with Shift held. To a screen reader it is a slider whose
// value is X, each move announced; its description tells Y.

#include <QWidget>

class KelTwoBarSliderAccessible;

class KelTwoBarSlider : public QWidget {
    Q_OBJECT
    friend class KelTwoBarSliderAccessible;

public:
    explicit KelTwoBarSlider(QWidget *parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // Shows two values without telling anyone.
    void setValues(int x, int y);
    int xValue() const { return m_x; }
    int yValue() const { return m_y; }
    void setLinked(bool linked);
    bool isLinked() const { return m_linked; }

    // The value under a horizontal position, and the position of a value (clamped).
    int valueAt(int px) const;
    int positionOf(int value) const;

signals:
    // The user moved a handle (both, when linked); x and y as they are now.
    void valuesMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum Handle { NoHandle, HandleX, HandleY };
    int handleWidth() const;
    Handle handleFor(const QPoint &pos) const;
    void moveHandle(Handle handle, int value);
    // Where a key takes a handle from `from`; false for a key that does not move it.
    bool keyTarget(int key, int from, int &to) const;

    int m_minimum = 0;
    int m_maximum = 100;
    int m_x = 0;
    int m_y = 0;
    bool m_linked = true;
    Handle m_dragging = NoHandle;
    int m_wheelAngle = 0; // wheel turned short of a whole notch
};
