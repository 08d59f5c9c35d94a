// Compares our library with its peers. Makes the data: the plain file through Debian's
// libsqlite3 for the peers, our own file (plain and encrypted) through the library, the
// server's table. Then runs every workload ROUNDS times, each round every contender in turn
// (the order rotating from round to round), each run a program of its own on a fresh copy of
// its file, and prints one table.
//
//   peers_run ODBC_CONNECTION_STRING [ROUNDS]
//
// The files live in the scratch folder (BREZAL_BENCH_DIR, or the temporary folder). Any
// failed run stops the comparison with its message.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/child_process.h"
#include "driver/contenders.h"
#include "driver/summary.h"
#include "support/scratch.h"

namespace {

namespace fs = std::filesystem;
using peers::Contender;
using peers::Data;

constexpr const char* kKey = "clave de las pruebas";

[[noreturn]] void Die(const std::string& what) {
    std::fprintf(stderr, "peers_run: %s\n", what.c_str());
    std::exit(1);
}

struct Setup {
    fs::path programs = fs::read_symlink("/proc/self/exe").parent_path();
    fs::path plain = benchsupport::ScratchFile("brezal-peers-plain.db");
    fs::path ours = benchsupport::ScratchFile("brezal-peers-ours.db");
    fs::path oursKey = benchsupport::ScratchFile("brezal-peers-ours-key.db");
    fs::path copy = benchsupport::ScratchFile("brezal-peers-run.db");
    std::string odbc;
};

// Runs `program workload target [key]` and gives the times of its result line.
peers::Times Run(const Setup& s, std::string_view program, std::string_view workload, const std::string& target,
                 const std::string& key) {
    std::vector<std::string> argv{(s.programs / program).string(), std::string(workload), target};
    if (!key.empty()) argv.push_back(key);
    const peers::ChildResult r = peers::RunChild(argv);
    const std::string what = std::string(program) + " " + std::string(workload);
    if (r.status != 0) Die(what + " failed (exit status " + std::to_string(r.status) + ")");
    const size_t at = r.out.find("peers-result ");
    char name[64] = {};
    peers::Times t;
    size_t count = 0;
    if (at == std::string::npos ||
        std::sscanf(r.out.c_str() + at, "peers-result workload=%63s cpu=%lf wall=%lf count=%zu", name, &t.cpu,
                    &t.wall, &count) != 4 ||
        name != workload || count == 0)
        Die(what + " printed no result: " + r.out);
    return t;
}

// A fresh copy of `source` at the run's path, already on disk (so that a commit's sync
// writes the run's own changes, not the copy).
void FreshCopy(const fs::path& source, const fs::path& copy) {
    for (const char* leftover : {"-journal", "-wal", "-shm", ".ldb"}) fs::remove(copy.string() + leftover);
    fs::copy_file(source, copy, fs::copy_options::overwrite_existing);
    const int fd = open(copy.c_str(), O_RDONLY);
    if (fd < 0 || fsync(fd) != 0) Die("cannot sync " + copy.string());
    close(fd);
}

const fs::path& SourceOf(const Setup& s, Data data) {
    return data == Data::PlainFile ? s.plain : data == Data::OurFile ? s.ours : s.oursKey;
}

peers::Times RunContender(const Setup& s, const Contender& c, std::string_view workload) {
    if (c.data == Data::Server) return Run(s, c.program, workload, s.odbc, "");
    FreshCopy(SourceOf(s, c.data), s.copy);
    return Run(s, c.program, workload, s.copy.string(), c.data == Data::OurKeyFile ? kKey : "");
}

void MakeData(const Setup& s) {
    struct Maker {
        std::string_view program;
        std::string target, key;
    };
    const Maker makers[] = {{"peers_raw_sqlite", s.plain.string(), ""},
                            {"peers_brezal", s.ours.string(), ""},
                            {"peers_brezal", s.oursKey.string(), kKey},
                            {"peers_raw_odbc", s.odbc, ""}};
    for (const Maker& m : makers) {
        const peers::Times t = Run(s, m.program, "make", m.target, m.key);
        std::fprintf(stderr, "peers_run: %.*s made its data in %.1f s\n", static_cast<int>(m.program.size()),
                     m.program.data(), t.wall);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !*argv[1]) {
        std::fprintf(stderr, "usage: peers_run ODBC_CONNECTION_STRING [ROUNDS]\n");
        return 2;
    }
    Setup setup;
    setup.odbc = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    MakeData(setup);
    peers::Summary summary;
    for (int round = 0; round < rounds; ++round) {
        std::fprintf(stderr, "peers_run: round %d of %d\n", round + 1, rounds);
        for (const peers::WorkloadInfo& w : peers::kWorkloadInfo) {
            std::vector<const Contender*> order;
            for (const Contender& c : peers::kContenders)
                if (peers::Runs(c, w)) order.push_back(&c);
            std::rotate(order.begin(), order.begin() + round % static_cast<int>(order.size()), order.end());
            for (const Contender* c : order) summary.Add(w.name, c->label, RunContender(setup, *c, w.name));
        }
    }
    fs::remove(setup.copy);
    summary.Print(rounds);
    return 0;
}
