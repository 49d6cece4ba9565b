#pragma once
// Finding the mouse among the HID devices, the four interface handles, and the verified
// transfer of one 33-byte command report.
//
// Each identity of the model (receiver and cable, each with its own vendor/product id)
// shows two collections that matter: the mouse collection (usage page 1, usage 2), held
// open but never read or written, and the command collection (usage page 1, usage 0),
// which carries commands and status polls. Commands prefer the second identity's command
// collection and fall back to the first's.

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

class HidConnection;

// Transfer results, passed up unchanged by every caller.
enum DeviceResult : int {
    ResultDone = 0,
    ResultNoDevice = 1,      // no command interface open
    ResultVerifyFailed = 2,  // the mouse never gave the expected answer
    ResultWriteFailed = 4,   // the report could not be written
    ResultMouseOff = 5,      // the mouse is reported off (decided at the apply level)
    ResultTooManyMacros = 6, // more macros on the buttons than the mouse can hold
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

// The status query the status thread writes directly to the command handle: command 0x48
// with its checksum already filled in. The mouse answers with a battery report.
constexpr unsigned char kStatusQuery[kFrameLength] = {0x05, 0x24, 0xFA, 0x48};

// Usages of the two collections, on usage page 1.
constexpr uint32_t kUsagePageDesktop = 1;
constexpr uint32_t kUsageMouse = 2;
constexpr uint32_t kUsageCommand = 0;

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
    std::string modelName;     // Latin-1
};

constexpr uint32_t kDeviceMatchCapacity = 200;

struct DeviceMatchTable {
    uint32_t count = 0; // entries in use; never above kDeviceMatchCapacity
    DeviceMatchEntry entries[kDeviceMatchCapacity];
};

// The process-wide match table (main thread).
DeviceMatchTable &deviceMatchTable();

// One HID interface handle with the lock that serialises its transfers. The lock is
// recursive: a status poll may hold it for a whole cycle and still send commands.
class HidHandle {
public:
    HidHandle() = default;
    HidHandle(const HidHandle &) = delete;
    HidHandle &operator=(const HidHandle &) = delete;

    bool isOpen() const;
    // Opens the path, closing first what the handle still holds. False when the path
    // cannot be opened (the handle is then closed).
    bool open(const std::string &path);
    void close();
    // As hid_write / hid_read_timeout; -1 when the handle is closed.
    int write(const unsigned char *data, size_t length);
    int readTimeout(unsigned char *data, size_t length, int milliseconds);

    std::recursive_mutex &mutex() const { return m_mutex; }

private:
    mutable std::recursive_mutex m_mutex;
    std::unique_ptr<HidConnection> m_connection;
};

extern HidHandle hidMouse1;
extern HidHandle hidCommand1;
extern HidHandle hidMouse2;
extern HidHandle hidCommand2;

// The handle commands go to: hidCommand2 when open, else hidCommand1 when open, else null.
HidHandle *commandHandle();

// Release number of the last second-identity command collection found (0: none).
extern uint16_t device2Release;

// 0, or -1 when hidapi cannot be initialised. Adds paths and found flags to the table.
int EnumerateDevices();
// Rebuilds the table from the model descriptor and the installation's model name.
void LoadDeviceMatchTable();
// Opens the interfaces of every entry of this model that enumeration found.
void OpenDevice(const QString &modelName);
// After OpenDevice: the first interface of the model that was found but that this user may
// not open (no permission on its device node); empty when there was none (main thread).
std::string deniedDevicePath();
void CloseDevice();
void ExitHid();
// The USB release number of the HID device at this path; 0 when no such device is listed.
uint16_t ReleaseNumberOfPath(const std::string &path);

// Sends one command report of `length` bytes (33) and checks the answer: ResultDone,
// ResultNoDevice, ResultVerifyFailed or ResultWriteFailed. Byte 1 is filled in here.
int SendCommand(const unsigned char *report, int length);
// 0 equal, 1 header differs, 2 data differs. Frames are at least 33 bytes.
int CompareReply(const unsigned char *request, const unsigned char *reply, bool withData);

// The checksum of byte 1: (bytes 2..7) mod 256, XOR 0x66.
uint8_t frameChecksum(const unsigned char *frame);

// Bytes 4 and 5 of a frame from two parameters (for commands that take no address).
constexpr uint16_t frameParams(uint8_t byte4, uint8_t byte5) {
    return uint16_t(byte4 | (byte5 << 8));
}
// Builds a frame from its parts and sends it: address low byte in byte 4, high byte in
// byte 5, length in byte 6 (at most 25 data bytes are taken).
int SendFrame(uint8_t code, uint16_t address, uint8_t tag, const uint8_t *data, int length);
// The commit block that ends a table write: address 0x7F, tag 0xD3, data 0x1A.
int SendCommit(uint8_t code, uint16_t address = 0x7F);

// Every fixed pause of the protocol goes through here (QThread::msleep by default);
// tests install a hook that records the pause instead of waiting. An empty hook
// restores the real pause.
void devicePause(int milliseconds);
void setDevicePauseHook(std::function<void(int)> hook);
