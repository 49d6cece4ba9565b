// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzInstallation.h"

#include "AppConfig.h"
#include "AppDir.h"
#include "DeviceCommands.h"
#include "HidApi.h"
#include "HidTransport.h"
#include "MacroFile.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace {

// Scripted replies (see replyWith), or none: then every report is answered by itself.
const uint8_t *g_replies = nullptr;
size_t g_repliesLeft = 0;
bool g_confirmed = false;

// A mouse that takes every report and answers it at once.
class EchoConnection : public HidConnection {
public:
    int write(const unsigned char *data, size_t length) override {
        m_last.fill(0);
        std::memcpy(m_last.data(), data, std::min(length, m_last.size()));
        g_confirmed = false;
        return int(length);
    }
    int readTimeout(unsigned char *data, size_t length, int) override {
        if (!g_replies) {
            const size_t n = std::min(length, size_t(kFrameLength));
            std::memcpy(data, m_last.data(), n);
            return int(n);
        }
        if (g_repliesLeft == 0)
            return -1;
        const size_t n = std::min<size_t>({g_replies[0], g_repliesLeft - 1, 64});
        const size_t copied = std::min(n, length);
        std::memcpy(data, g_replies + 1, copied);
        g_replies += 1 + n;
        g_repliesLeft -= 1 + n;
        if (copied >= size_t(kFrameLength)) {
            const uint8_t code = m_last[3];
            const bool withData = code <= 0x0A;
            g_confirmed = g_confirmed || CompareReply(m_last.data(), data, withData) == 0;
        }
        return int(copied);
    }

private:
    std::array<unsigned char, 64> m_last{};
};

class EchoHidApi : public HidApi {
public:
    int init() override { return 0; }
    int exit() override { return 0; }
    std::vector<HidDeviceRecord> enumerate(uint16_t, uint16_t) override { return {}; }
    std::unique_ptr<HidConnection> open(const std::string &) override {
        return std::make_unique<EchoConnection>();
    }
};

QTemporaryDir *g_dir = nullptr;
HidTransport *g_transport = nullptr;
DeviceCommands *g_commands = nullptr;
qint64 g_inputCount = 0;
// Config.ini as the installation has it once the model is chosen.
QByteArray g_config;

QString dataFile(const char *relative) {
    return QStringLiteral(MOUSECFG_SOURCE_DIR "/data/") + QLatin1String(relative);
}

void copyData(const char *relative, const QString &to) {
    QDir().mkpath(QFileInfo(to).absolutePath());
    QFile::remove(to);
    if (!QFile::copy(dataFile(relative), to))
        std::abort(); // the harness itself is broken: no input can be judged
}

} // namespace

namespace Fuzz {

void setUp() {
    if (g_dir)
        return;
    // Thousands of inputs a second: the device layer's debug lines would only slow them.
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    // Settings can hold any type Qt streams, images among them, which need the application
    // object the program always has.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_dir = new QTemporaryDir;
    if (!g_dir->isValid())
        std::abort();
    // Whatever the program keeps in the user's folders goes to the scratch directory too.
    for (const char *variable : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                                 "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        qputenv(variable, QFile::encodeName(g_dir->path()));
    static int argc = 1;
    static char name[] = "mousecfg-fuzz";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    AppDir::setPath(g_dir->path());
    QDir().mkpath(configDir());
    copyData("DefaultProfile.bin", descriptorPath());
    copyData("Configs/Config.ini", configIniPath());
    setCurrentProductName(descriptorProductName());
    QFile config(configIniPath());
    if (!config.open(QIODevice::ReadOnly))
        std::abort();
    g_config = config.readAll();
    static EchoHidApi api;
    setHidApi(&api);
    g_transport = new HidTransport;
    g_commands = new DeviceCommands(*g_transport);
    g_transport->hidCommand2.open("echo");
    setDevicePauseHook([](int) {});
}

void writeInput(const QString &path, const uint8_t *data, size_t size) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(reinterpret_cast<const char *>(data), qint64(size));
    // Inputs of the same size written within the same second must still differ in time.
    const QDateTime base = QDateTime::fromSecsSinceEpoch(1000000000, Qt::UTC);
    file.setFileTime(base.addSecs(++g_inputCount), QFileDevice::FileModificationTime);
}

void restoreConfig() {
    writeInput(configIniPath(), reinterpret_cast<const uint8_t *>(g_config.constData()),
               size_t(g_config.size()));
}

HidTransport &transport() {
    return *g_transport;
}

DeviceCommands &commands() {
    return *g_commands;
}

int sendSet(const ProfileSet &set) {
    return g_commands->DownloadProfile(set, DownloadEverything);
}

void macroFileInput(const QString &name, int fun, const uint8_t *data, size_t size) {
    setUp();
    writeInput(macroFilePath(name), data, size);
    MacroFile file;
    loadMacroFile(name, file);
    ProfileSet set;
    resetProfileSet(set);
    for (ProfileData &profile : set.profiles)
        makeDefaultProfile(profile);
    set.profiles[0].buttons[0].Fun = fun;
    set.profiles[0].buttons[0].macroname = name;
    g_commands->DownloadProfile(set, DownloadButtons);
}

void replyWith(const uint8_t *replies, size_t size) {
    g_replies = replies;
    g_repliesLeft = replies ? size : 0;
}

bool lastWriteConfirmed() {
    return g_confirmed;
}

} // namespace Fuzz
