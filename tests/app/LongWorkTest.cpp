#include "app/LongWork.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zanto {
namespace {

// A command that throws still ends its run: the window can close again, and a
// close request held meanwhile does not close it after a later command.
TEST(LongWorkTest, ACommandThatThrowsEndsItsRun)
{
    LongWork work;
    EXPECT_THROW(work.run([&] { work.holdClose(); throw std::runtime_error("failed"); }), std::runtime_error);
    EXPECT_FALSE(work.running());
    EXPECT_FALSE(work.run([] {}));
}

} // namespace
} // namespace zanto
