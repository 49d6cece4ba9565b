// SPDX-License-Identifier: GPL-3.0-or-later
#include "KelMessageBox.h"

#include "AppDir.h"
#include "FocusMark.h"
#include "InterfaceColour.h"
#include "LanguageFont.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QToolButton>
#include <atomic>

namespace {

std::atomic<bool> g_mouseReady{false};
QPointer<QWidget> g_lastParent;

// Box layout in design units (478 x 309).
constexpr int kBoxWidth = 478;
constexpr int kBoxHeight = 309;
constexpr int kPictureSize = 45;
constexpr int kTextPixels = 14;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 32;
constexpr int kButtonTop = 236;

// Titles and texts may be given as source texts; they are looked up in the box's context.
QString translated(const QString &text) {
    if (text.isEmpty())
        return text;
    const QByteArray source = text.toUtf8();
    return QCoreApplication::translate("KelMessageBox", source.constData());
}

} // namespace

void setMouseReadyFlag(bool ready) {
    g_mouseReady.store(ready);
}

bool mouseReadyFlag() {
    return g_mouseReady.load();
}

QString KelMessageBox::pictureForKind(int kind) {
    switch (kind) {
    case KindQuestion:
    case KindWarning:
    case KindNotice:
        return QStringLiteral("/skin/warn.png");
    case KindDongle:
        return QStringLiteral("/skin/dongle2.png");
    default:
        return QString();
    }
}

QString KelMessageBox::buttonStyleSheet(const QColor &colour) {
    return QString::asprintf("QToolButton{background: rgb(0, 0, 0); color: rgb(255, 255, 255);"
                             "                       border-radius: 3px;  border: 1px rgb(%d, "
                             "%d, %d);                       border-style: outset;}",
                             colour.red(), colour.green(), colour.blue());
}

QWidget *KelMessageBox::lastParent() {
    return g_lastParent.data();
}

KelMessageBox::KelMessageBox(int iKind, const QString &title, const QString &text1,
                             const QString &text2, QWidget *parent, bool bPlugIn,
                             Qt::WindowFlags flags)
    : QDialog(parent, flags), m_iKind(iKind) {
    setFixedSize(scaledSize(kBoxWidth, kBoxHeight));
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(translated(title));

    m_background = readSkinPixmap(AppDir::path() + QStringLiteral("/skin/dlg.png"));
    g_lastParent = parent;

    const QString picture = pictureForKind(iKind);
    m_pictureLabel = new QLabel(this);
    m_pictureLabel->setObjectName(QStringLiteral("msgBoxPictureLabel"));
    m_pictureLabel->setGeometry(scaledRect(48, 98, kPictureSize, kPictureSize));
    m_pictureLabel->setScaledContents(true);
    if (!picture.isEmpty())
        m_pictureLabel->setPixmap(readSkinPixmap(AppDir::path() + picture));
    m_pictureLabel->setVisible(!picture.isEmpty());

    // Without a picture the texts take the whole width.
    const int textLeft = picture.isEmpty() ? 40 : 110;
    const int textWidth = kBoxWidth - 40 - textLeft;
    const Qt::Alignment align =
        picture.isEmpty() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    const QFont textFont = languageFont(kTextPixels);
    m_infoLabel1 = new QLabel(translated(text1), this);
    m_infoLabel1->setObjectName(QStringLiteral("msgBoxInfoLabel1"));
    m_infoLabel1->setGeometry(scaledRect(textLeft, 56, textWidth, 70));
    m_infoLabel2 = new QLabel(translated(text2), this);
    m_infoLabel2->setObjectName(QStringLiteral("msgBoxInfoLabel2"));
    m_infoLabel2->setGeometry(scaledRect(textLeft, 130, textWidth, 70));
    // No second line: nothing for a screen reader to find there.
    m_infoLabel2->setVisible(!m_infoLabel2->text().isEmpty());
    for (QLabel *label : {m_infoLabel1, m_infoLabel2}) {
        // A name the user gave ("<b>Rapid") is shown as typed, never as markup.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setFont(textFont);
        label->setAlignment(align);
        label->setStyleSheet(QStringLiteral("color: rgb(255, 255, 255);"));
    }

    // A screen reader says the title, then the message; the picture goes by the title.
    m_pictureLabel->setAccessibleName(windowTitle());
    setAccessibleDescription(
        QStringList{m_infoLabel1->text(), m_infoLabel2->text()}.join(QLatin1Char(' ')).trimmed());

    const bool question = iKind == KindQuestion;
    m_yesBtn = makeButton(this, QStringLiteral("msgBoxYesBtn"), QStringLiteral(":/yes_Btn"),
                          question ? tr("Yes") : tr("Ok"));
    // A click, not a release: a press taken off the button before it is let go answers nothing.
    connect(m_yesBtn, &QToolButton::clicked, this, &QDialog::accept);
    if (question) {
        m_noBtn =
            makeButton(this, QStringLiteral("msgBoxNoBtn"), QStringLiteral(":/no_Btn"), tr("No"));
        connect(m_noBtn, &QToolButton::clicked, this, &QDialog::reject);
        m_yesBtn->setGeometry(scaledRect(124, kButtonTop, kButtonWidth, kButtonHeight));
        m_noBtn->setGeometry(scaledRect(254, kButtonTop, kButtonWidth, kButtonHeight));
    } else {
        m_yesBtn->setGeometry(scaledRect(189, kButtonTop, kButtonWidth, kButtonHeight));
    }

    if (bPlugIn) {
        m_timer = new QTimer(this);
        connect(m_timer, &QTimer::timeout, this, &KelMessageBox::GetPlugInSignal);
        m_timer->start(kPollIntervalMs);
        m_closedByPlugIn = false;
    }
}

QToolButton *KelMessageBox::makeButton(QWidget *dialog, const QString &objectName,
                                       const QString &icon, const QString &text) {
    auto *button = new QToolButton(dialog);
    button->setObjectName(objectName);
    button->setIcon(resourceIcon(icon));
    button->setIconSize(scaledSize(16, 16));
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setFont(languageFont(kTextPixels));
    button->setStyleSheet(buttonStyleSheet(interfaceColour()));
    button->setCursor(Qt::PointingHandCursor);
    markFocusOf(button, kFocusInset);
    return button;
}

void KelMessageBox::GetPlugInSignal() {
    // Before exec() has shown the box there is nothing to close; the next tick will do.
    if (!isVisible() || !mouseReadyFlag())
        return;
    m_closedByPlugIn = true;
    accept();
}

void KelMessageBox::paintSkinnedDialog(QWidget *dialog, const QPixmap &background) {
    QPainter painter(dialog);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(dialog->rect(), background);
    QPen pen(interfaceColour());
    pen.setWidth(2);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(dialog->rect().adjusted(1, 1, -1, -1));
}

void KelMessageBox::paintEvent(QPaintEvent *) {
    paintSkinnedDialog(this, m_background);
}

bool KelMessageBox::pressOnEnter(QKeyEvent *event,
                                 std::initializer_list<QAbstractButton *> buttons) {
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) ||
        mods != Qt::NoModifier || buttons.size() == 0)
        return false;
    event->accept();
    if (event->isAutoRepeat())
        return true;
    QAbstractButton *chosen = *buttons.begin();
    for (QAbstractButton *b : buttons) {
        if (b && b->hasFocus())
            chosen = b;
    }
    if (chosen && chosen->isEnabled())
        chosen->click();
    return true;
}

void KelMessageBox::keyPressEvent(QKeyEvent *event) {
    if (!pressOnEnter(event, {m_yesBtn, m_noBtn}))
        QDialog::keyPressEvent(event);
}
