<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>KelColorArea</name>
    <message>
        <source>Color Edit</source>
        <translation>顏色編輯</translation>
    </message>
    <message>
        <source>COLOR</source>
        <translation>顏色</translation>
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
        <source>Hue bar</source>
        <translation>色相條</translation>
    </message>
    <message>
        <source>Saturation and value field</source>
        <translation>飽和度與明度區</translation>
    </message>
    <message>
        <source>New colour</source>
        <translation>新顏色</translation>
    </message>
    <message>
        <source>Hue</source>
        <translation>色相</translation>
    </message>
    <message>
        <source>Saturation</source>
        <translation>飽和度</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>明度</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>紅</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>綠</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>藍</translation>
    </message>
    <message>
        <source>Hexadecimal colour</source>
        <translation>十六進位顏色</translation>
    </message>
    <message>
        <source>Preset colour %1</source>
        <translation>預設顏色 %1</translation>
    </message>
    <message>
        <source>Hue %1</source>
        <translation>色相 %1</translation>
    </message>
    <message>
        <source>Saturation %1, value %2</source>
        <translation>飽和度 %1，明度 %2</translation>
    </message>
</context>
<context>
    <name>KelColorWindow</name>
    <message>
        <source> MINUTE</source>
        <translation> 分鐘</translation>
    </message>
    <message>
        <source>EFFECT</source>
        <translation>燈效</translation>
    </message>
    <message>
        <source>BRIGHTNESS</source>
        <translation>亮度</translation>
    </message>
    <message>
        <source>SPEED</source>
        <translation>速度</translation>
    </message>
    <message>
        <source>COLOR</source>
        <translation>顏色</translation>
    </message>
    <message>
        <source>SLEEP TIME</source>
        <translation>休眠時間</translation>
    </message>
    <message>
        <source>MOVE TO LIGHT OFF</source>
        <translation>移動時關燈</translation>
    </message>
    <message>
        <source>OFF</source>
        <translation>關閉</translation>
    </message>
    <message>
        <source>FULL LIGHTED</source>
        <translation>恆亮</translation>
    </message>
    <message>
        <source>BREATHING</source>
        <translation>呼吸</translation>
    </message>
    <message>
        <source>7 COLOR BREATHING</source>
        <translation>七彩呼吸</translation>
    </message>
    <message>
        <source>RAINBOW</source>
        <translation>彩虹</translation>
    </message>
    <message>
        <source>FLASH</source>
        <translation>閃爍</translation>
    </message>
    <message>
        <source>Horizontal WAVE</source>
        <translation>橫向波浪</translation>
    </message>
    <message>
        <source>Horizontal GO WITHOUT TRACE</source>
        <translation>橫向踏雪無痕</translation>
    </message>
    <message>
        <source>Raindrop</source>
        <translation>雨滴</translation>
    </message>
    <message>
        <source>WAVE</source>
        <translation>波浪</translation>
    </message>
    <message>
        <source>GO WITHOUT TRACE</source>
        <translation>踏雪無痕</translation>
    </message>
    <message>
        <source>REACTIVE</source>
        <translation>觸發</translation>
    </message>
    <message>
        <source>yo-yo</source>
        <translation>溜溜球</translation>
    </message>
    <message>
        <source>Marbles</source>
        <translation>彈珠</translation>
    </message>
    <message>
        <source>Lighting effect</source>
        <translation>燈效</translation>
    </message>
</context>
</TS>
