#include <gtest/gtest.h>

#include <filesystem>

#include "DocumentFile.h"
#include "LibreOfficeExpect.h"
#include "Rtf.h"

using namespace lorvane;

namespace {

rtf::Document Fixture(const char* name) {
    return rtf::Read(
        rtf::ReadDocumentFile((std::filesystem::path(LORVANE_EDITOR_FIXTURES) / name).string()));
}

std::string Lines(const std::vector<std::string>& failures) {
    std::string all;
    for (const std::string& f : failures)
        all += f + "\n";
    return all;
}

}  // namespace

// RTF files written by LibreOffice Writer (fixtures/make-fixtures.sh).
TEST(LibreOfficeFixtures, FormattingReadsWithItsTextAndFormats) {
    const auto failures =
        lorvane::testing::CheckFormattingDocument(Fixture("libreoffice-formatting.rtf"));
    EXPECT_TRUE(failures.empty()) << Lines(failures);
}

TEST(LibreOfficeFixtures, ListsReadWithTheirTextAndFormats) {
    const auto failures = lorvane::testing::CheckListsDocument(Fixture("libreoffice-lists.rtf"));
    EXPECT_TRUE(failures.empty()) << Lines(failures);
}

TEST(LibreOfficeFixtures, WhatThePadWritesOfThemReadsTheSame) {
    for (const char* name : {"libreoffice-formatting.rtf", "libreoffice-lists.rtf"}) {
        const rtf::Document doc = Fixture(name);
        EXPECT_EQ(rtf::Read(rtf::Write(doc)), doc) << name;
    }
}
