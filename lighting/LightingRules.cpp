// SPDX-License-Identifier: GPL-3.0-or-later
#include "LightingRules.h"

#include <QCoreApplication>

#include <algorithm>

namespace {
constexpr int kEffectCount = 14;

const char *const kEffectTexts[kEffectCount] = {
    QT_TRANSLATE_NOOP("KelColorWindow", "OFF"),
    QT_TRANSLATE_NOOP("KelColorWindow", "FULL LIGHTED"),
    QT_TRANSLATE_NOOP("KelColorWindow", "BREATHING"),
    QT_TRANSLATE_NOOP("KelColorWindow", "7 COLOR BREATHING"),
    QT_TRANSLATE_NOOP("KelColorWindow", "RAINBOW"),
    QT_TRANSLATE_NOOP("KelColorWindow", "FLASH"),
    QT_TRANSLATE_NOOP("KelColorWindow", "Horizontal WAVE"),
    QT_TRANSLATE_NOOP("KelColorWindow", "Horizontal GO WITHOUT TRACE"),
    QT_TRANSLATE_NOOP("KelColorWindow", "Raindrop"),
    QT_TRANSLATE_NOOP("KelColorWindow", "WAVE"),
    QT_TRANSLATE_NOOP("KelColorWindow", "GO WITHOUT TRACE"),
    QT_TRANSLATE_NOOP("KelColorWindow", "REACTIVE"),
    QT_TRANSLATE_NOOP("KelColorWindow", "yo-yo"),
    QT_TRANSLATE_NOOP("KelColorWindow", "Marbles"),
};

bool isHexDigits(const QString &text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        const ushort u = c.unicode();
        return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
    });
}
} // namespace

EffectControls effectControls(int effect) {
    EffectControls c;
    switch (effect) {
    case 0:
        break;
    case 1:
        c.brightness = c.colour = true;
        break;
    case 2:
        c.speed = c.colour = c.speedInFirstRow = true;
        break;
    case 3:
        c.speed = c.speedInFirstRow = true;
        break;
    case 11:
        c.brightness = true;
        break;
    default:
        c.brightness = c.speed = effect > 3 && effect < kEffectCount;
        break;
    }
    return c;
}

const char *effectSourceText(int effect) {
    return effect >= 0 && effect < kEffectCount ? kEffectTexts[effect] : nullptr;
}

QString effectText(int effect) {
    const char *source = effectSourceText(effect);
    return source ? QCoreApplication::translate("KelColorWindow", source) : QString();
}

int lightingRecordIndex(const QString &model, int activeIndex) {
    return model == QLatin1String("7350") ? 0 : activeIndex;
}

bool parseHexColour(const QString &text, QColor &colour) {
    if ((text.size() != 3 && text.size() != 6) || !isHexDigits(text))
        return false;
    QString digits = text;
    if (text.size() == 3) {
        digits.clear();
        for (QChar c : text)
            digits += QString(2, c);
    }
    const uint rgb = digits.toUInt(nullptr, 16);
    colour = QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
    return true;
}

QString finishedHexText(const QString &text) {
    QColor shortForm;
    if (text.size() == 3 && parseHexColour(text, shortForm))
        return hexText(shortForm);
    if (!isHexDigits(text))
        return QStringLiteral("000000");
    return text.right(6).rightJustified(6, QLatin1Char('0')).toLower();
}

QString hexText(const QColor &colour) {
    return QStringLiteral("%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'));
}
