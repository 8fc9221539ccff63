#include <gtest/gtest.h>

#include <QCoreApplication>

// The gateway's parts on Qt Core and Network, without a display: sockets on
// the loopback where a bound is decided on one.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
