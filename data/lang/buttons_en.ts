<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ButtonCatalogue</name>
    <message>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Middle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Back</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copy</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Paste</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Print</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Switch Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Run</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lock PC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser Home</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser Backward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser Forward</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser Refresh</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browser Favorite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Boss Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SINGLE KEY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COMBO KEY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FIRE KEY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Play/Pause</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Previous Track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Next Track</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Volume Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media Player</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI Switch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rate Switch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rate +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rate -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile +</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile -</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile Switch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SNIPER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GunFile Manager</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Led Switch</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll Up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Scroll Down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Basic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Windows</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Advance</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Polling Rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Profile Menu</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelBtnWindow</name>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left Button Can not be Gun Function.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GUNFILE SELECT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MACRO SELECT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>THE FILE HAS MORE THAN 63 STEPS: THE BUTTON KEEPS THE FIRST 63.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>THE MACRO DOES NOT FIT THE MOUSE: IT PLAYS ITS FIRST %1 STEPS.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wheel up</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wheel down</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Button %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro &quot;%1&quot; no longer exists.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelComboKeyWindow</name>
    <message>
        <source>Combo Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HOLD THE MODIFIERS, THEN PRESS THE KEY</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelFireKeyWindow</name>
    <message>
        <source>FireKey Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Middle</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Keyboard Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Times:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Delay:</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelMacroSelect</name>
    <message>
        <source>NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOOP TIMES</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REPEAT RUN WHEN KEY DOWN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REPEAT RUN UNTILL THE KEY DOWN</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelSingleKeyWindow</name>
    <message>
        <source>Single Key</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PRESS THE KEY FOR THIS BUTTON</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelSkinDialog</name>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelSniperWindow</name>
    <message>
        <source>Sniper Setting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI WHILE THE BUTTON IS HELD</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
