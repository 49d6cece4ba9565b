<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>KelGunsetDialog</name>
    <message>
        <source>Gun Set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GUNFILE NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BULLETS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DELAY(MS)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VERTICAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HORIZONTAL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Positive steps go down, negative steps up.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Positive steps go right, negative steps left.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Please input file name.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A macro name cannot be empty or contain / or \.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This name is too long for a macro.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelMacroItemDelegate</name>
    <message>
        <source>LEFT CLICK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MIDDLE CLICK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RIGHT CLICK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FORWARD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BACKWARD</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE LEFT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE RIGHT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Release</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>KelTreeWidget</name>
    <message>
        <source>PRESS DOWN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BOUNCE UP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DISTANCE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVEMENT</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MacroDialog</name>
    <message>
        <source>STOP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>START</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE UP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOVE DOWN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TOP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BOTTOM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CLEAR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EDIT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INSERT DELAY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>COPY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CUT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PASTE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RECORD DELAYS BETWEEN ACTION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>INSERT DEFAULT DELAY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ms</source>
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
        <source>REPEAT RUN UNTIL THE KEY DOWN</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SAVE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>KEY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ACTION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DELAY(ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro file could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ONE OR MORE KEYS HAS NOT BEEN RELEASED.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Room left on the mouse: %n step(s)</source>
        <translation>
            <numerusform>Room left on the mouse: %n step</numerusform>
            <numerusform>Room left on the mouse: %n steps</numerusform>
        </translation>
    </message>
    <message>
        <source>Default delay (ms)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Loop count</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro steps</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>No room for these steps: %n more fit this macro on the mouse.</source>
        <translation>
            <numerusform>No room for these steps: %n more fits this macro on the mouse.</numerusform>
            <numerusform>No room for these steps: %n more fit this macro on the mouse.</numerusform>
        </translation>
    </message>
    <message>
        <source>Recording: type the keys, then press STOP (or hold Esc).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Editing: press a key or type a value; Enter saves, Esc cancels.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save the changes to the macro &quot;%1&quot;?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Too long for the mouse: it plays none of it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>Too long for the mouse: it plays only the first %n row(s).</source>
        <translation>
            <numerusform>Too long for the mouse: it plays only the first row.</numerusform>
            <numerusform>Too long for the mouse: it plays only the first %n rows.</numerusform>
        </translation>
    </message>
    <message>
        <source>Press NEW to make a macro first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Deletes the selected steps</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro is full: further keys are not recorded. Press STOP.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MacroListPanel</name>
    <message>
        <source>MOUSE COMMAND</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MACRO LIST</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TOO MANY MACROS TO BE CREATE!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro file could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A macro name cannot be empty or contain / or \.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This name is too long for a macro.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro file could not be renamed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Load Macro File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro File(*.MSMACRO)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macro Exist!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro file could not be copied.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Macro File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MOUSE ACTION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BATCH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>MACRO NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CHANGE NAME</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NEW</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DELETE</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GUN SET</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IMPORT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EXPORT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Macros</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mouse commands</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 of the chosen macros were not exported: a file of that name is in the folder already, or the folder cannot be written.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The macro could not be deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Warning</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A button plays the macro &quot;%1&quot;. Delete it anyway?</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n of the chosen files were not imported: a macro of that name exists already, the name is not allowed or too long, the file cannot be copied, or the macro list is full.</source>
        <translation>
            <numerusform>%n of the chosen files was not imported: a macro of that name exists already, the name is not allowed or too long, the file cannot be copied, or the macro list is full.</numerusform>
            <numerusform>%n of the chosen files were not imported: a macro of that name exists already, the name is not allowed or too long, the file cannot be copied, or the macro list is full.</numerusform>
        </translation>
    </message>
    <message>
        <source>Deletes the selected macro</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MacroStepEditor</name>
    <message>
        <source>KEY</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DELAY(ms)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
