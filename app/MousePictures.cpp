// SPDX-License-Identifier: GPL-3.0-or-later
#include "MousePictures.h"

#include "AccessibleRole.h"
#include "AppConfig.h"
#include "ButtonRules.h"
#include "KelPushButton.h"
#include "MainLayout.h"
#include "ModelDescriptor.h"
#include "ModelSpots.h"
#include "Scale.h"
#include "SkinImage.h"

#include <QLabel>

using namespace MainLayout;

namespace {
// The marker place of a button slot on one of the model's pictures, or nullptr when the
// button cannot be seen there. Slot n holds button n + 1 of the pictures.
template <size_t N> const ModelSpots::Spot *spotOf(const ModelSpots::Spot (&table)[N], int slot) {
    for (const ModelSpots::Spot &s : table) {
        if (s.button == slot + 1)
            return &s;
    }
    return nullptr;
}

// A picture of the current model: its folder in the skin, then the suffix.
QString modelPicture(const QString &suffix) {
    return skinPath(QStringLiteral("mouse/") + currentProductName() + suffix);
}
} // namespace

MousePictures::MousePictures(QWidget *window) : QObject(window) {
    m_frontPicture = new QLabel(window);
    m_sidePicture = new QLabel(window);
    m_buttonPicture = new QLabel(window);
    m_buttonPicture->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (QLabel *l : {m_frontPicture, m_sidePicture, m_buttonPicture}) {
        l->setAlignment(Qt::AlignCenter);
        l->hide();
    }

    const QStringList toggle = skinStates(QStringLiteral("button"), 4);
    m_frontToggle = new KelPushButton(toggle, window);
    m_sideToggle = new KelPushButton(toggle, window);
    for (KelPushButton *t : {m_frontToggle, m_sideToggle}) {
        t->setToggleMode(true);
        setAccessibleRole(t, QAccessible::RadioButton);
        connect(t, &QPushButton::clicked, this,
                [this, t] { emit viewClicked(t == m_frontToggle); });
    }

    // The spots stack above the pictures they mark.
    const QStringList spotPictures = skinStates(QStringLiteral("spot"), 3);
    for (int i = 0; i < kSpotCount; ++i) {
        m_frontSpots[i] = new KelPushButton(spotPictures, window);
        m_sideSpots[i] = new KelPushButton(spotPictures, window);
        const std::pair<KelPushButton *, int> spots[] = {{m_frontSpots[i], SpotFront},
                                                         {m_sideSpots[i], SpotSide}};
        for (const auto &s : spots) {
            s.first->setToggleMode(true);
            connect(s.first, &QPushButton::clicked, this,
                    [this, kind = s.second, i] { emit spotClicked(kind, i); });
            connect(s.first, &KelPushButton::OverSignal, this,
                    [this, i](KelPushButton *, bool on) { showButtonPicture(i, on); });
        }
    }
    setShown(false);
}

KelPushButton *MousePictures::spot(int kind, int index) const {
    switch (kind) {
    case SpotFront:
        return index >= 0 && index < kSpotCount ? m_frontSpots[index] : nullptr;
    case SpotSide:
        return index >= 0 && index < kSpotCount ? m_sideSpots[index] : nullptr;
    default:
        return nullptr;
    }
}

QWidget *MousePictures::lowestSpot() const {
    return m_frontSpots[0];
}

QList<QWidget *> MousePictures::controls() const {
    QList<QWidget *> list = {m_frontToggle, m_sideToggle};
    for (int i = 0; i < kSpotCount; ++i)
        list << m_frontSpots[i] << m_sideSpots[i];
    return list;
}

bool MousePictures::select(int kind, int index) {
    KelPushButton *chosen = spot(kind, index);
    if (!chosen && !(kind == SpotWheel && index >= 0 && index < kWheelSpots))
        return false;
    m_kind = kind;
    m_index = index;
    for (int i = 0; i < kSpotCount; ++i) {
        m_frontSpots[i]->setChecked(false);
        m_sideSpots[i]->setChecked(false);
    }
    if (chosen)
        chosen->setChecked(true);
    return true;
}

void MousePictures::setFrontView(bool front) {
    m_front = front;
    m_frontToggle->setChecked(front);
    m_sideToggle->setChecked(!front);
    setShown(m_shown);
}

void MousePictures::setShown(bool shown) {
    m_shown = shown;
    // The pictures are decoded and scaled once per model and size, when first shown.
    if (shown)
        decodePicture(m_front);
    m_frontToggle->setVisible(shown);
    m_sideToggle->setVisible(shown);
    m_frontPicture->setVisible(shown && m_front);
    m_sidePicture->setVisible(shown && !m_front);
    if (!shown)
        m_buttonPicture->hide();
    for (int i = 0; i < kSpotCount; ++i) {
        m_frontSpots[i]->setVisible(shown && m_front && m_frontPresent[i]);
        m_sideSpots[i]->setVisible(shown && !m_front && m_sidePresent[i]);
    }
}

void MousePictures::relayout() {
    m_frontToggle->setGeometry(scaledRect(kFrontToggle));
    m_sideToggle->setGeometry(scaledRect(kSideToggle));
    m_frontPicture->setGeometry(scaledRect(kFrontPicture));
    m_sidePicture->setGeometry(scaledRect(kSidePicture));
    m_buttonPicture->setGeometry(scaledRect(kFrontPicture));
    // The side picture is centred in its place.
    const QPoint sideOrigin(kSidePicture.x() + (kSidePicture.width() - kSidePictureFit) / 2,
                            kSidePicture.y() + (kSidePicture.height() - kSidePictureFit) / 2);
    const int buttons = buttonCount();
    const int half = kSpotSize / 2;
    for (int i = 0; i < kSpotCount; ++i) {
        const ModelSpots::Spot *f = i < buttons ? spotOf(ModelSpots::kTopView, i) : nullptr;
        const ModelSpots::Spot *s = i < buttons ? spotOf(ModelSpots::kSideView, i) : nullptr;
        if (f)
            m_frontSpots[i]->setGeometry(scaledRect(kFrontPicture.x() + f->x - half,
                                                    kFrontPicture.y() + f->y - half, kSpotSize,
                                                    kSpotSize));
        if (s)
            m_sideSpots[i]->setGeometry(scaledRect(
                sideOrigin.x() + s->x - half, sideOrigin.y() + s->y - half, kSpotSize, kSpotSize));
        m_frontPresent[i] = f != nullptr;
        m_sidePresent[i] = s != nullptr;
    }
    setShown(m_shown);
}

void MousePictures::retranslateUi() {
    m_frontToggle->setText(tr("Front"));
    m_sideToggle->setText(tr("Side"));
    m_frontPicture->setAccessibleName(tr("Mouse from above"));
    m_sidePicture->setAccessibleName(tr("Mouse from the side"));
    // A spot reads as the button it marks, numbered as on the button page's list.
    for (int i = 0; i < kSpotCount; ++i) {
        const QString name = buttonName(i);
        m_frontSpots[i]->setAccessibleName(name);
        m_sideSpots[i]->setAccessibleName(name);
    }
}

QString MousePictures::buttonName(int index) {
    const int number = buttonRowNumber(index);
    return tr("Button %1").arg(number > 0 ? number : index + 1);
}

void MousePictures::showButtonPicture(int index, bool on) {
    if (index < 0 || index >= kSpotCount)
        return;
    const QPixmap picture =
        on && m_shown && m_front
            ? readSkinPixmap(modelPicture(QStringLiteral("/mouse_%1.png").arg(index + 1)))
            : QPixmap();
    if (picture.isNull()) {
        m_buttonPicture->hide();
        return;
    }
    m_buttonPicture->setPixmap(
        picture.scaled(m_frontPicture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_buttonPicture->setAccessibleName(buttonName(index));
    m_buttonPicture->show();
    m_buttonPicture->raise();
    for (KelPushButton *s : m_frontSpots)
        s->raise();
}

void MousePictures::decodePicture(bool front) {
    const QSize size = front ? scaledSize(kFrontPicture.width(), kFrontPicture.height())
                             : scaledSize(kSidePictureFit, kSidePictureFit);
    const QString path =
        modelPicture(front ? QStringLiteral("/Mouse.png") : QStringLiteral("_Side.png"));
    const int i = front ? 0 : 1;
    if (path == m_decodedPath[i] && size == m_decodedSize[i])
        return;
    const QPixmap picture = readSkinPixmap(path);
    (front ? m_frontPicture : m_sidePicture)
        ->setPixmap(picture.isNull()
                        ? QPixmap()
                        : picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_decodedPath[i] = path;
    m_decodedSize[i] = size;
}
