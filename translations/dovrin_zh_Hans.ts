<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Dovrin::Agent::AgentActivity</name>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="103"/>
        <source>%1 is connected to Dovrin.</source>
        <comment>Toast the first time an AI app uses Dovrin</comment>
        <translation>%1 已连接到 Dovrin。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="151"/>
        <source>%1 wanted to change a note. AI access is Read only.</source>
        <translation>%1 想要更改一张便笺。AI 访问权限为“只读”。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="152"/>
        <source>%1 tried to use your notes. AI access is off.</source>
        <translation>%1 尝试使用你的便笺。AI 访问已关闭。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="234"/>
        <source>Show</source>
        <comment>Toast button</comment>
        <translation>显示</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="243"/>
        <source>Undo</source>
        <comment>Toast button</comment>
        <translation>撤销</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="246"/>
        <source>%1 Undo is in the Dovrin menu.</source>
        <comment>VoiceOver: a toast&apos;s message, then where its Undo is</comment>
        <translation>%1 可在 Dovrin 菜单中撤销。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="253"/>
        <source>%1 added a sticky.</source>
        <comment>Toast; one: “added a sticky”</comment>
        <translation>%1 添加了一张便笺。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="254"/>
        <source>%1 added %2 stickies.</source>
        <comment>Toast; one: “added a sticky”</comment>
        <translation>%1 添加了 %2 张便笺。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="265"/>
        <source>%1 edited “%2”.</source>
        <translation>%1 编辑了“%2”。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="267"/>
        <source>%1 checked off %2 items in “%3”.</source>
        <translation>%1 勾掉了“%3”中的 %2 项。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="269"/>
        <source>%1 unchecked %2 items in “%3”.</source>
        <translation>%1 取消勾选了“%3”中的 %2 项。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="271"/>
        <source>%1 added to “%2”.</source>
        <translation>%1 向“%2”添加了内容。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="272"/>
        <source>%1 changed “%2”.</source>
        <translation>%1 更改了“%2”。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="276"/>
        <source>%1 deleted “%2”.</source>
        <translation>%1 删除了“%2”。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="277"/>
        <source>%1 deleted %2 notes.</source>
        <translation>%1 删除了 %2 张便笺。</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="283"/>
        <source>Undo %1: Add Sticky</source>
        <comment>Menu bar; one: “Add Sticky”</comment>
        <translation>撤销 %1：添加便笺</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="284"/>
        <source>Undo %1: Add %2 Stickies</source>
        <comment>Menu bar; one: “Add Sticky”</comment>
        <translation>撤销 %1：添加 %2 张便笺</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="288"/>
        <source>Undo %1: Edit “%2”</source>
        <translation>撤销 %1：编辑“%2”</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="291"/>
        <source>Undo %1: Delete “%2”</source>
        <translation>撤销 %1：删除“%2”</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="292"/>
        <source>Undo %1: Delete %2 Notes</source>
        <translation>撤销 %1：删除 %2 张便笺</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="327"/>
        <source>AI access is off</source>
        <translation>AI 访问已关闭</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="329"/>
        <source>%1 used your notes · %2</source>
        <translation>%1 使用了你的便笺 · %2</translation>
    </message>
    <message>
        <location filename="../app/agent/AgentActivity.cpp" line="406"/>
        <source>Dovrin couldn&apos;t save the note. Try again.</source>
        <translation>Dovrin 无法存储这张便笺。请再试一次。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Agent::AgentTray</name>
    <message>
        <location filename="../app/agent/ui/AgentTray.cpp" line="29"/>
        <source>AI Access</source>
        <translation>AI 访问</translation>
    </message>
    <message>
        <location filename="../app/agent/ui/AgentTray.cpp" line="32"/>
        <source>Off</source>
        <comment>AI Access menu</comment>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../app/agent/ui/AgentTray.cpp" line="33"/>
        <source>Read Only</source>
        <translation>只读</translation>
    </message>
    <message>
        <location filename="../app/agent/ui/AgentTray.cpp" line="34"/>
        <source>Read &amp;&amp; Write</source>
        <translation>读写</translation>
    </message>
    <message>
        <location filename="../app/agent/ui/AgentTray.cpp" line="59"/>
        <location filename="../app/agent/ui/AgentTray.cpp" line="89"/>
        <source>Dovrin</source>
        <translation>Dovrin</translation>
    </message>
    <message>
        <location filename="../app/agent/ui/AgentTray.cpp" line="89"/>
        <source>Dovrin, AI is using your notes</source>
        <translation>Dovrin，AI 正在使用你的便笺</translation>
    </message>
</context>
<context>
    <name>Dovrin::Agent::ToastView</name>
    <message>
        <location filename="../app/agent/ui/ToastView.cpp" line="95"/>
        <location filename="../app/agent/ui/ToastView.cpp" line="96"/>
        <source>Dismiss</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::AppDelegate</name>
    <message>
        <location filename="../app/shell/AppDelegate.cpp" line="44"/>
        <source>Dovrin can’t open your notes.</source>
        <translation>Dovrin 无法打开你的便笺。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::HotKeys</name>
    <message>
        <location filename="../app/shell/HotKeys.cpp" line="27"/>
        <source>Another app uses %1.</source>
        <translation>其他应用正在使用 %1。</translation>
    </message>
    <message>
        <location filename="../app/shell/HotKeys.cpp" line="29"/>
        <source>The desktop didn’t allow %1.</source>
        <translation>桌面环境不允许使用 %1。</translation>
    </message>
    <message>
        <location filename="../app/shell/HotKeys.cpp" line="79"/>
        <source>%1 is already used for %2.</source>
        <translation>%1 已用于“%2”。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::RecentlyDeleted</name>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="33"/>
        <source>Deleted by %1</source>
        <translation>由 %1 删除</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/shell/RecentlyDeleted.cpp" line="36"/>
        <source>Deleted %1 · %n days left</source>
        <comment>Recently Deleted row: when, then the days until it is gone for good</comment>
        <translation>
            <numerusform>%1删除 · 还剩 %n 天</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="47"/>
        <source>No recently deleted notes.
Deleted notes stay here for 30 days.</source>
        <translation>没有最近删除的便笺。
删除的便笺会在这里保留 30 天。</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="48"/>
        <source>Deleted notes stay here for 30 days, then they’re gone for good.</source>
        <translation>删除的便笺会在这里保留 30 天，之后将被永久移除。</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="49"/>
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="50"/>
        <source>Recently Deleted</source>
        <translation>最近删除</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::SearchPanel</name>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="140"/>
        <source>Search notes</source>
        <translation>搜索便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="181"/>
        <source>↩ Open</source>
        <translation>↩ 打开</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="181"/>
        <source>esc Close</source>
        <translation>esc 关闭</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="309"/>
        <source>Open</source>
        <comment>Search result: the note is on screen</comment>
        <translation>已打开</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="310"/>
        <source>Closed</source>
        <comment>Search result: the note is hidden</comment>
        <translation>已关闭</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/shell/SearchPanel.cpp" line="332"/>
        <source>%n notes</source>
        <translation>
            <numerusform>%n 张便笺</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="339"/>
        <source>No notes match “%1”.</source>
        <translation>没有与“%1”匹配的便笺。</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="343"/>
        <source>No notes yet.</source>
        <translation>还没有便笺。</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="344"/>
        <source>No notes yet. Press %1 to make one.</source>
        <translation>还没有便笺。按 %1 新建一张。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::SettingsWindow</name>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="50"/>
        <source>Takes effect after Dovrin relaunches.</source>
        <translation>重新启动 Dovrin 后生效。</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="51"/>
        <source>Show in taskbar</source>
        <translation>在任务栏中显示</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="52"/>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="64"/>
        <source>Unavailable</source>
        <translation>不可用</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="68"/>
        <source>New stickies</source>
        <translation>新便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="70"/>
        <source>Default color</source>
        <translation>默认颜色</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="74"/>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="78"/>
        <source>Dovrin lives in the system tray. Turn this on to also find it in the taskbar and the window switcher.</source>
        <translation>Dovrin 位于系统托盘中。打开此选项后，也可以在任务栏和窗口切换器中找到它。</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="83"/>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="87"/>
        <source>Notes folder</source>
        <translation>便笺文件夹</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="138"/>
        <location filename="../app/shell/SettingsWindow.cpp" line="139"/>
        <source>Relaunch Dovrin to switch to %1?</source>
        <translation>要重新启动 Dovrin 以切换到%1吗？</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="141"/>
        <source>Your stickies will be right where you left them.</source>
        <translation>你的便笺会留在原来的位置。</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="142"/>
        <source>Relaunch Now</source>
        <translation>立即重新启动</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="143"/>
        <source>Later</source>
        <translation>以后</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::ShortcutRecorder</name>
    <message>
        <location filename="../app/shell/ShortcutRecorder.cpp" line="83"/>
        <source>%1 shortcut</source>
        <translation>“%1”快捷键</translation>
    </message>
    <message>
        <location filename="../app/shell/ShortcutRecorder.cpp" line="87"/>
        <source>Clear %1 shortcut</source>
        <translation>清除“%1”快捷键</translation>
    </message>
    <message>
        <location filename="../app/shell/ShortcutRecorder.cpp" line="122"/>
        <source>Recording…</source>
        <translation>正在录制…</translation>
    </message>
    <message>
        <location filename="../app/shell/ShortcutRecorder.cpp" line="124"/>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <location filename="../app/shell/ShortcutRecorder.cpp" line="201"/>
        <source>Record Shortcut</source>
        <translation>录制快捷键</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::SingleInstance</name>
    <message>
        <location filename="../app/shell/SingleInstance.cpp" line="39"/>
        <source>The path of Dovrin’s instance socket is too long (%1 bytes, at most %2): %3</source>
        <translation>Dovrin 实例套接字的路径过长（%1 字节，最多 %2 字节）：%3</translation>
    </message>
    <message>
        <location filename="../app/shell/SingleInstance.cpp" line="76"/>
        <source>Can’t open Dovrin’s instance lock %1: %2</source>
        <translation>无法打开 Dovrin 的实例锁 %1：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/SingleInstance.cpp" line="85"/>
        <source>Can’t lock %1: %2</source>
        <translation>无法锁定 %1：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/SingleInstance.cpp" line="111"/>
        <source>Can’t listen on %1: %2</source>
        <translation>无法在 %1 上监听：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/SingleInstance.cpp" line="165"/>
        <source>Dovrin is already running but did not answer within %1 s: %2</source>
        <translation>Dovrin 已在运行，但没有在 %1 秒内响应：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/SingleInstance.cpp" line="192"/>
        <source>The running Dovrin refused the request: %1</source>
        <translation>正在运行的 Dovrin 拒绝了请求：%1</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::TrayMenu</name>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="28"/>
        <source>New Sticky</source>
        <translation>新建便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="29"/>
        <source>Search Notes…</source>
        <translation>搜索便笺…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="32"/>
        <source>Recent</source>
        <translation>最近使用</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="35"/>
        <source>Bring All to Front</source>
        <translation>前置全部便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="39"/>
        <source>Recently Deleted…</source>
        <translation>最近删除…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="40"/>
        <source>Connect Your AI…</source>
        <translation>连接你的 AI…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="41"/>
        <source>Settings…</source>
        <translation>设置…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="44"/>
        <source>Quit Dovrin</source>
        <translation>退出 Dovrin</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="47"/>
        <location filename="../app/shell/TrayMenu.cpp" line="57"/>
        <source>Hide All Stickies</source>
        <translation>隐藏全部便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="57"/>
        <source>Show All Stickies</source>
        <translation>显示全部便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="87"/>
        <source>Closed</source>
        <translation>已关闭</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::FormatItem</name>
    <message>
        <location filename="../app/stickies/FormatBarModel.cpp" line="19"/>
        <source>Bold</source>
        <translation>粗体</translation>
    </message>
    <message>
        <location filename="../app/stickies/FormatBarModel.cpp" line="20"/>
        <source>Italic</source>
        <translation>斜体</translation>
    </message>
    <message>
        <location filename="../app/stickies/FormatBarModel.cpp" line="21"/>
        <source>Strikethrough</source>
        <translation>删除线</translation>
    </message>
    <message>
        <location filename="../app/stickies/FormatBarModel.cpp" line="23"/>
        <source>Code</source>
        <translation>代码</translation>
    </message>
    <message>
        <location filename="../app/stickies/FormatBarModel.cpp" line="24"/>
        <source>Link</source>
        <translation>链接</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::ImagePicker</name>
    <message>
        <location filename="../app/stickies/ImagePicker.cpp" line="33"/>
        <source>Images</source>
        <comment>File dialog filter: image files</comment>
        <translation>图片</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::LinkEditor</name>
    <message>
        <location filename="../app/stickies/LinkEditor.cpp" line="29"/>
        <source>Remove Link</source>
        <comment>Link editor: remove the link, keeping its text</comment>
        <translation>移除链接</translation>
    </message>
    <message>
        <location filename="../app/stickies/LinkEditor.cpp" line="30"/>
        <source>Cancel</source>
        <comment>Link editor: close without changing the link</comment>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../app/stickies/LinkEditor.cpp" line="31"/>
        <source>Save</source>
        <comment>Link editor: put the typed address on the text</comment>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../app/stickies/LinkEditor.cpp" line="33"/>
        <source>Paste or type a link</source>
        <comment>Link editor: the empty address field</comment>
        <translation>粘贴或输入链接</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::LinkHoverCard</name>
    <message>
        <location filename="../app/stickies/LinkHoverCard.cpp" line="19"/>
        <source>Edit</source>
        <comment>Link card: edit the link under the mouse</comment>
        <translation>编辑</translation>
    </message>
    <message>
        <location filename="../app/stickies/LinkHoverCard.cpp" line="20"/>
        <source>Copy</source>
        <comment>Link card: copy the link&apos;s address</comment>
        <translation>拷贝</translation>
    </message>
    <message>
        <location filename="../app/stickies/LinkHoverCard.cpp" line="21"/>
        <source>Remove</source>
        <comment>Link card: remove the link, keeping its text</comment>
        <translation>移除</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::NoteLinks</name>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="62"/>
        <location filename="../app/stickies/NoteLinks.cpp" line="69"/>
        <source>Dovrin</source>
        <translation>Dovrin</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="63"/>
        <source>This note isn’t on this computer.</source>
        <translation>这张便笺不在这台电脑上。</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="69"/>
        <source>That note was deleted.</source>
        <translation>那张便笺已被删除。</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="71"/>
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="72"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::SlashItem</name>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="45"/>
        <source>To-do list</source>
        <translation>待办清单</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="51"/>
        <source>Bulleted list</source>
        <translation>项目符号列表</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="57"/>
        <source>Numbered list</source>
        <translation>编号列表</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="63"/>
        <source>Heading 1</source>
        <translation>标题 1</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="69"/>
        <source>Heading 2</source>
        <translation>标题 2</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="75"/>
        <source>Heading 3</source>
        <translation>标题 3</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="81"/>
        <source>Text</source>
        <translation>正文</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="87"/>
        <source>Quote</source>
        <translation>引用</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="93"/>
        <source>Code</source>
        <translation>代码块</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="99"/>
        <source>Divider</source>
        <translation>分隔线</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenuModel.cpp" line="105"/>
        <source>Image…</source>
        <translation>图片…</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::SlashMenu</name>
    <message>
        <location filename="../app/stickies/SlashMenu.cpp" line="50"/>
        <source>No results for “%1”</source>
        <comment>Slash menu: nothing matches the typed text</comment>
        <translation>没有与“%1”匹配的结果</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenu.cpp" line="152"/>
        <source>Move</source>
        <comment>Slash menu footer: the arrow keys move the selection</comment>
        <translation>移动</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenu.cpp" line="153"/>
        <source>Insert</source>
        <comment>Slash menu footer: Return inserts the selected block</comment>
        <translation>插入</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenu.cpp" line="154"/>
        <source>esc</source>
        <comment>Slash menu footer: the Escape key</comment>
        <translation>esc</translation>
    </message>
    <message>
        <location filename="../app/stickies/SlashMenu.cpp" line="155"/>
        <source>Close</source>
        <comment>Slash menu footer: Escape closes the menu</comment>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::StickyMenu</name>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="17"/>
        <source>Color</source>
        <translation>颜色</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="28"/>
        <source>Copy Link</source>
        <translation>拷贝链接</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="30"/>
        <source>Copy as Text</source>
        <translation>拷贝为文本</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="33"/>
        <source>Float on Top</source>
        <translation>浮动在最前面</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="36"/>
        <location filename="../app/stickies/StickyMenu.cpp" line="87"/>
        <source>Collapse</source>
        <translation>折叠</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="40"/>
        <source>Delete</source>
        <extracomment>Sticky menu: move the note to Recently Deleted</extracomment>
        <translation>删除</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="42"/>
        <source>New Sticky</source>
        <translation>新建便笺</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="45"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyMenu.cpp" line="87"/>
        <source>Expand</source>
        <translation>展开</translation>
    </message>
</context>
<context>
    <name>Dovrin::Stickies::StickyViewTexts</name>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="26"/>
        <source>Sticky note, %1</source>
        <comment>VoiceOver value of a sticky window: its color</comment>
        <translation>便笺，%1</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="30"/>
        <source>floating</source>
        <comment>VoiceOver: the sticky floats on top</comment>
        <translation>浮动在最前面</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="32"/>
        <source>Collapsed</source>
        <comment>VoiceOver: the sticky is collapsed</comment>
        <translation>已折叠</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="34"/>
        <source>%1, %2</source>
        <comment>A narrow and-list of two sticky states</comment>
        <translation>%1，%2</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="38"/>
        <source>%1, %2</source>
        <comment>VoiceOver value of a sticky window: its state, then what an AI did last</comment>
        <translation>%1，%2</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="50"/>
        <source>Copy Link</source>
        <translation>拷贝链接</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="52"/>
        <source>Copy as Text</source>
        <translation>拷贝为文本</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="54"/>
        <source>Next Color</source>
        <translation>下一个颜色</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="56"/>
        <source>Float on Top</source>
        <translation>浮动在最前面</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="58"/>
        <source>Expand</source>
        <translation>展开</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="58"/>
        <source>Collapse</source>
        <translation>折叠</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="60"/>
        <source>Delete</source>
        <comment>Sticky menu: move the note to Recently Deleted</comment>
        <translation>删除</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="66"/>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="70"/>
        <source>Hides this note. Find it again in the Dovrin menu.</source>
        <translation>隐藏这张便笺。可在 Dovrin 菜单中再次找到它。</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="74"/>
        <source>New sticky</source>
        <translation>新建便笺</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="78"/>
        <source>Copied</source>
        <translation>已拷贝</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="78"/>
        <source>Copy link</source>
        <translation>拷贝链接</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="82"/>
        <source>Copies this note&apos;s link. Paste it into your AI.</source>
        <translation>拷贝这张便笺的链接，然后粘贴给你的 AI。</translation>
    </message>
    <message>
        <location filename="../app/stickies/StickyViewTexts.cpp" line="82"/>
        <source>Write something first</source>
        <translation>请先写点内容</translation>
    </message>
</context>
<context>
    <name>HotKeyAction</name>
    <message>
        <location filename="../app/shell/HotKeyAction.cpp" line="12"/>
        <source>New sticky</source>
        <comment>Settings: global shortcut name</comment>
        <translation>新建便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/HotKeyAction.cpp" line="14"/>
        <source>Search notes</source>
        <comment>Settings: global shortcut name</comment>
        <translation>搜索便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/HotKeyAction.cpp" line="16"/>
        <source>Show/Hide all stickies</source>
        <comment>Settings: global shortcut name</comment>
        <translation>显示/隐藏所有便笺</translation>
    </message>
</context>
<context>
    <name>LabelText</name>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="14"/>
        <source>Added by %1</source>
        <comment>The ✦ label on a sticky an AI created</comment>
        <translation>由 %1 添加</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="18"/>
        <source>Done by %1</source>
        <comment>The ✦ label on a sticky whose todo an AI checked off last</comment>
        <translation>由 %1 完成</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="24"/>
        <source>Edited by %1</source>
        <comment>The ✦ label on a sticky an AI edited last</comment>
        <translation>由 %1 编辑</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="32"/>
        <source>Added</source>
        <comment>The ✦ label on a sticky an AI created, while the sticky&apos;s buttons show</comment>
        <translation>已添加</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="35"/>
        <source>Done</source>
        <comment>The ✦ label on a sticky whose todo an AI checked off last, while the sticky&apos;s buttons show</comment>
        <translation>已完成</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="41"/>
        <source>Edited</source>
        <comment>The ✦ label on a sticky an AI edited last, while the sticky&apos;s buttons show</comment>
        <translation>已编辑</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="49"/>
        <source>Added by %1 · %2</source>
        <comment>Tooltip of the ✦ label</comment>
        <translation>由 %1 添加 · %2</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="52"/>
        <source>Checked off by %1 · %2</source>
        <comment>Tooltip of the ✦ label</comment>
        <translation>由 %1 勾掉 · %2</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="57"/>
        <source>Edited by %1 · %2</source>
        <comment>Tooltip of the ✦ label</comment>
        <translation>由 %1 编辑 · %2</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="65"/>
        <source>Added by %1, %2</source>
        <comment>VoiceOver: the ✦ label</comment>
        <translation>由 %1 添加，%2</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="68"/>
        <source>Checked off by %1, %2</source>
        <comment>VoiceOver: the ✦ label</comment>
        <translation>由 %1 勾掉，%2</translation>
    </message>
    <message>
        <location filename="../app/agent/LabelText.cpp" line="73"/>
        <source>Edited by %1, %2</source>
        <comment>VoiceOver: the ✦ label</comment>
        <translation>由 %1 编辑，%2</translation>
    </message>
</context>
<context>
    <name>Note</name>
    <message>
        <location filename="../app/store/Note.cpp" line="88"/>
        <source>Untitled</source>
        <translation>无标题</translation>
    </message>
</context>
<context>
    <name>RelativeTime</name>
    <message>
        <location filename="../app/core/RelativeTime.cpp" line="58"/>
        <source>just now</source>
        <translation>刚刚</translation>
    </message>
</context>
<context>
    <name>Shortcut</name>
    <message>
        <location filename="../app/shell/Shortcut.cpp" line="85"/>
        <source>Space</source>
        <comment>Key name in a keyboard shortcut</comment>
        <translation>空格</translation>
    </message>
    <message>
        <location filename="../app/shell/Shortcut.cpp" line="128"/>
        <source>Use Ctrl or Meta in the shortcut.</source>
        <translation>快捷键中请包含 Ctrl 或 Meta。</translation>
    </message>
</context>
<context>
    <name>StickyColor</name>
    <message>
        <location filename="../app/store/Note.cpp" line="36"/>
        <location filename="../app/store/Note.cpp" line="48"/>
        <source>Yellow</source>
        <translation>黄色</translation>
    </message>
    <message>
        <location filename="../app/store/Note.cpp" line="38"/>
        <source>Blue</source>
        <translation>蓝色</translation>
    </message>
    <message>
        <location filename="../app/store/Note.cpp" line="40"/>
        <source>Green</source>
        <translation>绿色</translation>
    </message>
    <message>
        <location filename="../app/store/Note.cpp" line="42"/>
        <source>Pink</source>
        <translation>粉色</translation>
    </message>
    <message>
        <location filename="../app/store/Note.cpp" line="44"/>
        <source>Purple</source>
        <translation>紫色</translation>
    </message>
    <message>
        <location filename="../app/store/Note.cpp" line="46"/>
        <source>Gray</source>
        <translation>灰色</translation>
    </message>
</context>
</TS>
