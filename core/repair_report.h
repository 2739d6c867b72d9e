#pragma once
// What a build of the rebuilt database did, for the front ends to show.

#include <cstdint>
#include <string>
#include <vector>

namespace pw {

struct RepairReport {
    struct Table {
        std::string name;
        uint64_t rowsWritten = 0;
        uint64_t rowsFailed = 0;
        bool created = false;
    };

    bool completed = false;  // the output file is in place
    bool declined = false;   // the user chose not to replace an existing output
    std::string outputPath;
    std::string error;       // why the output could not be written, when it could not
    std::vector<Table> tables;

    uint64_t RowsWritten() const {
        uint64_t total = 0;
        for (const Table& table : tables) total += table.rowsWritten;
        return total;
    }
};

}  // namespace pw
