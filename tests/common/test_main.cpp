#include <QCoreApplication>

#include <gtest/gtest.h>

#ifdef YALMERA_TEST_WIDGETS
#include <QApplication>
#endif

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", YALMERA_TEST_PLATFORM);
    testing::InitGoogleTest(&argc, argv);
#ifdef YALMERA_TEST_WIDGETS
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
