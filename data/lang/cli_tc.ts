<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>MousecfgCli</name>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>cable</source>
        <translation>有線</translation>
    </message>
    <message>
        <source>receiver</source>
        <translation>接收器</translation>
    </message>
    <message>
        <source>none</source>
        <translation>無</translation>
    </message>
    <message>
        <source> (receiver plugged in too)</source>
        <translation>（接收器也已插入）</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型號</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>連接</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>電量</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>充電</translation>
    </message>
    <message>
        <source>DPI stage</source>
        <translation>DPI 檔位</translation>
    </message>
    <message>
        <source>Report rate</source>
        <translation>回報率</translation>
    </message>
    <message>
        <source>Unknown option: %1</source>
        <translation>未知選項：%1</translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation>未給出命令。</translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <translation>未知命令：%1</translation>
    </message>
    <message>
        <source>Wrong number of arguments for %1.</source>
        <translation>%1 的參數個數不對。</translation>
    </message>
    <message>
        <source>--all goes with apply only.</source>
        <translation>--all 只能與 apply 一起使用。</translation>
    </message>
    <message>
        <source>%1 needs a number from 1 to %2.</source>
        <translation>%1 需要 1 到 %2 之間的數字。</translation>
    </message>
    <message>
        <source>This DPI stage cannot be made active: the mouse has stages 1 to %1, and a stage must be switched on.</source>
        <translation>無法啟用此 DPI 檔位：滑鼠有 1 到 %1 檔，且該檔位必須已開啟。</translation>
    </message>
    <message>
        <source>The mouse is busy with another program; try again.</source>
        <translation>滑鼠正被另一個程式使用，請重試。</translation>
    </message>
    <message>
        <source>The window did not answer; whether the command was carried out is not known.</source>
        <translation>視窗沒有回應，無法確定命令是否已執行。</translation>
    </message>
    <message>
        <source>Try &apos;mousecfg-cli --help&apos; for more information.</source>
        <translation>執行「mousecfg-cli --help」查看更多資訊。</translation>
    </message>
    <message>
        <source>The option %1 is given twice.</source>
        <translation>選項 %1 重複給出。</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>資料夾 %1 不存在。</translation>
    </message>
    <message>
        <source>Only profile files (.prof) and configuration files (.conf) can be exported.</source>
        <translation>只能匯出設定檔（.prof）和組態檔（.conf）。</translation>
    </message>
    <message>
        <source>no mouse</source>
        <translation>沒有滑鼠</translation>
    </message>
    <message>
        <source>DPI %1</source>
        <translation>DPI %1</translation>
    </message>
    <message>
        <source>battery %1%</source>
        <translation>電量 %1%</translation>
    </message>
    <message>
        <source>charging</source>
        <translation>充電中</translation>
    </message>
    <message>
        <source>--follow goes with status only.</source>
        <translation>--follow 只能與 status 一起使用。</translation>
    </message>
    <message>
        <source>Usage: mousecfg-cli [--json] [--verbose] COMMAND [ARGUMENT]

Commands:
  list                  the supported mice present: model, link (receiver or cable),
                        release number and device paths
  status [--follow]     battery level and millivolts, charging, connection, active
                        profile, DPI stage and report rate; with --follow one line
                        now and one at every change, until interrupted
  profile N             make profile slot N (1 to 5) active, on the mouse and in the
                        saved state
  dpi N                 make DPI stage N active, on the mouse and in the saved state
  apply [--all] [FILE]  send what changed since the last send (with --all: all of
                        it); with FILE, first take that file in as import does
  export FILE           write the active profile to FILE.prof, or the whole
                        configuration to FILE.conf
  import FILE           take a .prof into the library and the active slot, or a .conf
                        over all slots, without sending it: the next apply sends all

Options:
  --json                print list and status as JSON
  --verbose             print the debug messages of every part of the program on
                        standard error
  -h, --help            print this text
  -v, --version         print the version

While the window runs, it carries the commands out; otherwise the command line
opens the mouse itself. Exit status: 0 done, 1 refused (wrong model, bad file,
unsafe name, wrong argument), 2 no mouse answers.
</source>
        <translation>用法：mousecfg-cli [--json] [--verbose] 命令 [參數]

命令：
  list                  目前連接的支援滑鼠：型號、連接方式（接收器或有線）、
                        版本號和裝置路徑
  status [--follow]     電量百分比和毫伏數、充電、連接、目前設定檔、DPI 檔位
                        和回報率；加 --follow 時先輸出一行，之後每次變化再輸出
                        一行，直到被中斷
  profile N             啟用第 N 個設定檔（1 到 5），同時寫入滑鼠和已儲存的設定
  dpi N                 啟用第 N 個 DPI 檔位，同時寫入滑鼠和已儲存的設定
  apply [--all] [FILE]  傳送自上次傳送以來的變更（加 --all：全部傳送）；
                        指定 FILE 時，先像 import 一樣匯入該檔案
  export FILE           把目前設定檔寫入 FILE.prof，或把全部組態寫入 FILE.conf
  import FILE           把 .prof 匯入設定檔庫和目前設定檔位置，或用 .conf 取代全部
                        設定檔，但不傳送：下次 apply 會全部傳送

選項：
  --json                以 JSON 輸出 list 和 status
  --verbose             在標準錯誤上輸出程式各部分的除錯訊息
  -h, --help            顯示本說明
  -v, --version         顯示版本

視窗執行時由視窗執行這些命令；否則命令列自己開啟滑鼠。
結束狀態：0 完成，1 被拒絕（滑鼠型號不符、檔案有誤、名稱不可用、參數錯誤），
2 沒有滑鼠回應。
</translation>
    </message>
    <message numerus="yes">
        <source>about %n h</source>
        <translation>
            <numerusform>約 %n 小時</numerusform>
        </translation>
    </message>
    <message>
        <source>Time left</source>
        <translation>剩餘時間</translation>
    </message>
    <message>
        <source>(%1 left)</source>
        <translation>（剩餘%1）</translation>
    </message>
    <message>
        <source>The output could not be written.</source>
        <translation>無法寫出輸出。</translation>
    </message>
</context>
</TS>
