<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>KelGunsetDialog</name>
    <message>
        <source>Gun Set</source>
        <translation>压枪设置</translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation>压枪设置</translation>
    </message>
    <message>
        <source>GUNFILE NAME</source>
        <translation>压枪文件名</translation>
    </message>
    <message>
        <source>BULLETS</source>
        <translation>子弹</translation>
    </message>
    <message>
        <source>DELAY(MS)</source>
        <translation>延时(毫秒)</translation>
    </message>
    <message>
        <source>VERTICAL</source>
        <translation>垂直</translation>
    </message>
    <message>
        <source>HORIZONTAL</source>
        <translation>水平</translation>
    </message>
    <message>
        <source>Positive steps go down, negative steps up.</source>
        <translation>正数向下移动，负数向上移动。</translation>
    </message>
    <message>
        <source>Positive steps go right, negative steps left.</source>
        <translation>正数向右移动，负数向左移动。</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>Please input file name.</source>
        <translation>请输入文件名。</translation>
    </message>
    <message>
        <source>A macro name cannot be empty or contain / or \.</source>
        <translation>宏名称不能为空，也不能包含 / 或 \。</translation>
    </message>
    <message>
        <source>This name is too long for a macro.</source>
        <translation>此名称太长，不能用作宏名称。</translation>
    </message>
</context>
<context>
    <name>KelMacroItemDelegate</name>
    <message>
        <source>LEFT CLICK</source>
        <translation>左键单击</translation>
    </message>
    <message>
        <source>MIDDLE CLICK</source>
        <translation>中键单击</translation>
    </message>
    <message>
        <source>RIGHT CLICK</source>
        <translation>右键单击</translation>
    </message>
    <message>
        <source>FORWARD</source>
        <translation>前进键</translation>
    </message>
    <message>
        <source>BACKWARD</source>
        <translation>后退键</translation>
    </message>
    <message>
        <source>MOVE LEFT</source>
        <translation>左移</translation>
    </message>
    <message>
        <source>MOVE RIGHT</source>
        <translation>右移</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Press</source>
        <translation>按下</translation>
    </message>
    <message>
        <source>Release</source>
        <translation>释放</translation>
    </message>
    <message>
        <source>MOVE</source>
        <translation>移动</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 毫秒</translation>
    </message>
</context>
<context>
    <name>KelTreeWidget</name>
    <message>
        <source>PRESS DOWN</source>
        <translation>按下</translation>
    </message>
    <message>
        <source>BOUNCE UP</source>
        <translation>弹起</translation>
    </message>
    <message>
        <source>DISTANCE</source>
        <translation>距离</translation>
    </message>
    <message>
        <source>MOVEMENT</source>
        <translation>移动</translation>
    </message>
</context>
<context>
    <name>MacroDialog</name>
    <message>
        <source>STOP</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>START</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>TOP</source>
        <translation>置顶</translation>
    </message>
    <message>
        <source>BOTTOM</source>
        <translation>置底</translation>
    </message>
    <message>
        <source>CLEAR</source>
        <translation>清空</translation>
    </message>
    <message>
        <source>EDIT</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>INSERT DELAY</source>
        <translation>插入延时</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>CUT</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>PASTE</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>RECORD DELAYS BETWEEN ACTION</source>
        <translation>记录动作间的延时</translation>
    </message>
    <message>
        <source>INSERT DEFAULT DELAY</source>
        <translation>插入默认延时</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>毫秒</translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation>循环次数(1-255)</translation>
    </message>
    <message>
        <source>REPEAT RUN WHEN KEY DOWN</source>
        <translation>按住时循环</translation>
    </message>
    <message>
        <source>REPEAT RUN UNTIL THE KEY DOWN</source>
        <translation>循环直到再次按下</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>KEY</source>
        <translation>按键</translation>
    </message>
    <message>
        <source>ACTION</source>
        <translation>动作</translation>
    </message>
    <message>
        <source>DELAY(ms)</source>
        <translation>延时(毫秒)</translation>
    </message>
    <message>
        <source>The macro file could not be written.</source>
        <translation>无法写入宏文件。</translation>
    </message>
    <message>
        <source>ONE OR MORE KEYS HAS NOT BEEN RELEASED.</source>
        <translation>有一个或多个按键尚未释放。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message numerus="yes">
        <source>Room left on the mouse: %n step(s)</source>
        <translation>
            <numerusform>鼠标剩余空间：%n 步</numerusform>
        </translation>
    </message>
    <message>
        <source>Default delay (ms)</source>
        <translation>默认延时(毫秒)</translation>
    </message>
    <message>
        <source>Loop count</source>
        <translation>循环次数</translation>
    </message>
    <message>
        <source>Macro steps</source>
        <translation>宏步骤</translation>
    </message>
    <message numerus="yes">
        <source>No room for these steps: %n more fit this macro on the mouse.</source>
        <translation>
            <numerusform>空间不足：此宏在鼠标上只能再放 %n 步。</numerusform>
        </translation>
    </message>
    <message>
        <source>Recording: type the keys, then press STOP (or hold Esc).</source>
        <translation>正在录制：请按键，完成后按“停止”（或按住 Esc）。</translation>
    </message>
    <message>
        <source>Editing: press a key or type a value; Enter saves, Esc cancels.</source>
        <translation>正在编辑：按下按键或输入数值；Enter 保存，Esc 取消。</translation>
    </message>
    <message>
        <source>Save the changes to the macro &quot;%1&quot;?</source>
        <translation>是否保存对宏“%1”的更改？</translation>
    </message>
    <message>
        <source>Too long for the mouse: it plays none of it.</source>
        <translation>超出鼠标容量：鼠标不会播放此宏。</translation>
    </message>
    <message numerus="yes">
        <source>Too long for the mouse: it plays only the first %n row(s).</source>
        <translation>
            <numerusform>超出鼠标容量：鼠标只播放前 %n 行。</numerusform>
        </translation>
    </message>
    <message>
        <source>Press NEW to make a macro first.</source>
        <translation>请先按“新建”创建一个宏。</translation>
    </message>
    <message>
        <source>Deletes the selected steps</source>
        <translation>删除所选步骤</translation>
    </message>
    <message>
        <source>The macro is full: further keys are not recorded. Press STOP.</source>
        <translation>宏已满：后续按键不会被录制。请按“停止”。</translation>
    </message>
</context>
<context>
    <name>MacroListPanel</name>
    <message>
        <source>MOUSE COMMAND</source>
        <translation>鼠标命令</translation>
    </message>
    <message>
        <source>MACRO LIST</source>
        <translation>宏列表</translation>
    </message>
    <message>
        <source>TOO MANY MACROS TO BE CREATE!</source>
        <translation>宏数量已达上限，无法创建！</translation>
    </message>
    <message>
        <source>The macro file could not be written.</source>
        <translation>无法写入宏文件。</translation>
    </message>
    <message>
        <source>A macro name cannot be empty or contain / or \.</source>
        <translation>宏名称不能为空，也不能包含 / 或 \。</translation>
    </message>
    <message>
        <source>This name is too long for a macro.</source>
        <translation>此名称太长，不能用作宏名称。</translation>
    </message>
    <message>
        <source>The macro file could not be renamed.</source>
        <translation>无法重命名宏文件。</translation>
    </message>
    <message>
        <source>Load Macro File</source>
        <translation>载入宏文件</translation>
    </message>
    <message>
        <source>Macro File(*.MSMACRO)</source>
        <translation>宏文件(*.MSMACRO)</translation>
    </message>
    <message>
        <source>Macro Exist!</source>
        <translation>宏已存在！</translation>
    </message>
    <message>
        <source>The macro file could not be copied.</source>
        <translation>无法复制宏文件。</translation>
    </message>
    <message>
        <source>Save Macro File</source>
        <translation>保存宏文件</translation>
    </message>
    <message>
        <source>MOUSE ACTION</source>
        <translation>鼠标动作</translation>
    </message>
    <message>
        <source>BATCH</source>
        <translation>批量</translation>
    </message>
    <message>
        <source>MACRO NAME</source>
        <translation>宏名称</translation>
    </message>
    <message>
        <source>CHANGE NAME</source>
        <translation>重命名</translation>
    </message>
    <message>
        <source>NEW</source>
        <translation>新建</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation>压枪设置</translation>
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
        <source>Macros</source>
        <translation>宏列表</translation>
    </message>
    <message>
        <source>Mouse commands</source>
        <translation>鼠标指令</translation>
    </message>
    <message>
        <source>%1 of the chosen macros were not exported: a file of that name is in the folder already, or the folder cannot be written.</source>
        <translation>所选宏中有 %1 个未导出：文件夹中已有同名文件，或该文件夹无法写入。</translation>
    </message>
    <message>
        <source>The macro could not be deleted.</source>
        <translation>无法删除宏。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>A button plays the macro &quot;%1&quot;. Delete it anyway?</source>
        <translation>有按键正在使用宏“%1”。仍要删除吗？</translation>
    </message>
    <message numerus="yes">
        <source>%n of the chosen files were not imported: a macro of that name exists already, the name is not allowed or too long, the file cannot be copied, or the macro list is full.</source>
        <translation>
            <numerusform>所选文件中有 %n 个未导入：已有同名的宏，名称不可用或太长，文件无法复制，或宏列表已满。</numerusform>
        </translation>
    </message>
    <message>
        <source>Deletes the selected macro</source>
        <translation>删除所选宏</translation>
    </message>
</context>
<context>
    <name>MacroStepEditor</name>
    <message>
        <source>KEY</source>
        <translation>按键</translation>
    </message>
    <message>
        <source>DELAY(ms)</source>
        <translation>延时(毫秒)</translation>
    </message>
</context>
</TS>
