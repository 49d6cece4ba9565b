// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModelDescriptor.h"

#include "AppConfig.h"
#include "IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {
bool descriptorExists() {
    return QFileInfo(descriptorPath()).isFile();
}

// The descriptor is read at many places, dozens of times while the window is built: it is
// parsed once, and again whenever the file at its path is another or has changed.
std::shared_ptr<const IniFile> descriptorFile() {
    static QMutex mutex;
    static std::shared_ptr<const IniFile> cached;
    static QByteArray cachedPath;
    static struct stat cachedStat;
    const QByteArray path = QFile::encodeName(descriptorPath());
    struct stat now;
    if (::stat(path.constData(), &now) != 0)
        now = {};
    QMutexLocker lock(&mutex);
    if (!cached || path != cachedPath || now.st_ino != cachedStat.st_ino ||
        now.st_dev != cachedStat.st_dev || now.st_size != cachedStat.st_size ||
        now.st_mtim.tv_sec != cachedStat.st_mtim.tv_sec ||
        now.st_mtim.tv_nsec != cachedStat.st_mtim.tv_nsec) {
        cached = std::make_shared<const IniFile>(QFile::decodeName(path));
        cachedPath = path;
        cachedStat = now;
    }
    return cached;
}

int descriptorInt(const char *key, int def) {
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    return ini.value(QStringLiteral("PROFILE/") + QLatin1String(key), def).toInt();
}

QString buttonKey(int n, const char *suffix) {
    return QStringLiteral("PROFILE/BUTTON_INFO_%1_").arg(n) + QLatin1String(suffix);
}

QString ledKey(int n, const char *suffix) {
    return QStringLiteral("PROFILE/LedMode/LED_MODE_%1_").arg(n) + QLatin1String(suffix);
}

QMutex g_matrixMutex;
int8_t g_buttonMatrix[kDescriptorButtonKeys] = {};

// Reads the sixteen "_%d_<suffix>" entries, keeping their low 8 bits.
void readMatrixKeys(const IniFile &ini, const char *suffix, int8_t out[kDescriptorButtonKeys]) {
    for (int n = 0; n < kDescriptorButtonKeys; ++n)
        out[n] = int8_t(ini.value(buttonKey(n, suffix), 0).toInt());
}

int countFrom(const IniFile &ini) {
    return ini.value(QStringLiteral("PROFILE/ButtonCount"), 0).toInt() ^
           ini.value(QStringLiteral("PROFILE/MouseDpi"), 0).toInt();
}
} // namespace

int readModelDescriptor(ModelDescriptor &d) {
    if (!descriptorExists())
        return -1;
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    d.dpi = uint8_t(ini.value(QStringLiteral("PROFILE/dpi"), 0).toInt());
    for (int i = 0; i < 8; ++i)
        d.stageValue[i] = ini.value(QStringLiteral("PROFILE/DPI_INFO_%1_xy").arg(i), 0).toInt();
    d.pollrate = ini.value(QStringLiteral("PROFILE/pollrate"), 0).toInt();
    d.LedMode = uint8_t(ini.value(QStringLiteral("PROFILE/LedMode"), 0).toInt());
    for (int n = 0; n < kDescriptorButtons; ++n) {
        ModelDescriptor::Button &b = d.buttons[n];
        if (n >= kDescriptorButtonKeys) {
            b = ModelDescriptor::Button();
            continue;
        }
        b.ID = ini.value(buttonKey(n, "ID"), 0).toInt();
        b.Fun = ini.value(buttonKey(n, "Fun"), 0).toInt();
        b.LoopNumber = ini.value(buttonKey(n, "LoopNumber"), 0).toInt();
        b.KeyNumber = ini.value(buttonKey(n, "KeyNumber"), 0).toInt();
        b.Res1 = uint8_t(ini.value(buttonKey(n, "Res1"), 0).toInt());
        b.Res2 = uint8_t(ini.value(buttonKey(n, "Res2"), 0).toInt());
        b.Res3 = uint8_t(ini.value(buttonKey(n, "Res3"), 0).toInt());
        b.Res4 = uint8_t(ini.value(buttonKey(n, "Res4"), 0).toInt());
    }
    for (int n = 0; n < 14; ++n) {
        // A damaged colour reads as no colour, never as a colour of an unknown kind.
        d.ledModes[n].RGB = ini.colour(ledKey(n, "RGB"));
        d.ledModes[n].bright = ini.value(ledKey(n, "bright"), 0).toInt();
        d.ledModes[n].breath = ini.value(ledKey(n, "breath"), 0).toInt();
    }
    return 0;
}

int readSensorDefaults(uint8_t out[SensorDefaultCount]) {
    if (!descriptorExists())
        return -1;
    static const char *const keys[SensorDefaultCount] = {
        "lift", "angle", "butondelay", "jitter", "wake", "sensormode", "sync"};
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    for (int i = 0; i < SensorDefaultCount; ++i)
        out[i] = uint8_t(ini.value(QStringLiteral("PROFILE/") + QLatin1String(keys[i]), 0).toInt());
    return 0;
}

int readButtonMatrix(int8_t out[kDescriptorButtonKeys]) {
    if (!descriptorExists())
        return -1;
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    readMatrixKeys(ini, "Matrix", out);
    return 0;
}

int readButtonMatrix2(int8_t out[kDescriptorButtonKeys]) {
    if (!descriptorExists())
        return -1;
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    readMatrixKeys(ini, "Matrix2", out);
    return countFrom(ini);
}

int buttonCount() {
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    return countFrom(ini);
}

int dpiStageCount() {
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    return countFrom(ini) ^ ini.value(QStringLiteral("PROFILE/DPICount"), 0).toInt();
}

void readUsbIds(int &vid1, int &pid1, int &vid2, int &pid2) {
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    vid1 = ini.value(QStringLiteral("PROFILE/vid1"), 0x248A).toInt();
    pid1 = ini.value(QStringLiteral("PROFILE/pid1"), 0xFA02).toInt();
    vid2 = ini.value(QStringLiteral("PROFILE/vid2"), 0x248A).toInt();
    pid2 = ini.value(QStringLiteral("PROFILE/pid2"), 0xFB01).toInt();
}

void readSleepRange(int &min, int &max) {
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    min = ini.value(QStringLiteral("PROFILE/SleepMin"), 1).toInt();
    max = ini.value(QStringLiteral("PROFILE/SleepMax"), 9).toInt();
}

QString descriptorProductName() {
    const std::shared_ptr<const IniFile> file = descriptorFile();
    const IniFile &ini = *file;
    return ini.value(QStringLiteral("PROFILE/ProductName")).toString();
}

int descriptorDisableMacro() {
    return descriptorInt("DisableMacro", 0);
}
int descriptorShowUpdate() {
    return descriptorInt("ShowUpdate", 1);
}
int descriptorShowSleep() {
    return descriptorInt("ShowSleep", 1);
}
int descriptorLedDisable() {
    return descriptorInt("ledDisable", 0);
}
int descriptorScrollRev() {
    return descriptorInt("ScrollRev", 0);
}
int descriptorMinDelay() {
    return descriptorInt("MinDelay", 10);
}
int descriptor33254() {
    return descriptorInt("33254", 0);
}
int descriptorColorMode() {
    return descriptorInt("ColorMode", 0);
}
int descriptorSyncMode() {
    return descriptorInt("SyncMode", 0);
}
int descriptorFrench() {
    return descriptorInt("french", -1);
}

std::array<int8_t, kDescriptorButtonKeys> buttonMatrix() {
    QMutexLocker lock(&g_matrixMutex);
    std::array<int8_t, kDescriptorButtonKeys> copy;
    std::memcpy(copy.data(), g_buttonMatrix, sizeof g_buttonMatrix);
    return copy;
}

void setButtonMatrix(const int8_t matrix[kDescriptorButtonKeys]) {
    QMutexLocker lock(&g_matrixMutex);
    std::memcpy(g_buttonMatrix, matrix, sizeof g_buttonMatrix);
}
