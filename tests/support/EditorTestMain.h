#pragma once

#include "app/stickies/EditorProfile.h"
#include "tests/support/TestMain.h"

#include <QApplication>

// The app scheme must be registered before the QApplication exists, which QTEST_MAIN cannot do.
#define DOVRIN_EDITOR_TEST_MAIN(Tests)                                                                       \
    int main(int argc, char** argv) {                                                                        \
        return Dovrin::Testing::runTests<QApplication, Tests>(argc, argv,                                    \
                                                              &Dovrin::Stickies::prepareEditorEngine);       \
    }
