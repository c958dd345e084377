#include "launcher.h"
#include "platform.h"

int main(int argc, char** argv) {
    const std::unique_ptr<runhost::Platform> platform = runhost::MakeHostPlatform();
    // The command line goes to the application unchanged.
    return runhost::RunLauncher(*platform, argc, const_cast<const char**>(argv));
}
