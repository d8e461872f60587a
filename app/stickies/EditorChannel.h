#pragma once

#include <QObject>
#include <QString>

namespace Dovrin::Stickies {

// The object a page reaches over QWebChannel as "dovrinHost": what the page posts and the answers to the
// app's script calls, both as JSON text so that nothing changes shape on the way.
class EditorChannel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(EditorChannel)

public:
    using QObject::QObject;

public slots:
    void postMessage(const QString& json);
    void reply(double callId, bool ok, const QString& json);

signals:
    void messagePosted(const QString& json);
    void replied(quint64 callId, bool ok, const QString& json);
};

} // namespace Dovrin::Stickies
