#include "input.h"

#include <istream>
#include <ostream>
#include <sstream>

#include "datablocks/hwdatablockident.h"
#include "driver/conversion.h"
#include "driver/memoryinput.h"
#include "inspect.h"
#include "platform/platform.h"

namespace quenview {

bool looksLikeImage(const std::vector<std::uint8_t>& content) {
    if (content.size() < quenmap::kHeaderSize) return false;
    const unsigned id = content[0] | (content[1] << 8);
    const std::size_t length = content[2] | (content[3] << 8);
    return (id == quenmap::kIdentId || id == quenmap::kAlternateIdentId) &&
           length >= quenmap::kHeaderSize && length <= content.size();
}

int walkOf(const std::string& displayName, const std::vector<std::uint8_t>& content,
           std::ostream& err, std::unique_ptr<ImageWalk>& walk) {
    InputFileInfo file;
    file.name = displayName;
    file.size = content.size();
    file.sha256 = platform::sha256Hex(content.data(), content.size());
    if (looksLikeImage(content)) {
        file.kind = "image";
        walk = std::make_unique<ImageWalk>(content.data(), content.size());
        walk->report().file = file;
        return quenmap::kStatusSuccess;
    }
    file.kind = "text";
    quenmap::MemoryInputBuffer buffer(reinterpret_cast<const char*>(content.data()),
                                      content.size());
    std::istream text(&buffer);
    std::ostringstream image;
    std::ostringstream log;
    std::istringstream noKeys;
    // The table readers' diagnostics go with the messages, never into a
    // report written to standard output.
    const quenmap::Console console{noKeys, err, err};
    quenmap::TextToBinaryRequest request{displayName, "(image in memory)", ""};
    const int status = quenmap::convertTextToBinary(text, image, log, request, console);
    if (status != quenmap::kStatusSuccess) {
        // The run's own rejections (an unknown board, one without a
        // conversion) are written to its log; they are the message here.
        err << log.str();
        return status;
    }
    const std::string bytes = image.str();
    walk = std::make_unique<ImageWalk>(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                       bytes.size());
    walk->report().file = file;
    return quenmap::kStatusSuccess;
}

int reportOf(const std::string& displayName, const std::vector<std::uint8_t>& content,
             std::ostream& err, Report& report) {
    std::unique_ptr<ImageWalk> walk;
    const int status = walkOf(displayName, content, err, walk);
    if (status == quenmap::kStatusSuccess) report = std::move(*walk).decodedReport();
    return status;
}

}  // namespace quenview
