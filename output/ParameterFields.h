// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/Color.h"

// The field forms of the applet's parameters as a reader takes them apart: numbers,
// colours, digit groups, and the parameters of a page sorted by kind.
namespace kestrune::paramfields {

// Any damage found while reading; caught once, at the top of a read.
struct ReadError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Quoted(std::string_view text);

// Fields as the applet splits them: every comma ends one, so a final comma leaves an
// empty last field and an empty value is one empty field.
std::vector<std::string_view> SplitEveryField(std::string_view value);

struct Parameter {
    std::string name;  // as written
    std::string value;
};

struct ParameterSet {
    std::optional<Parameter> appletStyle;
    std::optional<Parameter> misc;
    std::map<int, Parameter> menuStyles;
    std::map<int, Parameter> itemStyles;
    std::map<std::pair<int, int>, Parameter> items;
};

// A menu or item index: decimal digits only, at most nine.
std::optional<int> ParseIndex(std::string_view text);

std::optional<std::int32_t> ToInt(std::string_view text);
// The field as a whole number, a colour of six hexadecimal digits, or count single digits;
// ReadError naming the parameter when it is not.
std::int32_t Number(const Parameter& parameter, std::string_view field);
Color ColorValue(const Parameter& parameter, std::string_view field);
std::vector<int> Digits(const Parameter& parameter, std::string_view field, std::size_t count);

}  // namespace kestrune::paramfields
