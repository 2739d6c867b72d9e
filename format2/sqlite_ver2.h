#pragma once
// The engine for files of the 2.1 format, which begin with
// "** This file contains an SQLite 2.1 database **".

#include "core/sqlite_base.h"

namespace pw::format2 {

class sqlite_ver2 : public sqlite_base {
public:
    explicit sqlite_ver2(Host& owner) : sqlite_base(owner) {}
};

}  // namespace pw::format2
