// What reading the settings file at start-up and saving it at close cost, on real files on disk.
// The reader stops after twelve items, so a huge file costs no more than a normal one; the
// ten-megabyte case shows that.

#include "app/Platform.h"
#include "app/RuntimeError.h"
#include "app/SettingsFile.h"
#include "app/tests/support/Cp932CodePage.h"
#include "app/tests/support/FakePlatform.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace ambrel;

// Files in one folder through std::fstream; replace writes a temporary file and renames it over
// the old one, as the Win32 store does with MoveFileEx.
class DiskFileStore : public FileStore {
public:
    explicit DiskFileStore(fs::path folder) : folder_(std::move(folder)) {
        fs::create_directories(folder_);
    }
    ~DiskFileStore() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::optional<std::string> read(const std::string& name) override {
        std::ifstream in(folder_ / name, std::ios::binary);
        if (!in) {
            if (!fs::exists(folder_ / name)) {
                return std::nullopt;
            }
            throw RuntimeError(kPathAccessError);
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void replace(const std::string& name, std::string_view bytes) override {
        const fs::path temporary = folder_ / (name + ".new");
        {
            std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (!out) {
                throw RuntimeError(kDiskFull);
            }
        }
        std::error_code error;
        fs::rename(temporary, folder_ / name, error);
        if (error) {
            throw RuntimeError(kPathAccessError);
        }
    }

    std::string pathOf(const std::string& name) const override { return (folder_ / name).string(); }

private:
    fs::path folder_;
};

DiskFileStore& store() {
    static DiskFileStore instance(fs::temp_directory_path() /
                                  ("ambrel_bench_" + std::to_string(getpid())));
    return instance;
}

// No file here is ever held by another program, so the save never waits.
ambrel::testing::FakeSteadyClock& steadyClock() {
    static ambrel::testing::FakeSteadyClock instance;
    return instance;
}

const Cp932CodePage& codePage() {
    static const Cp932CodePage instance;
    return instance;
}

Settings typicalSettings() {
    Settings s;
    parseSettings(kDefaultSettingsBytes, codePage(), s);
    s.soundFile = DynamicValue("C:\\Windows\\Media\\アラーム\\目覚まし時計.wav");
    s.alarmState = DynamicValue("ALON");
    s.alarmMessage = DynamicValue("会議の時間です。資料を持って第二会議室へ、遅れないように。");
    s.timerMessage = DynamicValue("カップ麺ができました");
    return s;
}

// The bytes of a file as written on disk and read back from it.
std::string bytesOnDisk(const std::string& name, std::string_view content) {
    store().replace(name, content);
    return *store().read(name);
}

void parseBytes(benchmark::State& state, const std::string& bytes) {
    for (auto _ : state) {
        Settings settings;
        parseSettings(bytes, codePage(), settings);
        benchmark::DoNotOptimize(settings);
    }
}

void BM_ParseDefaultFile(benchmark::State& state) {
    parseBytes(state, bytesOnDisk("default.set", kDefaultSettingsBytes));
}
BENCHMARK(BM_ParseDefaultFile);

void BM_ParseJapaneseFile(benchmark::State& state) {
    parseBytes(state, bytesOnDisk("japanese.set",
                                  formatSettings(typicalSettings(), 1500.0f, 300.0f, codePage())));
}
BENCHMARK(BM_ParseJapaneseFile);

void BM_ParseTenMegabyteFile(benchmark::State& state) {
    std::string content(kDefaultSettingsBytes);
    content.append(10u << 20, 'x');
    parseBytes(state, bytesOnDisk("huge.set", content));
}
BENCHMARK(BM_ParseTenMegabyteFile);

// Start-up's whole read: open, read and parse the file.
void BM_ReadSettingsFile(benchmark::State& state) {
    store().replace(kSettingsFileName,
                    formatSettings(typicalSettings(), 1500.0f, 300.0f, codePage()));
    SettingsFile file(store(), codePage(), steadyClock());
    for (auto _ : state) {
        Settings settings;
        file.readSettingsFile(settings);
        benchmark::DoNotOptimize(settings);
    }
}
BENCHMARK(BM_ReadSettingsFile);

void BM_FormatSettings(benchmark::State& state) {
    const Settings settings = typicalSettings();
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatSettings(settings, 1500.0f, 300.0f, codePage()));
    }
}
BENCHMARK(BM_FormatSettings);

// Close's whole save: format, write a new file and rename it over the old one.
void BM_SaveSettingsFile(benchmark::State& state) {
    const Settings settings = typicalSettings();
    SettingsFile file(store(), codePage(), steadyClock());
    for (auto _ : state) {
        file.saveSettingsFile(settings, 1500.0f, 300.0f);
    }
}
BENCHMARK(BM_SaveSettingsFile);

} // namespace

BENCHMARK_MAIN();
