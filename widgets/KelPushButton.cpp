// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelPushButton.h"
#include "SkinImage.h"

#include "FocusMark.h"
#include "InterfaceColour.h"
#include "LanguageFont.h"
#include "ModelDescriptor.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int kElideMargin = 5;
}

KelPushButton::KelPushButton(const QStringList &pictures, QWidget *parent,
                             const QString &background)
    : QPushButton(parent) {
    setPictures(pictures);
    if (!background.isEmpty())
        m_background = readSkinPixmap(background);

    if (descriptorColorMode() != 0) {
        m_textColours[0] = Qt::white;
        m_textColours[1] = Qt::black;
        m_textColours[2] = Qt::black;
    } else {
        m_textColours[0] = QColor(200, 200, 200);
        m_textColours[1] = QColor(225, 225, 225);
        m_textColours[2] = Qt::white;
    }
    m_textColours[3] = QColor(100, 100, 100);
    setMouseTracking(false);
    trackFocusMarks();
}

void KelPushButton::setPictures(const QStringList &pictures) {
    m_pictures.clear();
    m_pictures.reserve(pictures.size());
    for (const QString &path : pictures)
        m_pictures.append(readSkinPixmap(path));
    updateGeometry();
    update();
}

void KelPushButton::setText(const QString &text) {
    QPushButton::setText(text);
    setToolTip(text);
    update();
}

void KelPushButton::setToggleMode(bool on) {
    m_toggleMode = on;
    setCheckable(on);
    keepChecked(m_checked);
    setState(StateNormal);
}

void KelPushButton::setChecked(bool on) {
    keepChecked(on);
    setState(on ? StateHover : StateNormal);
}

void KelPushButton::keepChecked(bool on) {
    m_checked = on;
    if (m_toggleMode)
        QPushButton::setChecked(on);
}

// A click turns a toggle-mode button over once: at the mouse press already (the pictures
// show it while the button is held), else here, for a click by key or by accessibility.
void KelPushButton::nextCheckState() {
    if (m_turnedByPress) {
        m_turnedByPress = false;
        return;
    }
    keepChecked(!m_checked);
    applyEnabledState();
}

void KelPushButton::setEnabled(bool on) {
    m_enabled = on;
    QPushButton::setEnabled(on);
    m_enabled = isEnabled(); // stays disabled under a disabled parent
    applyEnabledState();
}

void KelPushButton::applyEnabledState() {
    if (!m_enabled)
        setState(StateDisabled);
    else if (m_toggleMode && m_checked)
        setState(StateHover);
    else
        setState(StateNormal);
}

void KelPushButton::setColourMode(bool on) {
    m_colourMode = on;
    update();
}

void KelPushButton::setRoundShape(bool on) {
    m_round = on;
    update();
}

void KelPushButton::setNoElide(bool on) {
    m_noElide = on;
    update();
}

void KelPushButton::setNumber(int number) {
    m_number = number;
    update();
}

QColor KelPushButton::textColour(int state) const {
    return m_textColours[state >= 0 && state < 4 ? state : 0];
}

QColor KelPushButton::shapeColour() const {
    // The pointer is followed directly: colour-mode buttons often have no pictures, and
    // then the state index never leaves 0 on hover.
    const QColor base = interfaceColour();
    if (!m_enabled)
        return QColor(100, 100, 100);
    if (isDown() || m_state == StatePressed)
        return base.lighter(150);
    if (m_hovered || m_state == StateHover)
        return base.lighter(125);
    return base;
}

QString KelPushButton::displayText() const {
    return shownText(languageFont());
}

QString KelPushButton::shownText(const QFont &font) const {
    if (m_noElide)
        return text();
    return QFontMetrics(font).elidedText(text(), Qt::ElideRight, qMax(0, width() - kElideMargin));
}

void KelPushButton::setState(int state) {
    m_state = state;
    update();
}

// A state without a picture of its own (a short list) shows the first picture.
const QPixmap *KelPushButton::statePicture() const {
    if (m_pictures.isEmpty())
        return nullptr;
    return &m_pictures.at(m_state < m_pictures.size() ? m_state : 0);
}

QSize KelPushButton::sizeHint() const {
    if (!m_background.isNull())
        return m_background.size();
    if (const QPixmap *picture = statePicture())
        return picture->size();
    return QPushButton::sizeHint();
}

void KelPushButton::enterEvent(QEvent *event) {
    m_pressedSinceEnter = false;
    m_hovered = true;
    emit OverSignal(this, true);
    if (m_enabled && m_pictures.size() > 1)
        setState(StateHover);
    update();
    QPushButton::enterEvent(event);
}

void KelPushButton::leaveEvent(QEvent *event) {
    m_hovered = false;
    if (!m_pressedSinceEnter)
        emit OverSignal(this, false);
    if (m_enabled)
        setState(m_toggleMode && m_checked ? StateHover : StateNormal);
    update();
    QPushButton::leaveEvent(event);
}

void KelPushButton::mousePressEvent(QMouseEvent *event) {
    if (m_enabled && event->button() == Qt::LeftButton) {
        const bool wasChecked = m_checked;
        keepChecked(!m_checked);
        m_turnedByPress = true;
        m_pressedSinceEnter = true;
        if (m_pictures.size() > 2)
            setState(wasChecked ? StateNormal : StatePressed);
        emit EnterSignal(this);
    }
    QPushButton::mousePressEvent(event);
}

void KelPushButton::mouseReleaseEvent(QMouseEvent *event) {
    if (m_enabled && event->button() == Qt::LeftButton) {
        if (m_pictures.size() > 1)
            setState(StateHover);
        update();
    }
    QPushButton::mouseReleaseEvent(event);
    // Let go off the button, a toggle gets no click: the press's turn is undone.
    if (m_toggleMode && m_turnedByPress) {
        keepChecked(!m_checked);
        applyEnabledState();
    }
    m_turnedByPress = false;
}

bool KelPushButton::isActivationKey(const QKeyEvent &event) const {
    switch (event.key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return event.modifiers() == Qt::NoModifier || event.modifiers() == Qt::KeypadModifier;
    case Qt::Key_Down:
        return menu() != nullptr && event.modifiers() == Qt::NoModifier;
    default:
        return false;
    }
}

// The key does what a click does, once per press, and goes no further: the window and the
// page around the button never see it. Like Qt's Space, the click comes when the key is let
// go, so that what the click starts (a macro recording) does not see the key's release.
void KelPushButton::keyPressEvent(QKeyEvent *event) {
    if (!isActivationKey(*event)) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!m_enabled || event->isAutoRepeat())
        return;
    if (menu()) {
        emit EnterSignal(this);
        showMenu();
        return;
    }
    m_keyDown = event->key();
    setDown(true);
}

void KelPushButton::keyReleaseEvent(QKeyEvent *event) {
    if (!isActivationKey(*event)) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || event->key() != m_keyDown)
        return;
    m_keyDown = 0;
    if (!isDown() || !m_enabled)
        return;
    emit EnterSignal(this);
    click();
}

// Enabling or disabling through a QWidget pointer or a parent widget keeps the state in
// step with what the user can do.
void KelPushButton::changeEvent(QEvent *event) {
    if (event->type() == QEvent::EnabledChange && isEnabled() != m_enabled) {
        m_enabled = isEnabled();
        applyEnabledState();
    }
    QPushButton::changeEvent(event);
}

void KelPushButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect area = rect();

    if (m_colourMode) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(shapeColour());
        if (m_round)
            painter.drawEllipse(area);
        else
            painter.drawRect(area);
    } else {
        if (!m_background.isNull())
            painter.drawPixmap(area, m_background);
        if (const QPixmap *picture = statePicture(); picture && !picture->isNull())
            painter.drawPixmap(area, *picture);
    }

    const QFont font = languageFont();
    painter.setFont(font);
    painter.setPen(textColour(m_state));
    if (m_number >= 0 && m_number != kNoNumber && m_number != kNoNumberAlt)
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                         QString::asprintf("  %d", m_number));
    if (!text().isEmpty())
        painter.drawText(area, Qt::AlignCenter, shownText(font));
    paintFocusMark(painter, this, area);
}
