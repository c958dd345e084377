// The launcher as the end-to-end runs use it: the host platform in every
// respect but reporting, which always uses the console it was started with
// and writes message boxes as marked lines, so that no run waits on a box.
#include <cstdio>
#include <memory>

#include "launcher.h"
#include "platform.h"

namespace {

class ConsoleOnlyPlatform : public runhost::Platform {
  public:
    explicit ConsoleOnlyPlatform(std::unique_ptr<runhost::Platform> host)
        : host_(std::move(host)) {}

    const runhost::PathConventions& conventions() const override { return host_->conventions(); }
    std::optional<std::string> executablePath() override { return host_->executablePath(); }
    bool attachParentConsole() override { return true; }
    void showMessageBox(const std::string& caption, const std::string& text) override {
        host_->writeError("[message box] " + caption + ":" + text + "\n");
    }
    void writeOutput(const std::string& text) override { host_->writeOutput(text); }
    void writeError(const std::string& text) override { host_->writeError(text); }
    std::optional<std::string> environmentVariable(const std::string& name) override {
        return host_->environmentVariable(name);
    }
    bool fileExists(const std::string& path) override { return host_->fileExists(path); }
    void* loadLibrary(const std::string& path) override { return host_->loadLibrary(path); }
    void* findSymbol(void* library, const char* name) override {
        return host_->findSymbol(library, name);
    }
    std::string lastLibraryError() override { return host_->lastLibraryError(); }

  private:
    std::unique_ptr<runhost::Platform> host_;
};

}  // namespace

int main(int argc, char** argv) {
    ConsoleOnlyPlatform platform(runhost::MakeHostPlatform());
    return runhost::RunLauncher(platform, argc, const_cast<const char**>(argv));
}
