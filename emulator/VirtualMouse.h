// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A model of the mouse's side of the command protocol: it checks every command report,
// answers the answered commands with an echo, keeps the tables and the macro memory the
// host writes to it (a table takes effect at its commit block), and can send reports of
// its own. Tests tell it to misbehave (no answer, wrong or empty answers, slow answers,
// sleep, unplug) to exercise the host's error handling.
//
// The mouse is reached over two links, the USB receiver and the cable. Each open handle on
// a link is a MouseEndpoint with its own queue of input reports, as each open file of a
// hidraw node gets its own copy of every input report. All members are thread-safe.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

constexpr size_t kMouseReportSize = 33; // report id and 32 bytes
using MouseReport = std::array<uint8_t, kMouseReportSize>;

enum class MouseLink { Receiver, Cable };
constexpr int kMouseLinkCount = 2;

// The tables of the mouse, in command-code order (code = table + 1).
enum class MouseTable { Settings, Dpi, Buttons, Lighting, Macros };
constexpr int kMouseTableCount = 5;
constexpr int kMouseProfiles = 5;

// The mouse's side of the protocol, kept apart from the device layer's own names: the
// model is written independently of the code it checks.
namespace MouseProtocol {
// Frame layout and protocol constants.
constexpr uint8_t kReportId = 0x05;
constexpr uint8_t kFrameMarker = 0xFA;
constexpr uint8_t kTagFirst = 0xD1;
constexpr uint8_t kTagNext = 0xD2;
constexpr uint8_t kTagCommit = 0xD3;
constexpr uint8_t kCommitData = 0x1A;
constexpr uint16_t kCommitAddress = 0x7F;
constexpr uint16_t kMacroCommitAddress = 0x0FFF;
constexpr size_t kMaxFrameData = kMouseReportSize - 8;
constexpr uint8_t kCmdApply = 0x40;
constexpr uint8_t kCmdSelectProfile = 0x44;
constexpr uint8_t kCmdMark = 0x46;
constexpr uint8_t kCmdStatusQuery = 0x48;
constexpr uint8_t kCmdStatusReport = 0x49;
constexpr uint8_t kApplyMarker = 0xF3;
constexpr size_t kEndpointQueueLimit = 64; // as a hidraw node's per-file buffer

// (bytes 2..7 summed, mod 256) XOR 0x66.
uint8_t frameChecksum(const uint8_t *frame);
// Codes up to 0x0A, 0x40 and 0x46 are answered with an echo.
bool isEchoedCommand(uint8_t code);
size_t mouseTableSize(MouseTable table);
const char *mouseTableName(MouseTable table);
} // namespace MouseProtocol

class VirtualMouse;

// One open handle on a link. Dies (reads and writes fail) when its link is unplugged or
// the handle is closed; a new plug needs a new endpoint.
class MouseEndpoint {
public:
    ~MouseEndpoint();
    MouseEndpoint(const MouseEndpoint &) = delete;
    MouseEndpoint &operator=(const MouseEndpoint &) = delete;

    MouseLink link() const { return m_link; }
    // As hid_write: the length written, or -1 when the endpoint is dead or length is 0.
    int write(const uint8_t *data, size_t length);
    // As hid_read_timeout: bytes copied (one report), 0 after the time-out with nothing
    // ready, -1 when dead. A negative time-out waits for ever.
    int read(uint8_t *data, size_t length, int milliseconds);
    bool alive() const;
    // Kills the endpoint and wakes a waiting reader.
    void close();
    // Reports queued and ready to read.
    size_t pending() const;

private:
    friend class VirtualMouse;
    struct Queued {
        std::chrono::steady_clock::time_point readyAt;
        MouseReport bytes;
        size_t length = kMouseReportSize;
    };
    MouseEndpoint(VirtualMouse *mouse, MouseLink link) : m_mouse(mouse), m_link(link) {}

    VirtualMouse *m_mouse;
    MouseLink m_link;
    bool m_alive = true;        // guarded by the mouse's mutex
    std::deque<Queued> m_queue; // guarded by the mouse's mutex
};

class VirtualMouse {
public:
    enum class Answer { Ok, None, Zeros, WrongHeader, WrongData };

    struct Frame {
        MouseLink link;
        MouseReport bytes; // as received, zero-padded
        size_t length;     // as written
        bool valid;        // report id, marker, checksum and length all right
    };

    VirtualMouse();
    ~VirtualMouse();
    VirtualMouse(const VirtualMouse &) = delete;
    VirtualMouse &operator=(const VirtualMouse &) = delete;

    // --- Host side ---------------------------------------------------------------------
    // A new handle on the link; nullptr while the link is unplugged. The mouse must
    // outlive its endpoints.
    std::shared_ptr<MouseEndpoint> open(MouseLink link);
    // One output report from the host arriving on a link.
    void receive(MouseLink link, const uint8_t *data, size_t length);

    // --- Presence ----------------------------------------------------------------------
    // Both links start plugged. Unplugging kills every endpoint of the link.
    void plug(MouseLink link);
    void unplug(MouseLink link);
    bool isPlugged(MouseLink link) const;

    // --- Misbehaviour ------------------------------------------------------------------
    // How echoes are answered. With count > 0 the next count echoes misbehave and the
    // mouse then answers normally again; count 0 keeps the mode until changed.
    void setAnswer(Answer mode, int count = 0);
    Answer answer() const;
    // Answers the next goodAnswers frames properly, then every frame in the given mode.
    void setAnswerAfter(int goodAnswers, Answer mode);
    // Every answer and report becomes readable this many milliseconds after it is made.
    void setAnswerDelay(int milliseconds);
    // A sleeping mouse answers the status query with a battery report of all-zero data and
    // answers nothing else; its own reports are still sent.
    void setAsleep(bool asleep);
    bool isAsleep() const;

    // --- Battery and status ------------------------------------------------------------
    // The host computes millivolts = raw * 990 / 240; this is the rounded inverse.
    static uint16_t rawFromMillivolts(int millivolts);
    void setBattery(uint16_t raw, bool charging);
    void setBatteryMillivolts(int millivolts, bool charging);
    uint16_t batteryRaw() const;
    bool isCharging() const;
    void setWriteStatus(uint8_t status); // battery report byte 7 (default 1)
    void setLinkMode(uint8_t mode);      // battery report byte 10 (default 0)
    // The battery report as the status query is answered now.
    MouseReport batteryReport() const;
    // Sends the battery report on every plugged link, unasked.
    void sendBatteryReport();

    // Changes made on the mouse itself; each sends a status report (profile, DPI stage,
    // report rate, mode) on every plugged link. An out-of-range profile is refused.
    bool changeProfile(int index);
    void changeDpiStage(uint8_t stage);
    void changeReportRate(uint8_t code);
    void changeMode(uint8_t mode);
    MouseReport statusReport() const;
    void sendStatusReport();
    // Sends the first `length` bytes of a report (at most a whole one) on every plugged
    // link, as a faulty or hostile device might: the host reads only those bytes.
    void sendTruncatedReport(const MouseReport &report, size_t length);

    // --- What the mouse holds ----------------------------------------------------------
    // The committed table (its full size; zero where nothing was ever committed).
    std::vector<uint8_t> table(MouseTable table) const;
    // Blocks written since the last commit, over the committed content; empty when
    // nothing is pending.
    std::vector<uint8_t> pendingTable(MouseTable table) const;
    int commitCount(MouseTable table) const;
    int activeProfile() const;
    uint8_t dpiStage() const;
    uint8_t reportRate() const;
    uint8_t mode() const;
    // Group masks of the apply commands, in order of arrival.
    std::vector<uint8_t> appliedGroups() const;
    // Profile indices of the select-profile commands, in order of arrival.
    std::vector<int> selectedProfiles() const;
    int beginMarks() const;
    int endMarks() const;
    // Commit blocks a table has taken.
    int commits(MouseTable table) const;
    // Protocol faults the mouse noticed in valid frames (blocks beyond a table, a broken
    // commit block, an unknown mark or apply marker, a profile index out of range).
    std::vector<std::string> protocolErrors() const;

    // --- Traffic -----------------------------------------------------------------------
    std::vector<Frame> frames() const;
    // Valid frames with this command code.
    int frameCount(uint8_t code) const;
    int invalidFrameCount() const;
    void clearFrames();

    // One line each: "settings", "dpi", "buttons", "lighting", "macros" with the committed
    // table in lower-case hex, "profile" with the active index, then per link
    // "receiver|cable commands N queries M": the commands the mouse took on that link and the
    // status queries among them, each answered with a battery report.
    std::string dump() const;

private:
    friend class MouseEndpoint;
    struct TableState {
        std::vector<uint8_t> committed;
        std::vector<uint8_t> pending; // empty: nothing pending
        int commits = 0;
    };

    void handleFrame(MouseLink link, const MouseReport &frame);
    void writeBlock(MouseTable table, const MouseReport &frame);
    void answerFrame(MouseLink link, const MouseReport &frame);
    void queueReport(MouseLink link, const MouseReport &report, size_t length = kMouseReportSize);
    void queueEverywhere(const MouseReport &report, size_t length = kMouseReportSize);
    MouseReport batteryReportLocked() const;
    MouseReport statusReportLocked() const;
    void error(const std::string &text);
    void detach(MouseEndpoint *endpoint);

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<MouseEndpoint *> m_endpoints;
    bool m_plugged[kMouseLinkCount] = {true, true};

    Answer m_answer = Answer::Ok;
    int m_answerCount = 0;
    int m_goodAnswersLeft = 0;
    Answer m_answerLater = Answer::Ok;
    int m_delayMs = 0;
    bool m_asleep = false;

    uint16_t m_batteryRaw = 970; // about 4000 mV
    bool m_charging = false;
    uint8_t m_writeStatus = 1;
    uint8_t m_linkMode = 0;

    int m_profile = 0;
    uint8_t m_dpiStage = 1; // as a new mouse comes: stage 2 of 800 DPI
    uint8_t m_rate = 1;     // 1000 Hz
    uint8_t m_mode = 0;

    TableState m_tables[kMouseTableCount];
    std::vector<uint8_t> m_applied;
    std::vector<int> m_selected;
    int m_beginMarks = 0;
    int m_endMarks = 0;
    int m_commands[kMouseLinkCount] = {0, 0}; // valid frames taken, per link
    int m_queries[kMouseLinkCount] = {0, 0};  // status queries answered, per link
    std::vector<std::string> m_errors;
    std::vector<Frame> m_frames;
};
