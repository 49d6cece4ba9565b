<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MousecfgCli</name>
    <message>
        <source>yes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>receiver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (receiver plugged in too)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Model</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Battery</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Charging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI stage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report rate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown option: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wrong number of arguments for %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--all goes with apply only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 needs a number from 1 to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This DPI stage cannot be made active: the mouse has stages 1 to %1, and a stage must be switched on.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The mouse is busy with another program; try again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The window did not answer; whether the command was carried out is not known.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Try &apos;mousecfg-cli --help&apos; for more information.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The option %1 is given twice.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Only profile files (.prof) and configuration files (.conf) can be exported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no mouse</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>DPI %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>battery %1%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>charging</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--follow goes with status only.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Usage: mousecfg-cli [--json] [--verbose] COMMAND [ARGUMENT]

Commands:
  list                  the supported mice present: model, link (receiver or cable),
                        release number and device paths
  status [--follow]     battery level and millivolts, charging, connection, active
                        profile, DPI stage and report rate; with --follow one line
                        now and one at every change, until interrupted
  profile N             make profile slot N (1 to 5) active, on the mouse and in the
                        saved state
  dpi N                 make DPI stage N active, on the mouse and in the saved state
  apply [--all] [FILE]  send what changed since the last send (with --all: all of
                        it); with FILE, first take that file in as import does
  export FILE           write the active profile to FILE.prof, or the whole
                        configuration to FILE.conf
  import FILE           take a .prof into the library and the active slot, or a .conf
                        over all slots, without sending it: the next apply sends all

Options:
  --json                print list and status as JSON
  --verbose             print the debug messages of every part of the program on
                        standard error
  -h, --help            print this text
  -v, --version         print the version

While the window runs, it carries the commands out; otherwise the command line
opens the mouse itself. Exit status: 0 done, 1 refused (wrong model, bad file,
unsafe name, wrong argument), 2 no mouse answers.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>about %n h</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Time left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(%1 left)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The output could not be written.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
