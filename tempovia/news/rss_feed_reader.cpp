#include "tempovia/news/rss_feed_reader.h"

#include <new>

#include "tempovia/news/com_ref.h"
#include "tempovia/news/html_entities.h"
#include "tempovia/news/msxml_ids.h"
#include "tempovia/news/xml_prolog.h"

namespace RSS {
namespace {

std::wstring NodeText(IXMLDOMNode* node) {
    BstrRef text;
    if (FAILED(node->get_text(text.put()))) return {};
    return text.str();
}

bool NameIs(IXMLDOMNode* node, const wchar_t* name) {
    BstrRef nodeName;
    if (node->get_nodeName(nodeName.put()) != S_OK || !nodeName.get()) return false;
    return lstrcmpiW(nodeName.get(), name) == 0;
}

// The text of the first element of that name anywhere below root.
bool FirstText(IXMLDOMElement* root, const wchar_t* tag, std::wstring& text) {
    BstrRef name(tag);
    ComRef<IXMLDOMNodeList> list;
    if (FAILED(root->getElementsByTagName(name.get(), list.put())) || !list) return false;
    ComRef<IXMLDOMNode> node;
    if (list->get_item(0, node.put()) != S_OK || !node) return false;
    text = NodeText(node.get());
    return true;
}

void ReadItem(IXMLDOMNode* element, Item& item) {
    ComRef<IXMLDOMNodeList> children;
    if (FAILED(element->get_childNodes(children.put())) || !children) return;
    ComRef<IXMLDOMNode> child;
    while (children->nextNode(child.put()) == S_OK && child) {
        if (NameIs(child.get(), L"title")) {
            item.title = NodeText(child.get());
            DecodeHtmlEntities(item.title);
        } else if (NameIs(child.get(), L"description")) {
            item.description = NodeText(child.get());
        } else if (NameIs(child.get(), L"link")) {
            item.link = NodeText(child.get());
        } else if (NameIs(child.get(), L"guid")) {
            item.guid = NodeText(child.get());
        }
    }
}

bool LoadDocument(const wchar_t* path, ComRef<IXMLDOMDocument>& document) {
    ComRef<IUnknown> unknown;
    if (FAILED(CoCreateInstance(msxml::kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, msxml::kIidUnknown,
                                unknown.put_void())) ||
        !unknown) {
        return false;
    }
    if (FAILED(OleRun(unknown.get()))) return false;
    if (FAILED(unknown->QueryInterface(msxml::kIidDomDocument, document.put_void())) || !document) return false;
    if (FAILED(document->put_async(VARIANT_FALSE))) return false;
    // A feed is read as it stands: no document type, nothing fetched or read
    // from elsewhere while parsing.
    document->put_resolveExternals(VARIANT_FALSE);
    document->put_validateOnParse(VARIANT_FALSE);
    ComRef<IXMLDOMDocument2> settings;
    if (SUCCEEDED(document->QueryInterface(msxml::kIidDomDocument2, settings.put_void())) && settings) {
        BstrRef name(L"ProhibitDTD");
        VARIANT on;
        VariantInit(&on);
        on.vt = VT_BOOL;
        on.boolVal = VARIANT_TRUE;
        settings->setProperty(name.get(), on);
    }

    VARIANT source;
    VariantInit(&source);
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(path);
    if (!source.bstrVal) return false;
    VARIANT_BOOL success = VARIANT_FALSE;
    const HRESULT hr = document->load(source, &success);
    VariantClear(&source);
    return hr == S_OK && success == VARIANT_TRUE;
}

bool ReadDocument(IXMLDOMDocument* document, ParsedFeed& feed) {
    ComRef<IXMLDOMElement> root;
    if (document->get_documentElement(root.put()) != S_OK || !root) return false;

    VARIANT version;
    VariantInit(&version);
    BstrRef versionName(L"version");
    if (root->getAttribute(versionName.get(), &version) == S_OK && version.vt == VT_BSTR && version.bstrVal) {
        feed.version.assign(version.bstrVal, SysStringLen(version.bstrVal));
    }
    VariantClear(&version);

    VARIANT_BOOL hasChildren = VARIANT_FALSE;
    if (root->hasChildNodes(&hasChildren) != S_OK || hasChildren != VARIANT_TRUE) return false;
    ComRef<IXMLDOMNode> first;
    if (root->get_firstChild(first.put()) != S_OK || !first || !NameIs(first.get(), L"channel")) return false;
    hasChildren = VARIANT_FALSE;
    if (first->hasChildNodes(&hasChildren) != S_OK || hasChildren != VARIANT_TRUE) return false;

    if (!FirstText(root.get(), L"title", feed.title)) return false;
    DecodeHtmlEntities(feed.title);
    if (!FirstText(root.get(), L"description", feed.description)) return false;
    if (!FirstText(root.get(), L"link", feed.link)) return false;
    std::wstring ttl;
    feed.ttl = FirstText(root.get(), L"ttl", ttl) ? ParseTtlMinutes(ttl) : kDefaultTtlMinutes;

    BstrRef itemName(L"item");
    ComRef<IXMLDOMNodeList> items;
    if (FAILED(root->getElementsByTagName(itemName.get(), items.put())) || !items) return false;
    long count = 0;
    if (FAILED(items->get_length(&count)) || count <= 0) return false;
    ComRef<IXMLDOMNode> element;
    while (items->nextNode(element.put()) == S_OK && element) {
        Item item;
        ReadItem(element.get(), item);
        // Nothing to show for an item without title and description.
        if (item.title.empty() && item.description.empty()) continue;
        feed.items.push_back(std::move(item));
    }
    return true;
}

}  // namespace

int32_t ParseTtlMinutes(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t' || text[i] == L'\r' || text[i] == L'\n')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > INT32_MAX) value = INT32_MAX;
    }
    if (negative) value = -value;
    return value < kMinimumTtlMinutes ? kMinimumTtlMinutes : static_cast<int32_t>(value);
}

bool ReadFeedFile(const wchar_t* path, ParsedFeed& feed) {
    try {
        // Refused before the parser sees it, whatever the parser supports.
        if (XmlPrologHasDoctype(ReadFileHead(path))) return false;
        ComRef<IXMLDOMDocument> document;
        if (!LoadDocument(path, document)) return false;
        return ReadDocument(document.get(), feed);
    } catch (const std::bad_alloc&) {
        // A feed too large to hold is refused like a malformed one.
        return false;
    }
}

}  // namespace RSS
