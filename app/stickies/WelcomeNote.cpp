#include "app/stickies/WelcomeNote.h"

#include "app/stickies/NoteLinks.h"

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

struct WelcomeTexts {
    QString opening;
    QString afterConnectLink;
    QString shortcutTipBefore;
    QString shortcutTipAfter;
    QString tips;
};

// Fixed texts rather than translations: the note is the same words for everyone in one language.
WelcomeTexts welcomeTexts(Core::AppLanguage language) {
    if (language == Core::AppLanguage::simplifiedChinese)
        return {u"# 欢迎使用 Dovrin\n写下来，剩下的交给 AI。\n\n**试一试：**\n1. [连接你的 AI]("_s,
                u")，大约需要一分钟。\n2. 将指针移到这张便笺上，点按顶部的链接按钮，拷贝它的链接。\n"
                "3. 把链接粘贴给你的 AI，然后说：“把这些勾掉。”\n\n- [ ] 读一读这张便笺\n"
                "- [ ] 勾掉这个列表中的每一项\n- [ ] 在这张便笺末尾加一条关于便笺的小技巧，一句话就好\n"
                "- [ ] 帮我新建一张便笺，写上“你的 AI 向你问好”\n\n## 小贴士\n"_s,
                u"- 在任何地方按下 "_s, u" 即可新建便笺。\n"_s,
                u"- 输入 / 可添加标题、待办事项等。\n- 右键点按可使用颜色、“浮动在最前面”和“拷贝为文本”。\n"
                "- 点按 × 会隐藏便笺，可在 Dovrin 菜单中再次找到它。\n- [登录时打开 Dovrin]("_s};
    return {
        u"# Welcome to Dovrin\nWrite it down. Your AI gets it done.\n\n**Try it:**\n1. [Connect your AI]("_s,
        u"). It takes about a minute.\n2. Hover over this note and click the link button at the top to copy "
        "its link.\n3. Paste the link into your AI and say: \"Check these off.\"\n\n- [ ] Read this note\n"
        "- [ ] Check off each item on this list\n- [ ] Add a one-line tip about sticky notes at the end of "
        "this note\n- [ ] Make me a new sticky that says \"Hello from your AI\"\n\n## Good to know\n"_s,
        u"- Press "_s, u" anywhere for a new sticky.\n"_s,
        u"- Type / for headings, to-dos and more.\n- Right-click for colors, Float on Top and Copy as Text.\n"
        "- × hides a note. Find it again in the Dovrin menu.\n- [Open Dovrin when I log in]("_s};
}

} // namespace

QString welcomeMarkdown(Core::AppLanguage language, const QString& newStickyShortcut) {
    const WelcomeTexts texts = welcomeTexts(language);
    QString markdown = texts.opening + QLatin1StringView(connectLink) + texts.afterConnectLink;
    if (!newStickyShortcut.isEmpty())
        markdown += texts.shortcutTipBefore + newStickyShortcut + texts.shortcutTipAfter;
    return markdown + texts.tips + QLatin1StringView(openAtLoginLink) + u")\n"_s;
}

QRectF welcomeFrame(const QRectF& visibleFrame) {
    constexpr double width = 300;
    constexpr double height = 400;
    // y-up: the frame's top edge is at y + height.
    const double top = visibleFrame.y() + visibleFrame.height();
    return {visibleFrame.center().x() - width / 2, top - visibleFrame.height() / 3 - height / 2, width,
            height};
}

} // namespace Dovrin::Stickies
