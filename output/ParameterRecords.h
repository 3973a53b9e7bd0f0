// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/ParameterFields.h"
#include "output/ParameterReader.h"

// One parameter's value read into the model object it describes, as the applet takes it
// apart. The page reader and the live preview's single-item reads share these, so both
// receive a value the same way. Damage throws ReadError naming the parameter.
namespace kestrune::paramfields {

inline constexpr int kMenuStyleFields = 10;
inline constexpr int kItemStyleBlockFields = 12;
inline constexpr int kItemStyleFields = kItemStyleBlockFields * kStateCount;
inline constexpr int kItemFields = 9;
inline constexpr int kAppletStyleFields = 7;

using WarningSink = std::function<void(std::string)>;

// A read reports at most this many warnings, then how many more there were.
inline constexpr std::size_t kMaxReadWarnings = 100;
std::string MoreWarningsText(std::size_t more);
inline constexpr const char* kTooLargeText = "The text is too large to be an applet page.";

// The value a browser hands the applet for a value the page writer wrote.
std::string ValueAsReceived(std::string_view written);

// The fields of a value, at least `wanted` of them (the missing ones empty); fewer than
// `required` is damage, more than `wanted` a warning.
std::vector<std::string_view> Fields(const Parameter& parameter, std::size_t wanted, std::size_t required,
                                     const WarningSink& warn);
// A media name as the model stores it: resolved, or bare without a resolver.
std::string MediaPath(std::string_view name, const MediaNameResolver& resolve);

void ReadAppletStyle(const Parameter& parameter, CAppletParameters& applet, const MediaNameResolver& resolve,
                     const WarningSink& warn);
void ReadMenuStyle(const Parameter& parameter, CVorane& menu, const WarningSink& warn);
void ReadItemStyles(const Parameter& parameter, CVorane& menu, const WarningSink& warn);
std::unique_ptr<CVoraneItem> ReadItem(const Parameter& parameter, const MediaNameResolver& resolve,
                                      const WarningSink& warn);
// What reading an item whose texts hold commas reports.
std::string ItemSplitWarning(std::string_view parameterName);

// The index of a paragraph alignment word (any case, blanks around), if it is one.
std::optional<int> ParagraphAlignIndex(std::string_view word);

}  // namespace kestrune::paramfields
