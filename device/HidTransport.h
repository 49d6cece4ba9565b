// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the mouse among the HID devices, its four interface handles, and the verified
// transfer of one 33-byte command report.
//
// Each identity of the model (receiver and cable, each with its own vendor/product id)
// shows two collections that matter: the mouse collection (usage page 1, usage 2), held
// open but never read or written, and the command collection (usage page 1, usage 0),
// which carries commands and status polls. Commands prefer the second identity's command
// collection and fall back to the first's.
//
// A transport belongs to one mouse session and is used from that session's thread only;
// only cancel() may be called from elsewhere.

#include "HidApi.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Transfer results, passed up unchanged by every caller.
enum DeviceResult : int {
    ResultDone = 0,
    ResultNoDevice = 1,      // no command interface open
    ResultVerifyFailed = 2,  // the mouse never gave the expected answer
    ResultWriteFailed = 4,   // the report could not be written
    ResultMouseOff = 5,      // the mouse is reported off (decided at the apply level)
    ResultTooManyMacros = 6, // more macros on the buttons than the mouse can hold
    ResultCancelled = 7,     // the program ended the transfer (it is quitting)
    ResultReplaced = 8,      // not made: a later slot choice was already waiting
};

// The command report: report id, checksum, 0xFA, command, address low/high, data length,
// block tag, then up to 25 data bytes.
constexpr int kFrameLength = 33;
constexpr int kFrameDataOffset = 8;
constexpr int kFrameDataMax = kFrameLength - kFrameDataOffset;
constexpr uint8_t kReportId = 0x05;
constexpr uint8_t kFrameMarker = 0xFA;

// Block tags of table writes.
constexpr uint8_t kTagFirst = 0xD1;
constexpr uint8_t kTagNext = 0xD2;
constexpr uint8_t kTagCommit = 0xD3;

// The status query written directly to the command handle: command 0x48 with its checksum
// already filled in. The mouse answers with a battery report.
constexpr unsigned char kStatusQuery[kFrameLength] = {0x05, 0x24, 0xFA, 0x48};

// Usages of the two collections, on usage page 1.
constexpr uint32_t kUsagePageDesktop = 1;
constexpr uint32_t kUsageMouse = 2;
constexpr uint32_t kUsageCommand = 0;

// What one input report of `length` bytes read from the command handle is: a battery report
// (byte 3 0x48), a status report (0x49, a change made on the mouse), or something else. A
// report is taken only when it came whole: the bytes a short one lacks would read as zeros,
// a profile, stage and rate the mouse never reported.
enum class ReportKind { Other, Battery, Status };
ReportKind reportKind(const unsigned char *report, int length);

struct DeviceMatchEntry {
    uint32_t vendorId1 = 0;
    uint32_t vendorId2 = 0;
    uint32_t productId1 = 0;
    uint32_t productId2 = 0;
    uint32_t minRelease1 = 0;
    uint32_t minRelease2 = 0;
    uint32_t maxRelease1 = 0; // 0: any release
    uint32_t maxRelease2 = 0;
    uint32_t usage1 = 0;
    uint32_t usagePage1 = 0;
    uint32_t usage2 = 0;
    uint32_t usagePage2 = 0;
    uint32_t usage3 = 0;
    uint32_t usagePage3 = 0;
    uint32_t usage4 = 0;
    uint32_t usagePage4 = 0;
    // Device paths of the four roles, whole whatever their length.
    std::string path1;
    std::string path2;
    std::string path3;
    std::string path4;
    int32_t mouse1Found = 0;   // role 1
    int32_t mouse2Found = 0;   // role 3
    int32_t command1Found = 0; // role 2
    int32_t command2Found = 0; // role 4
    // USB release numbers of the two command collections found (0: not found).
    uint16_t release1 = 0;
    uint16_t release2 = 0;
    std::string modelName; // UTF-8

    // An identity is there when it shows both its collections: the receiver's, the cable's.
    bool receiverPresent() const { return mouse1Found && command1Found; }
    bool cablePresent() const { return mouse2Found && command2Found; }
    // The model is there: one of its identities is.
    bool present() const { return receiverPresent() || cablePresent(); }
};

// The models the program serves, one entry each.
using DeviceMatchTable = std::vector<DeviceMatchEntry>;

// One HID interface handle.
class HidHandle {
public:
    HidHandle() = default;
    HidHandle(const HidHandle &) = delete;
    HidHandle &operator=(const HidHandle &) = delete;

    bool isOpen() const { return m_connection != nullptr; }
    // Opens the path, closing first what the handle still holds. False when the path
    // cannot be opened (the handle is then closed).
    bool open(const std::string &path);
    void close();
    // As hid_write / hid_read_timeout; -1 when the handle is closed.
    int write(const unsigned char *data, size_t length);
    int readTimeout(unsigned char *data, size_t length, int milliseconds);

private:
    std::unique_ptr<HidConnection> m_connection;
};

// The USB release number of the HID device at this path; 0 when no such device is listed.
uint16_t ReleaseNumberOfPath(const std::string &path);

// 0 equal, 1 header differs, 2 data differs. Frames are at least 33 bytes.
int CompareReply(const unsigned char *request, const unsigned char *reply, bool withData);

// The checksum of byte 1: (bytes 2..7) mod 256, XOR 0x66.
uint8_t frameChecksum(const unsigned char *frame);

// Bytes 4 and 5 of a frame from two parameters (for commands that take no address).
constexpr uint16_t frameParams(uint8_t byte4, uint8_t byte5) {
    return uint16_t(byte4 | (byte5 << 8));
}

// Every fixed pause of the protocol goes through here (QThread::msleep by default, on the
// session's own thread); tests install a hook that records the pause instead of waiting. An
// empty hook restores the real pause.
void devicePause(int milliseconds);
void setDevicePauseHook(std::function<void(int)> hook);

class HidTransport {
public:
    // Reports read while a command waited for its answer that were not the answer.
    using ReportSink = std::function<void(const unsigned char *report, int length)>;

    HidTransport() = default;
    ~HidTransport();
    HidTransport(const HidTransport &) = delete;
    HidTransport &operator=(const HidTransport &) = delete;

    // Rebuilds the table from the model descriptor's USB ids and the installation's model
    // name ("Mouse_List/0"); nothing is found yet.
    void LoadDeviceMatchTable();
    // 0, or -1 when hidapi cannot be initialised. Adds paths and found flags to the table.
    int EnumerateDevices();
    // Opens the interfaces of every entry of this model that enumeration found.
    void OpenDevice(const QString &modelName);
    void CloseDevice();
    void ExitHid();

    const DeviceMatchTable &deviceMatchTable() const { return m_table; }
    DeviceMatchTable &deviceMatchTable() { return m_table; }
    // Release number of the last second-identity command collection found (0: none).
    uint16_t device2Release() const { return m_device2Release; }
    // After OpenDevice: the first interface of the model that was found but that this user
    // may not open (no permission on its device node); empty when there was none.
    std::string deniedDevicePath() const { return m_deniedPath; }

    // The handle commands go to: hidCommand2 when open, else hidCommand1 when open, else null.
    HidHandle *commandHandle();
    const HidHandle *commandHandle() const;

    // Sends one command report of `length` bytes (33) and checks the answer: ResultDone,
    // ResultNoDevice, ResultVerifyFailed, ResultWriteFailed, or ResultCancelled once
    // cancel() was called. Byte 1 is filled in here.
    int SendCommand(const unsigned char *report, int length);
    // Builds a frame from its parts and sends it: address low byte in byte 4, high byte in
    // byte 5, length in byte 6 (at most 25 data bytes are taken).
    int SendFrame(uint8_t code, uint16_t address, uint8_t tag, const uint8_t *data, int length);
    // The commit block that ends a table write: address 0x7F, tag 0xD3, data 0x1A.
    int SendCommit(uint8_t code, uint16_t address = 0x7F);

    // Where whole reports that a command read past go (the mouse's own battery and status
    // reports); without a sink they are dropped.
    void setReportSink(ReportSink sink) { m_sink = std::move(sink); }
    // Every transfer from now on ends at its next step with ResultCancelled; from any thread.
    void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }

    HidHandle hidMouse1;
    HidHandle hidCommand1;
    HidHandle hidMouse2;
    HidHandle hidCommand2;

private:
    void openRole(HidHandle &handle, const std::string &path);

    DeviceMatchTable m_table;
    uint16_t m_device2Release = 0;
    std::string m_deniedPath;
    ReportSink m_sink;
    std::atomic<bool> m_cancelled{false};
};
