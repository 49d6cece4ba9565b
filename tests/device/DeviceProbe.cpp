// SPDX-License-Identifier: GPL-3.0-or-later
// device-probe APPDIR: finds, opens and downloads to the mouse through the device layer,
// as the program does, and prints what it found and the table images it meant to send,
// one line each ("settings", "dpi", "lighting" with their bytes in hex), for a test to
// compare with what the mouse holds afterwards.
#include "AppDir.h"
#include "DeviceCommands.h"
#include "HidTransport.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    AppDir::setPath(QString::fromLocal8Bit(argv[1]));
    QTextStream out(stdout);

    HidTransport transport;
    DeviceCommands commands(transport);
    transport.LoadDeviceMatchTable();
    if (transport.EnumerateDevices() != 0)
        return 3;
    const DeviceMatchEntry &e = transport.deviceMatchTable().front();
    out << "found " << e.mouse1Found << e.command1Found << e.mouse2Found << e.command2Found
        << " release " << Qt::hex << transport.device2Release() << Qt::dec << '\n';
    transport.OpenDevice(QString::fromLatin1(e.modelName.c_str()));
    HidHandle *handle = transport.commandHandle();
    out << "handle "
        << (handle == &transport.hidCommand2 ? "command2"
            : handle                         ? "command1"
                                             : "none")
        << '\n';

    int8_t matrix[kDescriptorButtonKeys] = {};
    readButtonMatrix(matrix);
    setButtonMatrix(matrix);
    ProfileSet set;
    resetProfileSet(set);
    set.profiles[0].dpiInfo[3].x = 400; // above 320: the sensor's second range
    const int result = commands.DownloadProfile(set, DownloadEverything);
    out << "result " << result << '\n';

    auto hex = [](const uint8_t *data, int n) {
        return QByteArray(reinterpret_cast<const char *>(data), n).toHex();
    };
    uint8_t settings[19];
    commands.buildSettingsTable(settings);
    uint8_t lighting[80];
    commands.buildLightingTable(0, lighting);
    out << "settings " << hex(settings, 19) << '\n';
    out << "lighting " << hex(lighting, 80) << '\n';
    transport.CloseDevice();
    transport.ExitHid();
    return result;
}
