#include "cli/ProgressDisplay.h"
#include "cli/ProgressLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr std::uint32_t Total = 75776;

PhaseNames named(eUpdatePhase phase, std::uint32_t written = 0)
{
    return phaseNames(phase, written, Total, "Trovix Studio");
}

TEST(ProgressLine, WritesShowABarFittedToTheWidthAndWaitsASpinner)
{
    const auto imageA = named(eUpdatePhase::WritingImageA, Total / 2);
    EXPECT_EQ(Cli::progressLine(imageA, Total / 2, Total, 0, 0, 80), "Writing image A  [#################-----------------]   50%  37888 / 75776 bytes");
    // A narrow terminal keeps the smallest bar and cuts the rest.
    EXPECT_EQ(Cli::progressLine(imageA, Total / 2, Total, 0, 0, 30), "Writing image A  [#####-----] ");
    // Never more than full, never a division by zero.
    EXPECT_NE(Cli::progressLine(named(eUpdatePhase::WritingImageB), Total + 10, Total, 0, 0, 200).find("100%"),
              std::string::npos);
    EXPECT_NE(Cli::progressLine(named(eUpdatePhase::WritingImageB), 0, 0, 0, 0, 200).find("  0%"), std::string::npos);

    const auto restarting = named(eUpdatePhase::Restarting, Total);
    EXPECT_EQ(Cli::progressLine(restarting, Total, Total, 0, 3, 80),
              "Restarting your Trovix Studio with the new firmware  | 3 s");
    EXPECT_EQ(Cli::progressLine(restarting, Total, Total, 1, 3, 80),
              "Restarting your Trovix Studio with the new firmware  / 3 s");
}

TEST(ProgressLine, EveryPhaseHasANameForScripts)
{
    EXPECT_EQ(named(eUpdatePhase::RestartingIntoUpdateMode).name, "restarting-into-update-mode");
    EXPECT_EQ(named(eUpdatePhase::WritingImageB).name, "writing-image-b");
    EXPECT_EQ(named(eUpdatePhase::WritingImageA).name, "writing-image-a");
    EXPECT_EQ(named(eUpdatePhase::WritingImageA, Total).name, "manifesting");
    EXPECT_EQ(named(eUpdatePhase::Restarting).name, "restarting");
    EXPECT_EQ(named(eUpdatePhase::CheckingNewFirmware).name, "checking-new-firmware");
}

TEST(ProgressDisplay, WithoutATerminalWritesEachPhaseOnceAlsoThoseShorterThanAPoll)
{
    std::ostringstream out;
    Cli::ProgressDisplay display(out, false, 80, Total, "Trovix Studio");
    display.show(eUpdatePhase::RestartingIntoUpdateMode, 0);
    display.show(eUpdatePhase::RestartingIntoUpdateMode, 0);
    display.note("a note");
    display.show(eUpdatePhase::WritingImageA, 4096);  // image B was over between two polls
    display.show(eUpdatePhase::WritingImageA, 8192);
    display.close();
    EXPECT_EQ(out.str(), "Restarting your Trovix Studio in firmware update mode\na note\nWriting image B\n"
                         "Writing image A\n");
}

TEST(ProgressDisplay, OnATerminalRedrawsOneLineInPlace)
{
    std::ostringstream out;
    Cli::ProgressDisplay display(out, true, 81, Total, "Trovix Studio");
    display.show(eUpdatePhase::WritingImageA, Total / 2);
    display.note("a note");
    display.show(eUpdatePhase::WritingImageA, Total / 2);
    display.close();
    const std::string line = Cli::progressLine(named(eUpdatePhase::WritingImageA, Total / 2), Total / 2, Total, 0, 0, 80);
    EXPECT_EQ(out.str(), "\r" + line + "\na note\n\r" + line + "\n");
}

TEST(ProgressJson, OneObjectALineWhenThePhaseOrTheBytesChange)
{
    std::ostringstream out;
    std::ostringstream err;
    Cli::ProgressJson json(out, err, Total);
    json.show(eUpdatePhase::WritingImageB, 0);
    json.show(eUpdatePhase::WritingImageB, 0);
    json.note("a note");
    json.show(eUpdatePhase::WritingImageB, 256);
    EXPECT_EQ(out.str(), R"({"phase":"writing-image-b","written":0,"total":75776})"
                         "\n"
                         R"({"phase":"writing-image-b","written":256,"total":75776})"
                         "\n");
    EXPECT_EQ(err.str(), "a note\n");
}

} // namespace
