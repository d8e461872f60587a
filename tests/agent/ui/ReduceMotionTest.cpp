#include "app/agent/ui/ReduceMotion.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using Dovrin::Agent::reduceMotion;

class ReduceMotionTest final : public QObject {
    Q_OBJECT

private:
    std::optional<Dovrin::Testing::TemporaryHome> home;

    void write(const QString& path, const QByteArray& text) {
        QFile file(Dovrin::Testing::TemporaryHome::configFile(path));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

private slots:
    void init() {
        home.reset();
        home.emplace();
    }

    void gtkAnimationsSetting_decides() {
        QVERIFY(!reduceMotion());
        write("gtk-3.0/settings.ini", "[Settings]\ngtk-theme-name=Adwaita\ngtk-enable-animations=true\n");
        QVERIFY(!reduceMotion());
        write("gtk-3.0/settings.ini", "[Settings]\ngtk-enable-animations = false\n");
        QVERIFY(reduceMotion());
        write("gtk-3.0/settings.ini", "[Other]\ngtk-enable-animations=false\n");
        QVERIFY(!reduceMotion());
        write("gtk-4.0/settings.ini", "[Settings]\ngtk-enable-animations=0\n");
        QVERIFY(reduceMotion());
    }

    void kdeInstantAnimations_reduceMotion() {
        write("kdeglobals", "[KDE]\nAnimationDurationFactor=0.5\n");
        QVERIFY(!reduceMotion());
        write("kdeglobals", "[General]\nColorScheme=Breeze\n\n[KDE]\nAnimationDurationFactor=0\n");
        QVERIFY(reduceMotion());
    }
};

DOVRIN_TEST_MAIN(QCoreApplication, ReduceMotionTest)
#include "ReduceMotionTest.moc"
