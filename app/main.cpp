// Until the window exists the program reports what it loads from its installation.
#include "AppConfig.h"
#include "ModelDescriptor.h"
#include "ProfileData.h"
#include "ProfileFiles.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString product = descriptorProductName();
    out << "Product: " << (product.isEmpty() ? QStringLiteral("(no descriptor)") : product) << ' '
        << descriptorVersion() << '\n';
    out << "Buttons: " << buttonCount() << ", DPI stages: " << dpiStageCount() << '\n';

    loadProfileSet(appliedSet());
    writeDefaultProfileFile();
    workingSet() = appliedSet();
    const ProfileSet &set = workingSet();
    const int sensor = sensorCode();
    for (int i = 0; i < kProfileCount; ++i) {
        const ProfileData &p = set.profiles[i];
        out << (i == set.activeIndex() ? "* " : "  ") << "Profile " << i + 1 << " \""
            << set.profileNames[i] << "\": stages";
        for (int s = 0; s < kDpiStageCount; ++s) {
            if (p.dpiInfo[s].used)
                out << ' ' << stageToDpi(int(p.dpiInfo[s].y), sensor);
        }
        out << '\n';
    }
    return 0;
}
