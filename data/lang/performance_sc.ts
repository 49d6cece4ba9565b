<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>KelDPIWindow</name>
    <message>
        <source>DPI</source>
        <translation>DPI</translation>
    </message>
    <message>
        <source>SLEEP TIME</source>
        <translation>休眠时间</translation>
    </message>
    <message>
        <source>MOVE TO LIGHT OFF</source>
        <translation>移动时关灯</translation>
    </message>
    <message>
        <source> MINUTE</source>
        <translation> 分钟</translation>
    </message>
</context>
<context>
    <name>KelPointSpeed</name>
    <message>
        <source>Key Response</source>
        <translation>按键响应</translation>
    </message>
    <message>
        <source>Enable sync</source>
        <translation>启用同步</translation>
    </message>
    <message>
        <source>Lift Distance</source>
        <translation>静默高度</translation>
    </message>
    <message>
        <source>1mm</source>
        <translation>1mm</translation>
    </message>
    <message>
        <source>2mm</source>
        <translation>2mm</translation>
    </message>
    <message>
        <source>Mouse Setting</source>
        <translation>鼠标设置</translation>
    </message>
    <message>
        <source>Angle Snapping</source>
        <translation>直线修正</translation>
    </message>
    <message>
        <source>Jitter</source>
        <translation>抖动过滤</translation>
    </message>
    <message>
        <source>Sensor Mode</source>
        <translation>传感器模式</translation>
    </message>
    <message>
        <source>Eco</source>
        <translation>节能</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>标准</translation>
    </message>
    <message>
        <source>Competitive</source>
        <translation>竞技</translation>
    </message>
    <message>
        <source>Motion Wake</source>
        <translation>移动唤醒</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>No mouse settings of a known desktop were found.</source>
        <translation>未找到已知桌面环境的鼠标设置程序。</translation>
    </message>
    <message>
        <source>Pointer speed</source>
        <translation>指针速度</translation>
    </message>
    <message>
        <source>This desktop does not let programs set the pointer speed; set it in the desktop&apos;s own mouse settings.</source>
        <translation>此桌面不允许程序设置指针速度，请在桌面自带的鼠标设置中设置。</translation>
    </message>
</context>
<context>
    <name>KelReportRate</name>
    <message>
        <source>REPORT RATE</source>
        <translation>回报率</translation>
    </message>
    <message>
        <source>Lift off Distance</source>
        <translation>静默高度</translation>
    </message>
    <message>
        <source>1 mm</source>
        <translation>1 mm</translation>
    </message>
    <message>
        <source>2 mm</source>
        <translation>2 mm</translation>
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
        <source>Report rate</source>
        <translation>回报率</translation>
    </message>
</context>
<context>
    <name>KelSingleDPI</name>
    <message>
        <source>Link XY</source>
        <translation>XY联动</translation>
    </message>
    <message>
        <source>DPI stage %1</source>
        <translation>DPI 档位 %1</translation>
    </message>
    <message>
        <source>Use DPI stage %1</source>
        <translation>启用 DPI 档位 %1</translation>
    </message>
    <message>
        <source>DPI stage %1, X and Y</source>
        <translation>DPI 档位 %1，X 与 Y</translation>
    </message>
    <message>
        <source>X %1 DPI, Y %2 DPI</source>
        <translation>X %1 DPI，Y %2 DPI</translation>
    </message>
    <message>
        <source>X %1 DPI, Y %2 DPI; Shift with the arrow keys moves Y</source>
        <translation>X %1 DPI，Y %2 DPI；按住 Shift 用方向键调整 Y</translation>
    </message>
</context>
</TS>
