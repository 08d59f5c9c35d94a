// The comparison's data: the workloads and the count each must reach, the values of the
// Movimientos rows as a function of the row number (the files, the server table and the
// inserts all hold these), and the keys the updates and lookups visit.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace peers {

inline constexpr int kRows = 1'000'000;  // rows of Movimientos, read by read and odbc_read
inline constexpr int kInserts = 100'000;
inline constexpr int kUpdates = 10'000;
inline constexpr int kLookups = 10'000;

struct WorkloadCount {
    std::string_view name;
    size_t count;
};

// "make" writes a data file (or the server's table); the others are measured.
inline constexpr WorkloadCount kWorkloadCounts[] = {
    {"make", kRows},  {"read", kRows},       {"insert", kInserts},
    {"update", kUpdates}, {"lookup", kLookups}, {"odbc_read", kRows},
};

inline size_t CountOf(std::string_view workload) {
    for (const auto& w : kWorkloadCounts)
        if (w.name == workload) return w.count;
    return 0;
}

// Row i (1-based) of Movimientos and of the inserts into Entradas.
inline std::string Cuenta(int i) { return "Cuenta " + std::to_string(i % 5000); }
inline double Importe(int i) { return i * 1.25; }
inline int Unidades(int i) { return i % 97; }
inline bool NotaNull(int i) { return i % 4 == 0; }  // a quarter of the notes are Null
inline constexpr std::string_view kNota = "pagado con tarjeta";

// Days since 1899-12-30 with the time of day as the fraction: the date serial the files keep.
inline double DateSerial(int year, unsigned month, unsigned day, int hour, int minute, int second) {
    using namespace std::chrono;
    const sys_days date = std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day};
    const sys_days epoch = std::chrono::year{1899} / December / std::chrono::day{30};
    return static_cast<double>((date - epoch).count()) + (hour * 3600 + minute * 60 + second) / 86400.0;
}
inline double Fecha(int i) { return DateSerial(2024, 10 + i % 3, 10 + i % 10, 10, 20, 30); }

// The k-th key (0-based) of the updates and lookups: spread over the table, each once
// (7919 is a prime, so no two k below kRows meet).
inline int KeyOf(int k) { return static_cast<int>(int64_t{k} * 7919 % kRows) + 1; }

// An update writes these: a negative Importe marks the rows updated.
inline double UpdatedImporte(int key) { return -Importe(key); }
inline int UpdatedUnidades(int key) { return Unidades(key) + 1; }

}  // namespace peers
