// SPDX-License-Identifier: GPL-3.0-or-later
// The lines between the command line and the window: what the window takes from its socket
// must be a whole, well-formed request, and nothing it could read against its own folder.
#include "MouseRequests.h"

#include <QtTest>

class TestMouseRequests : public QObject {
    Q_OBJECT

private slots:
    void requestsTravelWhole() {
        MouseRequest sent;
        sent.command = MouseRequest::Apply;
        sent.path = QStringLiteral("/home/u/Spiel 1.conf");
        sent.everything = true;
        MouseRequest got;
        QVERIFY(decodeRequest(encodeRequest(sent), got));
        QCOMPARE(got.command, MouseRequest::Apply);
        QCOMPARE(got.path, sent.path);
        QVERIFY(got.everything);
        sent = MouseRequest();
        sent.command = MouseRequest::Dpi;
        sent.number = 3;
        QVERIFY(decodeRequest(encodeRequest(sent), got));
        QCOMPARE(got.number, 3);
        QVERIFY(got.path.isEmpty());
    }

    void strangeLinesAreRefused() {
        MouseRequest got;
        // A relative path would be taken in the window's working folder.
        QVERIFY(!decodeRequest("{\"command\":\"export\",\"path\":\"../x.prof\"}", got));
        // A slot the mouse does not have, from a program other than ours.
        QVERIFY(!decodeRequest("{\"command\":\"profile\",\"number\":6}", got));
        QVERIFY(!decodeRequest("{\"command\":\"profile\",\"number\":0}", got));
        QVERIFY(!decodeRequest("{\"command\":\"format\"}", got));
        QVERIFY(!decodeRequest("status\n", got));
        QVERIFY(!decodeRequest(
            "{\"command\":\"status\",\"path\":\"" + QByteArray(kMaxRequestLine, 'a') + "\"}", got));
        QCOMPARE(got.command, MouseRequest::Invalid);
        MouseOutcome outcome;
        QVERIFY(!decodeOutcome("{\"outcome\":99}", outcome));
        QVERIFY(decodeOutcome(encodeOutcome(MouseOutcome::of(MouseOutcome::Refused, 4)), outcome));
        QCOMPARE(outcome.kind, MouseOutcome::Refused);
        QCOMPARE(outcome.code, 4);
    }

    // A follower prints a line when the status reads differently to a reader: not for the
    // millivolts within a level step, nor for the time left within the whole hour it is told in.
    void followersSeeWhatIsTold() {
        MouseStatus status;
        status.batteryKnown = true;
        status.millivolts = 3900;
        status.level = 60;
        status.hoursLeft = 24.1;
        const QJsonObject before = statusObject(status);
        status.millivolts = 3890;
        status.hoursLeft = 24.4;
        QVERIFY(!statusChanged(before, statusObject(status)));
        status.hoursLeft = 24.6;
        QVERIFY(statusChanged(before, statusObject(status)));
        status.hoursLeft.reset();
        QVERIFY(statusChanged(before, statusObject(status)));
        // A stage or rate the mouse cannot have is not told as a number.
        status.dpiStage = 9;
        status.rateCode = 3;
        const QJsonObject odd = statusObject(status);
        for (const char *key : {"dpiStage", "dpi", "reportRate"})
            QVERIFY(odd.value(QLatin1String(key)).isNull());
    }
};

QTEST_GUILESS_MAIN(TestMouseRequests)
#include "tst_mouserequests.moc"
