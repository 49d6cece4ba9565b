#pragma once
// The firmware updater the model data names: offered by the firmware button to a mouse on its
// cable, and started on its own when the mouse on the cable has another firmware release.

#include <QObject>

struct MouseDevices;
class QWidget;

class FirmwareUpdater : public QObject {
    Q_OBJECT

public:
    // Boxes are shown over window.
    explicit FirmwareUpdater(QWidget *window);

    // The mouse on the cable has a firmware release other than the one this program serves.
    static bool tooOld(const MouseDevices &devices);
    // The firmware button: asks, then starts the updater; without a cable, says to plug one.
    void offer(const MouseDevices &devices);
    // Tells the user the firmware will be updated, then starts the updater.
    void force();

signals:
    // The mouse's status poll should stop (true) while the updater starts, or go on (false).
    void pausePolling(bool paused);
    // The updater runs and needs the mouse to itself: the program lets it go and ends.
    void handedOver();

private:
    bool start(const QString &relativePath);

    QWidget *m_window;
};
