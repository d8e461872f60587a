#pragma once

#include "app/agent/AgentServer.h"
#include "app/agent/Provenance.h"
#include "app/core/Clock.h"
#include "app/stickies/AgentStickies.h"
#include "app/stickies/StickyManager.h"
#include "app/store/NoteStore.h"
#include "tests/e2e/Processes.h"
#include "tests/support/EditorTestMain.h"

namespace Dovrin::E2e {

// The app's agent side in this process (so its activity tracker can be driven), over the real socket;
// the AI's calls still come through a real dovrin-mcp.
struct InProcessApp {
    Home home;
    std::unique_ptr<Store::NoteStore> store = open();
    Agent::Provenance provenance;
    Stickies::StickyManager manager{*store, provenance};
    Stickies::AgentStickies stickies{manager, provenance};
    Agent::AgentServer server{stickies, *store, provenance, Core::Clock::system(), home.data()};

    std::unique_ptr<Store::NoteStore> open() const {
        auto opened = Store::NoteStore::open(home.database());
        if (!opened)
            qFatal("can't open the database: %s", qPrintable(opened.error().description));
        return std::move(opened).value();
    }

    Store::Note note(const QUuid& id) { return *store->note(id).value(); }
    QList<Store::Note> active() { return store->list(Store::NoteStore::Scope::active).value(); }
    Agent::AgentActivity& activity() { return server.activity(); }
    QUuid lastEntry() { return activity().undoable().last().id; }
};

} // namespace Dovrin::E2e
