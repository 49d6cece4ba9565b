// SPDX-License-Identifier: GPL-3.0-or-later
// The longest stalls of the window's GUI thread: how late a 5 ms timer fires while the window
// starts, while it takes in a DPI stage changed on the mouse (the first time also starting the
// on-screen display), while it applies the whole configuration, and while the cable is pulled
// out and plugged in again with the receiver staying. Against the virtual mouse through the
// real hidapi, driven through the launcher's control FIFO:
//
//   build/virtual-mouse --control FIFO -- build/bench/bench_stalls FIFO [ROUNDS]
//
// (bench/stalls.sh BUILD_DIR [ROUNDS] does that). Only the window's outside is used: making,
// showing and deleting it, its Apply button, the top-level windows, the installation's files.
#include "BenchInstallation.h"
#include "KelProcessDialog.h"
#include "MousecfgWidget.h"
#include "Resources.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QLoggingCategory>
#include <QSettings>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Round by round: what each phase saw, and each stall as it happens
// (QT_LOGGING_RULES="mousecfg.bench.debug=true").
Q_LOGGING_CATEGORY(lcBench, "mousecfg.bench", QtInfoMsg)

namespace {

constexpr int kTickMs = 5;
constexpr qint64 kTickNs = qint64(kTickMs) * 1000000;
constexpr int kStartupMs = 2000;
constexpr int kDpiMs = 4000;
constexpr int kApplyBoundMs = 15000;
constexpr int kApplyTailMs = 300;
constexpr int kPollMs = 10;
constexpr int kUnpluggedMs = 1500;
constexpr int kPluggedMs = 2000;
constexpr int kDefaultRounds = 3;
// Stalls this long are logged as they happen.
constexpr qint64 kLogNs = 8000000;

enum Phase { Startup, DpiChange, Apply, Replug, PhaseCount };

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

// One timeout of the timer: how much later than 5 ms after the one before it came.
struct Lateness {
    int round = 0;
    qint64 ns = 0;
};

// A 5 ms timer on the GUI thread; each timeout's lateness goes to the phase running then.
class StallRecorder : public QObject {
public:
    StallRecorder() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(kTickMs);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            const qint64 late = now - m_last - kTickNs;
            if (m_phase >= 0)
                m_samples[m_phase].push_back({m_round, late});
            // On the monotonic clock, to be lined up with "perf record -k CLOCK_MONOTONIC".
            if (late > kLogNs)
                qCDebug(lcBench, "%.1f ms late, stalled from %.3f to %.3f s", ms(late),
                        double(m_clock.msecsSinceReference() * 1000000 + m_last) / 1e9,
                        double(m_clock.msecsSinceReference() * 1000000 + now) / 1e9);
            m_last = now;
        });
    }
    void start() {
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    void stop() { m_timer.stop(); }
    // The phase's first lateness counts from here: the benchmark's own work between phases
    // (looking at files and processes) is not the window's.
    void enter(Phase phase, int round) {
        m_phase = phase;
        m_round = round;
        m_last = m_clock.nsecsElapsed();
    }
    void leave() { m_phase = -1; }
    const std::vector<Lateness> &samples(Phase phase) const { return m_samples[phase]; }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    int m_phase = -1;
    int m_round = 0;
    std::vector<Lateness> m_samples[PhaseCount];
};

// Writes one command line into the launcher's control FIFO; false when nobody reads it.
bool control(const QString &fifo, const QByteArray &command) {
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const QByteArray line = command + '\n';
    const bool written = ::write(fd, line.constData(), size_t(line.size())) == line.size();
    ::close(fd);
    return written;
}

// The processes running this program file (a hard link counts by its own path).
QList<pid_t> processesOf(const QString &file) {
    const QString program = QFileInfo(file).canonicalFilePath();
    QList<pid_t> found;
    QDirIterator it(QStringLiteral("/proc"), QDir::Dirs | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        bool number = false;
        const pid_t pid = pid_t(it.fileName().toInt(&number));
        if (number && QFile::symLinkTarget(it.filePath() + QStringLiteral("/exe")) == program)
            found << pid;
    }
    return found;
}

// Ends the processes running this program file: asked first, then killed.
void endProcessesOf(const QString &program) {
    QList<pid_t> running = processesOf(program);
    for (pid_t pid : running)
        ::kill(pid, SIGTERM);
    for (int wait = 0; wait < 100 && !running.isEmpty(); ++wait) {
        QThread::msleep(20);
        running = processesOf(program);
    }
    for (pid_t pid : running)
        ::kill(pid, SIGKILL);
}

// A file or folder of the build tree in the installation: a file hard-linked (copied where
// that fails), a folder linked.
bool addFromBuild(const QString &installation, const QString &name) {
    const QFileInfo from(QStringLiteral(MOUSECFG_APP_DIR "/") + name);
    const QString to = installation + QLatin1Char('/') + name;
    if (from.isDir())
        return QFile::link(from.absoluteFilePath(), to);
    return from.isFile() && (::link(QFile::encodeName(from.absoluteFilePath()).constData(),
                                    QFile::encodeName(to).constData()) == 0 ||
                             QFile::copy(from.absoluteFilePath(), to));
}

// Modification times of the files under a folder, to the nanosecond.
QHash<QString, qint64> fileTimes(const QString &folder) {
    QHash<QString, qint64> times;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        struct stat st {};
        if (::stat(QFile::encodeName(it.next()).constData(), &st) == 0)
            times.insert(it.filePath(),
                         qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec);
    }
    return times;
}

QList<QDialog *> visibleDialogs() {
    QList<QDialog *> dialogs;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *d = qobject_cast<QDialog *>(w); d && d->isVisible())
            dialogs << d;
    }
    return dialogs;
}

bool progressShown() {
    const QList<QDialog *> dialogs = visibleDialogs();
    return std::any_of(dialogs.begin(), dialogs.end(),
                       [](QDialog *d) { return qobject_cast<KelProcessDialog *>(d) != nullptr; });
}

// Closes the boxes the window shows (not the progress dialog); returns their texts.
QStringList closeBoxes() {
    QStringList texts;
    for (QDialog *d : visibleDialogs()) {
        if (qobject_cast<KelProcessDialog *>(d))
            continue;
        QStringList lines;
        for (const QLabel *label : d->findChildren<QLabel *>())
            if (!label->text().isEmpty())
                lines << label->text();
        texts << (lines.isEmpty() ? d->windowTitle() : lines.join(QLatin1Char(' ')));
        d->done(QDialog::Rejected);
    }
    return texts;
}

// While the window runs, stderr (Qt's messages, the window's, and the OSD's, which inherits it)
// goes to a file; afterwards its lines come out, less what the offscreen platform says of the
// features it lacks.
class StderrCapture {
public:
    explicit StderrCapture(const QString &path) : m_path(path) {
        std::fflush(stderr);
        const int fd = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        m_saved = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
        if (m_saved >= 0)
            ::dup2(fd, STDERR_FILENO);
        ::close(fd);
    }
    ~StderrCapture() { release(); }

    // Puts stderr back; returns the lines said meanwhile that matter.
    QStringList release() {
        if (m_saved < 0)
            return {};
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
        QFile log(m_path);
        if (!log.open(QIODevice::ReadOnly))
            return {};
        QStringList lines;
        for (const QString &line : QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'))) {
            if (!line.isEmpty() &&
                !line.startsWith(QLatin1String("This plugin does not support")) &&
                !line.contains(QLatin1String("systemTrayWindowChanged")))
                lines << line;
        }
        return lines;
    }

private:
    QString m_path;
    int m_saved = -1;
};

// A signal that ends the run (Ctrl-C, or the launcher passing one on) is taken in by the event
// loop, so that the window is deleted and the OSD ended as at a normal end.
int g_signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

// The window under test and the phases run on it, one step after another from the event loop.
class StallBench : public QObject {
public:
    StallBench(const QString &installation, const QString &fifo, int rounds)
        : m_installation(installation), m_fifo(fifo), m_rounds(rounds) {
        for (std::vector<QStringList> &notes : m_notes)
            notes.resize(size_t(rounds));
    }

    ~StallBench() override { delete m_window; }

    // Makes and shows the window; the phases follow once the event loop runs.
    void start() {
        QElapsedTimer clock;
        clock.start();
        m_window = new MousecfgWidget();
        m_constructorNs = clock.nsecsElapsed();
        clock.restart();
        m_window->show();
        m_showNs = clock.nsecsElapsed();
        m_recorder.start();
        m_recorder.enter(Startup, 0);
        after(kStartupMs, [this] { startupDone(); });
    }

    // Deletes the window; then the results can be printed.
    void end() {
        m_recorder.stop();
        delete m_window;
        m_window = nullptr;
    }

    // Ends the run early, as at its end.
    void interrupt() { stop(QStringLiteral("interrupted")); }

    // Why the run ended early; empty when it ran to its end.
    QString error() const { return m_error; }

    void print(QTextStream &out) const {
        // The installation is new: the constructor also writes the profile files.
        out << "start-up with new settings: constructor " << ms(m_constructorNs) << " ms, show() "
            << ms(m_showNs) << " ms; first 2 s of the event loop: ";
        printPhase(out, Startup);
        out << "DPI stage changed on the mouse, 4 s: ";
        printPhase(out, DpiChange);
        out << "apply of everything, until the progress dialog is gone + 300 ms: ";
        printPhase(out, Apply);
        out << "cable unplugged 1.5 s and plugged 2 s, receiver staying: ";
        printPhase(out, Replug);
    }

private:
    void after(int milliseconds, const std::function<void()> &step) {
        QTimer::singleShot(milliseconds, this, step);
    }

    void stop(const QString &error) {
        m_error = error;
        m_recorder.leave();
        closeBoxes();
        QCoreApplication::quit();
    }

    bool command(const QByteArray &line) {
        if (control(m_fifo, line))
            return true;
        stop(QStringLiteral("nobody reads the control FIFO %1").arg(m_fifo));
        return false;
    }

    void note(Phase phase, const QString &text) {
        qCDebug(lcBench, "round %d: %s", m_round + 1, qPrintable(text));
        m_notes[phase][size_t(m_round)] << text;
    }

    void startupDone() {
        m_recorder.leave();
        // Without a mouse the window shows "Dongle Disconnect!" and there is nothing to do.
        const QStringList boxes = closeBoxes();
        if (!boxes.isEmpty())
            return stop(QStringLiteral("the window showed \"%1\" at start: is the virtual mouse "
                                       "there (build/virtual-mouse --control FIFO -- ...)?")
                            .arg(boxes.join(QStringLiteral("\", \""))));
        if (!m_window->findChild<QAbstractButton *>(QStringLiteral("applyBtn")))
            return stop(QStringLiteral("the window has no button named applyBtn"));
        dpiChange();
    }

    // A stage chosen on the mouse: the window stores it and shows it on the OSD, which the
    // first round starts.
    void dpiChange() {
        const int stage = m_round % 2 == 0 ? 3 : 2;
        const QString osd = m_installation + QStringLiteral("/OSD");
        const bool osdRunning = !processesOf(osd).isEmpty();
        const QString configs = m_installation + QStringLiteral("/Configs");
        const QHash<QString, qint64> before = fileTimes(configs);
        m_recorder.enter(DpiChange, m_round);
        if (!command("dpi " + QByteArray::number(stage)))
            return;
        after(kDpiMs, [this, stage, osd, osdRunning, configs, before] {
            m_recorder.leave();
            if (!osdRunning && !processesOf(osd).isEmpty())
                note(DpiChange, QStringLiteral("OSD started"));
            // The window keeps the stage in the profile's file.
            bool stored = false;
            const QHash<QString, qint64> now = fileTimes(configs);
            for (auto it = now.begin(); it != now.end() && !stored; ++it)
                stored = it.value() != before.value(it.key()) &&
                         QSettings(it.key(), QSettings::IniFormat)
                                 .value(QStringLiteral("PROFILE/dpi"), -1)
                                 .toInt() == stage;
            if (!stored)
                note(DpiChange, QStringLiteral("dpi %1 not taken in").arg(stage));
            apply();
        });
    }

    // Apply with the next send marked whole: from the click until no progress dialog shows.
    void apply() {
        const QString config = m_installation + QStringLiteral("/Configs/Config.ini");
        QSettings(config, QSettings::IniFormat).setValue(QStringLiteral("Config/Diff"), 1);
        auto *button = m_window->findChild<QAbstractButton *>(QStringLiteral("applyBtn"));
        m_applySeen = false;
        m_applyReturned = false;
        m_applyClock.start();
        m_recorder.enter(Apply, m_round);
        // The click runs the send's dialog in an event loop of its own; the steps go on in it.
        after(0, [this, button] {
            button->click();
            m_applyReturned = true;
        });
        after(kPollMs, [this, config] { waitForApply(config); });
    }

    void waitForApply(const QString &config) {
        const bool shown = progressShown();
        m_applySeen = m_applySeen || shown;
        if (shown || !(m_applySeen || m_applyReturned)) {
            if (m_applyClock.elapsed() < kApplyBoundMs)
                return after(kPollMs, [this, config] { waitForApply(config); });
            note(Apply, QStringLiteral("still sending after %1 s").arg(kApplyBoundMs / 1000));
            return applyDone(config);
        }
        note(Apply, QStringLiteral("sent in %1 s").arg(m_applyClock.elapsed() / 1000.0, 0, 'f', 2));
        after(kApplyTailMs, [this, config] { applyDone(config); });
    }

    void applyDone(const QString &config) {
        m_recorder.leave();
        const QStringList boxes = closeBoxes();
        if (!boxes.isEmpty())
            note(Apply, QStringLiteral("box \"%1\" closed").arg(boxes.join(QChar(','))));
        // A send that reached its end clears the mark.
        if (QSettings(config, QSettings::IniFormat).value(QStringLiteral("Config/Diff")).toInt() !=
            0)
            note(Apply, QStringLiteral("not sent"));
        replug();
    }

    void replug() {
        m_recorder.enter(Replug, m_round);
        if (!command("unplug cable"))
            return;
        after(kUnpluggedMs, [this] {
            if (!command("plug cable"))
                return;
            after(kPluggedMs, [this] {
                m_recorder.leave();
                if (++m_round < m_rounds)
                    dpiChange();
                else
                    QCoreApplication::quit();
            });
        });
    }

    // The worst and second worst lateness with their rounds, then each round's worst with
    // what the round saw.
    void printPhase(QTextStream &out, Phase phase) const {
        std::vector<Lateness> samples = m_recorder.samples(phase);
        if (samples.size() < 2) {
            out << "no timeouts\n";
            return;
        }
        std::sort(samples.begin(), samples.end(),
                  [](const Lateness &a, const Lateness &b) { return a.ns > b.ns; });
        const int rounds = phase == Startup ? 1 : m_rounds;
        const auto which = [&](const Lateness &s) {
            return rounds == 1 ? QString() : QStringLiteral(" (round %1)").arg(s.round + 1);
        };
        out << "worst " << ms(samples[0].ns) << " ms" << which(samples[0]) << ", second worst "
            << ms(samples[1].ns) << " ms" << which(samples[1]);
        if (rounds == 1) {
            out << "; 1 round\n";
            return;
        }
        out << "; " << rounds << " rounds:";
        for (int r = 0; r < rounds; ++r) {
            qint64 worst = 0;
            for (const Lateness &s : samples)
                worst = s.round == r ? std::max(worst, s.ns) : worst;
            out << ' ' << ms(worst);
            const QStringList &notes = m_notes[phase][size_t(r)];
            if (!notes.isEmpty())
                out << " (" << notes.join(QStringLiteral(", ")) << ')';
        }
        out << " ms\n";
    }

    QString m_installation;
    QString m_fifo;
    int m_rounds;
    MousecfgWidget *m_window = nullptr;
    StallRecorder m_recorder;
    qint64 m_constructorNs = 0;
    qint64 m_showNs = 0;
    int m_round = 0;
    std::vector<QStringList> m_notes[PhaseCount];
    QElapsedTimer m_applyClock;
    bool m_applySeen = false;
    bool m_applyReturned = false;
    QString m_error;
};

} // namespace

int main(int argc, char *argv[]) {
    QTextStream err(stderr);
    if (argc < 2 || argc > 3 || (argc == 3 && QByteArray(argv[2]).toInt() < 1)) {
        err << "usage: virtual-mouse --control FIFO -- bench_stalls FIFO [ROUNDS]\n";
        return 2;
    }
    const QString fifo = QFile::decodeName(argv[1]);
    const int rounds = argc == 3 ? QByteArray(argv[2]).toInt() : kDefaultRounds;

    // Set up as the program sets itself up; offscreen unless a platform is asked for. The
    // OSD the window starts inherits the platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // A runtime folder of our own: the OSD's socket, and the command line's, are this run's,
    // so an OSD or window of another run can neither answer nor be disturbed.
    QTemporaryDir runtime(QDir::tempPath() + QStringLiteral("/bench_stalls-runtime-XXXXXX"));
    if (!runtime.isValid()) {
        err << "bench_stalls: no temporary folder\n";
        return 1;
    }
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // The window's and the OSD's own debug lines are for their logs, unless the environment
    // has rules of its own.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "default.debug=false");
    QApplication app(argc, argv);
    initMousecfgResources();
    QApplication::setQuitOnLastWindowClosed(false);

    BenchInstallation installation;
    const QString osd = installation.path() + QStringLiteral("/OSD");
    for (const QString &name :
         {QStringLiteral("skin"), QStringLiteral("lang"), QStringLiteral("OSD")}) {
        if (!addFromBuild(installation.path(), name)) {
            err << "bench_stalls: " << MOUSECFG_APP_DIR "/" << name << " is missing\n";
            return 1;
        }
    }
    struct stat st {};
    if (::stat(QFile::encodeName(fifo).constData(), &st) != 0 || !S_ISFIFO(st.st_mode) ||
        !control(fifo, QByteArray())) {
        err << "bench_stalls: nobody reads " << fifo << "; run under build/virtual-mouse --control "
            << fifo << " -- ...\n";
        return 2;
    }

    QFile load(QStringLiteral("/proc/loadavg"));
    QTextStream out(stdout);
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(1);
    out << "bench_stalls: " << rounds << (rounds == 1 ? " round" : " rounds") << " on "
        << QGuiApplication::platformName() << ", load average "
        << (load.open(QIODevice::ReadOnly) ? load.readLine().split(' ').mid(0, 3).join(' ')
                                           : QByteArray("unknown"))
        << Qt::endl;

    StderrCapture capture(installation.path() + QStringLiteral("/stderr.log"));
    StallBench bench(installation.path(), fifo, rounds);
    std::unique_ptr<QSocketNotifier> signalNotifier;
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            ::sigaction(signal, &action, nullptr);
        signalNotifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        QObject::connect(signalNotifier.get(), &QSocketNotifier::activated, &bench,
                         [&bench] { bench.interrupt(); });
    }
    bench.start();
    QApplication::exec();
    bench.end();
    endProcessesOf(osd);
    for (const QString &line : capture.release())
        err << line << '\n';
    if (!bench.error().isEmpty()) {
        err << "bench_stalls: " << bench.error() << '\n';
        return 1;
    }
    bench.print(out);
    return 0;
}
