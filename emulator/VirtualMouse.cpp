// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualMouse.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace MouseProtocol;

namespace {

constexpr size_t kTableSizes[kMouseTableCount] = {
    19,   // settings: one block of 19 bytes
    41,   // DPI: stage count, then eight stages of five bytes
    102,  // buttons: header, 24 slots of four bytes, four 0xFF bytes at 0x62
    80,   // lighting: ten effect slots of eight bytes
    4000, // macros: 20 slots of 200 bytes
};
constexpr const char *kTableNames[kMouseTableCount] = {"settings", "dpi", "buttons", "lighting",
                                                       "macros"};

// Byte positions of the settings table that the mouse acts on.
constexpr size_t kSettingsProfile = 6;
constexpr size_t kSettingsRates = 11;
constexpr size_t kSettingsDpiStage = 17;

size_t linkIndex(MouseLink link) {
    return link == MouseLink::Receiver ? 0 : 1;
}

std::string hex(const std::vector<uint8_t> &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

MouseReport reportHeader(uint8_t code) {
    MouseReport r{};
    r[0] = kReportId;
    r[2] = kFrameMarker;
    r[3] = code;
    return r;
}

} // namespace

uint8_t MouseProtocol::frameChecksum(const uint8_t *frame) {
    unsigned sum = 0;
    for (int i = 2; i <= 7; ++i)
        sum += frame[i];
    return uint8_t((sum & 0xFF) ^ 0x66);
}

bool MouseProtocol::isEchoedCommand(uint8_t code) {
    return code <= 0x0A || code == kCmdApply || code == kCmdMark;
}

size_t MouseProtocol::mouseTableSize(MouseTable table) {
    return kTableSizes[int(table)];
}

const char *MouseProtocol::mouseTableName(MouseTable table) {
    return kTableNames[int(table)];
}

// --- MouseEndpoint ---------------------------------------------------------------------

MouseEndpoint::~MouseEndpoint() {
    m_mouse->detach(this);
}

int MouseEndpoint::write(const uint8_t *data, size_t length) {
    if (!alive() || length == 0)
        return -1;
    m_mouse->receive(m_link, data, length);
    return int(length);
}

int MouseEndpoint::read(uint8_t *data, size_t length, int milliseconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    std::unique_lock<std::mutex> lock(m_mouse->m_mutex);
    for (;;) {
        if (!m_alive)
            return -1;
        const Clock::time_point now = Clock::now();
        if (!m_queue.empty() && m_queue.front().readyAt <= now) {
            const size_t n = std::min(length, m_queue.front().length);
            std::memcpy(data, m_queue.front().bytes.data(), n);
            m_queue.pop_front();
            return int(n);
        }
        if (milliseconds >= 0 && now >= deadline)
            return 0;
        Clock::time_point wakeAt = Clock::time_point::max();
        if (milliseconds >= 0)
            wakeAt = deadline;
        if (!m_queue.empty())
            wakeAt = std::min(wakeAt, m_queue.front().readyAt);
        if (wakeAt == Clock::time_point::max())
            m_mouse->m_wake.wait(lock);
        else
            m_mouse->m_wake.wait_until(lock, wakeAt);
    }
}

bool MouseEndpoint::alive() const {
    std::lock_guard<std::mutex> lock(m_mouse->m_mutex);
    return m_alive;
}

void MouseEndpoint::close() {
    std::lock_guard<std::mutex> lock(m_mouse->m_mutex);
    m_alive = false;
    m_queue.clear();
    m_mouse->m_wake.notify_all();
}

size_t MouseEndpoint::pending() const {
    std::lock_guard<std::mutex> lock(m_mouse->m_mutex);
    const auto now = std::chrono::steady_clock::now();
    return size_t(std::count_if(m_queue.begin(), m_queue.end(),
                                [&](const Queued &q) { return q.readyAt <= now; }));
}

// --- VirtualMouse ----------------------------------------------------------------------

VirtualMouse::VirtualMouse() {
    for (int t = 0; t < kMouseTableCount; ++t)
        m_tables[t].committed.assign(kTableSizes[t], 0);
}

VirtualMouse::~VirtualMouse() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (MouseEndpoint *e : m_endpoints)
        e->m_alive = false;
    m_wake.notify_all();
}

std::shared_ptr<MouseEndpoint> VirtualMouse::open(MouseLink link) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_plugged[linkIndex(link)])
        return nullptr;
    std::shared_ptr<MouseEndpoint> endpoint(new MouseEndpoint(this, link));
    m_endpoints.push_back(endpoint.get());
    return endpoint;
}

void VirtualMouse::detach(MouseEndpoint *endpoint) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_endpoints.erase(std::remove(m_endpoints.begin(), m_endpoints.end(), endpoint),
                      m_endpoints.end());
}

void VirtualMouse::receive(MouseLink link, const uint8_t *data, size_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    Frame f{link, MouseReport{}, length, false};
    std::memcpy(f.bytes.data(), data, std::min(length, kMouseReportSize));
    // A frame needs its header (up to the block tag), the fixed bytes, a checksum that
    // matches, and room for the data it announces.
    f.valid = length >= 8 && length <= kMouseReportSize && f.bytes[0] == kReportId &&
              f.bytes[2] == kFrameMarker && f.bytes[1] == frameChecksum(f.bytes.data()) &&
              f.bytes[6] <= kMaxFrameData && size_t(f.bytes[6]) + 8 <= length;
    m_frames.push_back(f);
    if (f.valid && m_plugged[linkIndex(link)]) {
        ++m_commands[linkIndex(link)];
        handleFrame(link, f.bytes);
    }
}

void VirtualMouse::error(const std::string &text) {
    m_errors.push_back(text);
}

void VirtualMouse::handleFrame(MouseLink link, const MouseReport &frame) {
    const uint8_t code = frame[3];
    if (code >= 0x01 && code <= 0x05) {
        writeBlock(MouseTable(code - 1), frame);
    } else if (code == kCmdApply) {
        if (frame[4] == kApplyMarker)
            m_applied.push_back(frame[5]);
        else
            error("apply command without its marker");
    } else if (code == kCmdSelectProfile) {
        if (frame[4] < kMouseProfiles) {
            m_profile = frame[4];
            m_selected.push_back(frame[4]);
            const TableState &settings = m_tables[int(MouseTable::Settings)];
            if (settings.commits > 0)
                m_rate = settings.committed[kSettingsRates + size_t(m_profile)];
        } else {
            error("select profile " + std::to_string(frame[4]) + " out of range");
        }
    } else if (code == kCmdMark) {
        if (frame[4] == 0)
            ++m_beginMarks;
        else if (frame[4] == 1)
            ++m_endMarks;
        else
            error("unknown download mark " + std::to_string(frame[4]));
    }

    if (code == kCmdStatusQuery) {
        ++m_queries[linkIndex(link)];
        queueReport(link, batteryReportLocked());
    } else if (isEchoedCommand(code) && !m_asleep) {
        answerFrame(link, frame);
    }
}

void VirtualMouse::writeBlock(MouseTable table, const MouseReport &frame) {
    TableState &t = m_tables[int(table)];
    const size_t address = size_t(frame[4]) | size_t(frame[5]) << 8;
    const size_t length = frame[6];
    const uint16_t commitAt = table == MouseTable::Macros ? kMacroCommitAddress : kCommitAddress;
    const std::string name = mouseTableName(table);

    if (address == commitAt) {
        if (frame[7] != kTagCommit || length != 1 || frame[8] != kCommitData) {
            error(name + " commit block malformed");
            return;
        }
        if (!t.pending.empty()) {
            t.committed = t.pending;
            t.pending.clear();
        }
        ++t.commits;
        if (table == MouseTable::Settings) {
            const int profile = t.committed[kSettingsProfile];
            if (profile < kMouseProfiles)
                m_profile = profile;
            else
                error("settings table names profile " + std::to_string(profile));
            m_dpiStage = t.committed[kSettingsDpiStage];
            m_rate = t.committed[kSettingsRates + size_t(m_profile)];
        }
        return;
    }
    if (frame[7] == kTagCommit) {
        error(name + " commit tag at address " + std::to_string(address));
        return;
    }
    if (address + length > t.committed.size()) {
        error(name + " block at " + std::to_string(address) + " length " + std::to_string(length) +
              " beyond the table");
        return;
    }
    if (t.pending.empty())
        t.pending = t.committed;
    std::copy(frame.begin() + 8, frame.begin() + 8 + long(length),
              t.pending.begin() + long(address));
}

void VirtualMouse::answerFrame(MouseLink link, const MouseReport &frame) {
    if (m_goodAnswersLeft > 0 && --m_goodAnswersLeft == 0) {
        m_answer = m_answerLater;
        m_answerCount = 0;
        queueReport(link, frame); // the last good answer
        return;
    }
    Answer mode = m_answer;
    if (mode != Answer::Ok && m_answerCount > 0 && --m_answerCount == 0)
        m_answer = Answer::Ok;
    MouseReport reply = frame;
    switch (mode) {
    case Answer::Ok:
        break;
    case Answer::None:
        return;
    case Answer::Zeros:
        reply.fill(0);
        break;
    case Answer::WrongHeader:
        reply[4] ^= 0xFF; // the answer names another address
        break;
    case Answer::WrongData:
        reply[8] ^= 0xFF; // the first data byte differs
        break;
    }
    queueReport(link, reply);
}

void VirtualMouse::queueReport(MouseLink link, const MouseReport &report, size_t length) {
    if (!m_plugged[linkIndex(link)])
        return;
    const auto readyAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_delayMs);
    for (MouseEndpoint *e : m_endpoints) {
        if (e->m_link != link || !e->m_alive)
            continue;
        if (e->m_queue.size() >= kEndpointQueueLimit)
            continue; // a full queue loses the report, as a hidraw buffer does
        e->m_queue.push_back({readyAt, report, std::min(length, kMouseReportSize)});
    }
    m_wake.notify_all();
}

void VirtualMouse::queueEverywhere(const MouseReport &report, size_t length) {
    queueReport(MouseLink::Receiver, report, length);
    queueReport(MouseLink::Cable, report, length);
}

void VirtualMouse::plug(MouseLink link) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_plugged[linkIndex(link)] = true;
}

void VirtualMouse::unplug(MouseLink link) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_plugged[linkIndex(link)] = false;
    for (MouseEndpoint *e : m_endpoints) {
        if (e->m_link == link) {
            e->m_alive = false;
            e->m_queue.clear();
        }
    }
    m_wake.notify_all();
}

bool VirtualMouse::isPlugged(MouseLink link) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_plugged[linkIndex(link)];
}

void VirtualMouse::setAnswer(Answer mode, int count) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answer = mode;
    m_answerCount = mode == Answer::Ok ? 0 : std::max(count, 0);
    m_goodAnswersLeft = 0;
}

void VirtualMouse::setAnswerAfter(int goodAnswers, Answer mode) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_answer = Answer::Ok;
    m_answerCount = 0;
    m_answerLater = mode;
    m_goodAnswersLeft = std::max(goodAnswers, 0);
    if (m_goodAnswersLeft == 0)
        m_answer = mode;
}

VirtualMouse::Answer VirtualMouse::answer() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_answer;
}

void VirtualMouse::setAnswerDelay(int milliseconds) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_delayMs = std::max(milliseconds, 0);
}

void VirtualMouse::setAsleep(bool asleep) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_asleep = asleep;
}

bool VirtualMouse::isAsleep() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_asleep;
}

uint16_t VirtualMouse::rawFromMillivolts(int millivolts) {
    const long raw = std::lround(double(std::max(millivolts, 0)) * 240.0 / 990.0);
    return uint16_t(std::min(raw, 0xFFFFL));
}

void VirtualMouse::setBattery(uint16_t raw, bool charging) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_batteryRaw = raw;
    m_charging = charging;
}

void VirtualMouse::setBatteryMillivolts(int millivolts, bool charging) {
    setBattery(rawFromMillivolts(millivolts), charging);
}

uint16_t VirtualMouse::batteryRaw() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_batteryRaw;
}

bool VirtualMouse::isCharging() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_charging;
}

void VirtualMouse::setWriteStatus(uint8_t status) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_writeStatus = status;
}

void VirtualMouse::setLinkMode(uint8_t mode) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_linkMode = mode;
}

MouseReport VirtualMouse::batteryReportLocked() const {
    MouseReport r = reportHeader(kCmdStatusQuery);
    if (!m_asleep) {
        r[4] = uint8_t(m_batteryRaw & 0xFF);
        r[5] = uint8_t(m_batteryRaw >> 8);
        r[6] = m_charging ? 1 : 0;
        r[7] = m_writeStatus;
        r[10] = m_linkMode;
    }
    r[1] = frameChecksum(r.data());
    return r;
}

MouseReport VirtualMouse::batteryReport() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return batteryReportLocked();
}

void VirtualMouse::sendBatteryReport() {
    std::lock_guard<std::mutex> lock(m_mutex);
    queueEverywhere(batteryReportLocked());
}

MouseReport VirtualMouse::statusReportLocked() const {
    MouseReport r = reportHeader(kCmdStatusReport);
    r[4] = uint8_t(m_profile);
    r[5] = m_dpiStage;
    r[6] = m_rate;
    r[7] = m_mode;
    r[1] = frameChecksum(r.data());
    return r;
}

MouseReport VirtualMouse::statusReport() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return statusReportLocked();
}

void VirtualMouse::sendStatusReport() {
    std::lock_guard<std::mutex> lock(m_mutex);
    queueEverywhere(statusReportLocked());
}

void VirtualMouse::sendTruncatedReport(const MouseReport &report, size_t length) {
    std::lock_guard<std::mutex> lock(m_mutex);
    queueEverywhere(report, length);
}

bool VirtualMouse::changeProfile(int index) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index < 0 || index >= kMouseProfiles)
        return false;
    m_profile = index;
    queueEverywhere(statusReportLocked());
    return true;
}

void VirtualMouse::changeDpiStage(uint8_t stage) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dpiStage = stage;
    queueEverywhere(statusReportLocked());
}

void VirtualMouse::changeReportRate(uint8_t code) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_rate = code;
    queueEverywhere(statusReportLocked());
}

void VirtualMouse::changeMode(uint8_t mode) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_mode = mode;
    queueEverywhere(statusReportLocked());
}

std::vector<uint8_t> VirtualMouse::table(MouseTable table) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tables[int(table)].committed;
}

std::vector<uint8_t> VirtualMouse::pendingTable(MouseTable table) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tables[int(table)].pending;
}

int VirtualMouse::commitCount(MouseTable table) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tables[int(table)].commits;
}

int VirtualMouse::activeProfile() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_profile;
}

uint8_t VirtualMouse::dpiStage() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_dpiStage;
}

uint8_t VirtualMouse::reportRate() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_rate;
}

uint8_t VirtualMouse::mode() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_mode;
}

std::vector<uint8_t> VirtualMouse::appliedGroups() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_applied;
}

std::vector<int> VirtualMouse::selectedProfiles() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_selected;
}

int VirtualMouse::commits(MouseTable table) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tables[int(table)].commits;
}

int VirtualMouse::beginMarks() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_beginMarks;
}

int VirtualMouse::endMarks() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_endMarks;
}

std::vector<std::string> VirtualMouse::protocolErrors() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_errors;
}

std::vector<VirtualMouse::Frame> VirtualMouse::frames() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_frames;
}

int VirtualMouse::frameCount(uint8_t code) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(std::count_if(m_frames.begin(), m_frames.end(),
                             [code](const Frame &f) { return f.valid && f.bytes[3] == code; }));
}

int VirtualMouse::invalidFrameCount() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(
        std::count_if(m_frames.begin(), m_frames.end(), [](const Frame &f) { return !f.valid; }));
}

void VirtualMouse::clearFrames() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_frames.clear();
}

std::string VirtualMouse::dump() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    std::string out;
    for (int t = 0; t < kMouseTableCount; ++t)
        out += std::string(kTableNames[t]) + ' ' + hex(m_tables[t].committed) + '\n';
    out += "profile " + std::to_string(m_profile) + '\n';
    for (const MouseLink link : {MouseLink::Receiver, MouseLink::Cable}) {
        const size_t i = linkIndex(link);
        out += std::string(link == MouseLink::Receiver ? "receiver" : "cable") + " commands " +
               std::to_string(m_commands[i]) + " queries " + std::to_string(m_queries[i]) + '\n';
    }
    return out;
}
