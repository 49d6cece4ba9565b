<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>KelDPIWindow</name>
    <message>
        <source>DPI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SLEEP TIME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE TO LIGHT OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> MINUTE</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelPointSpeed</name>
    <message>
        <source>Key Response</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enable sync</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lift Distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Angle Snapping</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Jitter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eco</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Standard</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Competitive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Motion Wake</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No mouse settings of a known desktop were found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pointer speed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This desktop does not let programs set the pointer speed; set it in the desktop&apos;s own mouse settings.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelReportRate</name>
    <message>
        <source>REPORT RATE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lift off Distance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 mm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>125 HZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>250 HZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>500 HZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1000 HZ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report rate</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelSingleDPI</name>
    <message>
        <source>Link XY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI stage %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use DPI stage %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI stage %1, X and Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X %1 DPI, Y %2 DPI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X %1 DPI, Y %2 DPI; Shift with the arrow keys moves Y</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
