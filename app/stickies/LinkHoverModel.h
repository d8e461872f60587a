#pragma once

#include <QObject>
#include <QString>

namespace Dovrin::Stickies {

// The link the hover card shows: its target and where it starts in the document, as the page reports it.
class LinkHoverModel final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(LinkHoverModel)

public:
    explicit LinkHoverModel(QObject* parent = nullptr) : QObject(parent) {}

    const QString& href() const { return m_href; }
    qint64 pos() const { return m_pos; }
    void setLink(const QString& href, qint64 pos) {
        m_href = href;
        m_pos = pos;
        emit changed();
    }

signals:
    void changed();

private:
    QString m_href;
    qint64 m_pos = 0;
};

} // namespace Dovrin::Stickies
