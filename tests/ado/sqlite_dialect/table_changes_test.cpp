// ALTER TABLE changes that make the table again: keys, relationships and unique indexes added
// and dropped, columns dropped and redefined; the rows, their numbering and the recordsets
// already open survive them.
#include <gtest/gtest.h>

#include "access_db.h"

using dialect_test::AccessDb;
using dialect_test::ExpectRows;

namespace {

const std::string kFail = "error -2147467259: ";
const std::string kNullKey = kFail + "El índice o la clave principal no pueden contener un valor nulo. ";
const std::string kOrphan = "error 3201: No se puede agregar o cambiar el registro porque se necesita un registro "
                            "relacionado en otra tabla.";

void MakeShop(AccessDb& db) {
    db.Setup({"CREATE TABLE Clientes (Id LONG, Nombre TEXT(10), Ciudad TEXT(10), Alta DATETIME)",
              "INSERT INTO Clientes VALUES (0, 'Cero', Null, Null)",
              "INSERT INTO Clientes VALUES (1, 'Ana', 'León', #2024-03-15#)",
              "INSERT INTO Clientes VALUES (2, 'Luis', 'Vigo', Null)", "DELETE FROM Clientes WHERE Id = 0",
              "CREATE TABLE Pedidos (Num COUNTER PRIMARY KEY, Cliente LONG, Nota TEXT(5))",
              "INSERT INTO Pedidos (Cliente) VALUES (1)", "INSERT INTO Pedidos (Cliente) VALUES (9)",
              "INSERT INTO Pedidos (Cliente) VALUES (2)", "DELETE FROM Pedidos WHERE Num = 3"});
}

std::string Seen(AccessDb& db, const std::string& sql) {
    return testsupport::Scalar(db.db().Connect(), sql).ToString();
}

}  // namespace

TEST(TableChanges, AddKeysRelationshipsAndUniqueIndexes) {
    AccessDb db;
    MakeShop(db);
    // Another user's recordset, open before the changes, still writes to its rows after them.
    auto open = ado::Recordset::Create();
    open->Open("SELECT * FROM Clientes ORDER BY Id", db.db().Connect(), ado::adOpenKeyset, ado::adLockOptimistic,
               ado::adCmdText);

    EXPECT_EQ(db.Run("ALTER TABLE Clientes ADD CONSTRAINT pk PRIMARY KEY (Id)"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Nombre) VALUES ('Eva')"), kNullKey + "(campo Id)");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Id) VALUES (1)"),
              "error -2147217873: Los cambios no se realizaron porque crearían valores duplicados en el índice, clave "
              "principal o relación. (motor: UNIQUE constraint failed: Clientes.Id)");
    EXPECT_EQ(db.Run("ALTER TABLE Clientes ADD PRIMARY KEY (Nombre)"), kFail + "Ya existe la clave principal. ('Clientes')");
    // Duplicates keep a key from being made; the engine's message names the table as it is.
    db.Setup({"CREATE TABLE Dobles (Codigo LONG)", "INSERT INTO Dobles VALUES (1)", "INSERT INTO Dobles VALUES (1)"});
    EXPECT_EQ(db.Run("ALTER TABLE Dobles ADD PRIMARY KEY (Codigo)"),
              "error -2147217873: Los cambios no se realizaron porque crearían valores duplicados en el índice, clave "
              "principal o relación. (motor: UNIQUE constraint failed: Dobles.Codigo)");

    // Rows that break the new relationship keep it from being made, and nothing changes.
    EXPECT_EQ(db.Run("ALTER TABLE Pedidos ADD CONSTRAINT fk FOREIGN KEY (Cliente) REFERENCES Clientes (Id)"),
              kOrphan + " (motor: FOREIGN KEY constraint failed)");
    EXPECT_EQ(db.Run("DELETE FROM Pedidos WHERE Cliente = 9"), "1");
    EXPECT_EQ(db.Run("ALTER TABLE Pedidos ADD CONSTRAINT fk FOREIGN KEY (Cliente) REFERENCES Clientes (Id)"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Pedidos (Cliente) VALUES (7)"), kOrphan + " (motor: FOREIGN KEY constraint failed)");
    // The autonumber goes on from the last number given, not from the highest left.
    EXPECT_EQ(db.Run("INSERT INTO Pedidos (Cliente) VALUES (2)"), "1");
    ExpectRows(db, {{"SELECT Num & ':' & Cliente FROM Pedidos ORDER BY Num", "Text('1:1')|Text('4:2')"}});

    EXPECT_EQ(db.Run("ALTER TABLE Clientes ADD CONSTRAINT PorNombre UNIQUE (Nombre)"), "0");
    EXPECT_EQ(db.Run("UPDATE Clientes SET Nombre = 'Ana' WHERE Id = 2").rfind("error -2147217873: ", 0), 0u);
    EXPECT_EQ(db.Run("ALTER TABLE Clientes ADD CONSTRAINT x UNIQUE (Apodo)"),
              "error 3265: No se encontró el elemento en la colección correspondiente al nombre o número solicitado. "
              "'Apodo'");

    open->MoveNext();
    open->Fields()["Ciudad"].Value("Lugo");
    open->Update();
    EXPECT_EQ(Seen(db, "SELECT Nombre & '|' & Ciudad FROM Clientes WHERE Id = 2"), "Luis|Lugo");
}

TEST(TableChanges, DropAndRedefineColumnsKeepingTheRows) {
    AccessDb db;
    MakeShop(db);
    db.Setup({"CREATE INDEX PorCiudad ON Clientes (Ciudad)", "ALTER TABLE Clientes ADD CONSTRAINT pk PRIMARY KEY (Id)"});
    const std::string needed = kFail + "No se puede eliminar un campo que forma parte de un índice, de una relación o de "
                                       "una regla de la tabla. ";
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP COLUMN Ciudad"), needed + "'Ciudad'");
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP Id"), needed + "'Id'");
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP COLUMN Alta"), "0");
    EXPECT_EQ(db.Run("SELECT Alta FROM Clientes").rfind("error", 0), 0u);

    const std::string tooSmall = "error 3163: El campo es demasiado pequeño para aceptar la cantidad de datos que "
                                 "intentó agregar. Intente insertar o pegar menos datos. (campo Nombre)";
    EXPECT_EQ(db.Run("ALTER TABLE Clientes ALTER COLUMN Nombre TEXT(3)"), tooSmall);
    EXPECT_EQ(db.Run("ALTER TABLE Clientes ALTER COLUMN Nombre TEXT(30) NOT NULL"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Id) VALUES (3)"),
              kFail + "El campo no puede contener un valor nulo porque es obligatorio. Escriba un valor en este "
                      "campo. (campo Clientes.Nombre)");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Id, Nombre) VALUES (3, '" + std::string(30, 'n') + "')"), "1");
    // The key and the index stay with their columns.
    EXPECT_EQ(db.Run("ALTER TABLE Clientes ALTER COLUMN Id DOUBLE"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Nombre) VALUES ('Eva')"), kNullKey + "(campo Id)");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Id, Nombre) VALUES (2, 'Eva')").rfind("error -2147217873: ", 0), 0u);
    ExpectRows(db, {{"SELECT Id FROM Clientes WHERE Ciudad = 'LEÓN'", "Double(1)"}});
    const std::string unsupported = "error 3251: El motor de base de datos incrustado no admite esta construcción de "
                                    "SQL de Access: ";
    // A value that does not convert refuses the change, and nothing changes.
    EXPECT_EQ(db.Run("ALTER TABLE Clientes ALTER COLUMN Ciudad LONG"), "error 13: No coinciden los tipos");
    ExpectRows(db, {{"SELECT Ciudad FROM Clientes WHERE Id = 1", "Text('León')"}});
    EXPECT_EQ(db.Run("ALTER TABLE Pedidos ALTER COLUMN Num LONG"), unsupported + "cambiar un campo autonumérico.");
    EXPECT_EQ(Seen(db, "SELECT Count(*) & '|' & Sum(Id) & '|' & Max(Len(Nombre)) FROM Clientes"), "3|6|30");

    // Values are converted as Access converts them; Null stays Null.
    db.Setup({"CREATE TABLE Valores (F DATETIME, M CURRENCY, G LONGBINARY)",
              "INSERT INTO Valores VALUES (#2024-03-15 10:30#, 12.5, Null)", "INSERT INTO Valores (G) VALUES (Null)",
              "ALTER TABLE Valores ALTER COLUMN F TEXT(30)", "ALTER TABLE Valores ALTER COLUMN M LONG"});
    ExpectRows(db, {{"SELECT TypeName(F) & ' ' & M FROM Valores WHERE M Is Not Null", "Text('String 12')"},
                    {"SELECT Count(F) & '|' & Count(M) FROM Valores", "Text('1|1')"}});
    EXPECT_EQ(db.Run("ALTER TABLE Valores ALTER COLUMN F DATETIME"), "0");
    ExpectRows(db, {{"SELECT F FROM Valores WHERE F Is Not Null", "Date(2024-03-15 10:30:00)"}});
    EXPECT_EQ(db.Run("ALTER TABLE Valores ALTER COLUMN G TEXT(10)"),
              unsupported + "cambiar el tipo de datos del campo 'G' de LONGBINARY a TEXT(10).");
}

TEST(TableChanges, DropConstraintsAsLongAsNothingStandsOnThem) {
    AccessDb db;
    MakeShop(db);
    db.Setup({"DELETE FROM Pedidos WHERE Cliente = 9", "ALTER TABLE Clientes ADD CONSTRAINT pk PRIMARY KEY (Id)",
              "ALTER TABLE Pedidos ADD CONSTRAINT fk FOREIGN KEY (Cliente) REFERENCES Clientes (Id)",
              "ALTER TABLE Clientes ADD CONSTRAINT PorNombre UNIQUE (Nombre)"});
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP CONSTRAINT pk"),
              kFail + "No se puede eliminar este índice o tabla. Es el índice actual o se utiliza en una relación. "
                      "'pk' ('Pedidos')");
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP CONSTRAINT [brezal-size:Nombre]"),
              kFail + "No se encuentra la restricción. 'brezal-size:Nombre'");
    EXPECT_EQ(db.Run("ALTER TABLE Pedidos DROP CONSTRAINT fk"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Pedidos (Cliente) VALUES (7)"), "1");
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP CONSTRAINT pk"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Nombre) VALUES ('Eva')"), "1") << "no key, Null allowed";
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP CONSTRAINT PorNombre"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Id, Nombre) VALUES (1, 'Ana')"), "1");
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP CONSTRAINT PorNombre"),
              kFail + "No se encuentra la restricción. 'PorNombre'");
    // A key made with its column drops by its name too.
    db.Setup({"CREATE TABLE Paises (Codigo TEXT(2) CONSTRAINT pkp PRIMARY KEY NOT NULL, Nombre TEXT(20))"});
    EXPECT_EQ(db.Run("ALTER TABLE Paises DROP CONSTRAINT pkp"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Paises (Codigo) VALUES ('ES')"), "1");
    EXPECT_EQ(db.Run("INSERT INTO Paises (Codigo) VALUES ('ES')"), "1");
    // An index made WITH PRIMARY is the table's key, and DROP INDEX ... ON drops it.
    db.Setup({"CREATE TABLE Monedas (Codigo TEXT(3), Nombre TEXT(20))"});
    EXPECT_EQ(db.Run("CREATE UNIQUE INDEX pkm ON Monedas (Codigo) WITH PRIMARY"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Monedas (Nombre) VALUES ('Euro')"), kNullKey + "(campo Codigo)");
    EXPECT_EQ(db.Run("CREATE INDEX otra ON Monedas (Nombre) WITH PRIMARY"),
              kFail + "Ya existe la clave principal. ('Monedas')");
    EXPECT_EQ(db.Run("DROP INDEX pkm ON Monedas"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Monedas (Nombre) VALUES ('Euro')"), "1");
    // A validation rule: refused while rows break it, then kept until dropped.
    const std::string rule = kFail + "Uno o más valores no cumplen una regla de validación de la tabla. (regla corto)";
    EXPECT_EQ(db.Run("ALTER TABLE Monedas ADD CONSTRAINT corto CHECK (Len(Nombre) < 4)"), rule);
    EXPECT_EQ(db.Run("ALTER TABLE Monedas ADD CONSTRAINT corto CHECK (Len(Nombre) < 5)"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Monedas (Nombre) VALUES ('Dólar')"), rule);
    EXPECT_EQ(db.Run("ALTER TABLE Monedas DROP CONSTRAINT corto"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Monedas (Nombre) VALUES ('Dólar')"), "1");
    EXPECT_EQ(Seen(db, "SELECT Count(*) FROM Clientes"), "4");
}

// The engine's relationship checks go off while a table others refer to is made again; that
// cannot be inside a transaction. A table nobody refers to changes inside one, and goes back
// with it.
TEST(TableChanges, ARelatedTableChangesOnlyOutsideATransaction) {
    AccessDb db;
    MakeShop(db);
    db.Setup({"DELETE FROM Pedidos WHERE Cliente = 9", "ALTER TABLE Clientes ADD CONSTRAINT pk PRIMARY KEY (Id)",
              "ALTER TABLE Pedidos ADD CONSTRAINT fk FOREIGN KEY (Cliente) REFERENCES Clientes (Id) ON DELETE CASCADE"});
    db.cn()->BeginTrans();
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP COLUMN Alta"),
              kFail + "No se puede cambiar la definición de una tabla relacionada con otras mientras hay una "
                      "transacción en curso.");
    EXPECT_EQ(db.Run("ALTER TABLE Pedidos DROP COLUMN Nota"), "0");
    db.cn()->RollbackTrans();
    ExpectRows(db, {{"SELECT Count(Nota) FROM Pedidos", "Long(0)"}});
    // Outside one, the related rows stay where a cascade would have emptied them.
    EXPECT_EQ(db.Run("ALTER TABLE Clientes DROP COLUMN Alta"), "0");
    EXPECT_EQ(Seen(db, "SELECT Count(*) FROM Pedidos WHERE Cliente = 1"), "1");
    EXPECT_EQ(db.Run("INSERT INTO Pedidos (Cliente) VALUES (7)"), kOrphan + " (motor: FOREIGN KEY constraint failed)");
    EXPECT_EQ(db.Run("DELETE FROM Clientes WHERE Id = 1"), "1");
    EXPECT_EQ(Seen(db, "SELECT Count(*) FROM Pedidos WHERE Cliente = 1"), "0") << "the cascade still works";
    // A table related to itself: its old rows would be the parents of its new ones.
    db.Setup({"CREATE TABLE Empleados (Id LONG PRIMARY KEY, Jefe LONG REFERENCES Empleados (Id), Nota TEXT(5))",
              "INSERT INTO Empleados VALUES (1, Null, 'a')", "INSERT INTO Empleados VALUES (2, 1, 'b')"});
    EXPECT_EQ(db.Run("ALTER TABLE Empleados DROP COLUMN Nota"), "0");
    EXPECT_EQ(Seen(db, "SELECT Id & ':' & Jefe FROM Empleados WHERE Jefe Is Not Null"), "2:1");
    EXPECT_EQ(db.Run("INSERT INTO Empleados VALUES (3, 9)"), kOrphan + " (motor: FOREIGN KEY constraint failed)");
}

// An autonumber, key, unique or required column is added by making the table again: the rows
// there are get numbers in their order, and new rows go on from there; a required column
// without a default is refused where there are rows.
TEST(TableChanges, AddColumnsTheEngineCannotAddInPlace) {
    AccessDb db;
    db.Setup({"CREATE TABLE Notas (Texto TEXT(10))", "INSERT INTO Notas VALUES ('uno')",
              "INSERT INTO Notas VALUES ('dos')", "INSERT INTO Notas VALUES ('tres')",
              "DELETE FROM Notas WHERE Texto = 'uno'"});
    auto open = ado::Recordset::Create();
    open->Open("SELECT * FROM Notas", db.db().Connect(), ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
    EXPECT_EQ(db.Run("ALTER TABLE Notas ADD COLUMN Id COUNTER CONSTRAINT PrimaryKey PRIMARY KEY"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Notas (Texto) VALUES ('cuatro')"), "1");
    ExpectRows(db, {{"SELECT Id & ':' & Texto FROM Notas ORDER BY Id", "Text('2:dos')|Text('3:tres')|Text('4:cuatro')"}});
    EXPECT_EQ(db.Run("ALTER TABLE Notas ADD COLUMN Otro COUNTER"), kFail + "Ya existe la clave principal. ('Notas')");
    EXPECT_EQ(db.Run("ALTER TABLE Notas ADD COLUMN Codigo TEXT(5) UNIQUE"), "0");
    EXPECT_EQ(db.Run("UPDATE Notas SET Codigo = 'x'").rfind("error -2147217873: ", 0), 0u);
    open->Fields()["Texto"].Value("DOS");
    open->Update();
    EXPECT_EQ(Seen(db, "SELECT Texto FROM Notas WHERE Id = 2"), "DOS");

    const std::string required = kFail + "El campo no puede contener un valor nulo porque es obligatorio. Escriba un "
                                         "valor en este campo. ";
    EXPECT_EQ(db.Run("ALTER TABLE Notas ADD COLUMN Autor TEXT(10) NOT NULL"), required + "(campo Notas.Autor)");
    EXPECT_EQ(db.Run("ALTER TABLE Notas ADD COLUMN Autor TEXT(10) NOT NULL DEFAULT 'nadie'"), "0");
    db.Setup({"CREATE TABLE Vacia (Id LONG)", "ALTER TABLE Vacia ADD COLUMN Nombre TEXT(10) NOT NULL"});
    EXPECT_EQ(db.Run("INSERT INTO Vacia (Id) VALUES (1)"), required + "(campo Vacia.Nombre)");
    ExpectRows(db, {{"SELECT Autor FROM Notas WHERE Id = 4", "Text('nadie')"}});
}

// An index made WITH DISALLOW NULL refuses Null in its columns, for rows there are too, until
// it is dropped; a change that makes the table again keeps it.
TEST(TableChanges, IndexesThatDisallowNullRefuseIt) {
    AccessDb db;
    db.Setup({"CREATE TABLE Lineas (Pedido LONG, Producto TEXT(5), Nota TEXT(5))",
              "INSERT INTO Lineas VALUES (1, 'a', Null)", "INSERT INTO Lineas VALUES (2, Null, Null)"});
    EXPECT_EQ(db.Run("CREATE INDEX Obligado ON Lineas (Pedido, Producto) WITH DISALLOW NULL"),
              kNullKey + "(campo Producto)");
    EXPECT_EQ(db.Run("INSERT INTO Lineas (Pedido) VALUES (3)"), "1") << "the refused index left nothing behind";
    EXPECT_EQ(db.Run("DELETE FROM Lineas WHERE Producto IS NULL"), "2");
    EXPECT_EQ(db.Run("CREATE INDEX Obligado ON Lineas (Pedido, Producto) WITH DISALLOW NULL"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Lineas (Producto) VALUES ('b')"), kNullKey + "(campo Pedido)");
    EXPECT_EQ(db.Run("UPDATE Lineas SET Producto = Null"), kNullKey + "(campo Producto)");
    EXPECT_EQ(db.Run("ALTER TABLE Lineas DROP COLUMN Nota"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Lineas (Pedido) VALUES (4)"), kNullKey + "(campo Producto)");
    EXPECT_EQ(db.Run("DROP INDEX Obligado ON Lineas"), "0");
    EXPECT_EQ(db.Run("INSERT INTO Lineas (Pedido) VALUES (4)"), "1");
    EXPECT_EQ(Seen(db, "SELECT Count(*) & '|' & Count(Producto) FROM Lineas"), "2|1");
}
