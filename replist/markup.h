// Text put into XML and HTML markup.
#pragma once

#include <string>
#include <string_view>

namespace kvl {

// Appends S as XML 1.0 character data, valid in element content and in quoted attributes of
// XML and HTML alike: & < > " ' become entity references and tab, line feed and carriage
// return character references (so attribute values and line ends survive a parser's
// normalisation). What XML cannot carry at all (other C0 controls, U+FFFE, U+FFFF and bytes
// that are no UTF-8) becomes U+FFFD.
void AppendEscaped(std::string& Out, std::string_view S);

}  // namespace kvl
