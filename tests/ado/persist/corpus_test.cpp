// The files ADO wrote on Windows: every one opens; each flat ADTG file gives what its XML twin
// says, byte for byte once written as XML; each flat XML file is written again byte for byte;
// every file written again in its own format reads back the same; a hierarchy's root rows
// match its XML twin, whose child rows are all in the ADTG child rowsets.
#include "Corpus.h"

#include "support/TempDir.h"

namespace {

using namespace ado::persist;
using persisttest::CorpusFiles;
using testsupport::FileBytes;

std::string AsXml(const RowsetFile& file) {
    StringSink sink;
    WriteXml(SourceOf(file), sink);
    return sink.text;
}

std::string AsAdtg(const RowsetFile& file) {
    StringSink sink;
    WriteAdtg(SourceOf(file), sink);
    return sink.text;
}

RowsetFile FromBytes(const std::string& bytes, const std::string& name) {
    ByteSource in({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, name);
    return ReadAny(in);
}

std::vector<std::filesystem::path> FlatFiles(const std::string& extension) {
    auto files = CorpusFiles("exhaustive", extension);
    for (auto& f : CorpusFiles("variant", extension)) files.push_back(f);
    return files;
}

class Corpus : public ::testing::Test {
protected:
    testsupport::ScopedRegional regional_{persisttest::CorpusRegional()};
};

TEST_F(Corpus, FlatAdtgFilesWrittenAsXmlAreTheirTwinsByteForByte) {
    const auto files = FlatFiles(".adtg");
    EXPECT_EQ(files.size(), 119u);
    for (const auto& f : files) {
        auto twin = f;
        twin.replace_extension(".xml");
        EXPECT_EQ(AsXml(ReadFile(f.string())), FileBytes(twin)) << f;
    }
}

TEST_F(Corpus, FlatXmlFilesWrittenAgainAreByteIdentical) {
    for (const auto& f : FlatFiles(".xml")) EXPECT_EQ(AsXml(ReadFile(f.string())), FileBytes(f)) << f;
}

TEST_F(Corpus, EveryFileWrittenAgainInItsFormatReadsBackTheSame) {
    size_t opened = 0;
    for (const char* folder : {"exhaustive", "variant", "shape"})
        for (const char* ext : {".adtg", ".xml"})
            for (const auto& f : CorpusFiles(folder, ext)) {
                const RowsetFile file = ReadFile(f.string());
                ++opened;
                const std::string again = std::string(ext) == ".xml" ? AsXml(file) : AsAdtg(file);
                persisttest::ExpectSameFile(file, FromBytes(again, f.string()), f.string());
            }
    EXPECT_EQ(opened, 153u + 146u);
}

// The hierarchy files' XML twins lay out each parent's child rows inside it (shared ones again,
// marked rs:duplicate; orphans left out) with LF line ends: written from the ADTG file's
// rowsets, they come out the same byte for byte, and so does each XML file saved again.
TEST_F(Corpus, HierarchiesWrittenAsXmlAreTheirTwinsByteForByte) {
    const auto files = CorpusFiles("shape", ".xml");
    EXPECT_EQ(files.size(), 27u);
    for (const auto& f : files) {
        EXPECT_EQ(AsXml(ReadFile(f.string())), FileBytes(f)) << f;
        auto adtg = f;
        adtg.replace_extension(".adtg");
        RowsetFile file = ReadFile(adtg.string());
        file.crlf = false;
        EXPECT_EQ(AsXml(file), FileBytes(f)) << adtg;
    }
}

}  // namespace
