// SPDX-License-Identifier: GPL-3.0-or-later
// Times a whole download (every group, with and without twelve macros) and compares it
// with the pauses the protocol mandates (10 ms after every write, 50 ms after each macro
// is read). bench_device inprocess | bench_device hid APPDIR (run under virtual-mouse).
#include "AppConfig.h"
#include "AppDir.h"
#include "DeviceCommands.h"
#include "HidApi.h"
#include "HidTransport.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "VirtualHidApi.h"
#include "VirtualMouse.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <atomic>
#include <vector>

namespace {
std::atomic<int> g_writes{0};

// Passes everything to the real backend and counts the writes.
class CountingConnection : public HidConnection {
public:
    explicit CountingConnection(std::unique_ptr<HidConnection> inner) : m_inner(std::move(inner)) {}
    int write(const unsigned char *data, size_t length) override {
        ++g_writes;
        return m_inner->write(data, length);
    }
    int readTimeout(unsigned char *data, size_t length, int ms) override {
        return m_inner->readTimeout(data, length, ms);
    }

private:
    std::unique_ptr<HidConnection> m_inner;
};

class CountingApi : public HidApi {
public:
    explicit CountingApi(HidApi &inner) : m_inner(inner) {}
    int init() override { return m_inner.init(); }
    int exit() override { return m_inner.exit(); }
    std::vector<HidDeviceRecord> enumerate(uint16_t v, uint16_t p) override {
        return m_inner.enumerate(v, p);
    }
    std::unique_ptr<HidConnection> open(const std::string &path) override {
        auto c = m_inner.open(path);
        return c ? std::make_unique<CountingConnection>(std::move(c)) : nullptr;
    }

private:
    HidApi &m_inner;
};

ProfileSet configuration(int macros) {
    ProfileSet set;
    resetProfileSet(set);
    for (int i = 1; i < kProfileCount; ++i)
        set.profiles[i] = set.profiles[0];
    QDir().mkpath(macroDir());
    for (int m = 0; m < macros; ++m) {
        const QString name = QStringLiteral("macro%1").arg(m);
        QSettings f(macroFilePath(name), QSettings::IniFormat);
        f.setValue(QStringLiteral("Setting/Count"), 40);
        for (int i = 0; i < 40; ++i) {
            f.setValue(QStringLiteral("Setting/Map_%1").arg(i), i % 2 ? 0x01 : 0x81);
            f.setValue(QStringLiteral("Setting/DataH_%1").arg(i), 0);
            f.setValue(QStringLiteral("Setting/DataL_%1").arg(i), 4 + i % 20);
        }
        ButtonInfo &b = set.profiles[0].buttons[m];
        b.Fun = kFunMacro;
        b.macroname = name;
    }
    return set;
}

// Median of five downloads of the same configuration.
void measure(QTextStream &out, DeviceCommands &commands, const char *label, int macros) {
    const ProfileSet set = configuration(macros);
    int8_t matrix[kDescriptorButtonKeys] = {};
    readButtonMatrix(matrix);
    setButtonMatrix(matrix);
    std::vector<double> walls;
    int result = 0;
    int writes = 0;
    for (int run = 0; run < 5; ++run) {
        g_writes = 0;
        QElapsedTimer t;
        t.start();
        result |= commands.DownloadProfile(set, DownloadEverything);
        walls.push_back(t.nsecsElapsed() / 1e6);
        writes = g_writes;
    }
    std::sort(walls.begin(), walls.end());
    const double wall = walls[walls.size() / 2];
    const double mandated = writes * 10.0 + macros * 50.0;
    out << label << ": result " << result << ", frames " << writes << ", wall " << wall
        << " ms (median of 5), mandated pauses " << mandated << " ms, ratio " << wall / mandated
        << Qt::endl;
}

// A descriptor with sixteen buttons, so that twelve macros can be bound.
void installModel(const QString &dir) {
    QFile::copy(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/DefaultProfile.bin"),
                dir + QStringLiteral("/DefaultProfile.bin"));
    QFile::setPermissions(dir + QStringLiteral("/DefaultProfile.bin"),
                          QFile::ReadOwner | QFile::WriteOwner);
    QSettings d(dir + QStringLiteral("/DefaultProfile.bin"), QSettings::IniFormat);
    d.setValue(QStringLiteral("PROFILE/ButtonCount"), 16 ^ 90);
    for (int n = 0; n < 16; ++n)
        d.setValue(QStringLiteral("PROFILE/BUTTON_INFO_%1_Matrix").arg(n), n);
    QDir().mkpath(dir + QStringLiteral("/Configs"));
    QFile::copy(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/Configs/Config.ini"),
                dir + QStringLiteral("/Configs/Config.ini"));
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const bool hid = argc > 1 && qstrcmp(argv[1], "hid") == 0;
    QTemporaryDir dir;
    AppDir::setPath(dir.path());
    installModel(dir.path());

    VirtualMouse mouse;
    VirtualHidApi virtualApi(mouse);
    CountingApi counting(hid ? hidApi() : virtualApi);
    setHidApi(&counting);
    HidTransport transport;
    DeviceCommands commands(transport);
    transport.LoadDeviceMatchTable();
    transport.EnumerateDevices();
    transport.OpenDevice(QStringLiteral("TOLV"));
    if (!transport.commandHandle()) {
        out << "no mouse found\n";
        return 1;
    }
    out << (hid ? "through virtual hidraw nodes\n" : "in process\n");
    measure(out, commands, "full download", 0);
    measure(out, commands, "full download with twelve macros", 12);
    transport.CloseDevice();
    setHidApi(nullptr);
    return 0;
}
