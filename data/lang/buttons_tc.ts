<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>ButtonCatalogue</name>
    <message>
        <source>Left</source>
        <translation>左鍵</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右鍵</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>中鍵</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>前進</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>後退</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>剪下</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>貼上</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全選</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>尋找</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>列印</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>Switch Window</source>
        <translation>切換視窗</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>關閉視窗</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>我的電腦</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>執行</translation>
    </message>
    <message>
        <source>Show Desktop</source>
        <translation>顯示桌面</translation>
    </message>
    <message>
        <source>Lock PC</source>
        <translation>鎖定電腦</translation>
    </message>
    <message>
        <source>Browser Home</source>
        <translation>瀏覽器首頁</translation>
    </message>
    <message>
        <source>Browser Backward</source>
        <translation>瀏覽器上一頁</translation>
    </message>
    <message>
        <source>Browser Forward</source>
        <translation>瀏覽器下一頁</translation>
    </message>
    <message>
        <source>Browser Stop</source>
        <translation>瀏覽器停止</translation>
    </message>
    <message>
        <source>Browser Refresh</source>
        <translation>瀏覽器重新整理</translation>
    </message>
    <message>
        <source>Browser Search</source>
        <translation>瀏覽器搜尋</translation>
    </message>
    <message>
        <source>Browser Favorite</source>
        <translation>瀏覽器我的最愛</translation>
    </message>
    <message>
        <source>Mail</source>
        <translation>郵件</translation>
    </message>
    <message>
        <source>Boss Key</source>
        <translation>老闆鍵</translation>
    </message>
    <message>
        <source>SINGLE KEY</source>
        <translation>單鍵</translation>
    </message>
    <message>
        <source>COMBO KEY</source>
        <translation>組合鍵</translation>
    </message>
    <message>
        <source>FIRE KEY</source>
        <translation>連發鍵</translation>
    </message>
    <message>
        <source>Play/Pause</source>
        <translation>播放/暫停</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Previous Track</source>
        <translation>上一首</translation>
    </message>
    <message>
        <source>Next Track</source>
        <translation>下一首</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>音量增加</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>音量減少</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>靜音</translation>
    </message>
    <message>
        <source>Media Player</source>
        <translation>媒體播放器</translation>
    </message>
    <message>
        <source>DPI Switch</source>
        <translation>DPI 切換</translation>
    </message>
    <message>
        <source>DPI +</source>
        <translation>DPI +</translation>
    </message>
    <message>
        <source>DPI -</source>
        <translation>DPI -</translation>
    </message>
    <message>
        <source>Rate Switch</source>
        <translation>回報率切換</translation>
    </message>
    <message>
        <source>Rate +</source>
        <translation>回報率 +</translation>
    </message>
    <message>
        <source>Rate -</source>
        <translation>回報率 -</translation>
    </message>
    <message>
        <source>Profile +</source>
        <translation>設定檔 +</translation>
    </message>
    <message>
        <source>Profile -</source>
        <translation>設定檔 -</translation>
    </message>
    <message>
        <source>Profile Switch</source>
        <translation>設定檔切換</translation>
    </message>
    <message>
        <source>SNIPER</source>
        <translation>狙擊鍵</translation>
    </message>
    <message>
        <source>Macro Manager</source>
        <translation>巨集管理</translation>
    </message>
    <message>
        <source>GunFile Manager</source>
        <translation>槍械檔案管理</translation>
    </message>
    <message>
        <source>Led Switch</source>
        <translation>燈光切換</translation>
    </message>
    <message>
        <source>Button Off</source>
        <translation>停用按鍵</translation>
    </message>
    <message>
        <source>Scroll Up</source>
        <translation>滾輪向上</translation>
    </message>
    <message>
        <source>Scroll Down</source>
        <translation>滾輪向下</translation>
    </message>
    <message>
        <source>Basic</source>
        <translation>基本功能</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Windows 快速鍵</translation>
    </message>
    <message>
        <source>Advance</source>
        <translation>進階</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>多媒體</translation>
    </message>
    <message>
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message>
        <source>Polling Rate</source>
        <translation>回報率</translation>
    </message>
    <message>
        <source>Profile Menu</source>
        <translation>設定檔</translation>
    </message>
</context>
<context>
    <name>KelBtnWindow</name>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Left Button Can not be Gun Function.</source>
        <translation>左鍵不能設定為槍械功能。</translation>
    </message>
    <message>
        <source>GUNFILE SELECT</source>
        <translation>選擇槍械檔案</translation>
    </message>
    <message>
        <source>MACRO SELECT</source>
        <translation>選擇巨集</translation>
    </message>
    <message>
        <source>THE FILE HAS MORE THAN 63 STEPS: THE BUTTON KEEPS THE FIRST 63.</source>
        <translation>檔案超過 63 步：按鍵只保留前 63 步。</translation>
    </message>
    <message>
        <source>THE MACRO DOES NOT FIT THE MOUSE: IT PLAYS ITS FIRST %1 STEPS.</source>
        <translation>巨集超出滑鼠容量：只播放前 %1 步。</translation>
    </message>
    <message>
        <source>Wheel up</source>
        <translation>滾輪向上</translation>
    </message>
    <message>
        <source>Wheel down</source>
        <translation>滾輪向下</translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation>按鍵 %1</translation>
    </message>
    <message>
        <source>The macro &quot;%1&quot; no longer exists.</source>
        <translation>巨集「%1」已不存在。</translation>
    </message>
</context>
<context>
    <name>KelComboKeyWindow</name>
    <message>
        <source>Combo Key</source>
        <translation>組合鍵</translation>
    </message>
    <message>
        <source>HOLD THE MODIFIERS, THEN PRESS THE KEY</source>
        <translation>按住修飾鍵，再按下按鍵</translation>
    </message>
</context>
<context>
    <name>KelFireKeyWindow</name>
    <message>
        <source>FireKey Setting</source>
        <translation>連發鍵設定</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>左鍵</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右鍵</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>中鍵</translation>
    </message>
    <message>
        <source>Keyboard Key</source>
        <translation>鍵盤按鍵</translation>
    </message>
    <message>
        <source>Times:</source>
        <translation>次數：</translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation>間隔：</translation>
    </message>
</context>
<context>
    <name>KelMacroSelect</name>
    <message>
        <source>NAME</source>
        <translation>名稱</translation>
    </message>
    <message>
        <source>LOOP TIMES</source>
        <translation>循環次數</translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation>循環次數(1-255)</translation>
    </message>
    <message>
        <source>REPEAT RUN WHEN KEY DOWN</source>
        <translation>按住按鍵時重複執行</translation>
    </message>
    <message>
        <source>REPEAT RUN UNTILL THE KEY DOWN</source>
        <translation>重複執行直到再次按下按鍵</translation>
    </message>
</context>
<context>
    <name>KelSingleKeyWindow</name>
    <message>
        <source>Single Key</source>
        <translation>單鍵</translation>
    </message>
    <message>
        <source>PRESS THE KEY FOR THIS BUTTON</source>
        <translation>請按下要設定的按鍵</translation>
    </message>
</context>
<context>
    <name>KelSkinDialog</name>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
</context>
<context>
    <name>KelSniperWindow</name>
    <message>
        <source>Sniper Setting</source>
        <translation>狙擊鍵設定</translation>
    </message>
    <message>
        <source>DPI WHILE THE BUTTON IS HELD</source>
        <translation>按住按鍵時的 DPI</translation>
    </message>
</context>
</TS>
