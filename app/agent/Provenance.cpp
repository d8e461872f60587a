#include "app/agent/Provenance.h"

namespace Dovrin::Agent {

Provenance::Provenance(QObject* parent) : QObject(parent) {}

Provenance& Provenance::shared() {
    static Provenance provenance;
    return provenance;
}

void Provenance::note(const Store::Note& note) {
    if (!note.agentLabel) {
        clear(note.id);
        return;
    }
    const Label label{*note.agentLabel, note.updatedAt};
    const auto existing = m_labels.constFind(note.id);
    if (existing != m_labels.constEnd() && *existing == label)
        return;
    m_labels.insert(note.id, label);
    emit labelsChanged();
}

void Provenance::clear(const QUuid& id) {
    if (m_labels.remove(id))
        emit labelsChanged();
}

std::optional<Provenance::Label> Provenance::label(const QUuid& id) const {
    const auto found = m_labels.constFind(id);
    if (found == m_labels.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace Dovrin::Agent
