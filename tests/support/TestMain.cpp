// Entry point of every test executable: the code is built with -municode, so
// the console entry is wmain rather than GoogleTest's own main.
#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
