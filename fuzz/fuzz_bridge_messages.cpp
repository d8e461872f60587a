#include "shared/bridge/BridgeRequest.h"
#include "shared/bridge/BridgeResponse.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

// Both ends of the bridge decode what the other wrote: the app a request, dovrin-mcp a response. Whatever
// the bytes, decoding gives a value or an error with a description, and what decodes encodes back to the
// same value.

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

void checkRequest(const QByteArray& bytes) {
    const auto request = Dovrin::Bridge::BridgeRequest::decode(bytes);
    if (!request) {
        require(!request.error().isEmpty());
        return;
    }
    const auto again = Dovrin::Bridge::BridgeRequest::decode(request->encode());
    require(again && *again == *request);
    // Every key reads back under its own spelling, snake case or not.
    for (auto it = request->arguments.begin(); it != request->arguments.end(); ++it)
        require(request->argument(it.key()) == it.value());
}

void checkResponse(const QByteArray& bytes) {
    const auto response = Dovrin::Bridge::BridgeResponse::decode(bytes);
    if (!response) {
        require(!response.error().isEmpty());
        return;
    }
    const auto again = Dovrin::Bridge::BridgeResponse::decode(response->encode());
    require(again && *again == *response);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkRequest(bytes);
    checkResponse(bytes);

    // The same bytes as the text of a request and of a response that this side builds.
    const QString text = QString::fromUtf8(bytes);
    const Dovrin::Bridge::BridgeRequest built{text, Dovrin::Bridge::ClientInfo{text, text, std::nullopt},
                                              QJsonObject{{text, text}}};
    const auto request = Dovrin::Bridge::BridgeRequest::decode(built.encode());
    require(request && *request == built);
    const Dovrin::Bridge::BridgeResponse answer{text, {{text, u"image/png"_s}}, size % 2 == 0};
    const auto response = Dovrin::Bridge::BridgeResponse::decode(answer.encode());
    require(response && *response == answer);
    return 0;
}
