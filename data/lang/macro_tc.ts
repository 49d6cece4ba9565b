<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW">
<context>
    <name>KelGunsetDialog</name>
    <message>
        <source>Gun Set</source>
        <translation>壓槍設定</translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation>壓槍設定</translation>
    </message>
    <message>
        <source>GUNFILE NAME</source>
        <translation>壓槍檔名</translation>
    </message>
    <message>
        <source>BULLETS</source>
        <translation>子彈</translation>
    </message>
    <message>
        <source>DELAY(MS)</source>
        <translation>延遲(毫秒)</translation>
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
        <translation>正數向下移動，負數向上移動。</translation>
    </message>
    <message>
        <source>Positive steps go right, negative steps left.</source>
        <translation>正數向右移動，負數向左移動。</translation>
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
        <translation>請輸入檔名。</translation>
    </message>
    <message>
        <source>A macro name cannot be empty or contain / or \.</source>
        <translation>巨集名稱不能為空，也不能包含 / 或 \。</translation>
    </message>
    <message>
        <source>This name is too long for a macro.</source>
        <translation>此名稱太長，不能用作巨集名稱。</translation>
    </message>
</context>
<context>
    <name>KelMacroItemDelegate</name>
    <message>
        <source>LEFT CLICK</source>
        <translation>左鍵單擊</translation>
    </message>
    <message>
        <source>MIDDLE CLICK</source>
        <translation>中鍵單擊</translation>
    </message>
    <message>
        <source>RIGHT CLICK</source>
        <translation>右鍵單擊</translation>
    </message>
    <message>
        <source>FORWARD</source>
        <translation>前進鍵</translation>
    </message>
    <message>
        <source>BACKWARD</source>
        <translation>後退鍵</translation>
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
        <translation>釋放</translation>
    </message>
    <message>
        <source>MOVE</source>
        <translation>移動</translation>
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
        <translation>彈起</translation>
    </message>
    <message>
        <source>DISTANCE</source>
        <translation>距離</translation>
    </message>
    <message>
        <source>MOVEMENT</source>
        <translation>移動</translation>
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
        <translation>開始</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>刪除</translation>
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
        <translation>置頂</translation>
    </message>
    <message>
        <source>BOTTOM</source>
        <translation>置底</translation>
    </message>
    <message>
        <source>CLEAR</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>EDIT</source>
        <translation>編輯</translation>
    </message>
    <message>
        <source>INSERT DELAY</source>
        <translation>插入延遲</translation>
    </message>
    <message>
        <source>COPY</source>
        <translation>複製</translation>
    </message>
    <message>
        <source>CUT</source>
        <translation>剪下</translation>
    </message>
    <message>
        <source>PASTE</source>
        <translation>貼上</translation>
    </message>
    <message>
        <source>RECORD DELAYS BETWEEN ACTION</source>
        <translation>記錄動作間的延遲</translation>
    </message>
    <message>
        <source>INSERT DEFAULT DELAY</source>
        <translation>插入預設延遲</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>毫秒</translation>
    </message>
    <message>
        <source>LOOPS TIME(1-255)</source>
        <translation>循環次數(1-255)</translation>
    </message>
    <message>
        <source>REPEAT RUN WHEN KEY DOWN</source>
        <translation>按住時循環</translation>
    </message>
    <message>
        <source>REPEAT RUN UNTIL THE KEY DOWN</source>
        <translation>循環直到再次按下</translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation>儲存</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>KEY</source>
        <translation>按鍵</translation>
    </message>
    <message>
        <source>ACTION</source>
        <translation>動作</translation>
    </message>
    <message>
        <source>DELAY(ms)</source>
        <translation>延遲(毫秒)</translation>
    </message>
    <message>
        <source>The macro file could not be written.</source>
        <translation>無法寫入巨集檔案。</translation>
    </message>
    <message>
        <source>ONE OR MORE KEYS HAS NOT BEEN RELEASED.</source>
        <translation>有一個或多個按鍵尚未釋放。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message numerus="yes">
        <source>Room left on the mouse: %n step(s)</source>
        <translation>
            <numerusform>滑鼠剩餘空間：%n 步</numerusform>
        </translation>
    </message>
    <message>
        <source>Default delay (ms)</source>
        <translation>預設延時(毫秒)</translation>
    </message>
    <message>
        <source>Loop count</source>
        <translation>循環次數</translation>
    </message>
    <message>
        <source>Macro steps</source>
        <translation>巨集步驟</translation>
    </message>
    <message numerus="yes">
        <source>No room for these steps: %n more fit this macro on the mouse.</source>
        <translation>
            <numerusform>空間不足：此巨集在滑鼠上只能再放 %n 步。</numerusform>
        </translation>
    </message>
    <message>
        <source>Recording: type the keys, then press STOP (or hold Esc).</source>
        <translation>正在錄製：請按鍵，完成後按「停止」（或按住 Esc）。</translation>
    </message>
    <message>
        <source>Editing: press a key or type a value; Enter saves, Esc cancels.</source>
        <translation>正在編輯：按下按鍵或輸入數值；Enter 儲存，Esc 取消。</translation>
    </message>
    <message>
        <source>Save the changes to the macro &quot;%1&quot;?</source>
        <translation>是否儲存對巨集「%1」的變更？</translation>
    </message>
    <message>
        <source>Too long for the mouse: it plays none of it.</source>
        <translation>超出滑鼠容量：滑鼠不會播放此巨集。</translation>
    </message>
    <message numerus="yes">
        <source>Too long for the mouse: it plays only the first %n row(s).</source>
        <translation>
            <numerusform>超出滑鼠容量：滑鼠只播放前 %n 列。</numerusform>
        </translation>
    </message>
    <message>
        <source>Press NEW to make a macro first.</source>
        <translation>請先按「新增」建立一個巨集。</translation>
    </message>
    <message>
        <source>Deletes the selected steps</source>
        <translation>刪除所選步驟</translation>
    </message>
    <message>
        <source>The macro is full: further keys are not recorded. Press STOP.</source>
        <translation>巨集已滿：後續按鍵不會被錄製。請按「停止」。</translation>
    </message>
</context>
<context>
    <name>MacroListPanel</name>
    <message>
        <source>MOUSE COMMAND</source>
        <translation>滑鼠命令</translation>
    </message>
    <message>
        <source>MACRO LIST</source>
        <translation>巨集列表</translation>
    </message>
    <message>
        <source>TOO MANY MACROS TO BE CREATE!</source>
        <translation>巨集數量已達上限，無法建立！</translation>
    </message>
    <message>
        <source>The macro file could not be written.</source>
        <translation>無法寫入巨集檔案。</translation>
    </message>
    <message>
        <source>A macro name cannot be empty or contain / or \.</source>
        <translation>巨集名稱不能為空，也不能包含 / 或 \。</translation>
    </message>
    <message>
        <source>This name is too long for a macro.</source>
        <translation>此名稱太長，不能用作巨集名稱。</translation>
    </message>
    <message>
        <source>The macro file could not be renamed.</source>
        <translation>無法重新命名巨集檔案。</translation>
    </message>
    <message>
        <source>Load Macro File</source>
        <translation>載入巨集檔案</translation>
    </message>
    <message>
        <source>Macro File(*.MSMACRO)</source>
        <translation>巨集檔案(*.MSMACRO)</translation>
    </message>
    <message>
        <source>Macro Exist!</source>
        <translation>巨集已存在！</translation>
    </message>
    <message>
        <source>The macro file could not be copied.</source>
        <translation>無法複製巨集檔案。</translation>
    </message>
    <message>
        <source>Save Macro File</source>
        <translation>儲存巨集檔案</translation>
    </message>
    <message>
        <source>MOUSE ACTION</source>
        <translation>滑鼠動作</translation>
    </message>
    <message>
        <source>BATCH</source>
        <translation>批次</translation>
    </message>
    <message>
        <source>MACRO NAME</source>
        <translation>巨集名稱</translation>
    </message>
    <message>
        <source>CHANGE NAME</source>
        <translation>重新命名</translation>
    </message>
    <message>
        <source>NEW</source>
        <translation>新增</translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation>刪除</translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation>壓槍設定</translation>
    </message>
    <message>
        <source>IMPORT</source>
        <translation>匯入</translation>
    </message>
    <message>
        <source>EXPORT</source>
        <translation>匯出</translation>
    </message>
    <message>
        <source>Macros</source>
        <translation>巨集列表</translation>
    </message>
    <message>
        <source>Mouse commands</source>
        <translation>滑鼠指令</translation>
    </message>
    <message>
        <source>%1 of the chosen macros were not exported: a file of that name is in the folder already, or the folder cannot be written.</source>
        <translation>所選巨集中有 %1 個未匯出：資料夾中已有同名檔案，或該資料夾無法寫入。</translation>
    </message>
    <message>
        <source>The macro could not be deleted.</source>
        <translation>無法刪除巨集。</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>A button plays the macro &quot;%1&quot;. Delete it anyway?</source>
        <translation>有按鍵正在使用巨集「%1」。仍要刪除嗎？</translation>
    </message>
    <message numerus="yes">
        <source>%n of the chosen files were not imported: a macro of that name exists already, the name is not allowed or too long, the file cannot be copied, or the macro list is full.</source>
        <translation>
            <numerusform>所選檔案中有 %n 個未匯入：已有同名的巨集，名稱不可用或太長，檔案無法複製，或巨集列表已滿。</numerusform>
        </translation>
    </message>
    <message>
        <source>Deletes the selected macro</source>
        <translation>刪除所選巨集</translation>
    </message>
</context>
<context>
    <name>MacroStepEditor</name>
    <message>
        <source>KEY</source>
        <translation>按鍵</translation>
    </message>
    <message>
        <source>DELAY(ms)</source>
        <translation>延遲(毫秒)</translation>
    </message>
</context>
</TS>
