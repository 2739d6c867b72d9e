#include <cstdio>

#include "cli/commands.h"
#include "cli/json.h"
#include "core/probe.h"

namespace pw::cli {
namespace {

const char* FormatName(FileFormat format) {
    switch (format) {
        case FileFormat::Format3: return "SQLite format 3";
        case FileFormat::Format2: return "SQLite 2.1";
        case FileFormat::None: break;
    }
    return "not detected";
}

}  // namespace

int ProbeCommand(const Arguments& arguments) {
    const bool json = arguments.Has("--json");
    std::vector<MessageBox> messages;
    OpenSettings settings = ProbeFile(arguments.positional[0], [&](const MessageBox& box) {
        messages.push_back(box);
        if (!json) std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    });
    if (json) {
        std::string out = "{\"path\": " + JsonString(settings.path) +
                          ", \"start_offset\": " + std::to_string(settings.startOffset) +
                          ", \"format\": " + std::to_string(static_cast<int>(settings.format)) +
                          ", \"page_size\": " + std::to_string(settings.pageSize) +
                          ", \"page_count\": " + std::to_string(settings.pageCount) +
                          ", \"utf8\": " + (settings.utf8Text ? "true" : "false") +
                          ", \"utf16\": " + (settings.utf16Text ? "true" : "false") +
                          ", \"utf16_big_endian\": " + (settings.utf16BigEndian ? "true" : "false") +
                          ", \"messages\": [";
        for (size_t i = 0; i < messages.size(); ++i) {
            if (i) out += ", ";
            out += "{\"caption\": " + JsonString(messages[i].caption) +
                   ", \"text\": " + JsonString(messages[i].text) + "}";
        }
        out += "]}\n";
        std::fputs(out.c_str(), stdout);
    } else {
        std::printf("path:          %s\n", settings.path.c_str());
        std::printf("format:        %s (%d)\n", FormatName(settings.format),
                    static_cast<int>(settings.format));
        std::printf("start offset:  %llu\n", static_cast<unsigned long long>(settings.startOffset));
        std::printf("page size:     %lld\n", static_cast<long long>(settings.pageSize));
        std::printf("page count:    %lld\n", static_cast<long long>(settings.pageCount));
        std::printf("text:          %s\n", settings.utf16Text
                                               ? (settings.utf16BigEndian ? "UTF-16be" : "UTF-16le")
                                               : settings.utf8Text ? "UTF-8" : "none");
    }
    return settings.path.empty() ? kExitNotFound : kExitOk;
}

}  // namespace pw::cli
