#pragma once

#include "casement/IApplication.h"

#include <memory>
#include <string>

namespace Casement {

// The program's application module. The first module constructed in the
// process is "the" module: it creates the application at start-up, owns it
// while it runs and destroys it at shut-down.
class AppModule {
public:
    AppModule();
    // Releases an application that is still attached.
    virtual ~AppModule();
    AppModule(const AppModule&) = delete;
    AppModule& operator=(const AppModule&) = delete;

    // Initialises the libraries and creates and attaches the application;
    // the result (used as bool) is handed back to destroyApplication.
    virtual int createApplication() = 0;
    // Releases the application and shuts the libraries down.
    virtual void destroyApplication(int startResult) = 0;
    // Whether the locale comes from the settings.
    virtual bool readsLocaleSetting() const;
    // The locale text; empty when the user's default language decides. The
    // program keeps no settings, so this is empty in both cases.
    virtual std::string locale(bool fromSettings) const;

    // Chooses the language code, allocates the libraries' thread-storage slot
    // and creates the application; true when it started.
    bool startModule();
    // Attaches and starts `application`; false (and `application` dropped)
    // when one is attached already. A failed start stops it with 0 but leaves
    // it attached for releaseApplication.
    bool attachApplication(std::unique_ptr<IApplication> application);
    // Stops, detaches and deletes the attached application.
    void releaseApplication();

    IApplication* application() const { return application_.get(); }
    int startResult() const { return startResult_; }

    // The module of the process; null before one is constructed.
    static AppModule* instance();
    // The language code chosen by startModule ("ENG" before), at most 15 characters.
    static const std::string& languageCode();

private:
    int startResult_ = 0;
    std::unique_ptr<IApplication> application_;
};

} // namespace Casement
