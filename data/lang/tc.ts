<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>BatteryChart</name>
    <message>
        <source>Battery level over the last 7 days</source>
        <translation>最近 7 天的電量</translation>
    </message>
    <message>
        <source>No battery readings in the last 7 days.</source>
        <translation>最近 7 天沒有電量記錄。</translation>
    </message>
    <message>
        <source>Lowest %1%, highest %2%.</source>
        <translation>最低 %1%，最高 %2%。</translation>
    </message>
    <message>
        <source>en</source>
        <comment>The locale (language_COUNTRY) whose short day names the battery chart shows</comment>
        <translation>zh_TW</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>充電中</translation>
    </message>
</context>
<context>
    <name>BatteryChartDialog</name>
    <message>
        <source>The mouse is off.</source>
        <translation>滑鼠已關閉。</translation>
    </message>
    <message numerus="yes">
        <source>Charging, full in about %n h.</source>
        <translation>
            <numerusform>充電中，約 %n 小時後充飽。</numerusform>
        </translation>
    </message>
    <message>
        <source>Charging.</source>
        <translation>充電中。</translation>
    </message>
    <message>
        <source>No battery reading from the mouse yet.</source>
        <translation>尚未收到滑鼠的電量。</translation>
    </message>
    <message numerus="yes">
        <source>%1% now, about %n h left.</source>
        <translation>
            <numerusform>目前 %1%，約可用 %n 小時。</numerusform>
        </translation>
    </message>
    <message>
        <source>%1% now. The time left shows after about 2 hours on the battery.</source>
        <translation>目前 %1%。使用電池約 2 小時後顯示剩餘時間。</translation>
    </message>
    <message>
        <source>Battery over the last 7 days</source>
        <translation>最近 7 天的電池</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>確定</translation>
    </message>
</context>
<context>
    <name>BatteryStatus</name>
    <message>
        <source>MOUSE OFF</source>
        <translation>滑鼠已關閉</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>電池</translation>
    </message>
    <message>
        <source>Battery level</source>
        <translation>電量</translation>
    </message>
    <message>
        <source>Receiver connected</source>
        <translation>接收器已連接</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>充電中</translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation>未連接滑鼠。</translation>
    </message>
    <message>
        <source>Battery over the last 7 days</source>
        <translation>最近 7 天的電池</translation>
    </message>
</context>
<context>
    <name>BatteryTray</name>
    <message>
        <source>&amp;Load Config</source>
        <translation>載入設定(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>結束(&amp;Q)</translation>
    </message>
    <message>
        <source>The mouse battery is low (%1%). Please charge it.</source>
        <translation>滑鼠電量低（%1%），請充電。</translation>
    </message>
    <message>
        <source>MOUSE OFF</source>
        <translation>滑鼠已關閉</translation>
    </message>
    <message>
        <source>Battery %1%, charging</source>
        <translation>電量 %1%，充電中</translation>
    </message>
    <message>
        <source>Battery %1%</source>
        <translation>電量 %1%</translation>
    </message>
    <message numerus="yes">
        <source>The mouse battery is low (%1%, about %n h left). Please charge it.</source>
        <translation>
            <numerusform>滑鼠電量低（%1%，約剩 %n 小時），請充電。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>about %n h left</source>
        <translation>
            <numerusform>約剩 %n 小時</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>full in about %n h</source>
        <translation>
            <numerusform>約 %n 小時後充滿</numerusform>
        </translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation>未連接滑鼠。</translation>
    </message>
</context>
<context>
    <name>CommandBar</name>
    <message>
        <source>ADD</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>RESET</source>
        <translation>重設</translation>
    </message>
    <message>
        <source>Reset All</source>
        <translation>全部重設</translation>
    </message>
    <message>
        <source>IMPORT</source>
        <translation>匯入</translation>
    </message>
    <message>
        <source>EXPORT</source>
        <translation>匯出</translation>
    </message>
    <message>
        <source>LOAD1</source>
        <translation>載入</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>套用</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdater</name>
    <message>
        <source>The firmware updater could not be started.</source>
        <translation>無法啟動韌體更新程式。</translation>
    </message>
    <message>
        <source>Do you want to upgrade the firmware?</source>
        <translation>是否更新韌體？</translation>
    </message>
    <message>
        <source>To update the firmware, please connect to the computer with a cable.</source>
        <translation>更新韌體，請用傳輸線將滑鼠連接到電腦。</translation>
    </message>
    <message>
        <source>The mouse firmware version is too low and will be automatically updated soon.</source>
        <translation>滑鼠韌體版本過低，即將自動更新。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The firmware updater runs on Windows only:</source>
        <translation>韌體更新程式只能在 Windows 上執行：</translation>
    </message>
    <message>
        <source>This mouse needs a firmware update. The firmware updater runs on Windows only:</source>
        <translation>此滑鼠需要更新韌體。韌體更新程式只能在 Windows 上執行：</translation>
    </message>
</context>
<context>
    <name>KelMessageBox</name>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>確定</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>KelProcessDialog</name>
    <message>
        <source>Sending to the mouse</source>
        <translation>正在傳送到滑鼠</translation>
    </message>
</context>
<context>
    <name>LanguageChooser</name>
    <message>
        <source>Language</source>
        <translation>語言</translation>
    </message>
</context>
<context>
    <name>MousePictures</name>
    <message>
        <source>Front</source>
        <translation>正面</translation>
    </message>
    <message>
        <source>Side</source>
        <translation>側面</translation>
    </message>
    <message>
        <source>Mouse from above</source>
        <translation>滑鼠俯視圖</translation>
    </message>
    <message>
        <source>Mouse from the side</source>
        <translation>滑鼠側視圖</translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation>按鍵 %1</translation>
    </message>
</context>
<context>
    <name>MousecfgWidget</name>
    <message>
        <source>Mouse is sleeping or not connected.</source>
        <translation>滑鼠處於休眠狀態或未連接。</translation>
    </message>
    <message>
        <source>Too many macros on the buttons: the mouse holds at most twelve.</source>
        <translation>按鍵上綁定的巨集過多：滑鼠最多可保存十二個巨集。</translation>
    </message>
    <message>
        <source>Send data failed, please try again.</source>
        <translation>資料傳送失敗，請重試。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
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
        <translation>按 Enter 鍵套用</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>名稱</translation>
    </message>
    <message>
        <source>LIGHTING</source>
        <translation>燈光</translation>
    </message>
    <message>
        <source>CUSTOMIZE</source>
        <translation>按鍵設定</translation>
    </message>
    <message>
        <source>MACRO</source>
        <translation>巨集</translation>
    </message>
    <message>
        <source>Firmware Update</source>
        <translation>韌體更新</translation>
    </message>
    <message>
        <source>This name cannot be used for a profile.</source>
        <translation>此名稱不能用作設定檔名稱。</translation>
    </message>
    <message>
        <source>This name is too long for a profile.</source>
        <translation>此名稱太長，不能用作設定檔名稱。</translation>
    </message>
    <message>
        <source>Profile Exist!</source>
        <translation>設定檔已存在！</translation>
    </message>
    <message>
        <source>Profile is Already Used!</source>
        <translation>設定檔已被使用！</translation>
    </message>
    <message>
        <source>AT LEAST ONE PROFILE TO BE RETAINED.</source>
        <translation>至少保留一個設定檔。</translation>
    </message>
    <message>
        <source>The default Profile cannot be deleted or renamed.</source>
        <translation>預設設定檔不能刪除或重新命名。</translation>
    </message>
    <message>
        <source>The file is not match current mouse!</source>
        <translation>該檔案與目前滑鼠不相符！</translation>
    </message>
    <message>
        <source>The profile file could not be written.</source>
        <translation>無法寫入設定檔。</translation>
    </message>
    <message>
        <source>Are you sure you want delete this profile?</source>
        <translation>確定要刪除此設定檔嗎？</translation>
    </message>
    <message>
        <source>Are you sure you want reset this profile?</source>
        <translation>確定要重設此設定檔嗎？</translation>
    </message>
    <message>
        <source>Are you sure you want reset all profiles?</source>
        <translation>確定要重設所有設定檔嗎？</translation>
    </message>
    <message>
        <source>Save Profile File</source>
        <translation>儲存設定檔</translation>
    </message>
    <message>
        <source>Profile File(*.prof)</source>
        <translation>設定檔(*.prof)</translation>
    </message>
    <message>
        <source>Load Profile File</source>
        <translation>載入設定檔</translation>
    </message>
    <message>
        <source>Save Config File</source>
        <translation>儲存組態檔</translation>
    </message>
    <message>
        <source>Config File(*.conf)</source>
        <translation>組態檔(*.conf)</translation>
    </message>
    <message>
        <source>Load Config File</source>
        <translation>載入組態檔</translation>
    </message>
    <message>
        <source>A profile name in the file cannot be used as a file name or is given to two slots; that profile was renamed.</source>
        <translation>檔案中的某個設定檔名稱無法用作檔案名稱或被兩個槽位同時使用，該設定檔已改名。</translation>
    </message>
    <message>
        <source>As root, copy %1 to /etc/udev/rules.d/ and run &quot;udevadm control --reload&quot;, then plug the mouse in again.</source>
        <translation>請以 root 身分將 %1 複製到 /etc/udev/rules.d/ 並執行「udevadm control --reload」，然後重新插入滑鼠。</translation>
    </message>
    <message>
        <source>The mouse is connected, but this user may not open it (%1: permission denied).</source>
        <translation>滑鼠已連接，但目前使用者無權開啟它（%1：權限遭拒）。</translation>
    </message>
    <message>
        <source>AT LEAST ONE CLICK FUNCTION TO BE RETAINED.</source>
        <translation>至少保留一個單擊功能。</translation>
    </message>
    <message>
        <source>The file is incomplete (cut short or damaged); nothing was imported.</source>
        <translation>檔案不完整（被截斷或已損壞），未匯入任何內容。</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>檔案不存在。</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>這是資料夾，不是檔案。</translation>
    </message>
    <message>
        <source>Only profile files (.prof) and configuration files (.conf) can be imported.</source>
        <translation>只能匯入設定檔（.prof）和配置檔（.conf）。</translation>
    </message>
    <message>
        <source>The file is too large to be a profile or configuration file.</source>
        <translation>檔案過大，不是設定檔或配置檔。</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>無法讀取該檔案。</translation>
    </message>
    <message>
        <source>The file is not a profile or configuration file.</source>
        <translation>該檔案不是設定檔或配置檔。</translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation>未連接滑鼠。</translation>
    </message>
    <message>
        <source>The folder to save in does not exist.</source>
        <translation>要儲存到的資料夾不存在。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Profile library</source>
        <translation>設定檔庫</translation>
    </message>
    <message>
        <source>Choose mouse</source>
        <translation>選擇滑鼠</translation>
    </message>
    <message>
        <source>Profile name</source>
        <translation>設定檔名稱</translation>
    </message>
    <message>
        <source>The settings could not be saved on this computer.</source>
        <translation>無法在本機儲存設定。</translation>
    </message>
    <message>
        <source>The changes to this profile have not been applied and will be lost. Go on?</source>
        <translation>此設定檔的變更尚未套用，將會遺失。是否繼續？</translation>
    </message>
    <message>
        <source>The changes to the profiles have not been applied and will be lost. Go on?</source>
        <translation>設定檔的變更尚未套用，將會遺失。是否繼續？</translation>
    </message>
</context>
<context>
    <name>SlotSelector</name>
    <message>
        <source>Profile</source>
        <translation>設定檔</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
</context>
</TS>
