#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

namespace Dovrin::Stickies {

// A command for the page's runCommand: its id and its argument object.
struct PageCommand {
    QString id;
    QJsonObject arg;

    friend bool operator==(const PageCommand&, const PageCommand&) = default;
};

// The link being edited: the text in the field and whether a link is already there.
class LinkEditorModel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(LinkEditorModel)

public:
    explicit LinkEditorModel(QObject* parent = nullptr) : QObject(parent) {}

    const QString& url() const { return m_url; }
    bool isExisting() const { return m_isExisting; }
    void start(const QString& url, bool existing);
    void setUrl(const QString& url) { m_url = url; }

    // What saving the field's text asks of the page: an empty text removes an existing link and cancels a
    // new one; a text without a colon is taken as a web address.
    PageCommand saveCommand() const;

signals:
    void changed();

private:
    QString m_url;
    bool m_isExisting = false;
};

} // namespace Dovrin::Stickies
