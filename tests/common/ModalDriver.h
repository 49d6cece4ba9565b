// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fills in the next modal dialog of a given type once it shows, as a user would: the test's
// function types keys into it, clicks its controls and closes it. Key events carry the
// native scan code of a real keyboard (evdev + 8), so that key capture sees them.

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QTimer>
#include <QWindow>
#include <functional>

// A key going down (or up) in a window, as the windowing system delivers it.
inline void sendNativeKey(QWidget *window, int evdev, bool press) {
    QKeyEvent event(press ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier,
                    quint32(evdev + 8), 0, 0);
    QCoreApplication::sendEvent(window->windowHandle(), &event);
}

template <typename Dialog> class ModalDriver : public QObject {
public:
    explicit ModalDriver(std::function<void(Dialog &)> act) : m_act(std::move(act)) {
        m_timer.setInterval(10);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible() || m_done)
                return;
            m_done = true;
            m_timer.stop();
            m_act(*dialog);
            // A dialog the function left open is cancelled, so that a test never hangs.
            if (dialog->isVisible())
                dialog->reject();
        });
        m_timer.start();
    }
    // True once the dialog was shown and handled.
    bool done() const { return m_done; }

private:
    std::function<void(Dialog &)> m_act;
    QTimer m_timer;
    bool m_done = false;
};
