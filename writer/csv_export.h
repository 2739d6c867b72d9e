#pragma once
// Recovered rows as CSV (RFC 4180): UTF-8, a header line with the column names, CRLF
// line ends, fields quoted when they hold a comma, a quote or a line break. NULL is an
// empty field, reals are written in their shortest exact form, blobs as X'hex'.

#include <cstdio>
#include <string>
#include <vector>

#include "core/row.h"

namespace pw {

void AppendCsvField(std::string& out, std::string_view text);

class CsvWriter : public RowSink {
public:
    // Writes to stream, which the caller owns; the header line goes out at once.
    CsvWriter(std::FILE* stream, const std::vector<std::string>& columns);
    ~CsvWriter() override;
    void OnRow(const RowView& row) override;
    // Flushes; false when the stream reported an error at any point.
    bool Finish();
    uint64_t rows = 0;

private:
    void FlushIfFull();
    std::FILE* stream_;
    std::string buffer_;
    bool failed_ = false;
};

}  // namespace pw
