#pragma once

#include <cstdio>
#include <memory>
#include <string>

class UpdateWizardMainWidget;

// A record of the pages the wizard shows, for tests and for bug reports: one
// JSON object a line with the page, its message, the two buttons (shown,
// caption, whether they carry the focus picture) and the installed field's
// state; and a line when the quit question opens or is answered
// ({"question":"quit","open":true}). Written to the file the environment
// variable TVS_UPDATER_TRACE names ("-" for standard error), each line as
// soon as its page shows.
class PageTrace {
public:
    // A trace to the variable's destination, or null when it is not set or
    // the file cannot be opened.
    static std::unique_ptr<PageTrace> fromEnvironment();
    ~PageTrace();
    PageTrace(const PageTrace&) = delete;
    PageTrace& operator=(const PageTrace&) = delete;

    void record(const char* page, const UpdateWizardMainWidget& wizard);
    void recordQuestion(bool open);

private:
    PageTrace(std::FILE* file, bool owned) : file_(file), owned_(owned) {}
    void write(const std::string& line);

    std::FILE* file_;
    bool owned_;
};

// The line written for a page.
std::string pageTraceLine(const char* page, const UpdateWizardMainWidget& wizard);
