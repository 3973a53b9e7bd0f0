// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/ParameterFields.h"

#include <algorithm>
#include <charconv>

#include "base/TextRoutines.h"

namespace kestrune::paramfields {

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::vector<std::string_view> SplitEveryField(std::string_view value) {
    std::vector<std::string_view> fields = SplitFields(value, ',');
    if (value.empty() || value.back() == ',') fields.push_back(value.substr(value.size()));
    return fields;
}

std::optional<int> ParseIndex(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<std::int32_t> ToInt(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::int32_t Number(const Parameter& parameter, std::string_view field) {
    const auto value = ToInt(TrimView(field));
    if (!value)
        throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) + " is not a whole number.");
    return *value;
}

Color ColorValue(const Parameter& parameter, std::string_view field) {
    std::string_view digits = TrimView(field);
    if (!digits.empty() && digits.front() == '#') digits.remove_prefix(1);
    std::uint32_t rgb = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), rgb, 16);
    if (digits.size() != 6 || error != std::errc() || end != digits.data() + digits.size())
        throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) +
                        " is not a colour of six hexadecimal digits.");
    const std::uint32_t red = (rgb >> 16) & 0xFF, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    return static_cast<Color>(red | (green << 8) | (blue << 16));
}

// Several one-digit numbers written one after the other.
std::vector<int> Digits(const Parameter& parameter, std::string_view field, std::size_t count) {
    const std::string_view digits = TrimView(field);
    if (digits.size() != count ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        throw ReadError(Quoted(parameter.name) + ": " + Quoted(field) + " is not " +
                        std::to_string(count) + " digits.");
    std::vector<int> values;
    for (char c : digits) values.push_back(c - '0');
    return values;
}

}  // namespace kestrune::paramfields
