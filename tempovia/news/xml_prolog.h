// Looks at the start of an XML file, before any parser does, for a document
// type declaration: feeds have no use for one, and its entities can read
// local files or reach other hosts.
#pragma once

#include <string>

namespace RSS {

// The bytes read from the start of a file that kXmlPrologBytes bounds.
inline constexpr size_t kXmlPrologBytes = 65536;

// True when the prolog (declaration, comments, processing instructions and
// blanks before the first element) holds "<!DOCTYPE", or does not end within
// the bytes given. UTF-8, 8-bit and UTF-16 (with its byte-order mark) are read.
bool XmlPrologHasDoctype(const std::string& head);

// The first kXmlPrologBytes of the file; empty when it cannot be read.
std::string ReadFileHead(const wchar_t* path);

}  // namespace RSS
