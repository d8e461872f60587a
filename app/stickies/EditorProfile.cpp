#include "app/stickies/EditorProfile.h"

#include "app/core/AppFiles.h"
#include "app/core/Log.h"
#include "app/stickies/AssetServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlScheme>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace Dovrin::Stickies {

namespace {

const QByteArray schemeName = QByteArrayLiteral("app");
const QString languageScriptName = u"dovrin-language"_s;

// Gives the page WebKit's message handler, so the page never knows which engine hosts it. Messages sent
// before the channel is up are kept in order and sent once it is. Script calls from the app answer through
// dovrinHostReply with their call id.
const char* const shimSource = R"js(
(function () {
    'use strict';
    if (window.webkit && window.webkit.messageHandlers && window.webkit.messageHandlers.dovrin)
        return;
    let host = null;
    const waiting = [];
    function send(method, args) {
        if (host)
            host[method].apply(host, args);
        else
            waiting.push([method, args]);
    }
    function describe(error) {
        if (error instanceof Error)
            return error.name + ': ' + error.message;
        try { return String(error); } catch (_) { return 'unknown error'; }
    }
    const handler = Object.freeze({
        postMessage(body) {
            send('postMessage', [JSON.stringify(body === undefined ? null : body)]);
        }
    });
    window.webkit = Object.assign(window.webkit || {}, {
        messageHandlers: Object.freeze({ dovrin: handler })
    });
    Object.defineProperty(window, 'dovrinHostReply', {
        value: function (id, ok, value) {
            let json;
            try {
                json = JSON.stringify([ok ? (value === undefined ? null : value) : describe(value)]);
            } catch (error) {
                ok = false;
                json = JSON.stringify(['result is not JSON: ' + describe(error)]);
            }
            send('reply', [id, ok, json]);
        }
    });
    new QWebChannel(qt.webChannelTransport, function (channel) {
        host = channel.objects.dovrinHost;
        for (const [method, args] of waiting.splice(0))
            host[method].apply(host, args);
    });
})();
)js";

// A note's text may come from an AI, so a picture or frame it names must not become a request that tells
// someone when the note was opened: the editor loads only what the app serves or what is inline.
class LocalOnlyInterceptor final : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QString scheme = info.requestUrl().scheme();
        info.block(scheme != QLatin1String(schemeName) && scheme != "data"_L1 && scheme != "blob"_L1);
    }
};

QWebEngineScript documentScript(const QString& name, const QString& source) {
    QWebEngineScript script;
    script.setName(name);
    script.setSourceCode(source);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

// At document creation the root element may not exist yet; it gets its language as soon as it does.
QString languageSource(const QString& tag) {
    return u"(function () {\n"
           "    const apply = () => document.documentElement &&\n"
           "        (document.documentElement.lang = "_s +
           QString::fromUtf8(QJsonDocument(QJsonArray{tag}).toJson(QJsonDocument::Compact)) +
           u"[0], true);\n"
           "    if (apply()) return;\n"
           "    const observer = new MutationObserver(() => { if (apply()) observer.disconnect(); });\n"
           "    observer.observe(document, { childList: true });\n"
           "})();"_s;
}

QString channelSource() {
    QFile library(u":/qtwebchannel/qwebchannel.js"_s);
    if (!library.open(QIODevice::ReadOnly))
        qCCritical(Core::stickiesLog, "qwebchannel.js is missing from the QtWebChannel resources");
    return QString::fromUtf8(library.readAll()) + QLatin1Char('\n') + QString::fromUtf8(shimSource);
}

} // namespace

void prepareEditorEngine() {
    // Chromium refuses to start its sandbox as root; as root it runs without one.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QWebEngineUrlScheme scheme(schemeName);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    // Secure and CORS-enabled so that module scripts, fetch and the clipboard work as on https.
    scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
    QWebEngineUrlScheme::registerScheme(scheme);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QString editorDistFolder() {
    const QString configured = qEnvironmentVariable("DOVRIN_EDITOR_DIST");
    if (!configured.isEmpty())
        return QDir::cleanPath(configured);
    return Core::appFilesFolder(u"editor"_s, QString::fromUtf8(DOVRIN_EDITOR_DIST_BUILD));
}

QWebEngineProfile* editorProfile() {
    static QPointer<QWebEngineProfile> profile;
    if (profile)
        return profile;
    profile = new QWebEngineProfile(QCoreApplication::instance());
    const QString page = editorDistFolder();
    qCDebug(Core::stickiesLog, "editor page from %s", qUtf8Printable(page));
    profile->installUrlSchemeHandler(schemeName, new AssetServer(page, imagesFolder(), profile));
    profile->setUrlRequestInterceptor(new LocalOnlyInterceptor(profile));
    profile->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    // Even looking up the host of a link in a note would tell someone that the note is open.
    profile->settings()->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    profile->scripts()->insert(documentScript(u"dovrin-channel"_s, channelSource()));
    profile->scripts()->insert(documentScript(languageScriptName, languageSource(u"en"_s)));
    return profile;
}

void setEditorLanguage(const QString& tag) {
    QWebEngineScriptCollection* scripts = editorProfile()->scripts();
    for (const QWebEngineScript& script : scripts->find(languageScriptName))
        scripts->remove(script);
    scripts->insert(documentScript(languageScriptName, languageSource(tag)));
}

} // namespace Dovrin::Stickies
