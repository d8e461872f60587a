#pragma once

#include <QObject>

#include <memory>

class QScreen;

namespace Dovrin::Stickies {

// Tells whether another application's full-screen window covers a screen, and signals when that may have
// changed: the active window or the virtual desktop switched. Only X11 lets us see other applications'
// windows; on any other platform no screen is ever occupied and nothing is signalled.
class FullScreenWatch final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY(FullScreenWatch)

public:
    explicit FullScreenWatch(QObject* parent = nullptr);
    ~FullScreenWatch() override;

    bool isOccupied(const QScreen& screen) const;

signals:
    void changed();

private:
    class X11;
    std::unique_ptr<X11> x11;
};

} // namespace Dovrin::Stickies
