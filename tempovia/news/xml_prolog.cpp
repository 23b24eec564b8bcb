#include "tempovia/news/xml_prolog.h"

#include <windows.h>

namespace RSS {
namespace {

// One character per code unit; units beyond 0x7F stand as 0x80, which no
// markup the scan looks for contains.
std::string Narrow(const std::string& head) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(head[i]); };
    int unitBytes = 1;
    bool bigEndian = false;
    size_t at = 0;
    if (head.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE) {
        unitBytes = 2;
        at = 2;
    } else if (head.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF) {
        unitBytes = 2;
        bigEndian = true;
        at = 2;
    } else if (head.size() >= 2 && byte(0) == '<' && byte(1) == 0) {
        unitBytes = 2;
    } else if (head.size() >= 2 && byte(0) == 0 && byte(1) == '<') {
        unitBytes = 2;
        bigEndian = true;
    } else if (head.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        at = 3;
    }
    std::string text;
    text.reserve(head.size());
    for (; at + unitBytes <= head.size(); at += unitBytes) {
        unsigned unit = byte(at);
        if (unitBytes == 2) unit = bigEndian ? (unit << 8 | byte(at + 1)) : (byte(at + 1) << 8 | unit);
        text += unit < 0x80 ? static_cast<char>(unit) : static_cast<char>(0x80);
    }
    return text;
}

}  // namespace

bool XmlPrologHasDoctype(const std::string& head) {
    const std::string text = Narrow(head);
    size_t at = 0;
    for (;;) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\r' || text[at] == '\n')) ++at;
        if (at >= text.size()) return true;  // no element within the bytes read
        if (text.compare(at, 2, "<?") == 0) {
            const size_t end = text.find("?>", at + 2);
            if (end == std::string::npos) return true;
            at = end + 2;
        } else if (text.compare(at, 4, "<!--") == 0) {
            const size_t end = text.find("-->", at + 4);
            if (end == std::string::npos) return true;
            at = end + 3;
        } else {
            // The first element, or something the parser refuses anyway.
            return text.compare(at, 2, "<!") == 0;
        }
    }
}

std::string ReadFileHead(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string head(kXmlPrologBytes, '\0');
    DWORD got = 0;
    if (!ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr)) got = 0;
    CloseHandle(file);
    head.resize(got);
    return head;
}

}  // namespace RSS
