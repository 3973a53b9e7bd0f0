// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// Character references in the page: what the page writer escapes so that no text can
// change the page's structure, and how a browser reads them back.
namespace kestrune {

// A double quote becomes "&quot;"; nothing else changes, so authors' own references
// ("&amp;", "&#9733;") and "<", ">" and "&" reach the browser as typed.
std::string EscapeAttributeValue(std::string_view value);
// The same, appended to out.
void AppendEscapedAttributeValue(std::string& out, std::string_view value);

// "<" becomes "&lt;", so a title can neither end the title element nor open a tag.
std::string EscapeTitleText(std::string_view title);

// Text for an element's content or a double-quoted attribute that no byte can turn into
// markup: "<", ">" and '"' become references, and so does every "&" that does not begin a
// complete reference ("&#9733;", "&#x2605;", "&amp;"), which stays so that characters the
// code page cannot hold show as in the parameters. CR and LF become spaces.
void AppendEscapedText(std::string& out, std::string_view text);

// Windows-1252 text with every byte beyond ASCII written as the decimal reference of its
// character ("\xE9" becomes "&#233;"), so it reads alike whatever code page holds it.
std::string AsciiWithReferences(std::string_view text);

// Where a reference stands: browsers leave "&copy=" or "&copyx" alone inside an
// attribute value, but read "&copy" as the sign in text.
enum class ReferencePlace { AttributeValue, Text };

// The Windows-1252 text a browser reads from the given page text: numeric references
// (decimal and hexadecimal, with or without ";") and the named references browsers know
// become their characters; a character the code page cannot hold stays a reference of
// the form the editor writes ("&#9733;"). Every other byte is kept.
std::string DecodeCharacterReferences(std::string_view text, ReferencePlace place);

}  // namespace kestrune
