#include "writer/csv_export.h"

#include <charconv>

#include "core/value_text.h"

namespace pw {

void AppendCsvField(std::string& out, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(text);
        return;
    }
    out.push_back('"');
    for (char c : text) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

CsvWriter::CsvWriter(std::FILE* stream, const std::vector<std::string>& columns) : stream_(stream) {
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i) buffer_.push_back(',');
        AppendCsvField(buffer_, columns[i]);
    }
    buffer_.append("\r\n");
}

CsvWriter::~CsvWriter() { Finish(); }

void CsvWriter::OnRow(const RowView& row) {
    for (size_t i = 0; i < row.values.size(); ++i) {
        if (i) buffer_.push_back(',');
        const Value& value = row.values[i];
        switch (value.kind) {
            case ValueKind::Null: break;
            case ValueKind::Text: AppendCsvField(buffer_, value.bytes); break;
            case ValueKind::Real: {
                char number[32];
                buffer_.append(number, std::to_chars(number, number + sizeof number, value.real).ptr);
                break;
            }
            default: AppendStatementValue(buffer_, value); break;
        }
    }
    buffer_.append("\r\n");
    ++rows;
    FlushIfFull();
}

void CsvWriter::FlushIfFull() {
    if (buffer_.size() < (1 << 20)) return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) failed_ = true;
    buffer_.clear();
}

bool CsvWriter::Finish() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
    if (std::fflush(stream_) != 0 || std::ferror(stream_)) failed_ = true;
    return !failed_;
}

}  // namespace pw
