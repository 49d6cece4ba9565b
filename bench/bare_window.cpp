// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for start-up: a bare Qt widgets window of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("BARE"));
    window.resize(999, 640);
    window.show();
    return app.exec();
}
