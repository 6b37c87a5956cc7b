// Fuzzes the mapping of the photo service's XML answers, which are untrusted, into
// dictionaries.
#include "fuzz_input.h"
#include "sharing/flickr/xml_mapper.h"

using lumigrave::sharing::XMLMapper;

namespace {

// Depth of the mapped dictionaries, which cannot exceed the document's nesting.
int depthOf(const QVariant& value) {
    int deepest = 0;
    if (value.typeId() == QMetaType::QVariantMap) {
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            deepest = std::max(deepest, 1 + depthOf(it.value()));
        }
    } else if (value.typeId() == QMetaType::QVariantList) {
        for (const QVariant& item : value.toList()) {
            deepest = std::max(deepest, depthOf(item));
        }
    }
    return deepest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    QString error;
    QString exception;
    const std::optional<QVariantMap> document =
        XMLMapper::dictionaryFromData(bytes, &error, &exception);
    if (document.has_value() == !error.isEmpty()) {
        lumigrave::fuzz::broken("a refusal and only a refusal has a reason");
    }
    if (!exception.isEmpty() && exception != QLatin1String(XMLMapper::kExceptionName)) {
        lumigrave::fuzz::broken("the only exception is the mapper's");
    }
    if (document) {
        if (bytes.contains("<!DOCTYPE") || bytes.contains("<!doctype")) {
            lumigrave::fuzz::broken("a document type is never accepted");
        }
        if (depthOf(*document) > XMLMapper::kMaxDepth + 1) {
            lumigrave::fuzz::broken("nothing deeper than the cap is mapped");
        }
    }
    return 0;
}
