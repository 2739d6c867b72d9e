#pragma once

#include <memory>

#include "core/open_settings.h"
#include "core/sqlite_base.h"

namespace pw {

// The engine for a detected format, or null for FileFormat::None.
std::unique_ptr<sqlite_base> CreateEngine(FileFormat format, Host& host);

}  // namespace pw
