// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <filesystem>

#include "OutputTestSupport.h"
#include "fuzz/FuzzChecks.h"
#include "fuzz/MediaFuzzChecks.h"

using namespace kestrune;
namespace fs = std::filesystem;

namespace {

// The inputs kept from fuzzing (and their seeds), one folder per target.
std::vector<fs::path> Inputs(const char* target) {
    std::vector<fs::path> inputs;
    for (const auto& entry : fs::directory_iterator(fs::path(KESTRUNE_TEST_DATA) / "fuzz" / target))
        if (entry.is_regular_file()) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

}  // namespace

TEST(FuzzRegressionTest, MenuFileInputsReadAndRoundTrip) {
    for (const char* target : {"menu_file", "menu_in_order"}) {
        const auto inputs = Inputs(target);
        ASSERT_FALSE(inputs.empty()) << target;
        for (const fs::path& input : inputs) {
            EXPECT_TRUE(fuzz::MenuFileRoundTripHolds(test::ReadAll(input))) << input;
            EXPECT_TRUE(fuzz::InOrderReadAgreesWithTable(test::ReadAll(input))) << input;
        }
    }
}

TEST(FuzzRegressionTest, FileAccessInputsReadAsInMemoryAndKeepTheStorePromises) {
    const auto inputs = Inputs("file_access");
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        test::TempDir folder;
        const std::string bytes = test::ReadAll(input);
        const std::size_t newline = bytes.find('\n');
        const std::string file = newline == std::string::npos ? std::string() : bytes.substr(newline + 1);
        EXPECT_TRUE(fuzz::FileReadAgreesWithMemory(file, folder.Root())) << input;
        EXPECT_TRUE(fuzz::TemplateOperationsHold(bytes, folder.Root())) << input;
    }
}

TEST(FuzzRegressionTest, ItemRecordInputsReadOrAreRefused) {
    const auto inputs = Inputs("item_record");
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        const std::string bytes = test::ReadAll(input);
        EXPECT_TRUE(fuzz::ItemRecordRoundTripHolds(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()))
            << input;
    }
}

TEST(FuzzRegressionTest, PageParameterInputsEndInAnAppletOrAnError) {
    const auto inputs = Inputs("page_params");
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) EXPECT_TRUE(fuzz::PageParametersHold(test::ReadAll(input))) << input;
}

TEST(FuzzRegressionTest, PageLayoutInputsLayOutOrAreRefused) {
    const auto inputs = Inputs("page_layout");
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        const std::string bytes = test::ReadAll(input);
        EXPECT_TRUE(fuzz::PageLayoutHolds(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) << input;
    }
}

TEST(FuzzRegressionTest, AuDecoderInputsDecodeWithinTheirBytes) {
    const auto inputs = Inputs("au_decoder");
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        const std::string bytes = test::ReadAll(input);
        EXPECT_TRUE(fuzz::AuDecodingHolds(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) << input;
    }
}
