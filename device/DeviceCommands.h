#pragma once
// The commands the mouse takes and the download of a whole configuration.
//
// The mouse keeps its configuration in tables written in blocks of up to 24 data bytes;
// the first block of a table carries tag 0xD1, the others 0xD2, and a commit block
// (address 0x7F, tag 0xD3, data 0x1A) ends the table. A download is framed by a begin
// and an end mark.

#include <atomic>
#include <cstdint>

struct ProfileSet;

// Command codes.
enum CommandCode : uint8_t {
    CmdSettingsTable = 0x01,
    CmdDpiTable = 0x02,
    CmdButtonTable = 0x03,
    CmdLightingTable = 0x04,
    CmdMacroMemory = 0x05,
    CmdApplyGroup = 0x40,
    CmdSelectProfile = 0x44,
    CmdDownloadMark = 0x46,
};

// The receiver's link byte of the last battery report (byte 10); 8 limits sensor 3395 to
// stage 399. Written by the status thread, read by the download.
extern std::atomic<uint8_t> linkMode;

// What the download needs from the main window: stopping the status thread so that its
// reads do not take the download's answers, and starting it again afterwards. Both are
// called on the send thread and must not wait for the window's thread, which may itself
// be waiting for the send to end.
class DeviceMainWindow {
public:
    virtual ~DeviceMainWindow() = default;
    virtual void stopBatteryThread() = 0;
    virtual void startBatteryThread() = 0;
};

// The main window registers itself once at start-up (nullptr unregisters).
void RegisterMainWindow(DeviceMainWindow *window);

// The download table: the configuration as last given to DownloadProfile. The table
// functions below read it (and the button encoding writes macro indices into it).
ProfileSet &downloadTable();
// True once a download has filled the table in this run.
bool downloadTableFilled();
// The mousespeed of the table's active profile (read under the table's lock).
uint8_t downloadedMouseSpeed();

// Download flags.
enum DownloadFlag : unsigned {
    DownloadGeneral = 0x01,
    DownloadDpi = 0x02,
    DownloadButtons = 0x04,
    DownloadLighting = 0x08,
    DownloadEverything = 0x0F,
};

// Copies the configuration into the download table and sends it; a result code. A
// configuration whose buttons need more macros than the mouse plays sends nothing and gives
// ResultTooManyMacros.
int DownloadProfile(const ProfileSet &configuration, unsigned flags);

// Makes profile `index` the mouse's active profile. The select frame has no answer; the
// result is always 1, as callers ignore it.
int SelectProfile(int index);
// The five apply-group commands; stops at the first failure.
int ApplySettings();
// Phase 0 begins a download, phase 1 ends it.
int DownloadMark(int phase);

int WriteSettingsTable();
int WriteDpiTable(int profile);
int WriteLightingTable();

// The lighting effect code of the settings table for a LedMode.
uint8_t lightingEffectCode(int ledMode);
// The 19 data bytes of the settings table, from the download table.
void buildSettingsTable(uint8_t out[19]);
// The 80 data bytes of the lighting table (ten slots of eight bytes) of a profile.
void buildLightingTable(int profile, uint8_t out[80]);
