// SPDX-License-Identifier: GPL-3.0-or-later
// speedwriter SPEED: sets the desktop's pointer speed as the command line does, waiting for
// the desktop to take it, and ends at once.
#include "PointerSpeed.h"

#include <QCoreApplication>

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const bool done = argc > 1 && PointerSpeed::writeSpeed(atoi(argv[1])) == PointerSpeed::Done;
    PointerSpeed::settle(1000);
    return done ? 0 : 1;
}
