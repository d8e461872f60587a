#pragma once

#include "app/stickies/EditorProfile.h"

#include <QByteArray>
#include <QString>

// What every benchmark with real editor pages does before its QApplication exists: its notes go to
// `dataFolder`, and it runs offscreen without the GPU unless the environment asks otherwise.
inline void prepareEditorBench(const QString& dataFolder) {
    qputenv("DOVRIN_HOME", dataFolder.toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    Dovrin::Stickies::prepareEditorEngine();
}
