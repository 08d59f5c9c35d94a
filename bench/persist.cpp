// Recordset files against the embedded engine: loading 1,000,000 rows x 6 columns from an ADTG
// file and from an XML file, each against opening the same rows from the engine into a client
// cursor, and saving them in each format; throughput in MB/s and rows/s; and the peak memory
// of a load against the memory of the recordset it gives.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ado/ado.h"
#include "support/movimientos.h"
#include "support/ratios.h"

namespace {

using benchsupport::kMovimientos;

std::string SavedFile(ado::PersistFormatEnum format) {
    return benchsupport::ScratchFile(format == ado::adPersistXML ? "brezal-bench-persist.xml" : "brezal-bench-persist.adtg")
        .string();
}

// Both files, saved once from the engine's rows.
void SaveFiles() {
    auto cn = benchsupport::ConnectMovimientos();
    auto rs = benchsupport::OpenMovimientos(cn);
    for (ado::PersistFormatEnum format : {ado::adPersistADTG, ado::adPersistXML}) {
        std::filesystem::remove(SavedFile(format));
        rs->Save(SavedFile(format), format);
    }
}

ado::RecordsetPtr Load(ado::PersistFormatEnum format) {
    auto rs = ado::Recordset::Create();
    rs->Open(SavedFile(format), nullptr);
    return rs;
}

void EngineOpen(benchmark::State& state) {
    auto cn = benchsupport::ConnectMovimientos();
    for (auto _ : state) benchmark::DoNotOptimize(benchsupport::OpenMovimientos(cn));
}

void AdtgLoad(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Load(ado::adPersistADTG));
}

void XmlLoad(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Load(ado::adPersistXML));
}

void Save(benchmark::State& state, ado::PersistFormatEnum format) {
    auto rs = Load(format);
    const std::string file = SavedFile(format) + ".copia";
    for (auto _ : state) {
        std::filesystem::remove(file);
        rs->Save(file, format);
    }
    std::filesystem::remove(file);
}
void AdtgSave(benchmark::State& state) { Save(state, ado::adPersistADTG); }
void XmlSave(benchmark::State& state) { Save(state, ado::adPersistXML); }

// Resident memory of this process, current and peak, in bytes.
long StatusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size())) * 1024;
    return 0;
}

// In a process of its own: the peak resident memory a load adds, and what the loaded
// recordset keeps, in MiB.
std::pair<long, long> LoadMemory(ado::PersistFormatEnum format) {
    int fds[2];
    if (pipe(fds) != 0) return {0, 0};
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        const long before = StatusBytes("VmRSS:");
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
        auto rs = Load(format);
        const long result[2] = {StatusBytes("VmHWM:") - before, StatusBytes("VmRSS:") - before};
        if (write(fds[1], result, sizeof result) != static_cast<ssize_t>(sizeof result)) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    long result[2] = {0, 0};
    if (read(fds[0], result, sizeof result) != static_cast<ssize_t>(sizeof result)) result[0] = result[1] = 0;
    close(fds[0]);
    waitpid(child, nullptr, 0);
    return {result[0] >> 20, result[1] >> 20};
}

std::string Throughput(const std::string& file, double milliseconds) {
    const double seconds = milliseconds / 1000.0;
    const double megabytes = static_cast<double>(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
    char text[96];
    std::snprintf(text, sizeof text, "%.0f MB/s, %.2f M rows/s (%.0f MB)", megabytes / seconds,
                  kMovimientos / seconds / 1e6, megabytes);
    return text;
}

}  // namespace

BENCHMARK(EngineOpen)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(AdtgLoad)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(XmlLoad)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(AdtgSave)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(XmlSave)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv) {
    SaveFiles();
    std::vector<std::pair<std::string, std::string>> notes;
    for (ado::PersistFormatEnum format : {ado::adPersistADTG, ado::adPersistXML}) {
        const auto [peak, kept] = LoadMemory(format);
        char text[96];
        std::snprintf(text, sizeof text, "%ld MiB at peak, %ld MiB kept: %.2f (goal <= 2.00%s)", peak, kept,
                      kept ? double(peak) / double(kept) : 0.0, kept && peak <= 2 * kept ? "" : ", MISSED");
        notes.emplace_back(std::string("memory of a load, ") + (format == ado::adPersistXML ? "XML" : "ADTG"), text);
    }
    return benchsupport::RunWithRatios(
        argc, argv,
        {{"AdtgLoad", "EngineOpen", 1.0}, {"XmlLoad", "EngineOpen", 3.0}, {"AdtgSave", "EngineOpen", 0},
         {"XmlSave", "EngineOpen", 0}},
        notes, 5, [](const benchsupport::Medians& m) {
            const std::string adtg = SavedFile(ado::adPersistADTG), xml = SavedFile(ado::adPersistXML);
            const std::pair<const char*, std::string> rows[] = {
                {"AdtgLoad", adtg}, {"XmlLoad", xml}, {"AdtgSave", adtg}, {"XmlSave", xml}};
            for (const auto& [name, file] : rows)
                if (m.count(name)) std::printf("%-44s %s\n", name, Throughput(file, m.at(name)).c_str());
        });
}
