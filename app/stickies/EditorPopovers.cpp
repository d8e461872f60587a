#include "app/stickies/EditorPopovers.h"

#include "app/core/Log.h"
#include "app/stickies/EditorPage.h"
#include "app/stickies/EditorScripts.h"
#include "app/stickies/FormatBar.h"
#include "app/stickies/ImagePicker.h"
#include "app/stickies/LinkEditor.h"
#include "app/stickies/LinkHoverCard.h"
#include "app/stickies/PopoverPanel.h"
#include "app/stickies/PopoverPlacement.h"
#include "app/stickies/SlashMenu.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QJsonArray>
#include <QLineEdit>
#include <QMimeData>
#include <QMoveEvent>
#include <QUrl>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

void logFailedCall(const ScriptResult& result) {
    if (!result)
        qCWarning(Core::stickiesLog, "editor call failed: %s", qUtf8Printable(result.error().description));
}

} // namespace

EditorPopovers::EditorPopovers(QWidget& window, std::function<Store::StickyColor()> color, Core::Clock& clock,
                               QObject* parent)
    : QObject(parent), m_window(window), m_color(std::move(color)), m_clock(clock) {
    m_window.installEventFilter(this);
}

EditorPopovers::~EditorPopovers() {
    m_window.removeEventFilter(this);
    // The windows are the sticky's children; they go now, quietly, before the sticky does.
    for (PopoverPanel* panel :
         {m_slashPanel.get(), m_formatPanel.get(), m_hoverPanel.get(), m_linkPanel.get()}) {
        if (panel) {
            disconnect(panel, nullptr, this, nullptr);
            delete panel;
        }
    }
}

void EditorPopovers::setEditor(EditorPage* page, QWebEngineView* webView) {
    m_page = page;
    m_webView = webView;
}

bool EditorPopovers::handles(const QString& type) {
    return type == "slash"_L1 || type == "slashKey"_L1 || type == "selection"_L1 || type == "link"_L1;
}

void EditorPopovers::handleMessage(const QString& type, const QJsonObject& body) {
    if (type == "slash"_L1)
        handleSlash(body);
    else if (type == "slashKey"_L1)
        handleSlashKey(body);
    else if (type == "selection"_L1)
        handleSelection(body);
    else if (type == "link"_L1)
        handleLink(body);
}

void EditorPopovers::closeAll() {
    m_hoverHide.reset();
    m_closingAll = true;
    for (PopoverPanel* panel :
         {m_slashPanel.get(), m_formatPanel.get(), m_hoverPanel.get(), m_linkPanel.get()})
        dismiss(panel);
    m_closingAll = false;
}

// Slash menu

void EditorPopovers::handleSlash(const QJsonObject& body) {
    if (body.value("state"_L1).toString() == "close"_L1) {
        dismiss(m_slashPanel);
        m_slashCaret.reset();
        return;
    }
    m_slash.setQuery(body.value("query"_L1).toString());
    if (const std::optional<QRectF> caret = screenRect(body.value("rect"_L1)))
        m_slashCaret = caret;
    if (!m_slashCaret)
        return;
    PopoverPanel* panel = slashPanel();
    present(panel, PopoverPlacement::slashMenuFrame(*m_slashCaret, panel->fittingSize(),
                                                    PopoverPlacement::visibleFrame(m_window)));
}

void EditorPopovers::handleSlashKey(const QJsonObject& body) {
    const QString key = body.value("key"_L1).toString();
    if (key == "up"_L1) {
        m_slash.move(-1);
    } else if (key == "down"_L1) {
        m_slash.move(+1);
    } else if (key == "enter"_L1) {
        if (const SlashItem* item = m_slash.selectedItem())
            runSlashItem(*item);
        else
            runCommand(u"slash:close"_s);
    } else {
        dismiss(m_slashPanel);
    }
}

void EditorPopovers::runSlashItem(const SlashItem& item) {
    // The item is copied: closing the menu may change the matches it came from.
    const SlashItem chosen = item;
    dismiss(m_slashPanel);
    runCommand(chosen.id);
    if (chosen.id == "image"_L1)
        pickImage();
}

void EditorPopovers::pickImage() {
    ImagePicker::open(&m_window, [self = QPointer(this)](const QString& path) {
        if (!self)
            return;
        self->m_window.raise();
        self->m_window.activateWindow();
        if (self->m_webView)
            self->m_webView->setFocus(Qt::OtherFocusReason);
        const auto arguments = ImagePicker::insertArguments(path);
        if (!arguments) {
            qCWarning(Core::stickiesLog, "image pick failed: %s", qUtf8Printable(arguments.error()));
            return;
        }
        if (!self->m_page) {
            qCWarning(Core::stickiesLog, "image pick failed: %s", "the editor is gone");
            return;
        }
        self->m_page->call(EditorScripts::insertImageFile, *arguments, self, [](const ScriptResult& result) {
            if (!result)
                qCWarning(Core::stickiesLog, "image pick failed: %s",
                          qUtf8Printable(result.error().description));
        });
    });
}

// Format bar

void EditorPopovers::handleSelection(const QJsonObject& body) {
    const std::optional<QRectF> rect = screenRect(body.value("rect"_L1));
    if (!rect) {
        dismiss(m_formatPanel);
        return;
    }
    QStringList marks;
    for (const QJsonValue& mark : body.value("marks"_L1).toArray())
        marks.append(mark.toString());
    m_format.setMarks(marks);
    PopoverPanel* panel = formatPanel();
    present(panel, PopoverPlacement::overlayFrame(*rect, panel->fittingSize(),
                                                  PopoverPlacement::visibleFrame(m_window)));
}

// Link hover card and link editor

void EditorPopovers::handleLink(const QJsonObject& body) {
    const QString mode = body.value("mode"_L1).toString();
    if (mode == "edit"_L1) {
        dismiss(m_formatPanel);
        m_hoverHide.reset();
        dismiss(m_hoverPanel);
        openLinkEditor(body.value("href"_L1).toString(), body.value("rect"_L1));
    } else if (mode == "hover"_L1) {
        m_hoverHide.reset();
        m_hover.setLink(body.value("href"_L1).toString(), body.value("pos"_L1).toInteger());
        const std::optional<QRectF> rect = screenRect(body.value("rect"_L1));
        if (!rect)
            return;
        PopoverPanel* panel = hoverPanel();
        present(panel, PopoverPlacement::overlayFrame(*rect, panel->fittingSize(),
                                                      PopoverPlacement::visibleFrame(m_window)));
    } else {
        scheduleHoverHide();
    }
}

void EditorPopovers::scheduleHoverHide() {
    m_hoverHide.start(m_clock, hoverHideDelayMs, [this] { dismiss(m_hoverPanel); });
}

void EditorPopovers::copyHoverLink() {
    auto* data = new QMimeData();
    data->setText(m_hover.href());
    // As text/uri-list too, for applications that take a dropped or pasted link.
    if (const QUrl url(m_hover.href()); url.isValid() && !url.isEmpty())
        data->setUrls({url});
    QGuiApplication::clipboard()->setMimeData(data);
    m_hoverHide.reset();
    dismiss(m_hoverPanel);
}

void EditorPopovers::openLinkEditor(const QString& href, const QJsonValue& pageRect) {
    m_link.start(href, !href.isEmpty());
    m_linkCommand.reset();
    PopoverPanel* panel = linkPanel();
    // Without a rectangle the editor stands over the top of the editor area.
    std::optional<QRectF> rect = screenRect(pageRect);
    if (!rect && m_webView)
        rect = screenRect(
            QJsonObject{{"x"_L1, 0}, {"y"_L1, 0}, {"width"_L1, m_webView->width()}, {"height"_L1, 0}});
    if (!rect)
        return;
    m_linkEditor->field()->setFocus(Qt::PopupFocusReason);
    m_linkEditor->field()->selectAll();
    present(panel, PopoverPlacement::linkEditorFrame(*rect, panel->fittingSize(),
                                                     PopoverPlacement::visibleFrame(m_window)));
    panel->activateWindow();
}

void EditorPopovers::finishLinkEditor(const PageCommand& command) {
    m_linkCommand = command;
    dismiss(m_linkPanel);
}

void EditorPopovers::linkEditorClosed() {
    const PageCommand command = m_linkCommand.value_or(PageCommand{u"link:cancel"_s, {}});
    m_linkCommand.reset();
    runCommand(command.id, command.arg);
    if (m_closingAll || !m_window.isVisible())
        return;
    m_window.activateWindow();
    if (m_webView)
        m_webView->setFocus(Qt::PopupFocusReason);
}

void EditorPopovers::runCommand(const QString& id, const QJsonObject& arg) {
    if (!m_page)
        return;
    m_page->call(EditorScripts::runCommand, {{"id"_L1, id}, {"arg"_L1, arg}}, this, &logFailedCall);
}

// The windows

PopoverPanel* EditorPopovers::slashPanel() {
    if (!m_slashPanel) {
        m_slashMenu = new SlashMenu(m_slash);
        m_slashPanel = new PopoverPanel(m_slashMenu, PopoverPanel::Focus::never, &m_window);
        connect(m_slashMenu, &SlashMenu::rowClicked, this, [this](int index) {
            if (index >= 0 && index < m_slash.matches().size())
                runSlashItem(m_slash.matches().at(index));
        });
    }
    return m_slashPanel;
}

PopoverPanel* EditorPopovers::formatPanel() {
    if (!m_formatPanel) {
        m_formatBar = new FormatBar(m_format);
        m_formatPanel = new PopoverPanel(m_formatBar, PopoverPanel::Focus::never, &m_window);
        connect(m_formatBar, &FormatBar::commandPressed, this,
                [this](const QString& command) { runCommand(command); });
    }
    return m_formatPanel;
}

PopoverPanel* EditorPopovers::hoverPanel() {
    if (!m_hoverPanel) {
        m_hoverCard = new LinkHoverCard(m_hover);
        m_hoverPanel = new PopoverPanel(m_hoverCard, PopoverPanel::Focus::never, &m_window);
        connect(m_hoverPanel, &PopoverPanel::mouseEntered, this, [this] { m_hoverHide.reset(); });
        connect(m_hoverPanel, &PopoverPanel::mouseLeft, this, &EditorPopovers::scheduleHoverHide);
        connect(m_hoverCard, &LinkHoverCard::editPressed, this, [this] {
            m_hoverHide.reset();
            dismiss(m_hoverPanel);
            runCommand(u"link:edit"_s);
        });
        connect(m_hoverCard, &LinkHoverCard::copyPressed, this, &EditorPopovers::copyHoverLink);
        connect(m_hoverCard, &LinkHoverCard::removePressed, this, [this] {
            m_hoverHide.reset();
            dismiss(m_hoverPanel);
            runCommand(u"link:remove"_s);
        });
    }
    return m_hoverPanel;
}

PopoverPanel* EditorPopovers::linkPanel() {
    if (!m_linkPanel) {
        m_linkEditor = new LinkEditor(m_link);
        m_linkPanel = new PopoverPanel(m_linkEditor, PopoverPanel::Focus::takes, &m_window);
        connect(m_linkEditor, &LinkEditor::saveRequested, this,
                [this] { finishLinkEditor(m_link.saveCommand()); });
        connect(m_linkEditor, &LinkEditor::removeRequested, this, [this] {
            finishLinkEditor({u"link:remove"_s, {}});
        });
        connect(m_linkEditor, &LinkEditor::cancelRequested, this, [this] {
            finishLinkEditor({u"link:cancel"_s, {}});
        });
        connect(m_linkPanel, &PopoverPanel::dismissed, this, &EditorPopovers::linkEditorClosed);
    }
    return m_linkPanel;
}

void EditorPopovers::present(PopoverPanel* panel, const QRectF& frame) {
    const PopoverColors colors = popoverColors(m_color(), currentAppearance());
    panel->setColors(colors);
    if (m_slashMenu)
        m_slashMenu->setColors(colors);
    if (m_formatBar)
        m_formatBar->setColors(colors);
    if (m_hoverCard)
        m_hoverCard->setColors(colors);
    if (m_linkEditor)
        m_linkEditor->setColors(colors);
    panel->present(frame);
}

void EditorPopovers::dismiss(PopoverPanel* panel) {
    if (panel)
        panel->dismiss();
}

std::optional<QRectF> EditorPopovers::screenRect(const QJsonValue& pageRect) const {
    if (!m_webView)
        return std::nullopt;
    return PopoverPlacement::screenRect(pageRect, *m_webView);
}

bool EditorPopovers::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window) {
        if (event->type() == QEvent::Move) {
            // The overlays travel with the sticky, as windows attached to it.
            const auto* move = static_cast<QMoveEvent*>(event);
            const QPoint delta = move->pos() - move->oldPos();
            for (PopoverPanel* panel : {m_slashPanel.get(), m_formatPanel.get(), m_hoverPanel.get()}) {
                if (panel && panel->isVisible())
                    panel->move(panel->pos() + delta);
            }
        } else if (event->type() == QEvent::Hide) {
            closeAll();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace Dovrin::Stickies
