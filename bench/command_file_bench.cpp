// Loading and saving 10,000 commands through the POSIX file system, next to a plain read and a
// plain write of the same bytes; prints how many times slower the command file is than each.
#include "config/command_file.h"
#include "config/module_in_directory.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace portmaven::config {
namespace {

namespace fs = std::filesystem;

constexpr int kRecords = 10'000;

using testing::ModuleInDirectory;

// One directory for the whole run, holding the command file and the plain file.
struct Workspace {
    fs::path directory;
    CommandList list;

    Workspace() {
        char pattern[] = "/tmp/portmaven-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        directory = pattern;
        for (int i = 0; i < kRecords; ++i) {
            const std::string number = std::to_string(i);
            list.AppendCommand(MakeCommandRecord(
                u"Terminal " + std::u16string(number.begin(), number.end()),
                u"C:\\Program Files\\TTERMPRO\\ttermpro.exe /C=%PORTNUM% /BAUD=115200"));
        }
        ModuleInDirectory fileSystem(directory);
        if (!SaveCommandList(fileSystem, list)) {
            std::fprintf(stderr, "cannot write the command file in %s\n", directory.c_str());
            std::exit(1);
        }
    }
    ~Workspace() {
        std::error_code ignored;
        fs::remove_all(directory, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
};

Workspace& TheWorkspace() {
    static Workspace workspace;
    return workspace;
}

void BM_LoadCommandList(benchmark::State& state) {
    ModuleInDirectory fileSystem(TheWorkspace().directory);
    CommandList list;
    for (auto _ : state) {
        LoadCommandList(fileSystem, list, kWindowsDefaultCommand);
        benchmark::DoNotOptimize(list.Storage());
    }
    if (list.GetCount() != kRecords) {
        state.SkipWithError("the command file did not load");
    }
    state.SetBytesProcessed(state.iterations() * kRecords * kRecordBytes);
}

// Open, read the whole file into a fresh buffer, close: what any reader of the bytes pays.
void BM_PlainRead(benchmark::State& state) {
    const std::string path = (TheWorkspace().directory / "Portmaven.cfg").native();
    const std::size_t size = kRecords * kRecordBytes;
    for (auto _ : state) {
        auto buffer = std::make_unique_for_overwrite<std::byte[]>(size);
        const int fd = ::open(path.c_str(), O_RDONLY);
        const ssize_t read = ::read(fd, buffer.get(), size);
        ::close(fd);
        benchmark::DoNotOptimize(buffer.get());
        if (read != static_cast<ssize_t>(size)) {
            state.SkipWithError("short read");
        }
    }
    state.SetBytesProcessed(state.iterations() * kRecords * kRecordBytes);
}

void BM_SaveCommandList(benchmark::State& state) {
    ModuleInDirectory fileSystem(TheWorkspace().directory);
    for (auto _ : state) {
        if (!SaveCommandList(fileSystem, TheWorkspace().list)) {
            state.SkipWithError("save failed");
        }
    }
    state.SetBytesProcessed(state.iterations() * kRecords * kRecordBytes);
}

// Truncate and write in place, with or without handing the bytes to the disk before closing.
void PlainWrite(benchmark::State& state, bool flush) {
    const std::string path = (TheWorkspace().directory / "plain.bin").native();
    const CommandList& list = TheWorkspace().list;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        const ssize_t written = ::write(fd, list.Storage(), list.StorageBytes());
        if (flush) {
            ::fsync(fd);
        }
        ::close(fd);
        if (written != static_cast<ssize_t>(list.StorageBytes())) {
            state.SkipWithError("short write");
        }
    }
    state.SetBytesProcessed(state.iterations() * kRecords * kRecordBytes);
}

void BM_PlainWrite(benchmark::State& state) {
    PlainWrite(state, false);
}

void BM_PlainWriteFlushed(benchmark::State& state) {
    PlainWrite(state, true);
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadCommandList)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWriteFlushed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveCommandList)->Unit(benchmark::kMillisecond)->UseRealTime();

// The console report, keeping each benchmark's real and processor time per iteration. On a
// busy machine the processor time is the steadier of the two.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> times;

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                const auto iterations = static_cast<double>(run.iterations);
                times[run.benchmark_name()] = {run.real_accumulated_time / iterations,
                                               run.cpu_accumulated_time / iterations};
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

void PrintRatio(const RatioReporter& reporter, const char* what, const std::string& measured,
                const std::string& baseline) {
    const auto m = reporter.times.find(measured + "/real_time");
    const auto b = reporter.times.find(baseline + "/real_time");
    if (m == reporter.times.end() || b == reporter.times.end() || b->second.real <= 0 ||
        b->second.cpu <= 0) {
        return;
    }
    std::printf("%-32s real %5.2fx (%7.2f / %7.2f ms)   cpu %5.2fx (%7.2f / %7.2f ms)\n", what,
                m->second.real / b->second.real, m->second.real * 1e3, b->second.real * 1e3,
                m->second.cpu / b->second.cpu, m->second.cpu * 1e3, b->second.cpu * 1e3);
}

} // namespace
} // namespace portmaven::config

int main(int argc, char** argv) {
    using namespace portmaven::config;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%d records, %zu bytes; goal: at most 1.50x\n", kRecords,
                static_cast<std::size_t>(kRecords) * kRecordBytes);
    PrintRatio(reporter, "load / plain read", "BM_LoadCommandList", "BM_PlainRead");
    PrintRatio(reporter, "save / plain write", "BM_SaveCommandList", "BM_PlainWrite");
    PrintRatio(reporter, "save / plain write with fsync", "BM_SaveCommandList",
               "BM_PlainWriteFlushed");
    benchmark::Shutdown();
    return 0;
}
