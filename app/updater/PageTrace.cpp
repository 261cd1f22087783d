#include "PageTrace.h"

#include "wizard/UpdateWizardMainWidget.h"

#include <basalt/JsonText.h>

#include <cstdlib>
#include <string_view>

namespace {

std::string attributeOf(const Trellis::Widget& widget, const char* name)
{
    const std::string* value = widget.attribute(Trellis::PooledName(name));
    return value ? *value : std::string();
}

std::string buttonJson(const Trellis::Button& button)
{
    return std::string("{\"shown\":") + (button.isShown() ? "true" : "false") +
           ",\"text\":" + Basalt::jsonString(button.text()) +
           ",\"focus\":" + (attributeOf(button, "hasFocus") == "true" ? "true" : "false") + "}";
}

} // namespace

std::unique_ptr<PageTrace> PageTrace::fromEnvironment()
{
    const char* destination = std::getenv("TVS_UPDATER_TRACE");
    if (destination == nullptr || *destination == '\0') {
        return nullptr;
    }
    if (std::string_view(destination) == "-") {
        return std::unique_ptr<PageTrace>(new PageTrace(stderr, false));
    }
    std::FILE* file = std::fopen(destination, "w");
    return file ? std::unique_ptr<PageTrace>(new PageTrace(file, true)) : nullptr;
}

PageTrace::~PageTrace()
{
    if (owned_) {
        std::fclose(file_);
    }
}

void PageTrace::record(const char* page, const UpdateWizardMainWidget& wizard)
{
    write(pageTraceLine(page, wizard));
}

void PageTrace::recordQuestion(bool open)
{
    write(std::string("{\"question\":\"quit\",\"open\":") + (open ? "true" : "false") + "}");
}

void PageTrace::write(const std::string& line)
{
    std::fputs((line + "\n").c_str(), file_);
    std::fflush(file_);
}

std::string pageTraceLine(const char* page, const UpdateWizardMainWidget& wizard)
{
    return std::string("{\"page\":") + Basalt::jsonString(page) +
           ",\"message\":" + Basalt::jsonString(wizard.message().text()) +
           ",\"action\":" + buttonJson(wizard.actionButton()) + ",\"quit\":" + buttonJson(wizard.quitButton()) +
           ",\"installed\":" + Basalt::jsonString(attributeOf(wizard.installedValue(), "state")) + "}";
}
