// Files held in memory, with faults to order: a file system that the command file's logic can
// be driven through without a disk, for the fault tests and the fuzzer alike.
#pragma once

#include "config/file_system.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace portmaven::config::testing {

// The steps of a save, each of which can be made to fail.
enum class SaveStep { Create, Write, PartialWrite, Flush, Close, Replace };

class MemoryFileSystem : public FileSystem {
public:
    using Content = std::vector<std::byte>;

    // The command file beside the default executable.
    static constexpr char16_t kCommandFile[] = u"M:\\Portmaven.cfg";

    std::optional<std::u16string> modulePath = u"M:\\Portmaven.exe";
    std::map<std::u16string, Content> files;
    std::set<std::u16string> directories;
    std::set<std::u16string> readOnly; // files or directories kept from writing

    // Faults: every path is of this kind; every file has this size (one that changed since);
    // the save fails at this step.
    std::optional<FileKind> kind;
    std::optional<std::uint64_t> size;
    std::optional<SaveStep> failAt;

    // The last path whose kind was asked.
    mutable std::u16string lastPath;

    [[nodiscard]] char16_t PathSeparator() const noexcept override { return u'\\'; }
    [[nodiscard]] std::optional<std::u16string> ModulePath() const override { return modulePath; }

    [[nodiscard]] FileKind Kind(const std::u16string& path) const override {
        lastPath = path;
        if (kind) {
            return *kind;
        }
        if (readOnly.contains(path)) {
            return FileKind::ReadOnly;
        }
        if (directories.contains(path)) {
            return FileKind::Directory;
        }
        return files.contains(path) ? FileKind::File : FileKind::Missing;
    }

    [[nodiscard]] std::optional<std::uint64_t> Size(const std::u16string& path) const override {
        if (size) {
            return size;
        }
        const auto file = files.find(path);
        return file == files.end() ? std::nullopt
                                   : std::optional<std::uint64_t>(file->second.size());
    }

    [[nodiscard]] std::unique_ptr<InputFile>
    OpenForReading(const std::u16string& path) const override {
        const auto file = files.find(path);
        if (file == files.end()) {
            return nullptr;
        }
        return std::make_unique<MemoryInputFile>(file->second);
    }

    [[nodiscard]] std::unique_ptr<OutputFile>
    CreateForWriting(const std::u16string& path) override {
        if (failAt == SaveStep::Create || directories.contains(path)) {
            return nullptr;
        }
        Content& content = files[path];
        content.clear();
        return std::make_unique<MemoryOutputFile>(content, failAt);
    }

    // Files in memory are never links.
    [[nodiscard]] std::optional<std::u16string>
    FinalPath(const std::u16string& path) const override {
        return path;
    }

    bool Replace(const std::u16string& source, const std::u16string& target) override {
        if (failAt == SaveStep::Replace || directories.contains(target)) {
            return false;
        }
        auto node = files.extract(source);
        if (node.empty()) {
            return false;
        }
        files[target] = std::move(node.mapped());
        return true;
    }

    bool Remove(const std::u16string& path) override { return files.erase(path) == 1; }

private:
    class MemoryInputFile : public InputFile {
    public:
        explicit MemoryInputFile(const Content& content) : rest_(content) {}
        std::optional<std::uint32_t> Read(std::span<std::byte> destination) override {
            const std::size_t count = std::min(destination.size(), rest_.size());
            if (count != 0) {
                std::memcpy(destination.data(), rest_.data(), count);
            }
            rest_ = rest_.subspan(count);
            return static_cast<std::uint32_t>(count);
        }
        bool Close() override { return true; }

    private:
        std::span<const std::byte> rest_;
    };

    class MemoryOutputFile : public OutputFile {
    public:
        MemoryOutputFile(Content& content, std::optional<SaveStep> failAt)
            : content_(content), failAt_(failAt) {}
        bool Write(std::span<const std::byte> bytes) override {
            if (failAt_ == SaveStep::PartialWrite) {
                bytes = bytes.first(bytes.size() / 2);
            }
            content_.insert(content_.end(), bytes.begin(), bytes.end());
            return failAt_ != SaveStep::Write && failAt_ != SaveStep::PartialWrite;
        }
        bool Flush() override { return failAt_ != SaveStep::Flush; }
        bool Close() override { return failAt_ != SaveStep::Close; }

    private:
        Content& content_;
        std::optional<SaveStep> failAt_;
    };
};

} // namespace portmaven::config::testing
