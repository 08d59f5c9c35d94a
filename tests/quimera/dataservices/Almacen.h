// A real shop file for the data services of clsDatosAvanzado: customers with Nulls, dates,
// money and accents, order lines keyed by (Pedido, Linea), and an event sink that notes every
// ValidarContador and may change the new value.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "quimera/apoyo/EntornoQuimera.h"

namespace pruebas {

using Rs = ado::RecordsetPtr;

struct Contadores : quimera::clsDatosAvanzadoEventos {
    void ValidarContador(int32_t numAnterior, int32_t& numNuevo) override {
        avisos.push_back(std::to_string(numAnterior) + " " + std::to_string(numNuevo));
        if (numForzado) numNuevo = *numForzado;
    }
    void ErroresADO(ado::Errors& e) override { errores.push_back(e.Item(e.Count() - 1).Number()); }

    std::vector<std::string> avisos;  // "anterior nuevo" as the handler received them
    std::vector<int32_t> errores;
    std::optional<int32_t> numForzado;
};

// Clientes: 1 Ana (Alta 2003-05-17, Saldo 10.5, Ciudad León), 2 Luis (Saldo Null), 5 Eva
// (Ciudad Null). Lineas of order 7: lines 1, 2, 3 with Importe 1.25, 2.5, 4.
struct Almacen {
    Almacen() {
        cn->ConnectionTimeout(1);
        cn->Open(testsupport::JetConnectionString(db.file()));
        for (const char* sql : {
                 "CREATE TABLE Clientes (Id LONG PRIMARY KEY, Nombre TEXT(30), Alta DATETIME, Saldo CURRENCY, "
                 "Ciudad TEXT(20))",
                 "CREATE TABLE Lineas (Pedido LONG, Linea LONG, Importe CURRENCY, PRIMARY KEY (Pedido, Linea))",
                 "INSERT INTO Clientes VALUES (1, 'Ana', #2003-05-17#, 10.5, 'León')",
                 "INSERT INTO Clientes VALUES (2, 'Luis', #2004-01-02 10:30:00#, NULL, 'Ávila')",
                 "INSERT INTO Clientes VALUES (5, 'Eva', #2005-12-31#, 3, NULL)",
                 "INSERT INTO Lineas VALUES (7, 1, 1.25)", "INSERT INTO Lineas VALUES (7, 2, 2.5)",
                 "INSERT INTO Lineas VALUES (7, 3, 4)"})
            cn->Execute(sql);
        datos.InicializarPropiedades(db.dir().path().string());
        datos.ConectarEventos(contadores);
    }

    ado::Variant Valor(const std::string& sql) const { return testsupport::Scalar(cn, sql); }
    // A second connection to the same file, as another user of it.
    ado::ConnectionPtr Otro() const {
        auto otro = ado::Connection::Create();
        otro->ConnectionTimeout(1);
        otro->Open(testsupport::JetConnectionString(db.file()));
        return otro;
    }

    testsupport::EmbeddedDb db;
    ado::ConnectionPtr cn = ado::Connection::Create();
    quimera::clsDatosAvanzado datos;
    Contadores contadores;
};

}  // namespace pruebas
