<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>BatteryChart</name>
    <message>
        <source>Battery level over the last 7 days</source>
        <translation>最近 7 天的电量</translation>
    </message>
    <message>
        <source>No battery readings in the last 7 days.</source>
        <translation>最近 7 天没有电量记录。</translation>
    </message>
    <message>
        <source>Lowest %1%, highest %2%.</source>
        <translation>最低 %1%，最高 %2%。</translation>
    </message>
    <message>
        <source>en</source>
        <comment>The locale (language_COUNTRY) whose short day names the battery chart shows</comment>
        <translation>zh_CN</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>充电中</translation>
    </message>
</context>
<context>
    <name>BatteryChartDialog</name>
    <message>
        <source>The mouse is off.</source>
        <translation>鼠标已关闭。</translation>
    </message>
    <message numerus="yes">
        <source>Charging, full in about %n h.</source>
        <translation>
            <numerusform>充电中，约 %n 小时后充满。</numerusform>
        </translation>
    </message>
    <message>
        <source>Charging.</source>
        <translation>充电中。</translation>
    </message>
    <message>
        <source>No battery reading from the mouse yet.</source>
        <translation>尚未收到鼠标的电量。</translation>
    </message>
    <message numerus="yes">
        <source>%1% now, about %n h left.</source>
        <translation>
            <numerusform>当前 %1%，约可用 %n 小时。</numerusform>
        </translation>
    </message>
    <message>
        <source>%1% now. The time left shows after about 2 hours on the battery.</source>
        <translation>当前 %1%。使用电池约 2 小时后显示剩余时间。</translation>
    </message>
    <message>
        <source>Battery over the last 7 days</source>
        <translation>最近 7 天的电池</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>BatteryStatus</name>
    <message>
        <source>MOUSE OFF</source>
        <translation>鼠标已关闭</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>电池</translation>
    </message>
    <message>
        <source>Battery level</source>
        <translation>电量</translation>
    </message>
    <message>
        <source>Receiver connected</source>
        <translation>接收器已连接</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>充电中</translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation>未连接鼠标。</translation>
    </message>
    <message>
        <source>Battery over the last 7 days</source>
        <translation>最近 7 天的电池</translation>
    </message>
</context>
<context>
    <name>BatteryTray</name>
    <message>
        <source>&amp;Load Config</source>
        <translation>加载配置(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>The mouse battery is low (%1%). Please charge it.</source>
        <translation>鼠标电量低（%1%），请充电。</translation>
    </message>
    <message>
        <source>MOUSE OFF</source>
        <translation>鼠标已关闭</translation>
    </message>
    <message>
        <source>Battery %1%, charging</source>
        <translation>电量 %1%，充电中</translation>
    </message>
    <message>
        <source>Battery %1%</source>
        <translation>电量 %1%</translation>
    </message>
    <message numerus="yes">
        <source>The mouse battery is low (%1%, about %n h left). Please charge it.</source>
        <translation>
            <numerusform>鼠标电量低（%1%，约剩 %n 小时），请充电。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>about %n h left</source>
        <translation>
            <numerusform>约剩 %n 小时</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>full in about %n h</source>
        <translation>
            <numerusform>约 %n 小时后充满</numerusform>
        </translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation>未连接鼠标。</translation>
    </message>
</context>
<context>
    <name>CommandBar</name>
    <message>
        <source>ADD</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>RESET</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Reset All</source>
        <translation>全部重置</translation>
    </message>
    <message>
        <source>IMPORT</source>
        <translation>导入</translation>
    </message>
    <message>
        <source>EXPORT</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>LOAD1</source>
        <translation>载入</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>应用</translation>
    </message>
</context>
<context>
    <name>FirmwareUpdater</name>
    <message>
        <source>The firmware updater could not be started.</source>
        <translation>无法启动固件升级程序。</translation>
    </message>
    <message>
        <source>Do you want to upgrade the firmware?</source>
        <translation>是否升级固件？</translation>
    </message>
    <message>
        <source>To update the firmware, please connect to the computer with a cable.</source>
        <translation>升级固件，请用数据线将鼠标连接到电脑。</translation>
    </message>
    <message>
        <source>The mouse firmware version is too low and will be automatically updated soon.</source>
        <translation>鼠标固件版本过低，即将自动升级。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>The firmware updater runs on Windows only:</source>
        <translation>固件升级程序只能在 Windows 上运行：</translation>
    </message>
    <message>
        <source>This mouse needs a firmware update. The firmware updater runs on Windows only:</source>
        <translation>此鼠标需要升级固件。固件升级程序只能在 Windows 上运行：</translation>
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
        <translation>确定</translation>
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
        <translation>正在发送到鼠标</translation>
    </message>
</context>
<context>
    <name>LanguageChooser</name>
    <message>
        <source>Language</source>
        <translation>语言</translation>
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
        <translation>侧面</translation>
    </message>
    <message>
        <source>Mouse from above</source>
        <translation>鼠标俯视图</translation>
    </message>
    <message>
        <source>Mouse from the side</source>
        <translation>鼠标侧视图</translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation>按键 %1</translation>
    </message>
</context>
<context>
    <name>MousecfgWidget</name>
    <message>
        <source>Mouse is sleeping or not connected.</source>
        <translation>鼠标处于休眠状态或未连接。</translation>
    </message>
    <message>
        <source>Too many macros on the buttons: the mouse holds at most twelve.</source>
        <translation>按键上绑定的宏过多：鼠标最多可保存十二个宏。</translation>
    </message>
    <message>
        <source>Send data failed, please try again.</source>
        <translation>数据发送失败，请重试。</translation>
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
        <translation>按回车键应用</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>LIGHTING</source>
        <translation>灯光</translation>
    </message>
    <message>
        <source>CUSTOMIZE</source>
        <translation>按键设置</translation>
    </message>
    <message>
        <source>MACRO</source>
        <translation>宏</translation>
    </message>
    <message>
        <source>Firmware Update</source>
        <translation>固件升级</translation>
    </message>
    <message>
        <source>This name cannot be used for a profile.</source>
        <translation>此名称不能用作配置文件名。</translation>
    </message>
    <message>
        <source>This name is too long for a profile.</source>
        <translation>此名称太长，不能用作配置文件名。</translation>
    </message>
    <message>
        <source>Profile Exist!</source>
        <translation>配置文件已存在！</translation>
    </message>
    <message>
        <source>Profile is Already Used!</source>
        <translation>配置文件已被使用！</translation>
    </message>
    <message>
        <source>AT LEAST ONE PROFILE TO BE RETAINED.</source>
        <translation>至少保留一个配置文件。</translation>
    </message>
    <message>
        <source>The default Profile cannot be deleted or renamed.</source>
        <translation>默认配置文件不能删除或重命名。</translation>
    </message>
    <message>
        <source>The file is not match current mouse!</source>
        <translation>该文件与当前鼠标不匹配！</translation>
    </message>
    <message>
        <source>The profile file could not be written.</source>
        <translation>无法写入配置文件。</translation>
    </message>
    <message>
        <source>Are you sure you want delete this profile?</source>
        <translation>确定要删除此配置文件吗？</translation>
    </message>
    <message>
        <source>Are you sure you want reset this profile?</source>
        <translation>确定要重置此配置文件吗？</translation>
    </message>
    <message>
        <source>Are you sure you want reset all profiles?</source>
        <translation>确定要重置所有配置文件吗？</translation>
    </message>
    <message>
        <source>Save Profile File</source>
        <translation>保存配置文件</translation>
    </message>
    <message>
        <source>Profile File(*.prof)</source>
        <translation>配置文件(*.prof)</translation>
    </message>
    <message>
        <source>Load Profile File</source>
        <translation>载入配置文件</translation>
    </message>
    <message>
        <source>Save Config File</source>
        <translation>保存设置文件</translation>
    </message>
    <message>
        <source>Config File(*.conf)</source>
        <translation>设置文件(*.conf)</translation>
    </message>
    <message>
        <source>Load Config File</source>
        <translation>载入设置文件</translation>
    </message>
    <message>
        <source>A profile name in the file cannot be used as a file name or is given to two slots; that profile was renamed.</source>
        <translation>文件中的某个配置文件名无法用作文件名或被两个槽位同时使用，该配置文件已改名。</translation>
    </message>
    <message>
        <source>As root, copy %1 to /etc/udev/rules.d/ and run &quot;udevadm control --reload&quot;, then plug the mouse in again.</source>
        <translation>请以 root 身份将 %1 复制到 /etc/udev/rules.d/ 并运行“udevadm control --reload”，然后重新插入鼠标。</translation>
    </message>
    <message>
        <source>The mouse is connected, but this user may not open it (%1: permission denied).</source>
        <translation>鼠标已连接，但当前用户无权打开它（%1：权限被拒绝）。</translation>
    </message>
    <message>
        <source>AT LEAST ONE CLICK FUNCTION TO BE RETAINED.</source>
        <translation>至少保留一个单击功能。</translation>
    </message>
    <message>
        <source>The file is incomplete (cut short or damaged); nothing was imported.</source>
        <translation>文件不完整（被截断或已损坏），未导入任何内容。</translation>
    </message>
    <message>
        <source>The file does not exist.</source>
        <translation>文件不存在。</translation>
    </message>
    <message>
        <source>This is a folder, not a file.</source>
        <translation>这是文件夹，不是文件。</translation>
    </message>
    <message>
        <source>Only profile files (.prof) and configuration files (.conf) can be imported.</source>
        <translation>只能导入配置文件（.prof）和设置文件（.conf）。</translation>
    </message>
    <message>
        <source>The file is too large to be a profile or configuration file.</source>
        <translation>文件过大，不是配置文件或设置文件。</translation>
    </message>
    <message>
        <source>The file cannot be read.</source>
        <translation>无法读取该文件。</translation>
    </message>
    <message>
        <source>The file is not a profile or configuration file.</source>
        <translation>该文件不是配置文件或设置文件。</translation>
    </message>
    <message>
        <source>No mouse is connected.</source>
        <translation>未连接鼠标。</translation>
    </message>
    <message>
        <source>The folder to save in does not exist.</source>
        <translation>要保存到的文件夹不存在。</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Profile library</source>
        <translation>配置库</translation>
    </message>
    <message>
        <source>Choose mouse</source>
        <translation>选择鼠标</translation>
    </message>
    <message>
        <source>Profile name</source>
        <translation>配置名称</translation>
    </message>
    <message>
        <source>The settings could not be saved on this computer.</source>
        <translation>无法在本机保存设置。</translation>
    </message>
    <message>
        <source>The changes to this profile have not been applied and will be lost. Go on?</source>
        <translation>此配置文件的更改尚未应用，将会丢失。是否继续？</translation>
    </message>
    <message>
        <source>The changes to the profiles have not been applied and will be lost. Go on?</source>
        <translation>配置文件的更改尚未应用，将会丢失。是否继续？</translation>
    </message>
</context>
<context>
    <name>SlotSelector</name>
    <message>
        <source>Profile</source>
        <translation>配置</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>模式</translation>
    </message>
</context>
</TS>
