// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skinned button of every window: paints one of its state pictures (or, in colour
// mode, a filled shape in the interface colour) with a text in the language's font, and
// reports hovering and pressing with signals of its own. Space and Enter press it as a click
// does (a button with a menu opens the menu, Down too), and it marks the keyboard focus.

#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QVector>

class KelPushButton : public QPushButton {
    Q_OBJECT

public:
    enum State { StateNormal = 0, StateHover = 1, StatePressed = 2, StateDisabled = 3 };
    // Numbers that show nothing at the button's left.
    static constexpr int kNoNumber = 254;
    static constexpr int kNoNumberAlt = 253;

    // Pictures in the order normal, hover, pressed, disabled; one picture serves every
    // state. A non-empty background path loads a picture that fixes the size hint.
    explicit KelPushButton(const QStringList &pictures, QWidget *parent = nullptr,
                           const QString &background = QString());

    // Other pictures, in the same order.
    void setPictures(const QStringList &pictures);

    // Stores the text, uses it as the tooltip too, and repaints.
    void setText(const QString &text);

    // Toggle mode: a checked button shows the hover state while the pointer is away. The
    // button is then checkable, and Qt's checked state (what the keyboard and accessibility
    // see) follows isChecked().
    void setToggleMode(bool on);
    bool isToggleMode() const { return m_toggleMode; }
    // State 1 when checked, 0 when not.
    void setChecked(bool on);
    bool isChecked() const { return m_checked; }
    // State 0 when enabled (1 when enabled, in toggle mode and checked), 3 when disabled;
    // the widget's own enabled state follows.
    void setEnabled(bool on);
    bool isButtonEnabled() const { return m_enabled; }

    void setColourMode(bool on);
    bool isColourMode() const { return m_colourMode; }
    void setRoundShape(bool on);
    bool isRoundShape() const { return m_round; }
    void setNoElide(bool on);
    bool isNoElide() const { return m_noElide; }

    // The small number shown at the left as "  %d"; kNoNumber and kNoNumberAlt (and
    // negative values) show nothing.
    void setNumber(int number);
    int number() const { return m_number; }

    int state() const { return m_state; }
    int pictureCount() const { return m_pictures.size(); }
    // The text colour of a state (0..3), fixed at construction by the model's colour mode.
    QColor textColour(int state) const;
    // The fill of colour mode for the current state.
    QColor shapeColour() const;
    // The text as painted: elided to the width less 5 pixels unless no-eliding is set.
    QString displayText() const;

    QSize sizeHint() const override;

signals:
    void EnterSignal(KelPushButton *btn);
    void OverSignal(KelPushButton *btn, bool bType);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void nextCheckState() override;

private:
    void setState(int state);
    // Sets the checked state, Qt's too in toggle mode.
    void keepChecked(bool on);
    // Space, Enter and Return; Down too on a button with a menu.
    bool isActivationKey(const QKeyEvent &event) const;
    void applyEnabledState();
    const QPixmap *statePicture() const;
    QString shownText(const QFont &font) const;

    QVector<QPixmap> m_pictures;
    QPixmap m_background;
    QColor m_textColours[4];
    int m_state = StateNormal;
    int m_number = kNoNumber;
    bool m_toggleMode = false;
    bool m_checked = false;
    bool m_enabled = true;
    bool m_colourMode = false;
    bool m_round = false;
    bool m_noElide = false;
    bool m_pressedSinceEnter = false;
    // A mouse press turned the checked state over; the click that follows must not again.
    bool m_turnedByPress = false;
    // The activation key held down on the button, 0 for none.
    int m_keyDown = 0;
    bool m_hovered = false;
};
