// The codec driver: chunked input with progress, buffered output, key
// unscrambling and the byte sum, seen through the run-length decoder (whose
// literals pass through unchanged) or through the driver's byte interface.
#include <gtest/gtest.h>

#include <numeric>

#include "lzh/codec_driver_core.h"
#include "lzh_test_support.h"
#include "platform/errors.h"

namespace kav::lzh::test {
namespace {

// Bytes without the run-length escape, so that they expand to themselves.
Bytes Literals(std::size_t count) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(i % 0x90);
    return bytes;
}

struct DriverRun {
    std::vector<std::size_t> reads;
    std::vector<std::size_t> writes;
    std::vector<int> percentages;
    int yields = 0;
    std::uint32_t sum = 0;
};

DriverRun RunLiterals(std::size_t compressedSize) {
    DriverRun run;
    RecordingSource source(Literals(compressedSize));
    RecordingTarget target(false);
    CountingProcessor processor;
    CodecSettings settings;
    settings.processor = &processor;
    settings.OnShowProgress = [&](int& percent) { run.percentages.push_back(percent); };
    run.sum = ExpandCodedData(settings, source, target, false, coRLE, 0,
                              static_cast<std::int32_t>(compressedSize));
    run.reads = source.reads;
    run.writes = target.writes;
    run.yields = processor.yields;
    return run;
}

TEST(CodecDriver, FetchesInChunksOf8192AndReportsTheShareFetched) {
    const DriverRun run = RunLiterals(20000);
    EXPECT_EQ(run.reads, (std::vector<std::size_t>{8192, 8192, 3616}));
    EXPECT_EQ(run.percentages, (std::vector<int>{40, 81, 100}));
    // Output: 8192, 8192 when the next byte needs room, the rest at the end.
    EXPECT_EQ(run.writes, (std::vector<std::size_t>{8192, 8192, 3616}));
    // One yield per refill and one before every full-buffer write.
    EXPECT_EQ(run.yields, 3 + 2);
    const Bytes literals = Literals(20000);
    EXPECT_EQ(run.sum, std::accumulate(literals.begin(), literals.end(), 0u));
}

TEST(CodecDriver, PercentagesOfLargeEntriesAvoidOverflow) {
    const DriverRun run = RunLiterals(200000);
    ASSERT_FALSE(run.percentages.empty());
    EXPECT_EQ(run.percentages.front(), 8192 / 2000);
    EXPECT_EQ(run.percentages.back(), 100);
    EXPECT_EQ(ProgressPercent(2000000000, 2000000000), 100);
    EXPECT_EQ(ProgressPercent(99999, 100000), 99);
}

TEST(CodecDriver, OutputIsWrittenOnlyWhenTheNextByteNeedsRoom) {
    EXPECT_EQ(RunLiterals(8192).writes, (std::vector<std::size_t>{8192}));
    EXPECT_EQ(RunLiterals(8193).writes, (std::vector<std::size_t>{8192, 1}));
    EXPECT_TRUE(RunLiterals(0).writes.empty());
}

TEST(CodecDriver, EmptySourceIsExhaustedWithoutReadingOrReporting) {
    RecordingSource source({1, 2, 3});
    platform::MemoryStream target;
    bool reported = false;
    CodecSettings settings;
    settings.OnShowProgress = [&](int&) { reported = true; };
    CodecDriver driver(settings, source, target, false, 0);
    EXPECT_EQ(driver.ReadSourceByte(), 0);
    EXPECT_TRUE(driver.SourceExhausted());
    EXPECT_TRUE(source.reads.empty());
    EXPECT_FALSE(reported);
}

TEST(CodecDriver, NegativeCompressedSizeReadsNothing) {
    RecordingSource source({1, 2, 3});
    platform::MemoryStream target;
    CodecDriver driver({}, source, target, false, -5);
    EXPECT_EQ(driver.ReadSourceByte(), 0);
    EXPECT_TRUE(driver.SourceExhausted());
    EXPECT_TRUE(source.reads.empty());
}

TEST(CodecDriver, ShortReadsAreUsedAndAnEmptyReadExhausts) {
    // The stream ends before the compressed size says it should.
    RecordingSource source({7, 8});
    platform::MemoryStream target;
    CodecDriver driver({}, source, target, false, 10);
    EXPECT_EQ(driver.ReadSourceByte(), 7);
    EXPECT_EQ(driver.ReadSourceByte(), 8);
    EXPECT_FALSE(driver.SourceExhausted());
    EXPECT_EQ(driver.ReadSourceByte(), 0);
    EXPECT_TRUE(driver.SourceExhausted());
    EXPECT_EQ(source.reads, (std::vector<std::size_t>{10, 8}));
}

TEST(CodecDriver, StopAnswerReportsExhaustionOnceAndKeepsTheFetchedBytes) {
    RecordingSource source({0x11, 0x22, 0x33});
    platform::MemoryStream target;
    int calls = 0;
    CodecSettings settings;
    settings.OnShowProgress = [&](int& percent) {
        ++calls;
        percent = -1;
    };
    CodecDriver driver(settings, source, target, false, 3);
    EXPECT_EQ(driver.ReadSourceByte(), 0);
    EXPECT_TRUE(driver.SourceExhausted());
    EXPECT_EQ(driver.ReadSourceByte(), 0x11);
    EXPECT_EQ(driver.ReadSourceByte(), 0x22);
    EXPECT_EQ(driver.ReadSourceByte(), 0x33);
    EXPECT_EQ(calls, 1);
}

TEST(CodecDriver, LockedEntriesAreUnscrambledWithTheKeyBytesInTurn) {
    const Bytes plain = Literals(9);
    const std::int32_t key = 0x04030201;
    Bytes scrambled = plain;
    for (std::size_t i = 0; i < scrambled.size(); ++i)
        scrambled[i] ^= static_cast<std::uint8_t>(1 + i % 4);
    CodecSettings settings;
    settings.Key = key;
    // Twice: the key cycle restarts with every entry.
    EXPECT_EQ(Expand(coRLE, scrambled, 0, settings, true).output, plain);
    EXPECT_EQ(Expand(coRLE, scrambled, 0, settings, true).output, plain);
    // Unlocked, or no key: the bytes are taken as they are.
    EXPECT_EQ(Expand(coRLE, plain, 0, settings, false).output, plain);
    settings.Key = 0;
    EXPECT_EQ(Expand(coRLE, plain, 0, settings, true).output, plain);
}

TEST(CodecDriver, KeyCycleContinuesAcrossRefillsAndAfterAStop) {
    const Bytes plain = Literals(8195);
    const std::int32_t key = static_cast<std::int32_t>(0xA1B2C3D4u);
    Bytes scrambled = plain;
    for (std::size_t i = 0; i < scrambled.size(); ++i) {
        scrambled[i] ^= static_cast<std::uint8_t>(0xA1B2C3D4u >> (8 * (i % 4)));
    }
    RecordingSource source(scrambled);
    platform::MemoryStream target;
    CodecSettings settings;
    settings.Key = key;
    bool stopOnce = true;
    settings.OnShowProgress = [&](int& percent) {
        if (stopOnce) percent = -1;
        stopOnce = false;
    };
    CodecDriver driver(settings, source, target, true, static_cast<std::int32_t>(scrambled.size()));
    EXPECT_EQ(driver.ReadSourceByte(), 0);
    for (const std::uint8_t expected : plain) ASSERT_EQ(driver.ReadSourceByte(), expected);
}

TEST(CodecDriver, SumWrapsModulo2To32) {
    // Literal 0xFF plus a run of 254 more, often enough to sum past 2^32.
    const std::size_t groups = 66053;
    Bytes coded;
    for (std::size_t i = 0; i < groups; ++i) coded.insert(coded.end(), {0xFF, 0x94, 0xFF});
    platform::MemoryStream source(coded);
    RecordingTarget target(false);
    const std::uint32_t sum = ExpandCodedData({}, source, target, false, coRLE, 0,
                                              static_cast<std::int32_t>(coded.size()));
    const std::uint64_t bytes = groups * 255ull;
    EXPECT_EQ(static_cast<std::uint64_t>(target.Size()), bytes);
    EXPECT_GT(bytes * 0xFF, 0xFFFFFFFFull);
    EXPECT_EQ(sum, static_cast<std::uint32_t>(bytes * 0xFF));
}

TEST(CodecDriver, MethodsWithoutADecoderExpandNothing) {
    for (const int method : {0, 3, 5, 255}) {
        RecordingSource source({1, 2, 3});
        RecordingTarget target;
        EXPECT_EQ(
            ExpandCodedData({}, source, target, false, static_cast<std::uint8_t>(method), 3, 3),
            0u);
        EXPECT_TRUE(source.reads.empty());
        EXPECT_TRUE(target.writes.empty());
    }
}

TEST(CodecDriver, DecoderErrorsPassOnWithoutWritingThePartlyFilledBuffer) {
    // One literal block of 1 symbol, then a block whose code-length count
    // (20) exceeds its alphabet.
    const Bytes coded = BitWriter()
                            .Put(1, 16)
                            .Put(0, 5)
                            .Put(0, 5)
                            .Put(0, 9)
                            .Put('a', 9)
                            .Put(0, 4)
                            .Put(0, 4)
                            .Put(1, 16)
                            .Put(20, 5)
                            .Finish(4);
    platform::MemoryStream source(coded);
    RecordingTarget target;
    try {
        ExpandCodedData({}, source, target, false, coLZH5, 2,
                        static_cast<std::int32_t>(coded.size()));
        FAIL() << "no exception";
    } catch (const ELZHBadDecodeTable& e) {
        EXPECT_STREQ(e.what(), "Bad decode table in archive!");
    }
    EXPECT_TRUE(target.writes.empty());
}

TEST(CodecDriver, TargetWriteErrorsPassOn) {
    platform::MemoryStream source(Literals(10));
    RecordingTarget target(true, true);
    EXPECT_THROW(ExpandCodedData({}, source, target, false, coRLE, 0, 10), platform::EWriteError);
}

}  // namespace
}  // namespace kav::lzh::test
