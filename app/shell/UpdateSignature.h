#pragma once

#include <QByteArrayView>

namespace Dovrin::Shell {

// Whether `signature` (64 raw bytes) is the Ed25519 signature of `message` by `publicKey` (32 raw bytes).
// A key or signature of the wrong size never verifies.
bool verifyEd25519(QByteArrayView publicKey, QByteArrayView message, QByteArrayView signature);

} // namespace Dovrin::Shell
