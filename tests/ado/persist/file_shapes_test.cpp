// What a file may hold beyond plain rows: names that are not XML names, UTF-16, a hierarchy's
// chapters; and how a file that is not one fails.
#include "Corpus.h"

#include "ado/ado.h"
#include "support/TempDir.h"

using namespace ado;
using testsupport::ErrorNumberOf;
using testsupport::FileBytes;

namespace {

RecordsetPtr OpenFile(const std::string& path) {
    auto rs = Recordset::Create();
    rs->Open(path, "Provider=MsPersist", adOpenKeyset, adLockUnspecified, adCmdFile);
    return rs;
}

std::string DescriptionOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return std::to_string(e.Number()) + " " + e.Description();
    }
    return "no failure";
}

TEST(FileShapes, NamesThatAreNotXmlNamesAreWrittenAsAliasesAndReadBack) {
    testsupport::TempDir dir;
    auto rs = Recordset::Create();
    rs->Fields().Append("Nombre y apellidos", adVarWChar, 40);
    rs->Fields().Append("a:b", adInteger);
    rs->Fields().Append("3er", adInteger);
    rs->Open();
    rs->AddNew();
    rs->Fields()[0].Value("Ana");
    rs->Fields()[1].Value(7);
    rs->Fields()[2].Value(3);
    rs->Update();
    rs->Save(dir.file("alias.xml"), adPersistXML);
    const std::string xml = FileBytes(dir.file("alias.xml"));
    EXPECT_NE(xml.find("<s:AttributeType name='c0' rs:name='Nombre y apellidos' rs:number='1'"), std::string::npos);
    EXPECT_NE(xml.find("<s:AttributeType name='c1' rs:name='a:b' rs:number='2'"), std::string::npos);
    EXPECT_NE(xml.find("<z:row c0='Ana' c1='7' c2='3'/>"), std::string::npos);
    auto back = OpenFile(dir.file("alias.xml"));
    EXPECT_EQ(std::make_tuple(back->Fields()[0].Name(), back->Fields()[1].Name(), back->Fields()[2].Name()),
              std::make_tuple(std::string("Nombre y apellidos"), std::string("a:b"), std::string("3er")));
    EXPECT_EQ(std::make_tuple(back->Fields()[0].Value(), back->Fields()[1].Value(), back->Fields()[2].Value()),
              std::make_tuple(Variant("Ana"), Variant(7), Variant(3)));
}

TEST(FileShapes, Utf16FilesWithAByteOrderMarkReadAsTheirUtf8Form) {
    testsupport::ScopedRegional korean(persisttest::CorpusRegional());
    testsupport::TempDir dir;
    const auto original = persisttest::CorpusFolder() / "exhaustive" / "flat_VarWChar_states.xml";
    const std::string utf8 = FileBytes(original);
    std::u16string wide;
    for (size_t i = 0; i < utf8.size();) {  // the corpus text has no characters beyond the BMP
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int extra = c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char16_t u = extra == 2 ? c & 0x0F : extra == 1 ? c & 0x1F : c;
        for (int k = 1; k <= extra; ++k) u = static_cast<char16_t>(u << 6 | (utf8[i + static_cast<size_t>(k)] & 0x3F));
        wide.push_back(u);
        i += static_cast<size_t>(extra) + 1;
    }
    std::string bytes = "\xFF\xFE";
    for (char16_t u : wide) bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    std::ofstream(dir.file("utf16.xml"), std::ios::binary) << bytes;
    persisttest::ExpectSameFile(persist::ReadFile(original.string()), persist::ReadFile(dir.file("utf16.xml")), "UTF-16");
}

TEST(FileShapes, AHierarchysChaptersHoldTheRelatedChildRowsAndItsPendingChangesStayOutOfXml) {
    testsupport::ScopedRegional korean(persisttest::CorpusRegional());
    testsupport::TempDir dir;
    const auto shape = persisttest::CorpusFolder() / "shape";
    auto rs = OpenFile((shape / "orders_nullable_lines_shape.adtg").string());
    EXPECT_EQ(rs->Fields().Count(), 4) << "the hidden key of the joined table is no field";
    EXPECT_EQ(rs->Fields()[3].Type(), adChapter);
    rs->MoveLast();
    RecordsetPtr lines = rs->Fields()["Lines"].Value().AsObject();
    std::string seen;
    for (; !lines->adoEOF(); lines->MoveNext()) seen += lines->Fields()["LineId"].Value().ToString() + " ";
    EXPECT_EQ(rs->Fields()["OrderId"].Value(), Variant(100005));
    EXPECT_EQ(seen, "1000051 1000052 1000053 ");
    // Saved again, the hierarchy keeps the hidden column and every child row.
    rs->Save(dir.file("otra.adtg"));
    persisttest::ExpectSameFile(persist::ReadFile((shape / "orders_nullable_lines_shape.adtg").string()),
                                persist::ReadFile(dir.file("otra.adtg")), "hierarchy saved again");

    auto pending = OpenFile((shape / "orders_parent_insert_delete_shape.adtg").string());
    EXPECT_EQ(DescriptionOf([&] { pending->Save(dir.file("pendiente.xml"), adPersistXML); }),
              "3251 El objeto o proveedor no es capaz de realizar la operación solicitada. (un conjunto de registros "
              "jerárquico con cambios pendientes no se puede guardar en XML)");
    EXPECT_FALSE(std::filesystem::exists(dir.file("pendiente.xml")));
    pending->Save(dir.file("pendiente.adtg"));
    persisttest::ExpectSameFile(persist::ReadFile((shape / "orders_parent_insert_delete_shape.adtg").string()),
                                persist::ReadFile(dir.file("pendiente.adtg")), "pending hierarchy as ADTG");
}

TEST(FileShapes, FilesThatAreNotRecordsetFilesFailNamingWhere) {
    testsupport::TempDir dir;
    const std::string prefix =
        "-2147467259 No se puede crear el conjunto de registros: el archivo de origen está incompleto o no es válido. ";
    struct Case {
        const char* name;
        std::string bytes;
        std::string detail;
    };
    const std::string adtg = FileBytes(persisttest::CorpusFolder() / "exhaustive" / "flat_Integer_states.adtg");
    const std::string numeric =
        FileBytes(persisttest::CorpusFolder() / "exhaustive" / "flat_Numeric_precision_scale_18_6.adtg");
    const std::string xmlHead =
        "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882'"
        " xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>\n<s:Schema id='RowsetSchema'>"
        "<s:ElementType name='row'><s:AttributeType name='N'><s:datatype dt:type='int'/></s:AttributeType>";
    const Case cases[] = {
        {"cortado.adtg", adtg.substr(0, 0x170), "desplazamiento 0x16E: el archivo termina antes de tiempo"},
        {"sin_final.adtg", adtg.substr(0, adtg.size() - 1), "desplazamiento 0x199: falta la marca de final"},
        {"cola.adtg", adtg + "x", "desplazamiento 0x19A: hay datos después de la marca de final"},
        {"tipo.adtg", adtg.substr(0, 0x11C) + "\x99" + adtg.substr(0x11D),
         "desplazamiento 0x11C: una columna es de un tipo desconocido"},
        {"cabecera.adtg", std::string("\x01\x05TG!\xFF\xFF", 7), "desplazamiento 0x0: no es un archivo ADTG"},
        {"escala.adtg", numeric.substr(0, 0x15C) + "\x1D" + numeric.substr(0x15D),
         "desplazamiento 0x152: una columna numérica tiene una escala no válida"},
        {"mal.xml", "<xml><s:Schema", "línea 1, columna 6: XML no válido: unclosed token"},
        {"valor.xml", xmlHead + "</s:ElementType></s:Schema>\n<rs:data>\n<z:row N='doce'/></rs:data></xml>",
         "línea 4, elemento 'z:row': el valor 'doce' no es válido para el campo 'N'"},
        // The schema is settled when the data begin.
        {"datos_en_esquema.xml", xmlHead + "\n<rs:data><z:row N='1'/></rs:data></s:ElementType></s:Schema></xml>",
         "línea 3, elemento 'rs:data': rs:data dentro del esquema"},
        {"sin_datos.xml", "<xml/>", "línea 1, columna 7: el archivo no tiene la sección de datos (rs:data)"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name);
        std::ofstream(path, std::ios::binary) << c.bytes;
        EXPECT_EQ(DescriptionOf([&] { OpenFile(path); }), prefix + "(archivo '" + path + "', " + c.detail + ")") << c.name;
    }
    EXPECT_EQ(DescriptionOf([&] { OpenFile(dir.file("no_existe.xml")); }),
              prefix + "(no se puede leer el archivo '" + dir.file("no_existe.xml") + "': No such file or directory)");
}

}  // namespace
