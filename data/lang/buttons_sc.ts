<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>ButtonCatalogue</name>
    <message>
        <source>Left</source>
        <translation>左键</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右键</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>中键</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>前进</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>后退</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>All</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>查找</translation>
    </message>
    <message>
        <source>New</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>打印</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>Switch Window</source>
        <translation>切换窗口</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>关闭窗口</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>我的电脑</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>运行</translation>
    </message>
    <message>
        <source>Show Desktop</source>
        <translation>显示桌面</translation>
    </message>
    <message>
        <source>Lock PC</source>
        <translation>锁定电脑</translation>
    </message>
    <message>
        <source>Browser Home</source>
        <translation>浏览器主页</translation>
    </message>
    <message>
        <source>Browser Backward</source>
        <translation>浏览器后退</translation>
    </message>
    <message>
        <source>Browser Forward</source>
        <translation>浏览器前进</translation>
    </message>
    <message>
        <source>Browser Stop</source>
        <translation>浏览器停止</translation>
    </message>
    <message>
        <source>Browser Refresh</source>
        <translation>浏览器刷新</translation>
    </message>
    <message>
        <source>Browser Search</source>
        <translation>浏览器搜索</translation>
    </message>
    <message>
        <source>Browser Favorite</source>
        <translation>浏览器收藏夹</translation>
    </message>
    <message>
        <source>Mail</source>
        <translation>邮件</translation>
    </message>
    <message>
        <source>Boss Key</source>
        <translation>老板键</translation>
    </message>
    <message>
        <source>SINGLE KEY</source>
        <translation>单键</translation>
    </message>
    <message>
        <source>COMBO KEY</source>
        <translation>组合键</translation>
    </message>
    <message>
        <source>FIRE KEY</source>
        <translation>连发键</translation>
    </message>
    <message>
        <source>Play/Pause</source>
        <translation>播放/暂停</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Previous Track</source>
        <translation>上一曲</translation>
    </message>
    <message>
        <source>Next Track</source>
        <translation>下一曲</translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation>音量加</translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation>音量减</translation>
    </message>
    <message>
        <source>Mute</source>
        <translation>静音</translation>
    </message>
    <message>
        <source>Media Player</source>
        <translation>媒体播放器</translation>
    </message>
    <message>
        <source>DPI Switch</source>
        <translation>DPI 切换</translation>
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
        <translation>回报率切换</translation>
    </message>
    <message>
        <source>Rate +</source>
        <translation>回报率 +</translation>
    </message>
    <message>
        <source>Rate -</source>
        <translation>回报率 -</translation>
    </message>
    <message>
        <source>Profile +</source>
        <translation>配置 +</translation>
    </message>
    <message>
        <source>Profile -</source>
        <translation>配置 -</translation>
    </message>
    <message>
        <source>Profile Switch</source>
        <translation>配置切换</translation>
    </message>
    <message>
        <source>SNIPER</source>
        <translation>狙击键</translation>
    </message>
    <message>
        <source>Macro Manager</source>
        <translation>宏管理</translation>
    </message>
    <message>
        <source>GunFile Manager</source>
        <translation>枪械文件管理</translation>
    </message>
    <message>
        <source>Led Switch</source>
        <translation>灯光切换</translation>
    </message>
    <message>
        <source>Button Off</source>
        <translation>禁用按键</translation>
    </message>
    <message>
        <source>Scroll Up</source>
        <translation>滚轮向上</translation>
    </message>
    <message>
        <source>Scroll Down</source>
        <translation>滚轮向下</translation>
    </message>
    <message>
        <source>Basic</source>
        <translation>基本功能</translation>
    </message>
    <message>
        <source>Windows</source>
        <translation>Windows 快捷键</translation>
    </message>
    <message>
        <source>Advance</source>
        <translation>高级</translation>
    </message>
    <message>
        <source>Media</source>
        <translation>多媒体</translation>
    </message>
    <message>
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message>
        <source>Polling Rate</source>
        <translation>回报率</translation>
    </message>
    <message>
        <source>Profile Menu</source>
        <translation>配置</translation>
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
        <translation>左键不能设置为枪械功能。</translation>
    </message>
    <message>
        <source>GUNFILE SELECT</source>
        <translation>选择枪械文件</translation>
    </message>
    <message>
        <source>MACRO SELECT</source>
        <translation>选择宏</translation>
    </message>
    <message>
        <source>THE FILE HAS MORE THAN 63 STEPS: THE BUTTON KEEPS THE FIRST 63.</source>
        <translation>文件超过 63 步：按键只保留前 63 步。</translation>
    </message>
    <message>
        <source>THE MACRO DOES NOT FIT THE MOUSE: IT PLAYS ITS FIRST %1 STEPS.</source>
        <translation>宏超出鼠标容量：只播放前 %1 步。</translation>
    </message>
    <message>
        <source>Wheel up</source>
        <translation>滚轮向上</translation>
    </message>
    <message>
        <source>Wheel down</source>
        <translation>滚轮向下</translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation>按键 %1</translation>
    </message>
    <message>
        <source>The macro &quot;%1&quot; no longer exists.</source>
        <translation>宏“%1”已不存在。</translation>
    </message>
</context>
<context>
    <name>KelComboKeyWindow</name>
    <message>
        <source>Combo Key</source>
        <translation>组合键</translation>
    </message>
    <message>
        <source>HOLD THE MODIFIERS, THEN PRESS THE KEY</source>
        <translation>按住修饰键，再按下按键</translation>
    </message>
</context>
<context>
    <name>KelFireKeyWindow</name>
    <message>
        <source>FireKey Setting</source>
        <translation>连发键设置</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>左键</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>右键</translation>
    </message>
    <message>
        <source>Middle</source>
        <translation>中键</translation>
    </message>
    <message>
        <source>Keyboard Key</source>
        <translation>键盘按键</translation>
    </message>
    <message>
        <source>Times:</source>
        <translation>次数：</translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation>间隔：</translation>
    </message>
</context>
<context>
    <name>KelMacroSelect</name>
    <message>
        <source>NAME</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>LOOP TIMES</source>
        <translation>循环次数</translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation>循环次数(1-255)</translation>
    </message>
    <message>
        <source>REPEAT RUN WHEN KEY DOWN</source>
        <translation>按住按键时重复执行</translation>
    </message>
    <message>
        <source>REPEAT RUN UNTILL THE KEY DOWN</source>
        <translation>重复执行直到再次按下按键</translation>
    </message>
</context>
<context>
    <name>KelSingleKeyWindow</name>
    <message>
        <source>Single Key</source>
        <translation>单键</translation>
    </message>
    <message>
        <source>PRESS THE KEY FOR THIS BUTTON</source>
        <translation>请按下要设置的按键</translation>
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
        <translation>狙击键设置</translation>
    </message>
    <message>
        <source>DPI WHILE THE BUTTON IS HELD</source>
        <translation>按住按键时的 DPI</translation>
    </message>
</context>
</TS>
