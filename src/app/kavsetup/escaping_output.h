#pragma once
// kavsetup's output with the control characters that set data may carry
// (escape sequences, BEL, carriage returns, and the C1 controls as raw bytes
// or in UTF-8) spelled out as \xNN, so that a set cannot drive the
// terminal. Line ends, tabs and other UTF-8 characters pass as they are.
#include <ostream>
#include <streambuf>

namespace kav::app {

class EscapingBuffer final : public std::streambuf {
public:
    explicit EscapingBuffer(std::streambuf* next) : next_(next) {}
    std::streambuf* Next() const { return next_; }

protected:
    int_type overflow(int_type c) override;
    int sync() override { return next_->pubsync(); }

private:
    // Whether `byte` goes out as it is, given the bytes before it.
    bool Passes(unsigned char byte);

    std::streambuf* next_;
    int pending_ = 0;  // continuation bytes still due in a UTF-8 character
    bool afterC2_ = false;
};

// Sends `stream` through an EscapingBuffer for as long as it lives.
class EscapedStream {
public:
    explicit EscapedStream(std::ostream& stream) : stream_(stream), buffer_(stream.rdbuf()) {
        stream_.rdbuf(&buffer_);
    }
    ~EscapedStream() {
        stream_.flush();
        stream_.rdbuf(buffer_.Next());
    }
    EscapedStream(const EscapedStream&) = delete;
    EscapedStream& operator=(const EscapedStream&) = delete;

private:
    std::ostream& stream_;
    EscapingBuffer buffer_;
};

}  // namespace kav::app
