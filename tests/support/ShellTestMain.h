#pragma once

#include "KultbuhApplication.h"

#include <QTest>

// The main() of a test program run under the program's own application object: its default error handler, and its
// title (the test program's file name) as the error boxes' caption.
#define KBTEST_SHELL_MAIN(TestClass)                                                                                   \
    int main(int argc, char** argv) {                                                                                  \
        kb::app::KultbuhApplication application(argc, argv);                                                           \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
