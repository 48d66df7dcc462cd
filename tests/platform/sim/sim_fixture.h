#pragma once
// A simulated machine in a fresh host folder, with host-side helpers to see
// what the simulation put where.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/errors.h"
#include "platform/sim/sim_machine.h"
#include "support/recording_gui.h"

namespace kav::platform::testing {

class SimFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "kavsim.XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        machine_ = std::make_unique<sim::SimMachine>(root_.string(), gui_);
    }
    void TearDown() override {
        machine_.reset();
        std::filesystem::remove_all(root_);
    }

    // A second machine on the same folder, as a later run would see it.
    void Restart() {
        machine_.reset();
        machine_ = std::make_unique<sim::SimMachine>(root_.string(), gui_);
    }

    sim::SimMachine& M() { return *machine_; }
    const std::filesystem::path& Root() const { return root_; }

    static std::string HostRead(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void HostWrite(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    void WriteFile(const std::string& path, const std::string& bytes) {
        auto stream = M().Files().Create(path);
        stream->WriteExactly(bytes.data(), bytes.size());
    }

    RecordingGui gui_;

private:
    std::filesystem::path root_;
    std::unique_ptr<sim::SimMachine> machine_;
};

}  // namespace kav::platform::testing
