#pragma once

#include <QObject>
#include <QTimer>

class QScreen;

namespace Dovrin::Stickies {

// Signals once the screens have changed: one was added, removed or made primary, or its frame or visible
// frame moved. Screens report a change in several steps; `settled` comes once they are over.
class ScreenChanges final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(ScreenChanges)

public:
    explicit ScreenChanges(QObject* parent = nullptr);

signals:
    void settled();

private:
    void watch(QScreen* screen);

    QTimer m_timer;
};

} // namespace Dovrin::Stickies
