#include "casement/AppModule.h"

#include "casement/LanguageCode.h"

#include "basalt/ThreadStorage.h"

namespace Casement {
namespace {

constexpr std::size_t MaxLanguageCodeLength = 15;

AppModule*& theModule()
{
    static AppModule* module = nullptr;
    return module;
}

std::string& currentLanguageCode()
{
    static std::string code = "ENG";
    return code;
}

} // namespace

AppModule::AppModule()
{
    if (theModule() == nullptr) {
        theModule() = this;
    }
}

AppModule::~AppModule()
{
    releaseApplication();
    if (theModule() == this) {
        theModule() = nullptr;
    }
}

bool AppModule::readsLocaleSetting() const
{
    return false;
}

std::string AppModule::locale(bool) const
{
    return {};
}

bool AppModule::startModule()
{
    const std::string text = locale(readsLocaleSetting());
    const std::string code = text.empty() ? LanguageCode::userDefault() : text;
    currentLanguageCode() = code.substr(0, MaxLanguageCodeLength);
    Basalt::ThreadStorage::allocate();
    startResult_ = createApplication();
    return startResult_ != 0;
}

bool AppModule::attachApplication(std::unique_ptr<IApplication> application)
{
    if (application_ != nullptr || application == nullptr) {
        return false;
    }
    application_ = std::move(application);
    application_->attach(this);
    const bool started = application_->start();
    if (!started) {
        application_->stop(0);
    }
    return started;
}

void AppModule::releaseApplication()
{
    if (application_ == nullptr) {
        return;
    }
    application_->stop(startResult_);
    application_->attach(nullptr);
    // Forgotten before it is deleted: Application::current() is null from here.
    const std::unique_ptr<IApplication> released = std::move(application_);
}

AppModule* AppModule::instance()
{
    return theModule();
}

const std::string& AppModule::languageCode()
{
    return currentLanguageCode();
}

} // namespace Casement
