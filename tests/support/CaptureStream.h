#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// A stdio stream whose bytes the test can read back, for the reader's diagnostics.
class CaptureStream {
public:
    CaptureStream() : stream_(open_memstream(&buffer_, &size_)) {}
    CaptureStream(const CaptureStream&) = delete;
    CaptureStream& operator=(const CaptureStream&) = delete;
    ~CaptureStream() {
        std::fclose(stream_);
        std::free(buffer_);
    }

    std::FILE* get() const { return stream_; }
    std::string text() {
        std::fflush(stream_);
        return std::string(buffer_, size_);
    }

private:
    char* buffer_ = nullptr;
    std::size_t size_ = 0;
    std::FILE* stream_;
};
