#include "app/shell/UpdateSignature.h"

#include <openssl/evp.h>

#include <memory>

namespace Dovrin::Shell {

namespace {

constexpr qsizetype publicKeySize = 32;
constexpr qsizetype signatureSize = 64;

const unsigned char* bytes(QByteArrayView view) {
    static const unsigned char none = 0;
    return view.isEmpty() ? &none : reinterpret_cast<const unsigned char*>(view.data());
}

} // namespace

bool verifyEd25519(QByteArrayView publicKey, QByteArrayView message, QByteArrayView signature) {
    if (publicKey.size() != publicKeySize || signature.size() != signatureSize)
        return false;
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, bytes(publicKey), publicKeySize),
        &EVP_PKEY_free);
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!key || !context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1)
        return false;
    // Ed25519 signs the whole message at once: there is no streaming form to feed it piece by piece.
    return EVP_DigestVerify(context.get(), bytes(signature), signatureSize, bytes(message),
                            static_cast<size_t>(message.size())) == 1;
}

} // namespace Dovrin::Shell
