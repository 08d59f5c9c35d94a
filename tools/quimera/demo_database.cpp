#include "demo_database.h"

#include <fmt/format.h>

#include "ado/Catalog.h"
#include "commands.h"

namespace tool {

namespace {

constexpr const char* kSchema[] = {
    "CREATE TABLE Clientes (IdCliente COUNTER PRIMARY KEY, Nombre TEXT(50) NOT NULL, Ciudad TEXT(40), "
    "Email TEXT(80), Alta DATETIME, LimiteCredito CURRENCY, Activo YESNO)",
    "CREATE TABLE Pedidos (IdPedido COUNTER PRIMARY KEY, IdCliente LONG NOT NULL REFERENCES Clientes(IdCliente), "
    "Fecha DATETIME NOT NULL, Enviado YESNO, Notas MEMO)",
    "CREATE TABLE LineasPedido (IdLinea COUNTER PRIMARY KEY, IdPedido LONG NOT NULL REFERENCES Pedidos(IdPedido), "
    "Producto TEXT(60) NOT NULL, Cantidad SHORT, Precio CURRENCY, Descuento DOUBLE)",
    "CREATE TABLE Contadores (numIdContador LONG PRIMARY KEY, strCampo TEXT(50), numContador LONG)",
};

constexpr const char* kFirstNames[] = {"José", "María", "Íñigo", "Lucía", "Ángel", "Begoña", "Raúl", "Nuria",
                                       "Óscar", "Elena", "Joaquín", "Sofía"};
constexpr const char* kSurnames[] = {"García", "Martínez", "López", "Sánchez", "Pérez", "Gómez", "Muñoz",
                                     "Jiménez", "Ruiz", "Hernández", "Díaz", "Núñez", "Castaño"};
constexpr const char* kCities[] = {"Madrid", "Barcelona", "Sevilla", "Valencia", "A Coruña", "Málaga",
                                   "Cádiz", "León", "Logroño", "Ávila"};
constexpr const char* kProducts[] = {"Aceite de oliva 1 l", "Jamón ibérico", "Queso manchego", "Vino tinto crianza",
                                     "Turrón de Jijona", "Azafrán 2 g", "Pimentón de la Vera", "Mazapán",
                                     "Espárragos de Navarra", "Sidra natural"};

// A small deterministic generator, so every demo database is the same.
struct Sequence {
    uint32_t state = 20240601;
    uint32_t Next(uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    }
};

template <size_t N>
const char* Pick(Sequence& seq, const char* const (&items)[N]) {
    return items[seq.Next(N)];
}

}  // namespace

ado::ConnectionPtr CreateDemoDatabase(const std::string& file, const std::string& password, DemoDatabaseSize size) {
    const std::string cs = EmbeddedConnectionString(file, password);
    ado::CreateDatabase(cs);
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(cs);
    for (const char* ddl : kSchema) cn->Execute(ddl);

    Sequence seq;
    cn->BeginTrans();
    for (int c = 1; c <= size.customers; ++c) {
        const std::string name = fmt::format("{} {} {}", Pick(seq, kFirstNames), Pick(seq, kSurnames), Pick(seq, kSurnames));
        const bool hasEmail = seq.Next(4) != 0;
        const std::string email = hasEmail ? fmt::format("'cliente{}@ejemplo.es'", c) : "Null";
        cn->Execute(fmt::format(
            "INSERT INTO Clientes (Nombre, Ciudad, Email, Alta, LimiteCredito, Activo) "
            "VALUES ('{}', '{}', {}, #{}/{}/{}#, {}.{:02}, {})",
            name, Pick(seq, kCities), email, 1 + seq.Next(12), 1 + seq.Next(28), 2015 + seq.Next(9),
            500 + seq.Next(20) * 250, seq.Next(100), seq.Next(5) ? "True" : "False"));
    }
    int lines = 0;
    for (int o = 1; o <= size.orders; ++o) {
        cn->Execute(fmt::format("INSERT INTO Pedidos (IdCliente, Fecha, Enviado, Notas) VALUES ({}, #{}/{}/{} {}:{:02}#, {}, {})",
                                1 + seq.Next(static_cast<uint32_t>(size.customers)), 1 + seq.Next(12), 1 + seq.Next(28),
                                2022 + seq.Next(3), 8 + seq.Next(10), seq.Next(60), seq.Next(3) ? "Yes" : "No",
                                seq.Next(3) ? "Null" : "'Entregar por la mañana; llamar antes'"));
        const uint32_t count = 1 + seq.Next(4);
        for (uint32_t l = 0; l < count; ++l, ++lines)
            cn->Execute(fmt::format(
                "INSERT INTO LineasPedido (IdPedido, Producto, Cantidad, Precio, Descuento) VALUES ({}, '{}', {}, {}.{:02}, {})",
                o, Pick(seq, kProducts), 1 + seq.Next(12), 2 + seq.Next(60), seq.Next(100), seq.Next(4) * 0.05));
    }
    cn->Execute(fmt::format("INSERT INTO Contadores VALUES (1, 'IdCliente', {})", size.customers));
    cn->Execute(fmt::format("INSERT INTO Contadores VALUES (2, 'IdPedido', {})", size.orders));
    cn->Execute(fmt::format("INSERT INTO Contadores VALUES (3, 'IdLinea', {})", lines));
    cn->CommitTrans();
    return cn;
}

}  // namespace tool
