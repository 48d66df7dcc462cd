#pragma once
// A registry that sets no value: for the failure of a registry write.
// `opensKeys` says whether keys open (and so the write gets as far as the
// value) or not even that.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace kav::setup::testing {

class RefusingRegistry final : public platform::Registry {
public:
    explicit RefusingRegistry(bool opensKeys) : opensKeys_(opensKeys) {}

    bool CreateKey(platform::RootKey, const std::string&) override { return opensKeys_; }
    bool SetStringValue(platform::RootKey, const std::string&, const std::string&,
                        const std::string&) override {
        return false;
    }
    std::optional<std::string> ReadStringValue(platform::RootKey, const std::string&,
                                               const std::string&) override {
        return std::nullopt;
    }
    bool SetDwordValue(platform::RootKey, const std::string&, const std::string&,
                       std::uint32_t) override {
        return false;
    }
    std::optional<std::uint32_t> ReadDwordValue(platform::RootKey, const std::string&,
                                                const std::string&) override {
        return std::nullopt;
    }
    bool KeyExists(platform::RootKey, const std::string&) override { return false; }
    bool DeleteValue(platform::RootKey, const std::string&, const std::string&) override {
        return false;
    }
    bool DeleteKeyTree(platform::RootKey, const std::string&) override { return false; }
    bool DeleteEmptyKey(platform::RootKey, const std::string&) override { return false; }

private:
    bool opensKeys_;
};

}  // namespace kav::setup::testing
