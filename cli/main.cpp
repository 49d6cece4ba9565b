// SPDX-License-Identifier: GPL-3.0-or-later
// mousecfg-cli: the mouse's status and profile commands for scripts, status bars and key
// bindings.
#include "AppConfig.h"
#include "AppVersion.h"
#include "CommandLine.h"
#include "LanguageConfig.h"
#include "ModelDescriptor.h"
#include "RequestChannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QLoggingCategory>
#include <QTextStream>
#include <QTranslator>

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

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    // Here stderr is for the user: debug messages only with --verbose (below) or the logging
    // rules of the environment, which are applied after these and still win.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    // Installed, the settings live in the user's folder: a first command, before the window
    // ever ran, finds the shipped settings there too (files already there stay as they are).
    seedConfigDir();
    installTranslation(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const CommandLine line = parseCommandLine(app.arguments().mid(1), QDir::currentPath());
    if (line.help) {
        out << usageText();
        return ExitDone;
    }
    if (line.version) {
        out << "mousecfg-cli " << appVersion() << '\n';
        return ExitDone;
    }
    if (!line.error.isEmpty()) {
        err << "mousecfg-cli: " << line.error << '\n' << tryHelpText() << '\n';
        return ExitRefused;
    }
    if (line.verbose)
        QLoggingCategory::setFilterRules(
            QStringLiteral("default.debug=false\nmousecfg.*.debug=true"));
    const MouseOutcome outcome = carryOut(line.request, descriptorProductName());
    out << outputOf(line, outcome);
    out.flush();
    const QString message = messageOf(line, outcome);
    if (!message.isEmpty())
        err << "mousecfg-cli: " << message << '\n';
    return exitStatusOf(outcome);
}
