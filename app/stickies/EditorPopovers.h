#pragma once

#include "app/core/Clock.h"
#include "app/stickies/FormatBarModel.h"
#include "app/stickies/LinkEditorModel.h"
#include "app/stickies/LinkHoverModel.h"
#include "app/stickies/PopoverColors.h"
#include "app/stickies/SlashMenuModel.h"
#include "app/store/Note.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QRectF>

#include <functional>
#include <optional>

class QWebEngineView;
class QWidget;

namespace Dovrin::Stickies {

class EditorPage;
class FormatBar;
class LinkEditor;
class LinkHoverCard;
class PopoverPanel;
class SlashMenu;

// The overlays a sticky's editor page asks for: the slash menu, the format bar over a selection, the
// hover card of a link and the link editor. It holds their models, makes their windows on first use,
// places them next to the rectangles the page reports, and turns what the user picks into commands for
// the page. The overlays never take the keyboard (typing stays in the editor, which forwards the menu's
// keys), except the link editor, which hands it back to the editor when it closes. They follow the
// sticky's window when it moves and go when it hides.
class EditorPopovers final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(EditorPopovers)

public:
    // How long the hover card stays after the mouse left the link or the card.
    static constexpr qint64 hoverHideDelayMs = 400;

    // `window` is the sticky's window; `color` tells the note's colour, which the overlays take on.
    EditorPopovers(QWidget& window, std::function<Store::StickyColor()> color, Core::Clock& clock,
                   QObject* parent = nullptr);
    ~EditorPopovers() override;

    // The page the commands go to and the view that shows it; nullptr for both when the editor goes.
    void setEditor(EditorPage* page, QWebEngineView* webView);

    // Whether a page message of this type is for the overlays.
    static bool handles(const QString& type);
    void handleMessage(const QString& type, const QJsonObject& body);

    // Hides every overlay and closes the link editor: the editor is about to go, or the sticky hid.
    void closeAll();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleSlash(const QJsonObject& body);
    void handleSlashKey(const QJsonObject& body);
    void runSlashItem(const SlashItem& item);
    void handleSelection(const QJsonObject& body);
    void handleLink(const QJsonObject& body);
    void openLinkEditor(const QString& href, const QJsonValue& pageRect);
    void finishLinkEditor(const PageCommand& command);
    void linkEditorClosed();
    void scheduleHoverHide();
    void copyHoverLink();
    void pickImage();
    void runCommand(const QString& id, const QJsonObject& arg = {});

    PopoverPanel* slashPanel();
    PopoverPanel* formatPanel();
    PopoverPanel* hoverPanel();
    PopoverPanel* linkPanel();
    // Shows a panel at a y-up frame, in the note's colours.
    void present(PopoverPanel* panel, const QRectF& frame);
    static void dismiss(PopoverPanel* panel);
    std::optional<QRectF> screenRect(const QJsonValue& pageRect) const;

    QWidget& m_window;
    std::function<Store::StickyColor()> m_color;
    Core::Clock& m_clock;
    QPointer<EditorPage> m_page;
    QPointer<QWebEngineView> m_webView;
    SlashMenuModel m_slash;
    FormatBarModel m_format;
    LinkHoverModel m_hover;
    LinkEditorModel m_link;
    QPointer<PopoverPanel> m_slashPanel;
    QPointer<PopoverPanel> m_formatPanel;
    QPointer<PopoverPanel> m_hoverPanel;
    QPointer<PopoverPanel> m_linkPanel;
    QPointer<SlashMenu> m_slashMenu;
    QPointer<FormatBar> m_formatBar;
    QPointer<LinkHoverCard> m_hoverCard;
    QPointer<LinkEditor> m_linkEditor;
    // The caret of the last "slash" message, for updates that come without one.
    std::optional<QRectF> m_slashCaret;
    Core::ScheduledTask m_hoverHide;
    // Sent to the page when the link editor has closed; none means "link:cancel".
    std::optional<PageCommand> m_linkCommand;
    // While everything closes because the editor or the sticky goes, the sticky is not activated again.
    bool m_closingAll = false;
};

} // namespace Dovrin::Stickies
