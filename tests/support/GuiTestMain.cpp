#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

#if defined(__SANITIZE_ADDRESS__)
// Allocations that the font and windowing libraries keep for the life of the
// process; only their frames are named, never ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libfreetype.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libdbus-1.so\n";
}
#endif

int main(int argc, char** argv)
{
    // Real widgets on Qt's offscreen platform, so that neither the tests nor
    // their discovery need a display. An explicit choice is kept.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
