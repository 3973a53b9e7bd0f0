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
    const auto inputs = Inputs("menu_file");
    ASSERT_FALSE(inputs.empty());
    test::TempDir folder;
    for (const fs::path& input : inputs) {
        EXPECT_TRUE(fuzz::MenuFileRoundTripHolds(test::ReadAll(input))) << input;
        EXPECT_TRUE(fuzz::InOrderReadAgreesWithTable(test::ReadAll(input), folder.Root())) << input;
    }
}

TEST(FuzzRegressionTest, TemplateFileInputsKeepTheStorePromises) {
    const auto inputs = Inputs("template_file");
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        test::TempDir folder;
        EXPECT_TRUE(fuzz::TemplateOperationsHold(test::ReadAll(input), folder.Root())) << input;
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

TEST(FuzzRegressionTest, AuDecoderInputsDecodeWithinTheirBytes) {
    const auto inputs = Inputs("au_decoder");
    ASSERT_FALSE(inputs.empty());
    for (const fs::path& input : inputs) {
        const std::string bytes = test::ReadAll(input);
        EXPECT_TRUE(fuzz::AuDecodingHolds(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())) << input;
    }
}
