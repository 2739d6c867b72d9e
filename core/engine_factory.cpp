#include "core/engine_factory.h"

#include "format2/sqlite_ver2.h"
#include "format3/sqlite_ver3.h"

namespace pw {

std::unique_ptr<sqlite_base> CreateEngine(FileFormat format, Host& host) {
    switch (format) {
        case FileFormat::Format3: return std::make_unique<format3::sqlite_ver3>(host);
        case FileFormat::Format2: return std::make_unique<format2::sqlite_ver2>(host);
        case FileFormat::None: break;
    }
    return nullptr;
}

}  // namespace pw
