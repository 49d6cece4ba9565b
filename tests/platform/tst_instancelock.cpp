// SPDX-License-Identifier: GPL-3.0-or-later
// One running copy per product, across real processes.
#include "EndSignals.h"
#include "InstanceLock.h"
#include "PrivateRuntime.h"
#include "UserRuntimeDir.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <thread>
#include <unistd.h>

class TestInstanceLock : public QObject {
    Q_OBJECT

    QTemporaryDir m_runtime;
    QString m_holder = QStringLiteral(MOUSECFG_APP_DIR "/tests/lockholder");

    // Starts a holder and waits for its verdict; the process stays alive when it locked.
    QString start(QProcess &p, const QString &product) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        p.setProcessEnvironment(env);
        p.start(m_holder, {product});
        if (!p.waitForStarted(5000) || !p.waitForReadyRead(10000))
            return QStringLiteral("no answer");
        return QString::fromLatin1(p.readLine()).trimmed();
    }

private slots:
    void initTestCase() { usePrivateRuntime(m_runtime); }

    void lockName() {
        QCOMPARE(InstanceLock::lockName(QStringLiteral("TOLV")),
                 QStringLiteral("TOLV Wireless Gaming Mouse Mutex1"));
        QCOMPARE(InstanceLock::lockName(QString()),
                 QStringLiteral(" Wireless Gaming Mouse Mutex1"));
        // A product name never becomes a path of its own.
        const QString path = InstanceLock::lockPath(QStringLiteral("../x/y"));
        QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(m_runtime.path()).absoluteFilePath());
    }

    // A run without XDG_RUNTIME_DIR takes the login session's folder only when no other user
    // could have made or opened it.
    void loginSessionFolderIsTakenOnlyWhenPrivate() {
        QTemporaryDir root;
        const QString mine = root.filePath(QString::number(::getuid()));
        QCOMPARE(loginRuntimeDir(root.path()), QString());
        QVERIFY(QDir().mkdir(mine));
        QVERIFY(
            QFile::setPermissions(mine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(loginRuntimeDir(root.path()), mine);
        QVERIFY(QFile::setPermissions(mine, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ExeOther));
        QCOMPARE(loginRuntimeDir(root.path()), QString());
        // A link to a private folder is not the folder.
        QVERIFY(QDir(mine).removeRecursively());
        QVERIFY(QFile::link(m_runtime.path(), mine));
        QCOMPARE(loginRuntimeDir(root.path()), QString());

        // Without one, a folder of the user's under the temporary folder, made private.
        const QString made = tempRuntimeDir(root.path());
        QVERIFY(made.startsWith(root.filePath(QStringLiteral("runtime-"))));
        QVERIFY(QFile::setPermissions(made, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther));
        QCOMPARE(tempRuntimeDir(root.path()), made);
        QCOMPARE(QFileInfo(made).permissions() & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
        QVERIFY(QDir(made).removeRecursively());
        QVERIFY(QFile::link(m_runtime.path(), made));
        QCOMPARE(tempRuntimeDir(root.path()), QString());
    }

    void secondCopyOfTheSameProductExits() {
        QProcess first;
        QCOMPARE(start(first, QStringLiteral("TOLV")), QStringLiteral("locked"));
        QProcess second;
        QCOMPARE(start(second, QStringLiteral("TOLV")), QStringLiteral("busy"));
        QVERIFY(second.waitForFinished(5000));
        QCOMPARE(second.exitCode(), 1);
        // Another product runs beside it.
        QProcess other;
        QCOMPARE(start(other, QStringLiteral("OTHER")), QStringLiteral("locked"));
        // And in this process too, while the holder lives, the lock is refused.
        InstanceLock here;
        QVERIFY(!here.tryLock(QStringLiteral("TOLV")));
        QVERIFY(!here.unavailable());
        first.kill();
        other.kill();
        first.waitForFinished();
        other.waitForFinished();
    }

    // A hang-up that nohup set aside stays set aside; the end signals left to the program
    // end it as its Quit does.
    void setAsideSignalsStaySo() {
        ::signal(SIGHUP, SIG_IGN);
        ::signal(SIGTERM, SIG_DFL);
        quitOnEndSignals();
        struct sigaction now {};
        QCOMPARE(::sigaction(SIGHUP, nullptr, &now), 0);
        QVERIFY(now.sa_handler == SIG_IGN);
        QCOMPARE(::sigaction(SIGTERM, nullptr, &now), 0);
        QVERIFY(now.sa_handler != SIG_DFL && now.sa_handler != SIG_IGN);
        ::signal(SIGHUP, SIG_DFL);
        ::signal(SIGTERM, SIG_DFL);
    }

    void killedHolderDoesNotBlock() {
        QProcess holder;
        QCOMPARE(start(holder, QStringLiteral("CRASHY")), QStringLiteral("locked"));
        ::kill(pid_t(holder.processId()), SIGKILL);
        QVERIFY(holder.waitForFinished(5000));
        QVERIFY(QFileInfo::exists(InstanceLock::lockPath(QStringLiteral("CRASHY"))));
        QProcess next;
        QCOMPARE(start(next, QStringLiteral("CRASHY")), QStringLiteral("locked"));
        next.kill();
        next.waitForFinished();
    }

    // A start waits for a holder that keeps the lock only for a moment (the command line),
    // and not for a copy of another program.
    void waitsOnlyForAShortHolder() {
        QProcess holder;
        QCOMPARE(start(holder, QStringLiteral("SHORT")), QStringLiteral("locked"));
        QCOMPARE(InstanceLock::holderName(QStringLiteral("SHORT")), QStringLiteral("lockholder"));
        InstanceLock waiting;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!waiting.tryLockWaitingFor(QStringLiteral("SHORT"), QStringLiteral("other"), 5000));
        QVERIFY(clock.elapsed() < 2000);
        const pid_t pid = pid_t(holder.processId());
        std::thread killer([pid] {
            ::usleep(300000);
            ::kill(pid, SIGKILL);
        });
        QVERIFY(
            waiting.tryLockWaitingFor(QStringLiteral("SHORT"), QStringLiteral("lockholder"), 5000));
        killer.join();
        holder.waitForFinished();
    }

    // A variable left from another user's session (su) names no folder of this user's: the
    // fallbacks of a run without it are taken, and exported; with none of them, no lock at all
    // (a name in the shared temporary folder could be another user's).
    void unusableVariableIsPassedOver() {
        QTemporaryDir tmp;
        qputenv("TMPDIR", QFile::encodeName(tmp.path()));
        qputenv("XDG_RUNTIME_DIR", "/nonexistent");
        const QString session = loginRuntimeDir(QStringLiteral("/run/user"));
        const QString fallback = session.isEmpty() ? tempRuntimeDir(tmp.path()) : session;
        exportUserRuntimeDir();
        QCOMPARE(qEnvironmentVariable("XDG_RUNTIME_DIR"), fallback);
        QCOMPARE(QFileInfo(InstanceLock::lockPath(QStringLiteral("TOLV"))).path(), fallback);
        qputenv("XDG_RUNTIME_DIR", "/nonexistent");
        if (session.isEmpty() && QDir(fallback).removeRecursively() &&
            QFile(fallback).open(QIODevice::WriteOnly)) {
            // No folder for a lock at all is no copy that runs: a start does not wait for it.
            InstanceLock lock;
            QVERIFY(!lock.tryLockWaitingFor(QStringLiteral("TOLV"), QStringLiteral("x"), 100));
            QVERIFY(lock.unavailable());
        }
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        qunsetenv("TMPDIR");
    }
};

QTEST_GUILESS_MAIN(TestInstanceLock)
#include "tst_instancelock.moc"
