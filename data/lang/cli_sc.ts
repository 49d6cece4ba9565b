<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>MousecfgCli</name>
    <message>
        <source>yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>no</source>
        <translation>否</translation>
    </message>
    <message>
        <source>cable</source>
        <translation>有线</translation>
    </message>
    <message>
        <source>receiver</source>
        <translation>接收器</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source> (receiver plugged in too)</source>
        <translation>（接收器也已插入）</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>未知</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>型号</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>电量</translation>
    </message>
    <message>
        <source>Charging</source>
        <translation>充电</translation>
    </message>
    <message>
        <source>DPI stage</source>
        <translation>DPI 档位</translation>
    </message>
    <message>
        <source>Report rate</source>
        <translation>回报率</translation>
    </message>
    <message>
        <source>Unknown option: %1</source>
        <translation>未知选项：%1</translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation>未给出命令。</translation>
    </message>
    <message>
        <source>Unknown command: %1</source>
        <translation>未知命令：%1</translation>
    </message>
    <message>
        <source>Wrong number of arguments for %1.</source>
        <translation>%1 的参数个数不对。</translation>
    </message>
    <message>
        <source>--all goes with apply only.</source>
        <translation>--all 只能与 apply 一起使用。</translation>
    </message>
    <message>
        <source>%1 needs a number from 1 to %2.</source>
        <translation>%1 需要 1 到 %2 之间的数字。</translation>
    </message>
    <message>
        <source>This DPI stage cannot be made active: the mouse has stages 1 to %1, and a stage must be switched on.</source>
        <translation>无法启用此 DPI 档位：鼠标有 1 到 %1 档，且该档位必须已开启。</translation>
    </message>
    <message>
        <source>The mouse is busy with another program; try again.</source>
        <translation>鼠标正被另一个程序使用，请重试。</translation>
    </message>
    <message>
        <source>The window did not answer; whether the command was carried out is not known.</source>
        <translation>窗口没有应答，无法确定命令是否已执行。</translation>
    </message>
    <message>
        <source>Try &apos;mousecfg-cli --help&apos; for more information.</source>
        <translation>运行“mousecfg-cli --help”查看更多信息。</translation>
    </message>
    <message>
        <source>The option %1 is given twice.</source>
        <translation>选项 %1 重复给出。</translation>
    </message>
    <message>
        <source>The folder %1 does not exist.</source>
        <translation>文件夹 %1 不存在。</translation>
    </message>
    <message>
        <source>Only profile files (.prof) and configuration files (.conf) can be exported.</source>
        <translation>只能导出配置文件（.prof）和设置文件（.conf）。</translation>
    </message>
    <message>
        <source>no mouse</source>
        <translation>没有鼠标</translation>
    </message>
    <message>
        <source>DPI %1</source>
        <translation>DPI %1</translation>
    </message>
    <message>
        <source>battery %1%</source>
        <translation>电量 %1%</translation>
    </message>
    <message>
        <source>charging</source>
        <translation>充电中</translation>
    </message>
    <message>
        <source>--follow goes with status only.</source>
        <translation>--follow 只能与 status 一起使用。</translation>
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
        <translation>用法：mousecfg-cli [--json] [--verbose] 命令 [参数]

命令：
  list                  当前连接的受支持鼠标：型号、连接方式（接收器或有线）、
                        版本号和设备路径
  status [--follow]     电量百分比和毫伏数、充电、连接、当前配置、DPI 档位
                        和回报率；加 --follow 时先输出一行，之后每次变化再输出
                        一行，直到被中断
  profile N             启用第 N 个配置（1 到 5），同时写入鼠标和已保存的设置
  dpi N                 启用第 N 个 DPI 档位，同时写入鼠标和已保存的设置
  apply [--all] [FILE]  发送自上次发送以来的更改（加 --all：全部发送）；
                        指定 FILE 时，先像 import 一样导入该文件
  export FILE           把当前配置写入 FILE.prof，或把全部设置写入 FILE.conf
  import FILE           把 .prof 导入配置库和当前配置位置，或用 .conf 替换全部
                        配置，但不发送：下次 apply 会全部发送

选项：
  --json                以 JSON 输出 list 和 status
  --verbose             在标准错误上输出程序各部分的调试信息
  -h, --help            显示本说明
  -v, --version         显示版本

窗口运行时由窗口执行这些命令；否则命令行自己打开鼠标。
退出状态：0 完成，1 被拒绝（鼠标型号不符、文件有误、名称不可用、参数错误），
2 没有鼠标应答。
</translation>
    </message>
    <message numerus="yes">
        <source>about %n h</source>
        <translation>
            <numerusform>约 %n 小时</numerusform>
        </translation>
    </message>
    <message>
        <source>Time left</source>
        <translation>剩余时间</translation>
    </message>
    <message>
        <source>(%1 left)</source>
        <translation>（剩余%1）</translation>
    </message>
    <message>
        <source>The output could not be written.</source>
        <translation>无法写出输出。</translation>
    </message>
</context>
</TS>
