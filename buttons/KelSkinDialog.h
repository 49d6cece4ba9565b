// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame of the button page's dialogs: a frameless, translucent dialog painted from the
// skin's dialog picture with a frame in the interface colour, a title on top and "Yes"
// (accept) and "No" (reject) at the foot, last in the Tab order. Enter presses "Yes" (or the
// one of the two with the focus) and Escape cancels. The key capture dialogs take the first key
// whatever it is (Tab, Enter and Escape too); after that those three move on, accept and cancel
// again, and a click on the key box takes the next key whatever it is.

#include <QDialog>
#include <QPixmap>

class KelLabel;
class QCheckBox;
class QLabel;
class QToolButton;

class KelSkinDialog : public QDialog {
    Q_OBJECT

public:
    // A dialog of the given design size (times the scale factor).
    KelSkinDialog(int designWidth, int designHeight, QWidget *parent = nullptr);

    QToolButton *yesButton() const { return m_yesBtn; }
    QToolButton *noButton() const { return m_noBtn; }

    // Check box pictures of the skin (checkbox2-1.png unchecked, checkbox2-2.png checked).
    static void useSkinCheckPictures(QCheckBox *box);

protected:
    void setTitle(const QString &title);
    // A label in the language's font, white, at a design rectangle.
    KelLabel *addLabel(const QRect &design, int designPixels = 0);
    // The line under the title that says what to do.
    KelLabel *addHint(const QString &text);
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QPixmap m_background;
    KelLabel *m_title = nullptr;
    QToolButton *m_yesBtn = nullptr;
    QToolButton *m_noBtn = nullptr;
};

class KeyCapture;

// A dialog that listens to the keyboard while it lives and its key box has the focus: each key
// event, translated into the key code space, reaches keyCaptured() once; a repeat of the
// previous event (same code and flags, as a held key gives) is dropped.
class KelKeyDialog : public KelSkinDialog {
    Q_OBJECT

public:
    explicit KelKeyDialog(QWidget *parent = nullptr);

protected:
    virtual void keyCaptured(int code, unsigned flags) = 0;
    // Whether keys are captured now: while the key box has the focus.
    virtual bool isCapturing() const;
    // The frame around a key name: monospaced, centred, on a dark field; it takes the focus.
    QLabel *addKeyBox(const QRect &design);
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onKeyEvent(quint8 scanCode, quint8 flags, bool repeat);

    KeyCapture *m_capture = nullptr;
    QLabel *m_keyBox = nullptr;
    int m_lastCode = -1;
    unsigned m_lastFlags = 0;
};
