#include "app/shell/UpdateDownload.h"

#include "app/shell/UpdateRequest.h"
#include "app/shell/UpdateSignature.h"

#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace Dovrin::Shell {

namespace {

// apt-get takes a local package only by a path that ends in ".deb"; a name from the feed is kept when it is
// one plain file name of that kind.
QString packageName(const QUrl& url) {
    static const QRegularExpression plain(u"^[A-Za-z0-9][A-Za-z0-9._+~-]*\\.deb$"_s);
    const QString name = QFileInfo(url.path()).fileName();
    return plain.match(name).hasMatch() ? name : u"dovrin-update.deb"_s;
}

} // namespace

UpdateDownload::UpdateDownload(QNetworkAccessManager& network, const AppcastItem& item, QByteArray publicKey,
                               const QString& folder, Done done, QObject* parent)
    : QObject(parent), m_item(item), m_publicKey(std::move(publicKey)), m_done(std::move(done)) {
    start(network, folder);
}

UpdateDownload::~UpdateDownload() {
    m_done = nullptr;
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
}

void UpdateDownload::start(QNetworkAccessManager& network, const QString& folder) {
    if (!isSafeUpdateUrl(m_item.url)) {
        fail(tr("The update’s address isn’t secure: %1").arg(m_item.url.toDisplayString()));
        return;
    }
    // Only an absolute folder: an empty or relative one would put packages wherever the app was started.
    if (!QDir::isAbsolutePath(folder)) {
        fail(tr("The update can’t be saved: “%1” isn’t a full folder path.").arg(folder));
        return;
    }
    // The folder only ever holds the package on offer: the packages and partial downloads of earlier
    // updates go, and nothing else there is touched.
    QDir dir(folder);
    if (dir.mkpath(u"."_s)) {
        for (const QString& old : dir.entryList({u"*.deb"_s, u"download-*.part"_s}, QDir::Files))
            dir.remove(old);
    }
    m_target = dir.filePath(packageName(m_item.url));
    m_file = std::make_unique<QTemporaryFile>(dir.filePath(u"download-XXXXXX.part"_s));
    if (!m_file->open()) {
        fail(tr("The update can’t be saved in %1: %2")
                 .arg(QDir::toNativeSeparators(folder), m_file->errorString()));
        return;
    }
    m_reply = fetchUpdateResource(network, m_item.url);
    m_reply->setParent(this);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateDownload::receive);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateDownload::finish);
}

void UpdateDownload::receive() {
    const QByteArray chunk = m_reply->readAll();
    m_received += chunk.size();
    if (!m_writeFailed && m_file->write(chunk) != chunk.size())
        m_writeFailed = true;
    // More than the feed announced is already wrong; there is no point in fetching the rest.
    if (m_item.length > 0 && m_received > m_item.length)
        m_reply->abort();
    emit progress(m_received, m_item.length);
}

void UpdateDownload::finish() {
    if (m_reply->bytesAvailable() > 0)
        receive();
    m_reply->deleteLater();
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_writeFailed) {
        fail(tr("The update couldn’t be saved: %1").arg(m_file->errorString()));
    } else if (status >= 400) {
        fail(tr("The update couldn’t be downloaded: the server answered %1 %2.")
                 .arg(status)
                 .arg(m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
    } else if (m_reply->error() != QNetworkReply::NoError &&
               !(m_item.length > 0 && m_received > m_item.length)) {
        fail(tr("The update couldn’t be downloaded: %1").arg(m_reply->errorString()));
    } else if (const Result<void, QString> verified = verify(); !verified) {
        fail(verified.error());
    } else {
        m_file->setAutoRemove(false);
        m_file->close();
        QFile::remove(m_target);
        if (!m_file->rename(m_target)) {
            const QString error = m_file->errorString();
            m_file->remove();
            fail(tr("The update couldn’t be saved: %1").arg(error));
            return;
        }
        m_file.reset();
        if (m_done)
            m_done(VerifiedPackage{m_target});
    }
}

Result<void, QString> UpdateDownload::verify() const {
    if (m_item.length <= 0)
        return tr("The update feed doesn’t give the update’s size.");
    if (m_received != m_item.length)
        return tr("The download is incomplete or damaged: %1 bytes were expected, %2 arrived.")
            .arg(m_item.length)
            .arg(m_received);
    if (m_publicKey.isEmpty())
        return tr("This copy of Dovrin has no key to check updates with.");
    if (m_item.edSignature.isEmpty())
        return tr("The update isn’t signed.");
    const QByteArray::FromBase64Result signature =
        QByteArray::fromBase64Encoding(m_item.edSignature, QByteArray::AbortOnBase64DecodingErrors);
    if (!m_file->flush())
        return tr("The update couldn’t be saved: %1").arg(m_file->errorString());
    uchar* contents = m_file->map(0, m_received);
    const bool valid =
        signature && contents &&
        verifyEd25519(m_publicKey, QByteArrayView(contents, m_received), QByteArrayView(*signature));
    if (contents)
        m_file->unmap(contents);
    if (!valid)
        return tr("The update’s signature isn’t valid.");
    return {};
}

// Called back on the next turn of the event loop, so the caller never hears of the end before the start
// returned.
void UpdateDownload::fail(const QString& message) {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    m_file.reset();
    QMetaObject::invokeMethod(
        this,
        [this, message] {
            if (m_done)
                m_done(message);
        },
        Qt::QueuedConnection);
}

} // namespace Dovrin::Shell
