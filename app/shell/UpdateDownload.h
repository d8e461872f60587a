#pragma once

#include "app/core/Result.h"
#include "app/shell/Appcast.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QTemporaryFile;

namespace Dovrin::Shell {

// A downloaded package that passed every check.
struct VerifiedPackage {
    QString path;
};

// Downloads one release's package into the download folder and keeps it only when it is exactly what the
// feed announced: its length and its Ed25519 signature by the key built into the app. Whatever fails
// (an unsafe address, an HTTP error, a cut-off transfer, the wrong length, a missing or bad signature, no
// key) leaves no file behind and is said in a sentence for people.
class UpdateDownload final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(UpdateDownload)

public:
    // The verified package, or why there is none.
    using Done = std::function<void(Result<VerifiedPackage, QString>)>;

    // Starts at once; `done` is called once, later, unless the download is destroyed first.
    UpdateDownload(QNetworkAccessManager& network, const AppcastItem& item, QByteArray publicKey,
                   const QString& folder, Done done, QObject* parent = nullptr);
    ~UpdateDownload() override;

signals:
    // Bytes so far, and the bytes expected (the feed's length).
    void progress(qint64 received, qint64 total);

private:
    void start(QNetworkAccessManager& network, const QString& folder);
    void receive();
    void finish();
    Result<void, QString> verify() const;
    void fail(const QString& message);

    AppcastItem m_item;
    QByteArray m_publicKey;
    QString m_target;
    Done m_done;
    std::unique_ptr<QTemporaryFile> m_file;
    QPointer<QNetworkReply> m_reply;
    qint64 m_received = 0;
    bool m_writeFailed = false;
};

} // namespace Dovrin::Shell
