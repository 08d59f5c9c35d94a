// Recordset::Save and opening a file: every type round trips through both formats, pending
// changes come back with their originals and reach a real database, existing files are
// refused, a killed save leaves the old file whole, and bad files fail naming where.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "ado/persist/persist.h"
#include "support/EmbeddedDb.h"
#include "support/DecimalDigits.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::FileBytes;

namespace {

constexpr PersistFormatEnum kFormats[] = {adPersistADTG, adPersistXML};

const char* FormatName(PersistFormatEnum f) { return f == adPersistXML ? "XML" : "ADTG"; }

// Every value of the row at the cursor, in field order.
std::vector<Variant> CurrentRow(Recordset& rs) {
    std::vector<Variant> values;
    for (int32_t i = 0; i < rs.Fields().Count(); ++i) values.push_back(rs.Fields()[i].Value());
    return values;
}

std::vector<std::vector<Variant>> AllRows(Recordset& rs) {
    std::vector<std::vector<Variant>> rows;
    for (rs.MoveFirst(); !rs.adoEOF(); rs.MoveNext()) rows.push_back(CurrentRow(rs));
    return rows;
}

RecordsetPtr OpenFile(const std::string& path) {
    auto rs = Recordset::Create();
    rs->Open(path, nullptr);
    return rs;
}

struct Column {
    const char* name;
    DataTypeEnum type;
    int32_t size;
    std::vector<Variant> values;  // one per row; Null where the row has none
};

Variant Text(size_t n, char c) { return Variant(std::string(n, c)); }
Variant Bytes(size_t n) {
    Binary b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7);
    return Variant(std::move(b));
}
using testsupport::Dec;

const Variant N(Variant::Null);

// Three rows per column: the low extreme, the high one, and Null or an ordinary value.
std::vector<Column> EveryType() {
    return {
        {"Corto", adTinyInt, 0, {Variant(int16_t{-128}), Variant(int16_t{127}), N}},
        {"Byte", adUnsignedTinyInt, 0, {Variant(int16_t{0}), Variant(int16_t{255}), N}},
        {"Entero", adSmallInt, 0, {Variant(int16_t{-32768}), Variant(int16_t{32767}), N}},
        {"Palabra", adUnsignedSmallInt, 0, {Variant(int32_t{0}), Variant(int32_t{65535}), N}},
        {"Largo", adInteger, 0, {Variant(INT32_MIN), Variant(INT32_MAX), N}},
        {"Doble palabra", adUnsignedInt, 0, {Variant(int64_t{0}), Variant(int64_t{UINT32_MAX}), N}},
        {"Muy largo", adBigInt, 0, {Variant(INT64_MIN), Variant(INT64_MAX), N}},
        {"Sin signo", adUnsignedBigInt, 0, {Dec("0", 0), Dec("18446744073709551615", 0), N}},
        {"Simple", adSingle, 0, {Variant(-3.4028235e38f), Variant(1.17549435e-38f), Variant(0.1f)}},
        {"Doble", adDouble, 0, {Variant(-1.7976931348623157e308), Variant(4.9406564584124654e-324), Variant(0.1 + 0.2)}},
        {"Moneda", adCurrency, 0, {Variant(Currency{INT64_MIN}), Variant(Currency{INT64_MAX}), N}},
        {"Decimal", adDecimal, 0,
         {Dec("7922816251426433759354395033", 0, true), Dec("9999999999999999999999999999", 28), N}},
        {"Fecha", adDate, 0, {Variant(MakeDate(100, 1, 1)), Variant(MakeDate(9999, 12, 31, 23, 59, 59)), N}},
        {"Dia", adDBDate, 0, {Variant(MakeDate(100, 1, 1)), Variant(MakeDate(9999, 12, 31)), N}},
        {"Hora", adDBTime, 0, {Variant(MakeDate(1899, 12, 30)), Variant(MakeDate(1899, 12, 30, 23, 59, 59)), N}},
        {"Marca", adDBTimeStamp, 0, {Variant(MakeDate(100, 1, 1, 0, 0, 1)), Variant(MakeDate(9999, 12, 31, 23, 59, 59)), N}},
        {"Archivo", adFileTime, 0, {Variant(MakeDate(1601, 1, 1)), Variant(MakeDate(9999, 12, 31, 23, 59, 59)), N}},
        {"SiNo", adBoolean, 0, {Variant(false), Variant(true), N}},
        {"Guid", adGUID, 0, {Variant("{00000000-0000-0000-0000-000000000000}"), Variant("{0123ABCD-89AB-CDEF-0123-456789ABCDEF}"), N}},
        {"Bin", adBinary, 4, {Bytes(4), Bytes(4), N}},
        {"VarBin", adVarBinary, 300, {Variant(Binary{}), Bytes(300), N}},
        {"Imagen", adLongVarBinary, 0, {Variant(Binary{}), Bytes(1 << 20), N}},
        {"Car", adChar, 3, {Variant("a  "), Variant("ñ€x"), N}},
        {"VarCar", adVarChar, 300, {Variant(""), Text(300, 'z'), N}},
        {"Memo8", adLongVarChar, 0, {Variant(""), Text(1 << 20, 'q'), N}},
        {"CarW", adWChar, 3, {Variant("a  "), Variant("한글x"), N}},
        {"Texto", adVarWChar, 255, {Variant(""), Variant("Begoña & <Ñandú> 'x' \"y\"\ttab\nlínea 😀"), N}},
        {"Memo", adLongVarWChar, 0, {Variant(""), Text(1 << 20, 'm'), N}},
        {"Variante", adVariant, 0, {Variant(int32_t{-5}), Variant(MakeDate(2026, 6, 12, 14, 30, 15)), Variant(true)}},
        // The XML name "Doble palabra" would take, were it not held by this column.
        {"c5", adInteger, 0, {Variant(int32_t{5}), N, Variant(int32_t{-5})}},
    };
}

TEST(RecordsetFile, EveryTypeWithExtremesAndNullsRoundTripsThroughBothFormats) {
    testsupport::TempDir dir;
    testsupport::ScopedRegional cp1252(RegionalSettings::Spanish());
    const std::vector<Column> columns = EveryType();
    auto rs = Recordset::Create();
    for (const Column& c : columns) rs->Fields().Append(c.name, c.type, c.size);
    rs->Open();
    for (size_t row = 0; row < 3; ++row) {
        rs->AddNew();
        for (size_t k = 0; k < columns.size(); ++k) rs->Fields()[static_cast<int32_t>(k)].Value(columns[k].values[row]);
        rs->Update();
    }
    const auto expected = AllRows(*rs);
    for (PersistFormatEnum format : kFormats) {
        const std::string path = dir.file(std::string("todos.") + FormatName(format));
        rs->Save(path, format);
        auto back = OpenFile(path);
        ASSERT_EQ(back->Fields().Count(), static_cast<int32_t>(columns.size()));
        for (size_t k = 0; k < columns.size(); ++k) {
            const Field& f = back->Fields()[static_cast<int32_t>(k)];
            EXPECT_EQ(std::make_tuple(f.Name(), f.Type()), std::make_tuple(std::string(columns[k].name), columns[k].type))
                << FormatName(format);
        }
        const auto got = AllRows(*back);
        ASSERT_EQ(got.size(), 3u) << FormatName(format);
        for (size_t row = 0; row < 3; ++row)
            for (size_t k = 0; k < columns.size(); ++k) {
                // XML keeps a Variant column's values as their text.
                const Variant want = format == adPersistXML && columns[k].type == adVariant
                                         ? Variant(expected[row][k].ToString(RegionalSettings::UnitedStates()))
                                         : expected[row][k];
                EXPECT_TRUE(got[row][k] == want) << FormatName(format) << " row " << row << " " << columns[k].name
                                                             << ": " << (got[row][k].IsNull() ? "Null" : "value");
            }
        back->MoveFirst();
        EXPECT_EQ(back->Status(), adRecNew) << "the rows were added and not sent: they stay pending insertions";
    }
}

}  // namespace

namespace {

class FileOfTable : public ::testing::Test {
protected:
    void SetUp() override {
        cn = db.Connect();
        testsupport::CreateArticles(cn);
    }
    // Id 1 renamed, Id 2 deleted, Id 5 added; nothing sent yet.
    RecordsetPtr EditedBatch() {
        auto rs = testsupport::OpenRecordset(cn, "SELECT * FROM Art ORDER BY Id", adOpenStatic, adLockBatchOptimistic);
        rs->Fields()["Nombre"].Value("uno");
        rs->MoveNext();
        rs->Delete();
        rs->AddNew();
        rs->Fields()["Id"].Value(5);
        rs->Fields()["Nombre"].Value("cinco");
        rs->Update();
        return rs;
    }
    std::string Table() {
        std::string all;
        auto rs = db.Query(db.Connect(), "SELECT Id, Nombre, Precio FROM Art ORDER BY Id");
        for (; !rs->adoEOF(); rs->MoveNext())
            all += rs->Fields()[0].Value().ToString() + ":" + rs->Fields()[1].Value().ToString() + ":" +
                   (rs->Fields()[2].Value().IsNull() ? "-" : rs->Fields()[2].Value().ToString()) + " ";
        return all;
    }

    EmbeddedDb db;
    ConnectionPtr cn;
};

// What the pending rows show: status, current and original name.
std::string Pending(Recordset& rs) {
    rs.Filter(Variant(int32_t{adFilterPendingRecords}));
    std::string seen;
    for (rs.MoveFirst(); !rs.adoEOF(); rs.MoveNext()) {
        const int32_t status = rs.Status();
        const bool deleted = status & adRecDeleted;
        seen += std::to_string(status) + ":" + (deleted ? "-" : rs.Fields()["Nombre"].Value().ToString()) + "/" +
                (status & adRecNew ? "-" : rs.Fields()["Nombre"].OriginalValue().ToString()) + " ";
    }
    rs.Filter(Variant(int32_t{adFilterNone}));
    return seen;
}

TEST_F(FileOfTable, PendingChangesComeBackWithOriginalsAndReachTheDatabaseAfterAnEdit) {
    // The rows in the order each format keeps them: ADTG writes deletions first, XML last.
    const std::pair<PersistFormatEnum, const char*> cases[] = {{adPersistADTG, "4:-/a2 2:uno/a1 1:cinco/- "},
                                                               {adPersistXML, "2:uno/a1 1:cinco/- 4:-/a2 "}};
    for (const auto& [format, pending] : cases) {
        SCOPED_TRACE(FormatName(format));
        const std::string path = db.dir().file(std::string("lote.") + FormatName(format));
        auto rs = EditedBatch();
        rs->Save(path, format);
        EXPECT_EQ(rs->AbsolutePosition(), 1) << "saving moves to the first row";

        auto loaded = OpenFile(path);
        EXPECT_EQ(std::make_tuple(loaded->CursorLocation(), loaded->CursorType(), loaded->LockType(), loaded->ActiveConnection()),
                  std::make_tuple(adUseClient, adOpenStatic, adLockBatchOptimistic, ConnectionPtr()));
        EXPECT_EQ(loaded->RecordCount(), 4);
        EXPECT_EQ(Pending(*loaded), pending);
        EXPECT_EQ(loaded->Fields()["Id"].Properties().Item("KEYCOLUMN").Value(), Variant(true));

        // Edited again, saved over its own file, read back, then sent.
        loaded->MoveLast();
        loaded->Fields()["Precio"].Value(Currency::FromUnits(9));
        loaded->Update();
        loaded->Save();
        auto again = OpenFile(path);
        EXPECT_EQ(Pending(*again), pending);
        again->ActiveConnection(cn);
        again->UpdateBatch();
        EXPECT_EQ(Table(), "1:uno:1 3:a3:3 4:a4:4 5:cinco:9 ");
        cn->Execute("DROP TABLE Art");
        SetUp();
    }
}

// A deleted row comes back where its format keeps it: ADTG writes deletions first, XML last.
TEST_F(FileOfTable, CancelBatchOnALoadedFileRestoresTheOriginals) {
    const std::pair<PersistFormatEnum, const char*> cases[] = {{adPersistADTG, "a2 a1 a3 a4 "}, {adPersistXML, "a1 a3 a4 a2 "}};
    for (const auto& [format, names] : cases) {
        const std::string path = db.dir().file(std::string("cancelar.") + FormatName(format));
        EditedBatch()->Save(path, format);
        auto rs = OpenFile(path);
        rs->CancelBatch();
        EXPECT_EQ(Pending(*rs), "");
        std::string seen;
        for (rs->MoveFirst(); !rs->adoEOF(); rs->MoveNext()) seen += rs->Fields()["Nombre"].Value().ToString() + " ";
        EXPECT_EQ(seen, names) << FormatName(format);
    }
}

TEST_F(FileOfTable, SaveRefusesAnExistingFileAndSaveWithoutDestinationNeedsOne) {
    const std::string path = db.dir().file("uno.xml");
    auto rs = EditedBatch();
    EXPECT_EQ(ErrorNumberOf([&] { rs->Save(); }), err::InvalidArgument) << "never saved nor opened from a file";
    rs->Save(path, adPersistXML);
    const std::string first = FileBytes(path);
    try {
        rs->Save(path, adPersistADTG);
        ADD_FAILURE() << "saved over an existing file";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 58);
        EXPECT_EQ(e.Description(), "El archivo ya existe. ('" + path + "')");
    }
    EXPECT_EQ(FileBytes(path), first);
    // Save() writes over the file in its own format, XML here, with the rows as they are now.
    rs->MoveFirst();
    rs->Fields()["Nombre"].Value("otro");
    rs->Update();
    rs->Save();
    EXPECT_EQ(FileBytes(path).substr(0, 5), "<xml ");
    EXPECT_NE(FileBytes(path).find("Nombre='otro'"), std::string::npos);
    // A filter of pending rows is a view: every row is saved all the same.
    rs->Filter(Variant(int32_t{adFilterPendingRecords}));
    rs->Save();
    EXPECT_EQ(OpenFile(path)->RecordCount(), 4);
    EXPECT_EQ(testsupport::FilesBesideDatabases(db.dir().path()), std::vector<std::string>{"uno.xml"})
        << "no temporary file stays";
}

// A place nobody may write to, and a file marked read-only: a clear failure, nothing written.
TEST_F(FileOfTable, ReadOnlyDestinationsAreRefusedWithNothingWritten) {
    auto rs = EditedBatch();
    const std::string path = db.dir().file("fija.adtg");
    rs->Save(path);
    const std::string before = FileBytes(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    const struct {
        std::function<void()> save;
        std::string description;
    } cases[] = {
        {[&] { rs->Save(); }, "No se pudo escribir el archivo. (el archivo '" + path + "' es de sólo lectura)"},
        {[&] { rs->Save("/proc/brezal.xml", adPersistXML); },
         "No se pudo escribir el archivo. (no se puede crear el archivo temporal para '/proc/brezal.xml': "
         "No such file or directory)"},
    };
    for (const auto& c : cases) {
        try {
            c.save();
            ADD_FAILURE() << "saved";
        } catch (const Error& e) {
            EXPECT_EQ(std::make_tuple(e.Number(), e.Description()), std::make_tuple(err::Fail, c.description));
        }
    }
    EXPECT_EQ(FileBytes(path), before);
    EXPECT_EQ(testsupport::FilesBesideDatabases(db.dir().path()), std::vector<std::string>{"fija.adtg"});
}

TEST_F(FileOfTable, LockTypeChangesOnAnOpenClientRecordsetOnlyBetweenTheOptimisticKinds) {
    auto rs = testsupport::OpenRecordset(cn, "SELECT * FROM Art", adOpenStatic, adLockOptimistic);
    rs->LockType(adLockBatchOptimistic);
    EXPECT_EQ(rs->LockType(), adLockBatchOptimistic);
    rs->LockType(adLockOptimistic);
    EXPECT_EQ(rs->LockType(), adLockOptimistic);
    EXPECT_EQ(ErrorNumberOf([&] { rs->LockType(adLockReadOnly); }), err::ObjectOpen);
    EXPECT_EQ(ErrorNumberOf([&] { rs->LockType(adLockPessimistic); }), err::ObjectOpen);
    auto server = testsupport::OpenRecordset(cn, "SELECT * FROM Art", adOpenKeyset, adLockOptimistic, adUseServer);
    EXPECT_EQ(ErrorNumberOf([&] { server->LockType(adLockBatchOptimistic); }), err::ObjectOpen);
}

TEST_F(FileOfTable, ASaveKilledWhileWritingLeavesTheOldFileWhole) {
    const std::string path = db.dir().file("grande.xml");
    auto rs = EditedBatch();
    rs->Save(path, adPersistXML);
    const std::string old = FileBytes(path);
    const pid_t child = fork();
    if (child == 0) {
        auto big = OpenFile(path);
        for (int i = 0; i < 200000; ++i) {
            big->AddNew();
            big->Fields()["Id"].Value(100 + i);
            big->Fields()["Nombre"].Value(std::string(20, 'x'));
            big->Update();
        }
        big->Save();
        _exit(0);
    }
    // Killed once its temporary file is there and growing.
    bool caught = false;
    for (int i = 0; i < 20000 && !caught; ++i) {
        for (const auto& e : std::filesystem::directory_iterator(db.dir().path()))
            caught |= e.path().filename().string().rfind(".~brezal.", 0) == 0 && e.file_size() > 0;
        if (!caught) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(caught) << "the save was caught while writing";
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(FileBytes(path), old);
}

}  // namespace
