#include "cli/ProgressDisplay.h"
#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

constexpr std::uint32_t Total = 75776;

TEST(ProgressLine, BarPercentBytesAndPhase)
{
    EXPECT_EQ(Cli::progressLine(0, Total, "writing"),
              "[------------------------------]   0%      0 / 75776 bytes  writing");
    EXPECT_EQ(Cli::progressLine(Total / 2, Total, "writing"),
              "[###############---------------]  50%  37888 / 75776 bytes  writing");
    EXPECT_EQ(Cli::progressLine(Total, Total, "done"),
              "[##############################] 100%  75776 / 75776 bytes  done");
    // Never more than full, never a division by zero.
    EXPECT_EQ(Cli::progressLine(Total + 10, Total, "done"),
              "[##############################] 100%  75786 / 75776 bytes  done");
    EXPECT_EQ(Cli::progressLine(0, 0, "writing"), "[------------------------------]   0%  0 / 0 bytes  writing");
}

TEST(ProgressLine, PhaseTurnsToRestartingOnceEveryByteIsWritten)
{
    EXPECT_EQ(Cli::runningPhase(0, Total), "writing");
    EXPECT_EQ(Cli::runningPhase(Total - 1, Total), "writing");
    EXPECT_EQ(Cli::runningPhase(Total, Total), "restarting");
}

struct DisplayOutput {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
};

TEST(ProgressDisplay, WithoutATerminalWritesOnlyTheFirstAndTheFinalLine)
{
    DisplayOutput o;
    Cli::Console console{o.in, o.out, o.err, false};
    Cli::ProgressDisplay display(console, Total);
    display.show(0);
    display.show(4096);
    display.note("a note");
    display.show(Total);
    display.finish(Total, "done");
    EXPECT_EQ(o.out.str(), Cli::progressLine(0, Total, "writing") + "\na note\n"
                               + Cli::progressLine(Total, Total, "done") + "\n");
}

TEST(ProgressDisplay, OnATerminalRedrawsOneLineInPlace)
{
    DisplayOutput o;
    Cli::Console console{o.in, o.out, o.err, true};
    Cli::ProgressDisplay display(console, Total);
    display.show(Total);  // "restarting", the longest phase word
    display.note("a note");
    display.show(Total);
    display.finish(Total, "done");
    const std::string restarting = Cli::progressLine(Total, Total, "restarting");
    std::string done = Cli::progressLine(Total, Total, "done");
    done.resize(restarting.size(), ' ');  // covers the longer line before it
    EXPECT_EQ(o.out.str(), "\r" + restarting + "\na note\n\r" + restarting + "\r" + done + "\n");
}

} // namespace
