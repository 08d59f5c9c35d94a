// A row of Movimientos as a program keeps it in memory, in its library's own types, and the
// checks on what reads and lookups gave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/program.h"

namespace peers {

template <class Text, class Fecha>
struct Movimiento {
    int64_t id;
    Text cuenta;
    double importe;
    int64_t unidades;
    Fecha fecha;
    std::optional<Text> nota;
};

// A read gives every row, a quarter of them with a Null note: the count it reached, or a failure.
inline size_t CheckedRead(size_t rows, size_t nullNotes) {
    Require(nullNotes == rows / 4,
            "read " + std::to_string(rows) + " rows with " + std::to_string(nullNotes) + " Null notes");
    return rows;
}

template <class Row>
size_t CheckedRead(const std::vector<Row>& rows) {
    size_t nullNotes = 0;
    for (const Row& r : rows) nullNotes += r.nota ? 0 : 1;
    return CheckedRead(rows.size(), nullNotes);
}

// A lookup gives the row of its key.
inline void CheckLookup(int64_t id, int key) {
    Require(id == key, "the lookup of " + std::to_string(key) + " gave row " + std::to_string(id));
}

}  // namespace peers
