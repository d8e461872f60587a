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
    <name>Dovrin::Shell::AISettings</name>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="30"/>
        <source>Off</source>
        <translation>关闭</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="31"/>
        <source>Your AI can’t see or change your notes.</source>
        <translation>你的 AI 无法查看或更改你的便笺。</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="32"/>
        <source>Read only</source>
        <translation>只读</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="33"/>
        <source>Your AI can read notes but can’t change them.</source>
        <translation>你的 AI 可以读取便笺，但无法更改。</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="34"/>
        <source>Read &amp; write</source>
        <translation>读写</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="35"/>
        <source>Your AI can read, edit, create and delete notes. You can undo every change.</source>
        <translation>你的 AI 可以读取、编辑、创建和删除便笺。每项更改你都可以撤销。</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="70"/>
        <source>AI access</source>
        <translation>AI 访问权限</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="78"/>
        <source>Let AI open Dovrin</source>
        <translation>允许 AI 打开 Dovrin</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="79"/>
        <source>When Dovrin isn’t running, your AI can start it in the background.</source>
        <translation>Dovrin 未运行时，你的 AI 可以在后台启动它。</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="80"/>
        <source>Your notes stay on this computer. When your AI reads a note, it’s sent to that AI just like anything you type into it.</source>
        <translation>你的便笺保留在这台电脑上。当你的 AI 读取便笺时，便笺会发送给该 AI，就像你输入给它的任何内容一样。</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="83"/>
        <source>Connect your AI</source>
        <translation>连接你的 AI</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="84"/>
        <source>Open Setup Guide</source>
        <translation>打开设置指南</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="86"/>
        <source>Let Claude, ChatGPT and others read your stickies, check things off and add new ones.</source>
        <translation>让 Claude、ChatGPT 等读取你的便笺、勾掉事项并添加新便笺。</translation>
    </message>
    <message>
        <location filename="../app/shell/AISettings.cpp" line="88"/>
        <source>Connected AIs</source>
        <translation>已连接的 AI</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::AboutSettings</name>
    <message>
        <location filename="../app/shell/AboutSettings.cpp" line="30"/>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <location filename="../app/shell/AboutSettings.cpp" line="31"/>
        <source>Show Welcome Note</source>
        <translation>显示欢迎便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/AboutSettings.cpp" line="32"/>
        <source>Welcome note</source>
        <translation>欢迎便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/AboutSettings.cpp" line="34"/>
        <source>Unavailable</source>
        <translation>不可用</translation>
    </message>
    <message>
        <location filename="../app/shell/AboutSettings.cpp" line="36"/>
        <source>Notes folder</source>
        <translation>便笺文件夹</translation>
    </message>
    <message>
        <location filename="../app/shell/AboutSettings.cpp" line="37"/>
        <source>Copyright © 2026 The Dovrin developers.</source>
        <translation>版权所有 © 2026 Dovrin 开发者。</translation>
    </message>
    <message>
        <location filename="../app/shell/AboutSettings.cpp" line="39"/>
        <source>Acknowledgements</source>
        <translation>致谢</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::AppDelegate</name>
    <message>
        <location filename="../app/shell/AppDelegate.cpp" line="52"/>
        <source>Dovrin can’t open your notes.</source>
        <translation>Dovrin 无法打开你的便笺。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::Appcast</name>
    <message>
        <location filename="../app/shell/Appcast.cpp" line="88"/>
        <source>The update feed isn’t valid XML (line %1: %2).</source>
        <translation>更新源不是有效的 XML（第 %1 行：%2）。</translation>
    </message>
    <message>
        <location filename="../app/shell/Appcast.cpp" line="92"/>
        <source>The update feed isn’t an RSS feed.</source>
        <translation>更新源不是 RSS 源。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::ClientCard</name>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="37"/>
        <source>Connected</source>
        <comment>An AI app that starts this Dovrin</comment>
        <translation>已连接</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="157"/>
        <source>Run in a terminal:</source>
        <translation>在终端中运行：</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="158"/>
        <source>Add this to %1:</source>
        <translation>将以下内容添加到 %1：</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="162"/>
        <source>Update</source>
        <comment>Points an AI app&apos;s entry at this Dovrin</comment>
        <translation>更新</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="163"/>
        <source>Add to %1</source>
        <comment>Add to Cursor</comment>
        <translation>添加到 %1</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="164"/>
        <source>Saves a copy of %1, then adds Dovrin to it.</source>
        <translation>先保存 %1 的副本，然后将 Dovrin 添加到其中。</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="169"/>
        <source>%1 has content Dovrin can’t edit safely. Run the command instead.</source>
        <translation>%1 包含 Dovrin 无法安全编辑的内容。请改为运行命令。</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="170"/>
        <source>%1 has content Dovrin can’t edit safely. Copy the snippet into it instead.</source>
        <translation>%1 包含 Dovrin 无法安全编辑的内容。请改为将代码片段拷贝到其中。</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="172"/>
        <source>%1 starts a different dovrin-mcp. Update it to start this one.</source>
        <translation>%1 启动的是另一个 dovrin-mcp。请更新它以启动这一个。</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="181"/>
        <source>Added. Restart %1 to start using Dovrin. The old file is saved as %2.</source>
        <translation>已添加。重新启动 %1 即可开始使用 Dovrin。旧文件已保存为 %2。</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="190"/>
        <source>Couldn’t read %1: %2</source>
        <translation>无法读取 %1：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="193"/>
        <source>Couldn’t save a copy of %1, so it wasn’t changed: %2</source>
        <translation>无法保存 %1 的副本，因此未更改它：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/ClientCard.cpp" line="196"/>
        <source>Couldn’t change %1: %2</source>
        <translation>无法更改 %1：%2</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::ConnectWindow</name>
    <message>
        <location filename="../app/shell/ConnectWindow.cpp" line="60"/>
        <source>Connect your AI</source>
        <translation>连接你的 AI</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectWindow.cpp" line="69"/>
        <source>Let Claude, ChatGPT and others read your stickies, check things off and add new ones.</source>
        <translation>让 Claude、ChatGPT 等读取你的便笺、勾掉事项并添加新便笺。</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectWindow.cpp" line="71"/>
        <source>Dovrin talks to AI apps through dovrin-mcp. Add Dovrin to your app below, or copy its setup into it, then restart the app.</source>
        <translation>Dovrin 通过 dovrin-mcp 与 AI App 通信。请在下方将 Dovrin 添加到你的 App，或将其设置拷贝到 App 中，然后重新启动该 App。</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectWindow.cpp" line="79"/>
        <source>dovrin-mcp on this computer</source>
        <translation>这台电脑上的 dovrin-mcp</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectWindow.cpp" line="97"/>
        <source>AI apps</source>
        <translation>AI App</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectWindow.cpp" line="153"/>
        <source>dovrin-mcp isn’t next to Dovrin (%1).</source>
        <translation>dovrin-mcp 不在 Dovrin 旁边（%1）。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::ConnectedAIs</name>
    <message>
        <location filename="../app/shell/ConnectedAIs.cpp" line="101"/>
        <source>No AI has connected yet.</source>
        <translation>尚无 AI 连接。</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectedAIs.cpp" line="102"/>
        <source>Open Setup Guide</source>
        <translation>打开设置指南</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectedAIs.cpp" line="120"/>
        <source>Paused — AI access is off</source>
        <translation>已暂停 — AI 访问已关闭</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectedAIs.cpp" line="121"/>
        <source>Active now</source>
        <translation>正在使用</translation>
    </message>
    <message>
        <location filename="../app/shell/ConnectedAIs.cpp" line="122"/>
        <source>Last active %1</source>
        <translation>上次使用：%1</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::GeneralSettings</name>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="49"/>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="49"/>
        <source>Takes effect after Dovrin relaunches.</source>
        <translation>Dovrin 重新启动后生效。</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="51"/>
        <source>Show in taskbar</source>
        <translation>在任务栏中显示</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="52"/>
        <source>Dovrin lives in the system tray. Turn this on to also find it in the taskbar and the window switcher.</source>
        <translation>Dovrin 位于系统托盘中。打开此选项后，也可以在任务栏和窗口切换器中找到它。</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="55"/>
        <source>New stickies</source>
        <translation>新便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="56"/>
        <source>Default color</source>
        <translation>默认颜色</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="58"/>
        <source>Keyboard shortcuts</source>
        <translation>键盘快捷键</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="63"/>
        <source>Open Dovrin at login</source>
        <translation>登录时打开 Dovrin</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="112"/>
        <source>Relaunch Dovrin to switch to %1?</source>
        <translation>要重新启动 Dovrin 以切换到%1吗？</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="115"/>
        <source>Your stickies will be right where you left them.</source>
        <translation>你的便笺会留在原来的位置。</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="116"/>
        <source>Relaunch Now</source>
        <translation>立即重新启动</translation>
    </message>
    <message>
        <location filename="../app/shell/GeneralSettings.cpp" line="117"/>
        <source>Later</source>
        <translation>稍后</translation>
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
    <name>Dovrin::Shell::LanguageStep</name>
    <message>
        <location filename="../app/shell/LanguageStep.cpp" line="30"/>
        <source>Choose your language</source>
        <translation>选择你的语言</translation>
    </message>
    <message>
        <location filename="../app/shell/LanguageStep.cpp" line="49"/>
        <source>You can change this later in Dovrin Settings.</source>
        <translation>你可以稍后在 Dovrin 设置中更改。</translation>
    </message>
    <message>
        <location filename="../app/shell/LanguageStep.cpp" line="57"/>
        <source>Continue</source>
        <translation>继续</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::RecentlyDeleted</name>
    <message>
        <location filename="../app/shell/DeletedRow.cpp" line="70"/>
        <source>Delete Immediately…</source>
        <translation>立即删除…</translation>
    </message>
    <message>
        <location filename="../app/shell/DeletedRow.cpp" line="72"/>
        <source>Deleted by %1</source>
        <translation>由 %1 删除</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/shell/DeletedRow.cpp" line="74"/>
        <source>Deleted %1 · %n days left</source>
        <comment>Recently Deleted row: when, then the days until it is gone for good</comment>
        <translation>
            <numerusform>%1删除 · 还剩 %n 天</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="73"/>
        <source>No recently deleted notes.
Deleted notes stay here for 30 days.</source>
        <translation>没有最近删除的便笺。
删除的便笺会在这里保留 30 天。</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="87"/>
        <source>Delete All…</source>
        <translation>全部删除…</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/shell/RecentlyDeleted.cpp" line="92"/>
        <source>Delete all %n notes immediately?</source>
        <translation>
            <numerusform>要立即删除全部 %n 张便笺吗？</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="98"/>
        <source>Deleted notes stay here for 30 days, then they’re gone for good.</source>
        <translation>删除的便笺会在这里保留 30 天，之后将被永久移除。</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="150"/>
        <source>Delete “%1” immediately?</source>
        <translation>要立即删除“%1”吗？</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="165"/>
        <source>You can’t undo this.</source>
        <translation>此操作无法撤销。</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="166"/>
        <source>Delete</source>
        <comment>Alert button that deletes notes for good</comment>
        <translation>删除</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="168"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../app/shell/DeletedRow.cpp" line="69"/>
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message>
        <location filename="../app/shell/RecentlyDeleted.cpp" line="59"/>
        <source>Recently Deleted</source>
        <translation>最近删除</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::SearchPanel</name>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="136"/>
        <source>Search notes</source>
        <translation>搜索便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="177"/>
        <source>↩ Open</source>
        <translation>↩ 打开</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="177"/>
        <source>esc Close</source>
        <translation>esc 关闭</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="305"/>
        <source>Open</source>
        <comment>Search result: the note is on screen</comment>
        <translation>已打开</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="306"/>
        <source>Closed</source>
        <comment>Search result: the note is hidden</comment>
        <translation>已关闭</translation>
    </message>
    <message numerus="yes">
        <location filename="../app/shell/SearchPanel.cpp" line="328"/>
        <source>%n notes</source>
        <translation>
            <numerusform>%n 张便笺</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="335"/>
        <source>No notes match “%1”.</source>
        <translation>没有与“%1”匹配的便笺。</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="339"/>
        <source>No notes yet.</source>
        <translation>还没有便笺。</translation>
    </message>
    <message>
        <location filename="../app/shell/SearchPanel.cpp" line="340"/>
        <source>No notes yet. Press %1 to make one.</source>
        <translation>还没有便笺。按 %1 新建一张。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::SettingsWindow</name>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="39"/>
        <source>Settings</source>
        <translation>设置</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="43"/>
        <source>General</source>
        <comment>Settings tab</comment>
        <translation>通用</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="44"/>
        <source>AI</source>
        <comment>Settings tab</comment>
        <translation>AI</translation>
    </message>
    <message>
        <location filename="../app/shell/SettingsWindow.cpp" line="47"/>
        <source>About</source>
        <comment>Settings tab</comment>
        <translation>关于</translation>
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
    <name>Dovrin::Shell::SnippetBlock</name>
    <message>
        <location filename="../app/shell/SnippetBlock.cpp" line="25"/>
        <source>Copy</source>
        <comment>Button that copies a command or a file&apos;s content</comment>
        <translation>拷贝</translation>
    </message>
    <message>
        <location filename="../app/shell/SnippetBlock.cpp" line="112"/>
        <source>Copied</source>
        <comment>The Copy button, just after copying</comment>
        <translation>已拷贝</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::SoftwareUpdateSection</name>
    <message>
        <location filename="../app/shell/SoftwareUpdateSection.cpp" line="13"/>
        <source>Software Update</source>
        <translation>软件更新</translation>
    </message>
    <message>
        <location filename="../app/shell/SoftwareUpdateSection.cpp" line="14"/>
        <source>Automatically check for updates</source>
        <translation>自动检查更新</translation>
    </message>
    <message>
        <location filename="../app/shell/SoftwareUpdateSection.cpp" line="15"/>
        <source>Automatically download and install</source>
        <translation>自动下载并安装</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::TrayMenu</name>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="21"/>
        <source>New Sticky</source>
        <translation>新建便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="22"/>
        <source>Search Notes…</source>
        <translation>搜索便笺…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="25"/>
        <source>Recent</source>
        <translation>最近使用</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="28"/>
        <source>Bring All to Front</source>
        <translation>前置全部便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="32"/>
        <source>Recently Deleted…</source>
        <translation>最近删除…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="33"/>
        <source>Connect Your AI…</source>
        <translation>连接你的 AI…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="35"/>
        <source>Update Available…</source>
        <translation>有可用更新…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="38"/>
        <source>Check for Updates…</source>
        <translation>检查更新…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="39"/>
        <source>Settings…</source>
        <translation>设置…</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="42"/>
        <source>Quit Dovrin</source>
        <translation>退出 Dovrin</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="45"/>
        <location filename="../app/shell/TrayMenu.cpp" line="55"/>
        <source>Hide All Stickies</source>
        <translation>隐藏全部便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="55"/>
        <source>Show All Stickies</source>
        <translation>显示全部便笺</translation>
    </message>
    <message>
        <location filename="../app/shell/TrayMenu.cpp" line="89"/>
        <source>Closed</source>
        <translation>已关闭</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::UpdateDownload</name>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="44"/>
        <source>The update’s address isn’t secure: %1</source>
        <translation>更新的地址不安全：%1</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="49"/>
        <source>The update can’t be saved: “%1” isn’t a full folder path.</source>
        <translation>无法保存更新：“%1”不是完整的文件夹路径。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="62"/>
        <source>The update can’t be saved in %1: %2</source>
        <translation>无法将更新保存在 %1 中：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="89"/>
        <location filename="../app/shell/UpdateDownload.cpp" line="106"/>
        <location filename="../app/shell/UpdateDownload.cpp" line="129"/>
        <source>The update couldn’t be saved: %1</source>
        <translation>无法保存更新：%1</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="91"/>
        <source>The update couldn’t be downloaded: the server answered %1 %2.</source>
        <translation>无法下载更新：服务器返回了 %1 %2。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="96"/>
        <source>The update couldn’t be downloaded: %1</source>
        <translation>无法下载更新：%1</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="117"/>
        <source>The update feed doesn’t give the update’s size.</source>
        <translation>更新源未提供更新的大小。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="119"/>
        <source>The download is incomplete or damaged: %1 bytes were expected, %2 arrived.</source>
        <translation>下载的文件不完整或已损坏：应为 %1 字节，实际收到 %2 字节。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="123"/>
        <source>This copy of Dovrin has no key to check updates with.</source>
        <translation>此 Dovrin 副本没有用于检查更新的密钥。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="125"/>
        <source>The update isn’t signed.</source>
        <translation>更新未签名。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateDownload.cpp" line="137"/>
        <source>The update’s signature isn’t valid.</source>
        <translation>更新的签名无效。</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::UpdateWindow</name>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="45"/>
        <source>Release notes</source>
        <translation>发布说明</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="48"/>
        <source>Skip This Version</source>
        <translation>跳过此版本</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="49"/>
        <source>Remind Me Later</source>
        <translation>稍后提醒我</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="50"/>
        <source>Install Update</source>
        <translation>安装更新</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="51"/>
        <source>Show in Folder</source>
        <translation>在文件夹中显示</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="52"/>
        <source>Software Update</source>
        <translation>软件更新</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="149"/>
        <source>Checking for updates…</source>
        <translation>正在检查更新…</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="153"/>
        <source>You’re up to date!</source>
        <translation>已是最新版本！</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="154"/>
        <source>Dovrin %1 is currently the newest version available.</source>
        <translation>Dovrin %1 是当前可用的最新版本。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="157"/>
        <source>A new version of Dovrin is available!</source>
        <translation>有新版本的 Dovrin 可用！</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="158"/>
        <source>Dovrin %1 is now available—you have %2. Would you like to download it now?</source>
        <translation>Dovrin %1 现已推出，你的版本是 %2。要立即下载吗？</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="162"/>
        <source>Downloading Dovrin %1…</source>
        <translation>正在下载 Dovrin %1…</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="166"/>
        <source>Ready to install</source>
        <translation>可以安装</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="168"/>
        <source>Dovrin %1 is downloaded and verified—you have %2. Install it now?</source>
        <translation>Dovrin %1 已下载并验证，你的版本是 %2。要立即安装吗？</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="170"/>
        <source>Dovrin %1 is downloaded and verified. This copy of Dovrin doesn’t run from its installed package, so the package waits in its folder for you.</source>
        <translation>Dovrin %1 已下载并验证。此 Dovrin 副本不是从已安装的软件包运行的，因此软件包会保留在其文件夹中等你处理。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="175"/>
        <source>Installing Dovrin %1…</source>
        <translation>正在安装 Dovrin %1…</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="176"/>
        <source>Enter your password when the desktop asks for it.</source>
        <translation>桌面要求时，请输入你的密码。</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="179"/>
        <source>Update Error!</source>
        <translation>更新出错！</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="205"/>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="205"/>
        <source>OK</source>
        <translation>好</translation>
    </message>
    <message>
        <location filename="../app/shell/UpdateWindow.cpp" line="232"/>
        <source>%1 of %2</source>
        <translation>%1，共 %2</translation>
    </message>
</context>
<context>
    <name>Dovrin::Shell::Updater</name>
    <message>
        <location filename="../app/shell/Updater.cpp" line="194"/>
        <source>The update feed’s address isn’t secure: %1</source>
        <translation>更新源的地址不安全：%1</translation>
    </message>
    <message>
        <location filename="../app/shell/Updater.cpp" line="204"/>
        <source>Dovrin couldn’t check for updates: %1</source>
        <translation>Dovrin 无法检查更新：%1</translation>
    </message>
    <message>
        <location filename="../app/shell/Updater.cpp" line="305"/>
        <location filename="../app/shell/Updater.cpp" line="315"/>
        <source>The update couldn’t be installed: %1</source>
        <translation>无法安装更新：%1</translation>
    </message>
    <message>
        <location filename="../app/shell/Updater.cpp" line="316"/>
        <source>the installer ended with status %1.</source>
        <translation>安装程序以状态 %1 结束。</translation>
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
        <location filename="../app/stickies/NoteLinks.cpp" line="72"/>
        <location filename="../app/stickies/NoteLinks.cpp" line="79"/>
        <source>Dovrin</source>
        <translation>Dovrin</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="73"/>
        <source>This note isn’t on this computer.</source>
        <translation>这张便笺不在这台电脑上。</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="79"/>
        <source>That note was deleted.</source>
        <translation>那张便笺已被删除。</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="81"/>
        <source>Restore</source>
        <translation>恢复</translation>
    </message>
    <message>
        <location filename="../app/stickies/NoteLinks.cpp" line="82"/>
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
    <name>LoginItem</name>
    <message>
        <location filename="../app/shell/LoginItem.cpp" line="38"/>
        <source>Can’t create the folder %1.</source>
        <translation>无法创建文件夹 %1。</translation>
    </message>
    <message>
        <location filename="../app/shell/LoginItem.cpp" line="42"/>
        <location filename="../app/shell/LoginItem.cpp" line="48"/>
        <source>Can’t write %1: %2</source>
        <translation>无法写入 %1：%2</translation>
    </message>
    <message>
        <location filename="../app/shell/LoginItem.cpp" line="55"/>
        <source>Can’t remove %1: %2</source>
        <translation>无法移除 %1：%2</translation>
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
