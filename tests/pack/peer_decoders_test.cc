// The encoders' streams are plain "-lh5-" and "-lh1-" data: other decoders
// read them too, liblhasa from the raw stream and libarchive from an LHA
// archive wrapped around it.
#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "pack/encoder.h"
#include "support/lhasa_decode.h"

namespace kav::pack {
namespace {

using lzh::test::DecodeWithLhasa;

std::uint16_t Crc16(const Bytes& data) {
    std::uint16_t crc = 0;
    for (auto b : data) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    }
    return crc;
}

void PutLittle(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A level-0 LHA archive holding `coded` as the one entry "data.bin".
Bytes LhaArchive(const char* method, const Bytes& original, const Bytes& coded) {
    Bytes header(method, method + 5);
    PutLittle(header, static_cast<std::uint32_t>(coded.size()), 4);
    PutLittle(header, static_cast<std::uint32_t>(original.size()), 4);
    PutLittle(header, 0x2A8B6C21, 4);  // DOS date-time
    header.push_back(0x20);            // attributes
    header.push_back(0);               // header level
    const std::string name = "data.bin";
    header.push_back(static_cast<std::uint8_t>(name.size()));
    header.insert(header.end(), name.begin(), name.end());
    PutLittle(header, Crc16(original), 2);
    std::uint8_t sum = 0;
    for (auto b : header) sum = static_cast<std::uint8_t>(sum + b);
    Bytes archive{static_cast<std::uint8_t>(header.size()), sum};
    archive.insert(archive.end(), header.begin(), header.end());
    archive.insert(archive.end(), coded.begin(), coded.end());
    archive.push_back(0);
    return archive;
}

Bytes DecodeWithLibarchive(const Bytes& lha, std::size_t size) {
    struct archive* reader = archive_read_new();
    archive_read_support_format_lha(reader);
    Bytes output;
    struct archive_entry* entry = nullptr;
    if (archive_read_open_memory(reader, lha.data(), lha.size()) == ARCHIVE_OK &&
        archive_read_next_header(reader, &entry) == ARCHIVE_OK) {
        output.resize(size + 1);
        const la_ssize_t n = archive_read_data(reader, output.data(), output.size());
        output.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    }
    archive_read_free(reader);
    return output;
}

Bytes Sample() {
    std::mt19937 random(11);
    Bytes data;
    const char* words[] = {"setup ", "disk ", "archive ", "window\r\n", "the "};
    while (data.size() < 150000) {
        if (random() % 7 == 0) {
            for (int i = 0; i < 200; ++i) data.push_back(static_cast<std::uint8_t>(random()));
        } else {
            const char* w = words[random() % 5];
            data.insert(data.end(), w, w + std::strlen(w));
        }
    }
    data.insert(data.end(), 9000, 0x20);  // a long run
    return data;
}

TEST(PeerDecoders, ReadTheLzhFiveStreamsOfEveryLevel) {
    const Bytes data = Sample();
    for (Level level : {Level::Fast, Level::Normal, Level::Best}) {
        const Bytes coded = Encode(lzh::coLZH5, level, data);
        EXPECT_EQ(DecodeWithLhasa("-lh5-", coded, data.size()), data) << int(level);
        EXPECT_EQ(DecodeWithLibarchive(LhaArchive("-lh5-", data, coded), data.size()), data)
            << int(level);
    }
}

TEST(PeerDecoders, ReadTheAdaptiveLzhStream) {
    const Bytes data = Sample();
    const Bytes coded = Encode(lzh::coLZH, Level::Normal, data);
    EXPECT_EQ(DecodeWithLhasa("-lh1-", coded, data.size()), data);
}

}  // namespace
}  // namespace kav::pack
