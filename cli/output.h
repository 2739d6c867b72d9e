#pragma once
// Buffered standard output: large writes, so that printing a million rows costs
// little more than formatting them.

#include <cstdio>
#include <string>

namespace pw::cli {

class Output {
public:
    explicit Output(std::FILE* stream = stdout) : stream_(stream) { buffer_.reserve(kFlushAt + 4096); }
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    // The buffer to append to; call Wrote() after appending.
    std::string& buffer() { return buffer_; }
    void Wrote() {
        if (buffer_.size() >= kFlushAt) Flush();
    }
    void Write(std::string_view text) {
        buffer_.append(text);
        Wrote();
    }
    void Flush() {
        if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), stream_);
        buffer_.clear();
        std::fflush(stream_);
    }

private:
    static constexpr size_t kFlushAt = 1 << 20;
    std::FILE* stream_;
    std::string buffer_;
};

}  // namespace pw::cli
