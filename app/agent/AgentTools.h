#pragma once

#include "app/agent/AgentActivity.h"
#include "app/agent/AgentError.h"
#include "app/agent/Tool.h"
#include "app/agent/ToolArguments.h"
#include "app/store/Note.h"
#include "shared/bridge/BridgeResponse.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace Dovrin::Core {
class Clock;
}

namespace Dovrin::Agent {

class Provenance;
class StickyAccess;

struct ToolOutput {
    QString text;
    QList<Bridge::BridgeResponse::Image> images;
};

// The six tools an AI calls, within the limits of ToolLimits.h. Access and rate limits are checked before
// a tool runs; a tool decodes its arguments, works through the sticky access (open stickies first, then
// the database) and answers once, on the main thread, with its JSON text or an AgentError.
class AgentTools final {
public:
    using Done = std::function<void(AgentResult<ToolOutput>)>;

    // A sticky the user typed into this recently, while it is the key window, is theirs to delete.
    static constexpr qint64 userEditingWindowMs = 10000;

    // `imagesDirectory` is the data directory's "Images" folder; nothing when there is no data directory.
    AgentTools(StickyAccess& stickies, Store::NoteStore& store, AgentActivity& activity,
               Provenance& provenance, Core::Clock& clock, std::optional<QString> imagesDirectory);

    void run(Tool tool, const QJsonObject& arguments, const QString& agent, Done done);

private:
    using NoteDone = std::function<void(AgentResult<Store::Note>)>;

    void listNotes(const ToolArguments::ListArgs& args, const Done& done);
    void readNote(const ToolArguments::ReadArgs& args, const Done& done);
    void createNotes(const ToolArguments::CreateArgs& args, const QString& agent, const Done& done);
    void updateNote(const ToolArguments::UpdateArgs& args, const QString& agent, const Done& done);
    void setTodo(const ToolArguments::SetTodoArgs& args, const QString& agent, const Done& done);
    void deleteNote(const ToolArguments::NoteArgs& args, const QString& agent, const Done& done);

    // The note as its open sticky holds it, else as stored; not found when missing or deleted.
    void resolve(const QString& reference, NoteDone done);
    void writeNote(const Store::Note& before, const QString& markdown, AgentActivity::Change change,
                   const QString& agent, NoteDone done);
    QString readText(const Store::Note& note, const ToolArguments::ReadArgs& args,
                     QList<Bridge::BridgeResponse::Image>& images) const;

    // Stickies may answer after these tools are gone (the app quitting); such an answer goes nowhere, and
    // the server answers the call itself.
    template <typename Callback> auto whileAlive(Callback callback) const {
        return [alive = std::weak_ptr<int>(m_lifetime), callback = std::move(callback)](auto&&... args) {
            if (alive.lock())
                callback(std::forward<decltype(args)>(args)...);
        };
    }

    StickyAccess& m_stickies;
    Store::NoteStore& m_store;
    AgentActivity& m_activity;
    Provenance& m_provenance;
    Core::Clock& m_clock;
    std::optional<QString> m_imagesDirectory;
    std::shared_ptr<int> m_lifetime = std::make_shared<int>();
};

} // namespace Dovrin::Agent
