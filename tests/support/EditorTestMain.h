#pragma once

#include "EditorProfile.h"

#include <QApplication>
#include <QTest>

// The app scheme must be registered before the QApplication exists, which QTEST_MAIN cannot do.
#define DOVRIN_EDITOR_TEST_MAIN(TestClass)                                                                   \
    int main(int argc, char** argv) {                                                                        \
        Dovrin::Stickies::prepareEditorEngine();                                                             \
        QApplication app(argc, argv);                                                                        \
        TestClass test;                                                                                      \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
