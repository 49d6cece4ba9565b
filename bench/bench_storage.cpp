// SPDX-License-Identifier: GPL-3.0-or-later
// Times the storage operations the program runs on start and on every apply, in a
// temporary application directory: bench_storage [RUNS]
#include "AppConfig.h"
#include "AppDir.h"
#include "ProfileData.h"
#include "ProfileFiles.h"
#include "ProfileLibrary.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <vector>

namespace {
double medianMs(int runs, const std::function<void()> &op) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        op();
        times.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

ProfileSet busySet() {
    ProfileSet set;
    for (int i = 0; i < kProfileCount; ++i) {
        makeDefaultProfile(set.profiles[i]);
        set.profileNames[i] = QStringLiteral("Profile %1").arg(i + 1);
        for (ButtonInfo &b : set.profiles[i].buttons) {
            b.KeyNumber = kKeyStepCount;
            for (int k = 0; k < kKeyStepCount; ++k)
                b.keyInfo[k] = {uint8_t(k), uint8_t(k * 3), uint8_t(k * 7)};
        }
    }
    return set;
}
} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 21;
    QTemporaryDir dir;
    AppDir::setPath(dir.path());
    QFile::copy(QStringLiteral(MOUSECFG_SOURCE_DIR "/data/DefaultProfile.bin"),
                dir.path() + QStringLiteral("/DefaultProfile.bin"));
    setCurrentProductName(QStringLiteral("TOLV"));

    const ProfileSet set = busySet();
    saveAppliedState(set);
    const QString conf = dir.path() + QStringLiteral("/backup.conf");
    exportProfileSet(set, conf);

    QTextStream out(stdout);
    out << "median over " << runs << " runs (ms)\n";
    ProfileSet loaded;
    out << "load the five-profile set:   " << medianMs(runs, [&] { loadProfileSet(loaded); })
        << '\n';
    out << "save one profile:            "
        << medianMs(runs, [&] { saveProfileByName(set.profiles[0], set.profileNames[0]); }) << '\n';
    ProfileSet edited = set;
    out << "save the applied state:      " << medianMs(runs, [&] {
        edited.profiles[edited.activeIndex()].dpiInfo[0].x++; // one slot edited per apply
        saveAppliedState(edited);
    }) << '\n';
    out << "export over an existing .conf: " << medianMs(runs, [&] { exportProfileSet(set, conf); })
        << '\n';
    out << "export to a new .conf:       " << medianMs(runs, [&] {
        QFile::remove(conf);
        exportProfileSet(set, conf);
    }) << '\n';
    ProfileSet imported = set; // LedMoveOFF and LedSleepTime are not in .conf files
    out << "import a .conf:              "
        << medianMs(runs, [&] { importProfileSet(imported, conf); }) << '\n';
    // LOAD as the window does it: the file taken in, then the state saved by the send. Two
    // files in turn, so that every run changes the slots.
    const QString otherConf = dir.path() + QStringLiteral("/other.conf");
    exportProfileSet(edited, otherConf);
    writeModelName(conf, QStringLiteral("TOLV"));
    writeModelName(otherConf, QStringLiteral("TOLV"));
    QStringList library;
    ProfileSet taken = set;
    int turn = 0;
    out << "LOAD a .conf and save:       " << medianMs(runs, [&] {
        loadConfigFile(library, taken, ++turn % 2 ? otherConf : conf);
        saveAppliedState(taken);
    }) << '\n';
    ProfileSet w = set, a = set;
    out << "diff two identical sets:     " << medianMs(runs, [&] { (void)diffProfileSets(w, a); })
        << '\n';
    return loaded == set && imported.profiles[4] == set.profiles[4] ? 0 : 1;
}
