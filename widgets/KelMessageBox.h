// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal message box of the program: a frameless, skinned dialog with a picture, two
// lines of text and one or two image buttons. A polling box closes itself once a
// supported mouse is present again.

#include <QDialog>
#include <QPixmap>
#include <QString>

#include <initializer_list>

class QAbstractButton;
class QKeyEvent;
class QLabel;
class QTimer;
class QToolButton;
class QWidget;

// Set by the main window while a supported mouse is present; read by polling boxes.
// Safe to use from any thread.
void setMouseReadyFlag(bool ready);
bool mouseReadyFlag();

class KelMessageBox : public QDialog {
    Q_OBJECT

public:
    // Kind 1 asks "Yes"/"No"; every other kind has one "Ok" button. Kinds 1..3 show the
    // warning picture, kind 4 the receiver, the rest none.
    enum Kind { KindPlain = 0, KindQuestion = 1, KindWarning = 2, KindNotice = 3, KindDongle = 4 };

    static constexpr int kPollIntervalMs = 100;
    // Where the focus mark of a dialog's button lies, in design pixels inside the button's edge.
    static constexpr int kFocusInset = 3;

    KelMessageBox(int iKind, const QString &title, const QString &text1, const QString &text2,
                  QWidget *parent = nullptr, bool bPlugIn = false,
                  Qt::WindowFlags flags = Qt::FramelessWindowHint);

    int kind() const { return m_iKind; }
    bool isPolling() const { return m_timer != nullptr; }
    // True when the box closed itself because the mouse came back.
    bool closedByPlugIn() const { return m_closedByPlugIn; }

    // The picture of a kind, relative to the application directory ("" for none).
    static QString pictureForKind(int kind);
    // The style sheet of the buttons, filled with a colour.
    static QString buttonStyleSheet(const QColor &colour);
    // The parent of the box built last, while it lives.
    static QWidget *lastParent();
    // A button of a skinned dialog: the icon (a resource path) beside the text in the
    // language's font, drawn by buttonStyleSheet, with the keyboard focus mark.
    static QToolButton *makeButton(QWidget *dialog, const QString &objectName, const QString &icon,
                                   const QString &text);
    // Paints a skinned dialog as the box is painted: the picture over the whole dialog,
    // edged in the interface colour.
    static void paintSkinnedDialog(QWidget *dialog, const QPixmap &background);
    // Enter and Return in a skinned dialog: press the one of its buttons (the first is the
    // default, Yes or OK) that has the focus, else the default. True when the key was taken;
    // Escape stays QDialog's and cancels.
    static bool pressOnEnter(QKeyEvent *event, std::initializer_list<QAbstractButton *> buttons);

public slots:
    void GetPlugInSignal();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_iKind;
    QPixmap m_background;
    QLabel *m_pictureLabel = nullptr;
    QLabel *m_infoLabel1 = nullptr;
    QLabel *m_infoLabel2 = nullptr;
    QToolButton *m_yesBtn = nullptr;
    QToolButton *m_noBtn = nullptr;
    QTimer *m_timer = nullptr;
    bool m_closedByPlugIn = false;
};
