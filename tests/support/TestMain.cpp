// Entry point of every test program: a QApplication on the offscreen
// platform, then GoogleTest. "--store=postgres" runs the tests on the
// PostgreSQL test server (support/ScratchStore.h).

#include <QApplication>

#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--store=postgres") == 0) {
            qputenv("QUORVANE_TEST_STORE", "postgres");
            for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
            --argc;
            break;
        }
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
