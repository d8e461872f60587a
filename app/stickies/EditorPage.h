#pragma once

#include "app/core/Result.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>
#include <map>

class QWebChannel;
class QWebEnginePage;

namespace Dovrin::Stickies {

class EditorChannel;

struct ScriptError {
    QString description;
};
using ScriptResult = Result<QJsonValue, ScriptError>;

// One editor page: the app's side of the page's contract. Scripts run as async function bodies with named
// arguments and answer later; the page's messages arrive as a signal; a ready page spawns the next one.
// A view shows page(); the page lives as long as this object.
class EditorPage final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(EditorPage)

public:
    // Decides about a window the page asks for: the page to open it in, or nullptr to refuse it.
    using WindowHandler = std::function<EditorPage*(const QUrl& url)>;
    using ScriptDone = std::function<void(const ScriptResult& result)>;

    explicit EditorPage(QObject* parent = nullptr);
    ~EditorPage() override;

    QWebEnginePage* page() const { return m_page; }

    // Loads "app://local/index.html" from scratch.
    void load();

    // Runs `script` as the body of an async function whose parameters are the argument names. `done` gets
    // the returned value or the error exactly once, later, unless `receiver` is gone by then. A reload, a
    // dead render process or the end of this page answers unfinished calls with an error.
    void call(const QString& script, const QJsonObject& arguments, QObject* receiver, ScriptDone done);
    // The same for a script whose outcome nobody waits for.
    void call(const QString& script, const QJsonObject& arguments = {});

    // Asks the page to open "index.html" in a new window; the window handler decides where it goes.
    void openWindow();
    void setWindowHandler(WindowHandler handler);

signals:
    // Every dictionary the page posts; `type` is its "type" when that is a string, else empty.
    void messageReceived(const QString& type, const QJsonObject& body);
    // The page tried to navigate outside "app"; it stays where it is.
    void externalLinkRequested(const QUrl& url);
    // Unfinished calls have had their error by now. The engine does not give a page whose process died its
    // scripts again, so such a page is replaced by a new EditorPage rather than loaded again.
    void renderProcessTerminated();

private:
    struct PendingCall {
        QPointer<QObject> receiver;
        ScriptDone done;
    };

    void handleMessage(const QString& json);
    void handleReply(quint64 callId, bool ok, const QString& json);
    void finish(quint64 callId, const ScriptResult& result);
    void failAll(const QString& description);
    // The same from the event loop, for when the caller is in the middle of its own step.
    void failAllLater(const QString& description);

    QWebEnginePage* m_page = nullptr;
    QWebChannel* m_channel = nullptr;
    EditorChannel* m_host = nullptr;
    WindowHandler m_windowHandler;
    std::map<quint64, PendingCall> m_pending;
    quint64 m_nextCallId = 1;
    bool m_closing = false;
};

} // namespace Dovrin::Stickies
