// The hierarchies ADO saved open with their chapters: each sample saved in both formats shows
// the same rows under the same parents whichever file is opened.
#include <gtest/gtest.h>

#include <filesystem>

#include "ado/persist/Corpus.h"
#include "support/HierarchyPicture.h"

using namespace ado;

TEST(ShapeSamples, BothFormatsOfEachSampleShowTheSameHierarchy) {
    testsupport::ScopedRegional regional(persisttest::CorpusRegional());
    size_t compared = 0;
    for (const auto& adtg : persisttest::CorpusFiles("shape", ".adtg")) {
        auto xml = adtg;
        xml.replace_extension(".xml");
        if (!std::filesystem::exists(xml)) continue;
        std::string pictures[2];
        bool chapters = false;
        for (int i = 0; i < 2; ++i) {
            auto rs = Recordset::Create();
            rs->Open((i ? xml : adtg).string(), "Provider=MsPersist", adOpenStatic, adLockReadOnly, adCmdFile);
            for (Field& f : rs->Fields()) chapters = chapters || f.Type() == adChapter;
            pictures[i] = testsupport::HierarchyPicture(*rs);
        }
        EXPECT_EQ(pictures[0], pictures[1]) << adtg.filename();
        EXPECT_TRUE(chapters) << adtg.filename();
        ++compared;
    }
    EXPECT_GE(compared, 20u);
}
