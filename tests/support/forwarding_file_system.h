#pragma once
// Test doubles for failures of the file system: a file system that hands
// every call to a real one, for a test to override the calls it makes fail,
// and a stream that takes half of what is written and then fails, as a full
// disk does.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/errors.h"
#include "platform/file_system.h"

namespace kav::setup::testing {

class HalfWrittenStream final : public platform::FileStream {
public:
    explicit HalfWrittenStream(std::unique_ptr<platform::FileStream> s) : s_(std::move(s)) {}
    std::size_t Read(void* b, std::size_t n) override { return s_->Read(b, n); }
    void WriteExactly(const void* b, std::size_t n) override {
        s_->WriteExactly(b, n / 2);
        throw platform::EWriteError("disk full");
    }
    std::int64_t Position() const override { return s_->Position(); }
    std::int64_t Size() const override { return s_->Size(); }
    void Seek(std::int64_t p) override { s_->Seek(p); }
    bool SetDosDateTime(std::uint32_t t) override { return s_->SetDosDateTime(t); }

private:
    std::unique_ptr<platform::FileStream> s_;
};

class ForwardingFileSystem : public platform::FileSystem {
public:
    explicit ForwardingFileSystem(platform::FileSystem& real) : real_(real) {}

    std::unique_ptr<platform::FileStream> Create(const std::string& p) override {
        return real_.Create(p);
    }
    bool MoveOnto(const std::string& s, const std::string& t) override {
        return real_.MoveOnto(s, t);
    }
    bool MoveToNew(const std::string& s, const std::string& t) override {
        return real_.MoveToNew(s, t);
    }
    std::string CurrentDirectory() override { return real_.CurrentDirectory(); }
    bool ChangeDirectory(const std::string& p) override { return real_.ChangeDirectory(p); }
    std::string FullPathName(const std::string& p) override { return real_.FullPathName(p); }
    std::vector<platform::FoundFile> FindFiles(const std::string& p, std::uint32_t m) override {
        return real_.FindFiles(p, m);
    }
    bool FileExists(const std::string& p) override { return real_.FileExists(p); }
    bool DirectoryExists(const std::string& p) override { return real_.DirectoryExists(p); }
    std::optional<std::uint32_t> GetAttributes(const std::string& p) override {
        return real_.GetAttributes(p);
    }
    bool SetAttributes(const std::string& p, std::uint32_t a) override {
        return real_.SetAttributes(p, a);
    }
    bool MakeDirectory(const std::string& p) override { return real_.MakeDirectory(p); }
    bool RemoveEmptyDirectory(const std::string& p) override {
        return real_.RemoveEmptyDirectory(p);
    }
    bool RemoveFile(const std::string& p) override { return real_.RemoveFile(p); }
    std::unique_ptr<platform::FileStream> OpenRead(const std::string& p) override {
        return real_.OpenRead(p);
    }
    std::unique_ptr<platform::FileStream> OpenReadExclusive(const std::string& p) override {
        return real_.OpenReadExclusive(p);
    }
    std::optional<std::uint32_t> GetDosDateTime(const std::string& p) override {
        return real_.GetDosDateTime(p);
    }
    std::optional<std::uint64_t> FreeSpace(int d) override { return real_.FreeSpace(d); }
    std::vector<platform::DriveInfo> Drives() override { return real_.Drives(); }

protected:
    platform::FileSystem& real_;
};

}  // namespace kav::setup::testing
