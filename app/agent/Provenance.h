#pragma once

#include "app/store/Note.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QUuid>

namespace Dovrin::Agent {

// The ✦ labels the stickies show: for every note an AI changed last, which AI did what, and when. The
// lasting record is the note's agent label in the database; this table mirrors it for display.
class Provenance final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(Provenance)

public:
    struct Label {
        Store::AgentLabel label;
        // When the labelled change happened (the note's updatedAt).
        QDateTime at;

        friend bool operator==(const Label&, const Label&) = default;
    };

    explicit Provenance(QObject* parent = nullptr);

    // The one table of the application, created on first use.
    static Provenance& shared();

    // Enters the note's label, or removes its entry when it has none.
    void note(const Store::Note& note);
    void clear(const QUuid& id);
    const QHash<QUuid, Label>& labels() const { return m_labels; }
    std::optional<Label> label(const QUuid& id) const;

signals:
    // Only sent when the table's value actually changed.
    void labelsChanged();

private:
    QHash<QUuid, Label> m_labels;
};

} // namespace Dovrin::Agent
