// Fuzzes the property list reader, which reads the offline queue and stored items from
// files anyone could have left in the caches folder.
#include "fuzz_input.h"
#include "platform/property_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QByteArray bytes;
    if (!lumigrave::fuzz::wrap(data, size, 64 * 1024, &bytes)) {
        return 0;
    }
    const std::optional<QVariant> value = lumigrave::PropertyList::fromXml(bytes, nullptr);
    if (!value) {
        return 0;
    }
    // Whatever is read can be written, and what is written reads back as the same value.
    QString error;
    const QByteArray written = lumigrave::PropertyList::toXml(*value, &error);
    if (written.isEmpty()) {
        lumigrave::fuzz::broken("a value read can be written");
    }
    const std::optional<QVariant> again = lumigrave::PropertyList::fromXml(written, nullptr);
    if (!again || lumigrave::PropertyList::toXml(*again) != written) {
        lumigrave::fuzz::broken("a value written reads back as the same value");
    }
    return 0;
}
