#include <gtest/gtest.h>

#include <cstdlib>

// The shell's tests need no display: SDL's dummy video driver stands in.
int main(int argc, char** argv)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
