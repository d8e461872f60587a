#include "app/stickies/EditorPage.h"

#include "app/stickies/EditorChannel.h"
#include "app/stickies/EditorProfile.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTimer>
#include <QWebChannel>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

const QUrl pageUrl(u"app://local/index.html"_s);

// Keeps the page and its frames on "app": any other navigation of the page is handed to the app as a link
// instead. A frame is no click of the user's, so its navigation elsewhere is only refused.
class GuardedWebPage final : public QWebEnginePage {
public:
    GuardedWebPage(QWebEngineProfile* profile, std::function<void(const QUrl&)> external)
        : QWebEnginePage(profile), m_external(std::move(external)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
        if (url.isEmpty() || url.scheme() == pageUrl.scheme())
            return true;
        if (isMainFrame)
            m_external(url);
        return false;
    }

private:
    std::function<void(const QUrl&)> m_external;
};

bool isIdentifier(const QString& name) {
    static const QRegularExpression identifier(u"^[A-Za-z_$][A-Za-z0-9_$]*$"_s);
    return identifier.match(name).hasMatch();
}

// The value inside the one-element array the page wraps every answer in.
std::optional<QJsonValue> unwrap(const QString& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
    if (!document.isArray() || document.array().size() != 1)
        return std::nullopt;
    return document.array().first();
}

} // namespace

EditorPage::EditorPage(QObject* parent)
    : QObject(parent), m_page(new GuardedWebPage(
                           editorProfile(), [this](const QUrl& url) { emit externalLinkRequested(url); })),
      m_channel(new QWebChannel(this)), m_host(new EditorChannel(this)) {
    // The sticky behind the page shows its colour until the page paints, instead of a white frame.
    m_page->setBackgroundColor(Qt::transparent);
    m_channel->registerObject(u"dovrinHost"_s, m_host);
    m_page->setWebChannel(m_channel, QWebEngineScript::MainWorld);
    connect(m_host, &EditorChannel::messagePosted, this, &EditorPage::handleMessage);
    connect(m_host, &EditorChannel::replied, this, &EditorPage::handleReply);
    connect(m_page, &QWebEnginePage::loadStarted, this,
            [this] { failAll(u"the editor page started loading again"_s); });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this, [this] {
        failAll(u"the editor process terminated"_s);
        emit renderProcessTerminated();
    });
    connect(m_page, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        EditorPage* target = m_windowHandler ? m_windowHandler(request.requestedUrl()) : nullptr;
        if (target)
            request.openIn(target->page());
    });
}

EditorPage::~EditorPage() {
    // The engine answers its own pending callbacks while the page goes; they must not reach this half-gone
    // object, and unfinished calls still get their one answer.
    m_closing = true;
    delete m_page;
    failAllLater(u"the editor page closed"_s);
}

void EditorPage::load() {
    // Unfinished calls belong to the document being replaced. The engine does not always report a load
    // of the same address as started, so they get their error here.
    failAllLater(u"the editor page started loading again"_s);
    m_page->load(pageUrl);
}

void EditorPage::call(const QString& script, const QJsonObject& arguments, QObject* receiver,
                      ScriptDone done) {
    const quint64 callId = m_nextCallId++;
    if (receiver && done)
        m_pending.emplace(callId, PendingCall{receiver, std::move(done)});

    QStringList names;
    QJsonArray values;
    for (auto it = arguments.begin(); it != arguments.end(); ++it) {
        if (!isIdentifier(it.key())) {
            QTimer::singleShot(0, this, [this, callId, name = it.key()] {
                finish(callId, ScriptError{u"not an argument name: "_s + name});
            });
            return;
        }
        names.append(it.key());
        values.append(it.value());
    }

    // Concatenated, not formatted: the script and the arguments may contain anything.
    const QString id = QString::number(callId);
    const QString source = u"(function () {\n"
                           "if (typeof dovrinHostReply !== 'function') return false;\n"
                           "(async function ("_s +
                           names.join(QLatin1Char(',')) + u") {\n"_s + script + u"\n}).apply(null, "_s +
                           QString::fromUtf8(QJsonDocument(values).toJson(QJsonDocument::Compact)) +
                           u").then(function (value) { dovrinHostReply("_s + id +
                           u", true, value); }, function (error) { dovrinHostReply("_s + id +
                           u", false, error); });\nreturn true;\n})()"_s;

    m_page->runJavaScript(source, QWebEngineScript::MainWorld, [this, callId](const QVariant& started) {
        if (m_closing || started.toBool())
            return;
        finish(callId, ScriptError{u"the script did not start (the page is not an editor page "
                                   "yet, or the script does not parse)"_s});
    });
}

void EditorPage::call(const QString& script, const QJsonObject& arguments) {
    call(script, arguments, nullptr, {});
}

void EditorPage::openWindow() {
    m_page->runJavaScript(u"window.open('index.html'); undefined"_s, QWebEngineScript::MainWorld);
}

void EditorPage::setWindowHandler(WindowHandler handler) {
    m_windowHandler = std::move(handler);
}

void EditorPage::handleMessage(const QString& json) {
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8());
    if (!document.isObject())
        return;
    const QJsonObject body = document.object();
    emit messageReceived(body.value("type"_L1).toString(), body);
}

void EditorPage::handleReply(quint64 callId, bool ok, const QString& json) {
    const std::optional<QJsonValue> value = unwrap(json);
    if (!value)
        finish(callId, ScriptError{u"the page answered with something that is not JSON"_s});
    else if (ok)
        finish(callId, *value);
    else
        finish(callId, ScriptError{value->toString()});
}

void EditorPage::finish(quint64 callId, const ScriptResult& result) {
    const auto it = m_pending.find(callId);
    if (it == m_pending.end())
        return;
    const PendingCall call = std::move(it->second);
    m_pending.erase(it);
    if (call.receiver)
        call.done(result);
}

void EditorPage::failAll(const QString& description) {
    std::map<quint64, PendingCall> pending;
    pending.swap(m_pending);
    for (auto& [callId, call] : pending) {
        if (call.receiver)
            call.done(ScriptError{description});
    }
}

void EditorPage::failAllLater(const QString& description) {
    std::map<quint64, PendingCall> pending;
    pending.swap(m_pending);
    for (auto& [callId, call] : pending) {
        if (!call.receiver)
            continue;
        QTimer::singleShot(0, call.receiver.get(),
                           [done = std::move(call.done), description] { done(ScriptError{description}); });
    }
}

} // namespace Dovrin::Stickies
