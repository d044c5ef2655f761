#pragma once
// The installed platform with one addition: an error box (the log's fatal
// report) gains a text that the runner supplies, the traceback of the script
// that failed, and the runner remembers what the box said. Everything else
// goes to the backend unchanged.
#include <functional>
#include <string>

#include "platform/platform.h"

namespace runner {

class ReportingPlatform : public platform::Platform, private platform::System {
public:
    // `addendum` is asked for the text to add below an error box's message.
    ReportingPlatform(platform::Platform& backend, std::function<std::string()> addendum)
        : backend(backend), addendum(std::move(addendum)) {}

    platform::System& system() override { return *this; }
    platform::Input& input() override { return backend.input(); }
    platform::Windowing& windowing() override { return backend.windowing(); }
    platform::Direct3D* createDirect3D() override { return backend.createDirect3D(); }

    // The text of the last error box, traceback included; empty when none came.
    const std::string& lastError() const { return errorText; }
    // What the addendum gave for it.
    const std::string& lastAddendum() const { return errorAddendum; }

private:
    platform::System& inner() { return backend.system(); }
    bool peekMessage(platform::Message& out) override { return inner().peekMessage(out); }
    void dispatchMessage(const platform::Message& message) override {
        inner().dispatchMessage(message);
    }
    void postQuitMessage(int exitCode) override { inner().postQuitMessage(exitCode); }
    void sleep(std::uint32_t milliseconds) override { inner().sleep(milliseconds); }
    std::uint32_t milliseconds() override { return inner().milliseconds(); }
    int messageBox(const std::string& text, const std::string& caption,
                   std::uint32_t style) override;
    std::string dataFolder(const std::string& subFolder) override {
        return inner().dataFolder(subFolder);
    }
    char pathSeparator() const override { return backend.system().pathSeparator(); }
    bool syncFile(std::FILE* file) override { return inner().syncFile(file); }
    std::tm localTime(std::time_t seconds) override { return inner().localTime(seconds); }

    platform::Platform& backend;
    std::function<std::string()> addendum;
    std::string errorText;
    std::string errorAddendum;
};

}  // namespace runner
