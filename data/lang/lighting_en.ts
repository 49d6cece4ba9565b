<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>KelColorArea</name>
    <message>
        <source>Color Edit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COLOR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hue bar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturation and value field</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>New colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Value</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Green</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hexadecimal colour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Preset colour %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hue %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saturation %1, value %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelColorWindow</name>
    <message>
        <source> MINUTE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EFFECT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BRIGHTNESS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SPEED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COLOR</source>
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
        <source>OFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FULL LIGHTED</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BREATHING</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7 COLOR BREATHING</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RAINBOW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FLASH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizontal WAVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Horizontal GO WITHOUT TRACE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raindrop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WAVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GO WITHOUT TRACE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>REACTIVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yo-yo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Marbles</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lighting effect</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
