<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>BatteryChart</name>
    <message>
        <source>Battery level over the last 7 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No battery readings in the last 7 days.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lowest %1%, highest %2%.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>en</source>
        <comment>The locale (language_COUNTRY) whose short day names the battery chart shows</comment>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Charging</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BatteryChartDialog</name>
    <message>
        <source>The mouse is off.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Charging, full in about %n h.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Charging.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No battery reading from the mouse yet.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%1% now, about %n h left.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>%1% now. The time left shows after about 2 hours on the battery.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Battery over the last 7 days</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ok</source>
        <translation type="unfinished">Ok</translation>
    </message>
</context>
<context>
    <name>BatteryStatus</name>
    <message>
        <source>MOUSE OFF</source>
        <translation>MOUSE OFF</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Battery level</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Receiver connected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Charging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation type="unfinished">No mouse is connected.</translation>
    </message>
    <message>
        <source>Battery over the last 7 days</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BatteryTray</name>
    <message>
        <source>&amp;Load Config</source>
        <translation>&amp;Load Config</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>The mouse battery is low (%1%). Please charge it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOUSE OFF</source>
        <translation>MOUSE OFF</translation>
    </message>
    <message>
        <source>Battery %1%, charging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Battery %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>The mouse battery is low (%1%, about %n h left). Please charge it.</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>about %n h left</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>full in about %n h</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation type="unfinished">No mouse is connected.</translation>
    </message>
</context>
<context>
    <name>CommandBar</name>
    <message>
        <source>ADD</source>
        <translation>ADD</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>DELETE</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>COPY</translation>
    </message>
    <message>
        <source>RESET</source>
        <translation>RESET</translation>
    </message>
    <message>
        <source>Reset All</source>
        <translation>Reset All</translation>
    </message>
    <message>
        <source>IMPORT</source>
        <translation>IMPORT</translation>
    </message>
    <message>
        <source>EXPORT</source>
        <translation>EXPORT</translation>
    </message>
    <message>
        <source>LOAD1</source>
        <translation>LOAD</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>SAVE</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdater</name>
    <message>
        <source>The firmware updater could not be started.</source>
        <translation>The firmware updater could not be started.</translation>
    </message>
    <message>
        <source>Do you want to upgrade the firmware?</source>
        <translation>Do you want to upgrade the firmware?</translation>
    </message>
    <message>
        <source>To update the firmware, please connect to the computer with a cable.</source>
        <translation>To update the firmware, please connect to the computer with a cable.</translation>
    </message>
    <message>
        <source>The mouse firmware version is too low and will be automatically updated soon.</source>
        <translation>The mouse firmware version is too low and will be automatically updated soon.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>The firmware updater runs on Windows only:</source>
        <translation>The firmware updater runs on Windows only:</translation>
    </message>
    <message>
        <source>This mouse needs a firmware update. The firmware updater runs on Windows only:</source>
        <translation>This mouse needs a firmware update. The firmware updater runs on Windows only:</translation>
    </message>
</context>
<context>
    <name>KelMessageBox</name>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>KelProcessDialog</name>
    <message>
        <source>Sending to the mouse</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>LanguageChooser</name>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MousePictures</name>
    <message>
        <source>Front</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>Side</source>
        <translation>Side</translation>
    </message>
    <message>
        <source>Mouse from above</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse from the side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MousecfgWidget</name>
    <message>
        <source>Mouse is sleeping or not connected.</source>
        <translation>Mouse is sleeping or not connected.</translation>
    </message>
    <message>
        <source>Too many macros on the buttons: the mouse holds at most twelve.</source>
        <translation>Too many macros on the buttons: the mouse holds at most twelve.</translation>
    </message>
    <message>
        <source>Send data failed, please try again.</source>
        <translation>Send data failed, please try again.</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>125 HZ</source>
        <translation>125 HZ</translation>
    </message>
    <message>
        <source>250 HZ</source>
        <translation>250 HZ</translation>
    </message>
    <message>
        <source>500 HZ</source>
        <translation>500 HZ</translation>
    </message>
    <message>
        <source>1000 HZ</source>
        <translation>1000 HZ</translation>
    </message>
    <message>
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message>
        <source>Press Enter To Apply</source>
        <translation>Press Enter To Apply</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>LIGHTING</source>
        <translation>LIGHTING</translation>
    </message>
    <message>
        <source>CUSTOMIZE</source>
        <translation>CUSTOMIZE</translation>
    </message>
    <message>
        <source>MACRO</source>
        <translation>MACRO</translation>
    </message>
    <message>
        <source>Firmware Update</source>
        <translation>Firmware Update</translation>
    </message>
    <message>
        <source>This name cannot be used for a profile.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This name is too long for a profile.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile Exist!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile is Already Used!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AT LEAST ONE PROFILE TO BE RETAINED.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The default Profile cannot be deleted or renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not match current mouse!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The profile file could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want delete this profile?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want reset this profile?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Are you sure you want reset all profiles?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Profile File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile File(*.prof)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Profile File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Config File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Config File(*.conf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Config File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>As root, copy %1 to /etc/udev/rules.d/ and run &quot;udevadm control --reload&quot;, then plug the mouse in again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The mouse is connected, but this user may not open it (%1: permission denied).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>AT LEAST ONE CLICK FUNCTION TO BE RETAINED.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is incomplete (cut short or damaged); nothing was imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only profile files (.prof) and configuration files (.conf) can be imported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is too large to be a profile or configuration file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not a profile or configuration file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation>No mouse is connected.</translation>
    </message>
    <message>
        <source>The folder to save in does not exist.</source>
        <translation>The folder to save in does not exist.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile library</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choose mouse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The settings could not be saved on this computer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A profile name in the file cannot be used as a file name or is given to two slots; that profile was renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes to this profile have not been applied and will be lost. Go on?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The changes to the profiles have not been applied and will be lost. Go on?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>SlotSelector</name>
    <message>
        <source>Profile</source>
        <translation>Profile</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Mode</translation>
    </message>
</context>
</TS>
