// Which names of the Files list are shared, against a plain search of every
// entry for every name.
#include "install/shared_names.h"

#include <gtest/gtest.h>

#include <random>

#include "base/ascii_case.h"

namespace kav::install {
namespace {

bool NamedElsewhere(const std::vector<std::string>& entries, const std::string& upperName,
                    std::size_t index) {
    for (std::size_t other = 0; other < entries.size(); ++other) {
        if (other != index && base::AsciiUpper(entries[other]).find(upperName) != std::string::npos)
            return true;
    }
    return false;
}

// Short names over a small alphabet, so that names hold each other, share
// prefixes and suffixes, and turn up in the tags and other entries' names.
TEST(SharedNamesTest, AgreesWithASearchOfEveryEntryForEveryName) {
    std::mt19937 random(7);
    const std::string letters =
        "aA\xE9"
        "b.~<>\\";
    for (int round = 0; round < 200; ++round) {
        std::vector<std::string> names;
        std::vector<std::string> entries;
        const int count = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) {
            std::string name;
            const int length = static_cast<int>(random() % 5);
            for (int c = 0; c < length; ++c) name += letters[random() % 5];
            names.push_back(name);
            std::string entry = name;
            for (int c = static_cast<int>(random() % 4); c > 0; --c)
                entry += letters[random() % letters.size()];
            entries.push_back(entry);
        }
        const SharedNames shared(names, entries);
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string upper = base::AsciiUpper(names[i]);
            EXPECT_EQ(shared.IsShared(i), NamedElsewhere(entries, upper, i))
                << "round " << round << ", name \"" << names[i] << "\" of entry " << i;
        }
    }
}

}  // namespace
}  // namespace kav::install
