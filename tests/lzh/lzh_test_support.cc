#include "lzh_test_support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/errors.h"
#include "platform/stream.h"

namespace kav::lzh::test {

Expansion Expand(std::uint8_t method, const Bytes& coded, std::int32_t uncompressedSize,
                 const CodecSettings& settings, bool locked) {
    platform::MemoryStream source(coded);
    platform::MemoryStream target;
    Expansion result;
    result.sum = ExpandCodedData(settings, source, target, locked, method, uncompressedSize,
                                 static_cast<std::int32_t>(coded.size()));
    result.output = target.Bytes();
    result.sourcePosition = source.Position();
    return result;
}

void RecordingTarget::WriteExactly(const void* buffer, std::size_t count) {
    if (failWrites_) throw platform::EWriteError("disk full");
    writes.push_back(count);
    if (keepBytes_) {
        const auto* first = static_cast<const std::uint8_t*>(buffer);
        bytes.insert(bytes.end(), first, first + count);
    }
    size_ += static_cast<std::int64_t>(count);
}

BitWriter& BitWriter::Put(std::uint32_t value, unsigned bits) {
    for (unsigned i = bits; i > 0; --i) {
        if (bitCount_ % 8 == 0) bytes_.push_back(0);
        if ((value >> (i - 1)) & 1)
            bytes_.back() |= static_cast<std::uint8_t>(0x80 >> (bitCount_ % 8));
        ++bitCount_;
    }
    return *this;
}

BitWriter& BitWriter::PutString(const std::string& zerosAndOnes) {
    for (const char c : zerosAndOnes) {
        if (c == '0' || c == '1') Put(c == '1' ? 1 : 0, 1);
    }
    return *this;
}

Bytes BitWriter::Finish(std::size_t zeroBytes) const {
    Bytes out = bytes_;
    out.insert(out.end(), zeroBytes, 0);
    return out;
}

std::string TestDataPath(const std::string& relative) {
    const char* root = std::getenv("KAV_TEST_DATA");
    if (root == nullptr) throw std::runtime_error("KAV_TEST_DATA is not set");
    std::string path = std::string(root) + "/" + relative;
#ifdef _WIN32
    if (!path.empty() && path.front() == '/') {
        for (char& c : path) {
            if (c == '/') c = '\\';
        }
        path = "Z:" + path;
    }
#endif
    return path;
}

Bytes ReadBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t ByteSum(const Bytes& bytes) {
    std::uint32_t sum = 0;
    for (const std::uint8_t b : bytes) sum += b;
    return sum;
}

std::uint64_t Fnv1a64(const Bytes& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (const std::uint8_t b : bytes) {
        hash ^= b;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::vector<Fixture> ReadFixtureManifest() {
    std::ifstream in(TestDataPath("lzh/manifest.txt"));
    std::vector<Fixture> fixtures;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        Fixture f;
        fields >> f.stream >> f.size >> f.sum >> std::hex >> f.hash;
        fixtures.push_back(f);
    }
    return fixtures;
}

std::uint8_t FixtureMethod(const std::string& stream) {
    return stream.ends_with(".lh5") ? coLZH5 : coLZH;
}

}  // namespace kav::lzh::test
