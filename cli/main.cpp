// SPDX-License-Identifier: GPL-3.0-or-later
// mousecfg-cli: the mouse's status and profile commands for scripts, status bars and key
// bindings.
#include "AppConfig.h"
#include "AppVersion.h"
#include "BatteryRecorder.h"
#include "CommandLine.h"
#include "LanguageConfig.h"
#include "ModelDescriptor.h"
#include "RequestChannel.h"
#include "UserRuntimeDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTranslator>

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <unistd.h>

namespace {

// The window's language, so that the messages it shares with the window read the same.
void installTranslation(QCoreApplication &app) {
    LanguageList languages;
    readLanguageList(languages);
    const QString path = translationPath(languages, readLanguageId());
    auto *translator = new QTranslator(&app);
    if (!path.isEmpty() && translator->load(path))
        QCoreApplication::installTranslator(translator);
}

#ifdef MOUSECFG_TEST_CLOCK
// In a build with the tests, MOUSECFG_TEST_CLOCK_MS (ms since the epoch) stands for the time of
// the battery readings, so that a test can run hours of them in seconds.
void useTestClock() {
    static qint64 clock = 0;
    bool set = false;
    clock = qEnvironmentVariable("MOUSECFG_TEST_CLOCK_MS").toLongLong(&set);
    if (set)
        BatteryRecorder::setClock([] { return clock; });
}
#endif

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int) {
    g_interrupted = 1;
}

// The reader of standard output went away: the read end of its pipe or socket is closed.
bool readerGone() {
    pollfd out{STDOUT_FILENO, 0, 0};
    return ::poll(&out, 1, 0) > 0 && (out.revents & (POLLERR | POLLHUP)) != 0;
}

// Why the last line could not be written: 0, or EPIPE when the reader has gone.
int g_writeError = 0;

// How often a write that waits for the reader looks whether the follow was interrupted.
constexpr int kWriteCheckMs = 100;

// Writes the whole line; false when it could not (g_writeError tells why), or when SIGINT or
// SIGTERM came while a reader that takes nothing kept it waiting (g_writeError 0).
bool writeLine(const QByteArray &bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        // The write is made only once the output takes some: a signal that comes just before
        // a write that blocks would not end it.
        pollfd out{STDOUT_FILENO, POLLOUT, 0};
        if (g_interrupted)
            return false;
        const int ready = ::poll(&out, 1, kWriteCheckMs);
        if (ready < 0 && errno != EINTR) {
            g_writeError = errno;
            return false;
        }
        if (ready <= 0)
            continue;
        const ssize_t n =
            ::write(STDOUT_FILENO, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            g_writeError = n < 0 ? errno : EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// status --follow: a line whenever the status reads differently, until SIGINT or SIGTERM, or
// until the reader goes away; each of them ends it as done, without a word.
int follow(const CommandLine &line) {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    QJsonObject shown;
    QString written;
    followStatus(
        descriptorProductName(),
        [&line, &shown, &written](const MouseOutcome &outcome) {
            const QJsonObject status = statusRecordOf(outcome);
            if (status.isEmpty() || (!shown.isEmpty() && !statusChanged(shown, status)))
                return true;
            shown = status;
            // The few words leave the link out: a change of it alone makes no new line there.
            const QString text = followLineOf(line, status);
            if (text == written)
                return true;
            written = text;
            return writeLine(text.toUtf8());
        },
        [] { return g_interrupted != 0 || readerGone(); });
    // A reader that went away ends it as done; a line that could not be written (a full disk)
    // does not.
    if (g_writeError == 0 || g_writeError == EPIPE)
        return ExitDone;
    QTextStream(stderr) << "mousecfg-cli: " << outputFailedText() << '\n';
    return ExitRefused;
}

} // namespace

int main(int argc, char *argv[]) {
    // A run outside a login session (cron, su, a service) finds the user's runtime folder.
    exportUserRuntimeDir();
    QCoreApplication app(argc, argv);
    // Here stderr is for the user: the layers' debug messages and warnings only with --verbose
    // (below) or the logging rules of the environment, which are applied after these and still
    // win. What failed is told in the command line's own message.
    QLoggingCategory::setFilterRules(
        QStringLiteral("default.debug=false\nmousecfg.*.warning=false"));
    // Installed, the settings live in the user's folder: a first command, before the window
    // ever ran, finds the shipped settings there too (files already there stay as they are).
    seedConfigDir();
    installTranslation(app);
#ifdef MOUSECFG_TEST_CLOCK
    useTestClock();
#endif

    // UTF-8 whatever the locale (a cron job has none): JSON is UTF-8, and the window's language
    // may not be the locale's.
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setCodec("UTF-8");
    err.setCodec("UTF-8");
    const CommandLine line = parseCommandLine(app.arguments().mid(1), QDir::currentPath());
    // What was asked for and could not all be written (a full disk) is no success.
    const auto printed = [&out, &err](int status) {
        out.flush();
        if (out.status() == QTextStream::Ok)
            return status;
        err << "mousecfg-cli: " << outputFailedText() << '\n';
        return status == ExitDone ? int(ExitRefused) : status;
    };
    if (line.help) {
        out << usageText();
        return printed(ExitDone);
    }
    if (line.version) {
        out << "mousecfg-cli " << appVersion() << '\n';
        return printed(ExitDone);
    }
    if (!line.error.isEmpty()) {
        err << "mousecfg-cli: " << line.error << '\n' << tryHelpText() << '\n';
        return ExitRefused;
    }
    if (line.verbose)
        QLoggingCategory::setFilterRules(
            QStringLiteral("default.debug=false\nmousecfg.*.debug=true"));
    if (line.follow)
        return follow(line);
    const MouseOutcome outcome = carryOut(line.request, descriptorProductName());
    out << outputOf(line, outcome);
    const int status = printed(exitStatusOf(outcome));
    const QString message = messageOf(line, outcome);
    if (!message.isEmpty())
        err << "mousecfg-cli: " << message << '\n';
    return status;
}
