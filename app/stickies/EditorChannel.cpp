#include "app/stickies/EditorChannel.h"

namespace Dovrin::Stickies {

void EditorChannel::postMessage(const QString& json) {
    emit messagePosted(json);
}

void EditorChannel::reply(double callId, bool ok, const QString& json) {
    if (callId >= 0)
        emit replied(static_cast<quint64>(callId), ok, json);
}

} // namespace Dovrin::Stickies
