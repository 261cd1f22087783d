#include "conduit2/HardwareLog.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Conduit2;

class FakeDebugger final : public LogDebugger {
public:
    explicit FakeDebugger(bool attached) : attached_(attached) {}
    bool isAttached() override { return attached_; }
    void write(const char* text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;

private:
    bool attached_;
};

class FakeEventSource final : public LogEventSource {
public:
    void report(std::uint32_t id, const char* text) override { events.emplace_back(id, text); }
    std::vector<std::pair<std::uint32_t, std::string>> events;
};

// A temporary file as the log stream, read back as text.
class CapturedStream {
public:
    CapturedStream() : file_(std::tmpfile()) {}
    ~CapturedStream() { std::fclose(file_); }
    std::FILE* get() const { return file_; }
    std::string text() const
    {
        std::rewind(file_);
        std::string content;
        for (int c; (c = std::fgetc(file_)) != EOF;) {
            content.push_back(static_cast<char>(c));
        }
        return content;
    }

private:
    std::FILE* file_;
};

class HardwareLog : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetHardwareLog();
        setLogDebugger(debugger);
        setLogEventSource(events);
    }
    void TearDown() override { resetHardwareLog(); }

    // The device layer's own call sites, with their rule.
    static void timeOutLine(int ms)
    {
        if (shouldLog(1, "USBDevice")) {
            logMessage(1, "%s: deviceIoControl timed out after %d ms)\n", "USBDevice", ms);
        }
    }
    static void transferSizeLine(int size)
    {
        if (shouldLog(2, "DFUDevice")) {
            logMessage(2, "%s: Unsupported wTransferSize (%d)\n", "DFUDevice", size);
        }
    }

    std::shared_ptr<FakeDebugger> debugger = std::make_shared<FakeDebugger>(true);
    std::shared_ptr<FakeEventSource> events = std::make_shared<FakeEventSource>();
};

TEST_F(HardwareLog, DefaultsWriteOnlyLevelTwoAndOnlyToTheDebugger)
{
    setLogEventSource(nullptr);
    EXPECT_EQ(logThreshold(), 2u);
    timeOutLine(500);
    transferSizeLine(9000);
    EXPECT_EQ(debugger->lines, (std::vector<std::string>{"DFUDevice: Unsupported wTransferSize (9000)\n"}));
}

TEST_F(HardwareLog, LevelOneNeedsTheThresholdAndTheCategory)
{
    CapturedStream stream;
    setLogStream(1, stream.get());
    setLogThreshold(1);
    timeOutLine(500);
    EXPECT_EQ(stream.text(), "");

    enableLogCategory("USBDevice");
    EXPECT_FALSE(isLogCategoryEnabled("usbdevice"));
    timeOutLine(500);
    transferSizeLine(0);
    EXPECT_EQ(stream.text(),
              "USBDevice: deviceIoControl timed out after 500 ms)\nDFUDevice: Unsupported wTransferSize (0)\n");

    setLogThreshold(2);
    timeOutLine(500);
    EXPECT_FALSE(shouldLog(1, "USBDevice"));
    EXPECT_TRUE(shouldLog(3, ""));
}

TEST_F(HardwareLog, StreamIsTheOneRegisteredForTheCurrentThreshold)
{
    CapturedStream atOne;
    CapturedStream atTwo;
    setLogStream(1, atOne.get());
    setLogStream(2, atTwo.get());
    logMessage(2, "x\n");
    setLogThreshold(1);
    logMessage(2, "y\n");
    setLogThreshold(5);
    logMessage(2, "z\n");
    EXPECT_EQ(atTwo.text(), "x\n");
    EXPECT_EQ(atOne.text(), "y\n");
}

TEST_F(HardwareLog, LongMessagesAreCutAt1023Characters)
{
    CapturedStream stream;
    setLogStream(2, stream.get());
    const std::string longText(3000, 'x');
    logMessage(2, "%s", longText.c_str());
    EXPECT_EQ(stream.text(), std::string(1023, 'x'));
    ASSERT_EQ(debugger->lines.size(), 1u);
    EXPECT_EQ(debugger->lines[0].size(), 1023u);
}

TEST_F(HardwareLog, EventLogGetsLevelsTwoAndThreeOnlyWithoutAStream)
{
    logMessage(1, "one\n");
    logMessage(2, "two\n");
    logMessage(3, "three\n");
    logMessage(4, "four\n");
    EXPECT_EQ(events->events, (std::vector<std::pair<std::uint32_t, std::string>>{
                                  {0xC0000102u, "two\n"}, {0xC0000103u, "three\n"}}));

    CapturedStream stream;
    setLogStream(2, stream.get());
    logMessage(3, "three\n");
    EXPECT_EQ(events->events.size(), 2u);
    EXPECT_EQ(stream.text(), "three\n");
}

TEST_F(HardwareLog, NoDebuggerNoStreamNoEventSourceWritesNothing)
{
    auto detached = std::make_shared<FakeDebugger>(false);
    setLogDebugger(detached);
    setLogEventSource(nullptr);
    logMessage(2, "%s: Unsupported wTransferSize (%d)\n", "DFUDevice", 1);
    EXPECT_TRUE(detached->lines.empty());
}

TEST_F(HardwareLog, LinesFromSeveralThreadsStayWhole)
{
    setLogDebugger(nullptr);
    CapturedStream stream;
    setLogStream(2, stream.get());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 200; ++i) {
                logMessage(2, "thread %d line %03d %s\n", t, i, "abcdefghijklmnopqrstuvwxyz");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    const std::string text = stream.text();
    std::size_t lines = 0;
    for (std::size_t start = 0; start < text.size(); ++lines) {
        const auto end = text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(end - start, std::string_view("thread 0 line 000 abcdefghijklmnopqrstuvwxyz").size())
            << text.substr(start, end - start);
        start = end + 1;
    }
    EXPECT_EQ(lines, 800u);
}

} // namespace
